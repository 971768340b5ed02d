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

// Removes characters of code 0..32 at both ends.
std::string_view TrimView(std::string_view text);
std::string Trim(std::string_view text);

} // namespace pw
