#include "TableLint.h"

#include "ReferenceSets.h"

#include "data/Cp1251.h"
#include "data/StrUtilsEx.h"
#include "data/StringTable.h"

#include <algorithm>
#include <map>
#include <unordered_map>

namespace pw::cli {
namespace {

// Cuts a text into lines: CR, LF and CR LF each end one line, as the profile reader sees them. The
// next CR and the next LF are each found once with a fast search and kept until passed.
class LineCutter {
public:
    explicit LineCutter(std::string_view text) : mText(text), mNextCr(Find('\r')), mNextLf(Find('\n')) {}

    bool Next(std::string_view& line) {
        if (mPos >= mText.size())
            return false;
        if (mNextCr < mPos)
            mNextCr = Find('\r');
        if (mNextLf < mPos)
            mNextLf = Find('\n');
        const std::size_t end = std::min(mNextCr, mNextLf);
        line = mText.substr(mPos, end - mPos);
        mPos = end + 1;
        if (end == mNextCr && mPos == mNextLf) // CR LF ends one line
            ++mPos;
        return true;
    }

private:
    std::size_t Find(char c) const {
        const std::size_t at = mText.find(c, mPos);
        return at == std::string_view::npos ? mText.size() : at;
    }

    std::string_view mText;
    std::size_t mPos = 0;
    std::size_t mNextCr;
    std::size_t mNextLf;
};

// Writes c as UTF-8 at out; returns the position after it.
char* PutUtf8(char* out, char32_t c) {
    if (c < 0x80) {
        *out++ = static_cast<char>(c);
    } else if (c < 0x800) {
        *out++ = static_cast<char>(0xC0 | (c >> 6));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *out++ = static_cast<char>(0xE0 | (c >> 12));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    } else {
        *out++ = static_cast<char>(0xF0 | (c >> 18));
        *out++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

// A UTF-16 table is judged on its own characters: decoding it into the 8-bit code page would turn
// every character the code page lacks into "?" and so into false findings. Unpaired surrogates
// become U+FFFD.
std::string Utf16LeToUtf8(std::string_view bytes) {
    const std::size_t units = bytes.size() / 2;
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto unit = [in](std::size_t i) -> char32_t { return in[2 * i] | (in[2 * i + 1] << 8); };
    // The decoded length first, so the text is made in one allocation of its own size.
    std::size_t length = 0;
    for (std::size_t i = 0; i < units; ++i) {
        const char32_t c = unit(i);
        length += c < 0x80 ? 1 : c < 0x800 ? 2 : 3; // a surrogate pair: 3 + 3 >= 4
    }
    std::string out(length, '\0');
    char* o = out.data();
    for (std::size_t i = 0; i < units; ++i) {
        char32_t c = unit(i);
        if (c < 0x80) {
            *o++ = static_cast<char>(c);
            continue;
        }
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < units && unit(i + 1) >= 0xDC00 && unit(i + 1) < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (unit(++i) - 0xDC00);
        else if (c >= 0xD800 && c < 0xE000)
            c = 0xFFFD;
        o = PutUtf8(o, c);
    }
    out.resize(static_cast<std::size_t>(o - out.data()));
    return out;
}

struct Entry {
    std::size_t line;
    bool isEntry;        // false for a line without "="
    std::string_view id; // entries only
    std::string_view value;
    std::size_t firstLine; // the earlier line of the same ID, 0 when none
    int semicolons;
};

int SemicolonNorm(const std::map<int, std::size_t>& counts) {
    int norm = 0;
    std::size_t most = 0;
    for (const auto& [count, values] : counts) // ascending, so a tie keeps the smaller count
        if (values > most) {
            norm = count;
            most = values;
        }
    return norm;
}

// The lines of every section "LocAdmin_Strings" that are neither blank nor comments.
std::vector<Entry> CollectEntries(std::string_view text, std::map<int, std::size_t>& semicolonCounts) {
    std::vector<Entry> entries;
    std::unordered_map<std::string_view, std::size_t, FoldedHash, FoldedEqual> firstLines;
    firstLines.reserve(text.size() / 64); // about one entry for every few hundred bytes: no rehash
    LineCutter cutter(text);
    std::string_view raw;
    std::size_t number = 0;
    bool inStrings = false;
    while (cutter.Next(raw)) {
        ++number;
        const std::string_view line = TrimView(raw);
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            const std::string_view name =
                TrimView(line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1));
            inStrings = AsciiEqualNoCase(name, kStringsSection);
            continue;
        }
        if (!inStrings)
            continue;
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) {
            entries.push_back({number, false, {}, {}, 0, 0});
            continue;
        }
        Entry entry{number, true, TrimView(line.substr(0, eq)), TrimView(line.substr(eq + 1)), 0, 0};
        entry.semicolons = static_cast<int>(std::count(entry.value.begin(), entry.value.end(), ';'));
        ++semicolonCounts[entry.semicolons];
        const auto [first, added] = firstLines.try_emplace(entry.id, number);
        if (!added)
            entry.firstLine = first->second;
        entries.push_back(entry);
    }
    return entries;
}

} // namespace

std::vector<TableFinding> LintStringTable(std::string_view bytes) {
    const bool wide = bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE';
    const std::string decoded = wide ? Utf16LeToUtf8(bytes.substr(2)) : std::string();
    const std::string_view text = wide ? std::string_view(decoded) : bytes;
    const auto utf8 = [wide](std::string_view s) { return wide ? std::string(s) : Cp1251ToUtf8(s); };

    std::map<int, std::size_t> semicolonCounts;
    const std::vector<Entry> entries = CollectEntries(text, semicolonCounts);
    const int norm = SemicolonNorm(semicolonCounts);
    std::vector<TableFinding> findings;
    const auto add = [&findings](const Entry& e, TableIssue issue, std::string message) {
        findings.push_back({e.line, issue, std::move(message)});
    };
    for (const Entry& e : entries) {
        if (!e.isEntry) {
            add(e, TableIssue::NoEquals, "Строка без \"=\" не является записью.");
            continue;
        }
        if (e.firstLine != 0)
            add(e, TableIssue::RepeatedId,
                "ID " + utf8(e.id) + " уже встречался в строке " + std::to_string(e.firstLine) +
                    "; читается только первая запись.");
        if (e.semicolons != norm)
            add(e, TableIssue::SemicolonCount,
                "Знаков \";\" в значении: " + std::to_string(e.semicolons) +
                    ", а в большинстве значений таблицы: " + std::to_string(norm) + ".");
        if (e.value.empty() || e.value.back() != ';')
            add(e, TableIssue::NoFinalSemicolon, "Значение не оканчивается на \";\".");
        if (e.value.find("???") != std::string_view::npos)
            add(e, TableIssue::QuestionMarks,
                "Значение содержит \"???\": так выглядит текст, сохранённый в "
                "кодировке, которая не могла его вместить.");
    }
    return findings;
}

std::string UnlistedTableFindings(TableIssue issue, std::size_t count) {
    const char* kind = "";
    switch (issue) {
    case TableIssue::RepeatedId:
        kind = "повторённые ID";
        break;
    case TableIssue::NoEquals:
        kind = "строки без \"=\"";
        break;
    case TableIssue::SemicolonCount:
        kind = "значения с числом \";\" не как у большинства";
        break;
    case TableIssue::NoFinalSemicolon:
        kind = "значения без \";\" в конце";
        break;
    case TableIssue::QuestionMarks:
        kind = "значения с \"???\"";
        break;
    }
    return "… и ещё " + std::to_string(count) + ": " + kind;
}

} // namespace pw::cli
