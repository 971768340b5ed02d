#include "core/data/StrUtilsEx.h"

#include "core/data/Cp1251.h"

#include <algorithm>
#include <cstring>

namespace pw {
namespace {

// 0-based position of delimiter in text (upper-cased when case does not matter), npos when absent.
std::size_t FindDelimiter(std::string_view delimiter, std::string_view text, bool caseSensitive) {
    if (delimiter.empty() || text.empty())
        return std::string_view::npos;
    if (caseSensitive)
        return text.find(delimiter);
    return Cp1251UpperString(text).find(Cp1251UpperString(delimiter));
}

} // namespace

int CharCount(char ch, std::string_view text) {
    // memchr leaps over the bytes between two separators, where a loop would look at each.
    int count = 0;
    const char* at = text.data();
    const char* const end = at + text.size();
    while (at != end) {
        at = static_cast<const char*>(std::memchr(at, ch, static_cast<std::size_t>(end - at)));
        if (!at)
            break;
        ++count;
        ++at;
    }
    return count;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string TextAfter(std::string_view delimiter, std::string_view text, bool caseSensitive) {
    const std::size_t p = FindDelimiter(delimiter, text, caseSensitive);
    if (p == std::string_view::npos)
        return {};
    return std::string(text.substr(p + delimiter.size()));
}

std::string TextBefore(std::string_view delimiter, std::string_view text, bool caseSensitive) {
    const std::size_t p = FindDelimiter(delimiter, text, caseSensitive);
    if (p == std::string_view::npos)
        return {};
    return std::string(text.substr(0, p));
}

std::string Trim(std::string_view text) {
    return std::string(TrimView(text));
}

} // namespace pw
