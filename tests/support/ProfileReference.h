#pragma once
// The profile reading rules line by line, as plainly as they can be written: the reference that the
// fast lookup is held to by the tests and the fuzzer.

#include "core/data/Cp1251.h"
#include "core/data/ProfileIni.h"

#include <optional>
#include <string>
#include <string_view>

namespace pwtest {

inline std::string_view ReferenceTrim(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= 32)
        s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= 32)
        s.remove_suffix(1);
    return s;
}

// A value as a read returns it: one pair of enclosing quotes removed, cut to the read limit.
inline std::string ReferenceClean(std::string_view raw) {
    std::string value(ReferenceTrim(raw));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value.substr(0, pw::kProfileValueLimit);
}

// 8-bit files only: the value of key in the first section named section.
inline std::optional<std::string> ReferenceFind(std::string_view bytes, std::string_view section,
                                                std::string_view key) {
    section = ReferenceTrim(section);
    key = ReferenceTrim(key);
    bool in = false;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", pos);
        if (end == std::string_view::npos)
            end = bytes.size();
        const std::string_view line = ReferenceTrim(bytes.substr(pos, end - pos));
        pos = end + (end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n' ? 2 : 1);
        if (!line.empty() && line.front() == '[') {
            if (in)
                return std::nullopt;
            const std::size_t close = line.find(']');
            in = pw::AsciiEqualNoCase(
                ReferenceTrim(line.substr(1, close == std::string_view::npos ? close : close - 1)), section);
            continue;
        }
        const std::size_t eq = line.find('=');
        if (!in || line.empty() || line.front() == ';' || eq == std::string_view::npos ||
            !pw::AsciiEqualNoCase(ReferenceTrim(line.substr(0, eq)), key))
            continue;
        return ReferenceClean(line.substr(eq + 1));
    }
    return std::nullopt;
}

} // namespace pwtest
