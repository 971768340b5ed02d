#include "core/data/IniSections.h"

#include "core/data/Cp1251.h"
#include "core/data/StrUtilsEx.h"

#include <algorithm>
#include <cstring>

namespace pw {
namespace {

// Calls onLine for each line; CR LF, LF and CR end a line.
template <typename F> void ForEachLine(std::string_view bytes, F onLine) {
    if (bytes.empty())
        return;
    // The next CR and the next LF are each looked for with memchr, which leaps over a line's bytes, and
    // looked for again only once a line has passed them: a file of LF alone is not searched to its end
    // for a CR at every line.
    const auto next = [bytes](char c, std::size_t from) {
        const void* at = std::memchr(bytes.data() + from, c, bytes.size() - from);
        return at ? static_cast<std::size_t>(static_cast<const char*>(at) - bytes.data()) : bytes.size();
    };
    std::size_t nextCr = next('\r', 0);
    std::size_t nextLf = next('\n', 0);
    std::size_t start = 0;
    while (start < bytes.size()) {
        if (nextCr < start)
            nextCr = next('\r', start);
        if (nextLf < start)
            nextLf = next('\n', start);
        std::size_t end = std::min(nextCr, nextLf);
        onLine(bytes.substr(start, end - start));
        if (end < bytes.size() && bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
}

// The rules of the model, shared by Parse and ReadSection: lines are trimmed; empty and ";" lines are
// dropped; "[name]" begins a section; other lines count only inside one. Each goes with its number.
template <typename OnHeader, typename OnLine>
void WalkLines(std::string_view bytes, OnHeader onHeader, OnLine onLine) {
    bool inSection = false;
    std::size_t number = 0;
    ForEachLine(bytes, [&](std::string_view raw) {
        ++number;
        const std::string_view line = TrimView(raw);
        if (line.empty() || line.front() == ';')
            return;
        if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
            inSection = true;
            onHeader(TrimView(line.substr(1, line.size() - 2)), number);
        } else if (inSection) {
            onLine(line, number);
        }
    });
}

std::string_view LineName(std::string_view line) {
    const std::size_t eq = line.find('=');
    return eq == std::string_view::npos ? line : line.substr(0, eq);
}

} // namespace

IniSections IniSections::Parse(std::string_view bytes) {
    IniSections result;
    const auto onHeader = [&result](std::string_view name, std::size_t) {
        result.mSections.push_back({std::string(name), {}});
    };
    WalkLines(bytes, onHeader, [&result](std::string_view line, std::size_t) {
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) {
            result.mSections.back().lines.emplace_back(line);
            return;
        }
        // Built in place: a dialogue has a few dozen lines, and each temporary would cost an allocation.
        std::string& normalised = result.mSections.back().lines.emplace_back();
        const std::string_view name = TrimView(line.substr(0, eq));
        const std::string_view value = TrimView(line.substr(eq + 1));
        normalised.reserve(name.size() + 1 + value.size());
        normalised.append(name).append(1, '=').append(value);
    });
    return result;
}

void IniSections::ReadSection(
    std::string_view bytes, std::string_view section, const std::function<void(std::size_t)>& onSection,
    const std::function<void(std::string_view, std::string_view, std::size_t)>& onKey) {
    bool inNamed = false;
    const auto onHeader = [&](std::string_view name, std::size_t number) {
        inNamed = AsciiEqualNoCase(name, section);
        if (inNamed)
            onSection(number);
    };
    WalkLines(bytes, onHeader, [&](std::string_view line, std::size_t number) {
        const std::size_t eq = line.find('=');
        if (inNamed && eq != std::string_view::npos)
            onKey(TrimView(line.substr(0, eq)), TrimView(line.substr(eq + 1)), number);
    });
}

IniSections::Section* IniSections::LastSection(std::string_view name) {
    for (auto it = mSections.rbegin(); it != mSections.rend(); ++it)
        if (AsciiEqualNoCase(it->name, name))
            return &*it;
    return nullptr;
}

const IniSections::Section* IniSections::LastSection(std::string_view name) const {
    return const_cast<IniSections*>(this)->LastSection(name);
}

std::optional<std::string> IniSections::Value(std::string_view section, std::string_view key) const {
    const Section* s = LastSection(section);
    if (!s)
        return std::nullopt;
    for (auto it = s->lines.rbegin(); it != s->lines.rend(); ++it) {
        const std::size_t eq = it->find('=');
        if (eq != std::string::npos && AsciiEqualNoCase(std::string_view(*it).substr(0, eq), key))
            return it->substr(eq + 1);
    }
    return std::nullopt;
}

void IniSections::SetValue(std::string_view section, std::string_view key, std::string_view value) {
    Section* s = LastSection(section);
    if (!s) {
        mSections.push_back({std::string(section), {}});
        s = &mSections.back();
    }
    std::string line = std::string(key) + "=" + std::string(value);
    for (auto it = s->lines.rbegin(); it != s->lines.rend(); ++it) {
        if (it->find('=') != std::string::npos && AsciiEqualNoCase(LineName(*it), key)) {
            *it = std::move(line);
            return;
        }
    }
    s->lines.push_back(std::move(line));
}

std::vector<std::string> IniSections::RenderLines() const {
    std::vector<std::string> lines;
    for (const Section& s : mSections) {
        lines.push_back("[" + s.name + "]");
        lines.insert(lines.end(), s.lines.begin(), s.lines.end());
        lines.emplace_back();
    }
    return lines;
}

} // namespace pw
