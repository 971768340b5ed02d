#include "core/data/StrUtilsEx.h"

#include "core/data/Cp1251.h"

#include <cstdint>
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
    // Eight bytes at a time. After the xor a byte equal to ch is zero, and the top bit of each zero byte
    // is set in zeros (exactly: no carry crosses a byte). Lists are short and their separators close,
    // where neither a search per separator nor a vector loop's set-up pays.
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    const std::uint64_t pattern = kOnes * static_cast<unsigned char>(ch);
    int count = 0;
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, sizeof word);
        const std::uint64_t x = word ^ pattern;
        const std::uint64_t zeros = ~(((x & kLow7) + kLow7) | x | kLow7);
        count += static_cast<int>(((zeros >> 7) * kOnes) >> 56); // the sum of the marks, at most 8
    }
    for (; i < text.size(); ++i)
        count += text[i] == ch ? 1 : 0;
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
