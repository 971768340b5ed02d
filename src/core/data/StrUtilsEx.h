#pragma once
// Small string functions used by the .info writer and the dialogue loader.

#include <string>
#include <string_view>

namespace pw {

// Number of bytes in text equal to ch.
int CharCount(char ch, std::string_view text);
// Text after / before the first occurrence of delimiter; empty when either is empty or the delimiter
// is absent. Without caseSensitive the search runs on the Windows-1251 upper-case form of text.
std::string TextAfter(std::string_view delimiter, std::string_view text, bool caseSensitive);
std::string TextBefore(std::string_view delimiter, std::string_view text, bool caseSensitive);

// The value of a hexadecimal digit (either letter case), or -1 for another character.
int HexValue(char c);

// Removes characters of code 0..32 at both ends. Inline: every line of every file read is trimmed.
inline std::string_view TrimView(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= 32)
        ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 32)
        --end;
    return text.substr(begin, end - begin);
}
std::string Trim(std::string_view text);

} // namespace pw
