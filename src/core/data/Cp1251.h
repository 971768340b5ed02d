#pragma once
// The program's 8-bit text is Windows-1251. These helpers convert it to and from Unicode forms
// and fold letter case under that code page, without any dependency beyond the standard library.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace pw {

// Unicode code point of one Windows-1251 byte (the unassigned byte 0x98 maps to U+0098).
char32_t Cp1251ToUnicode(unsigned char byte);
// Windows-1251 byte of a code point, or '?' when the code page cannot hold it.
char UnicodeToCp1251(char32_t codePoint, bool* lossy = nullptr);

std::string Cp1251ToUtf8(std::string_view text);
// Appends the UTF-8 form of one code point.
void AppendUtf8(std::string& out, char32_t codePoint);
// Characters outside the code page become '?'.
std::string Utf8ToCp1251(std::string_view utf8);
// Raw little-endian UTF-16 bytes (no byte-order mark) of an 8-bit text.
std::string Cp1251ToUtf16Le(std::string_view text);
// 8-bit text of raw little-endian UTF-16 bytes; characters outside the code page become '?'.
std::string Utf16LeToCp1251(std::string_view bytes);

// The code points of UTF-8 text; std::nullopt when it is no valid UTF-8 (a stray or missing continuation
// byte, an overlong form, a surrogate, a value past U+10FFFF).
std::optional<std::u32string> DecodeUtf8(std::string_view utf8);

// The first character of text that Windows-1251 lacks, as messages name it: the character in UTF-8 and its
// code point ("U+017C"); std::nullopt when every character fits.
struct LackingCharacter {
    std::string utf8;
    std::string codePoint;
};
std::optional<LackingCharacter> FirstCp1251Lacks(const std::u32string& text);
// Windows-1251 of UTF-8 text with nothing lost: std::nullopt when the text is no valid UTF-8 or holds a
// character the code page lacks.
std::optional<std::string> Utf8ToCp1251Exact(std::string_view utf8);
// UTF-8 of raw little-endian UTF-16 bytes (no byte-order mark). An unpaired surrogate becomes U+FFFD; an
// odd last byte is no character and is left out.
std::string Utf16LeToUtf8(std::string_view bytes);
// Raw little-endian UTF-16 bytes of UTF-8 text; std::nullopt when it is no valid UTF-8.
std::optional<std::string> Utf8ToUtf16Le(std::string_view utf8);

// Upper / lower case of one byte under Windows-1251: Latin and Cyrillic letters fold, lengths never change.
char Cp1251Upper(char c);
char Cp1251Lower(char c);
std::string Cp1251UpperString(std::string_view text);
// Whole-text comparison ignoring letter case of Latin and Cyrillic letters.
bool Cp1251EqualNoCase(std::string_view a, std::string_view b);

// Letter case folded for A-Z only, as the INI layers and name comparisons do.
inline char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}
// Inline: names are compared with it for every line and command of every file read, and most
// comparisons end at the sizes.
inline bool AsciiEqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    if (a == b) // most names are spelled the same way both times
        return true;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiUpper(a[i]) != AsciiUpper(b[i]))
            return false;
    return true;
}
// The order of names with A-Z folded, byte by byte (unsigned) after folding: names that AsciiEqualNoCase
// finds equal are neither less than the other.
bool AsciiLessNoCase(std::string_view a, std::string_view b);

// The first position at or after from where part occurs in bytes with A-Z folded, or std::string_view::npos;
// an empty part occurs at from. Fast on long texts: sixteen places at a time are tested for part's last two
// bytes, and only those that pass are compared in full.
std::size_t FindNoCase(std::string_view bytes, std::string_view part, std::size_t from = 0);
// Whether part occurs in bytes with A-Z folded; an empty part occurs everywhere.
inline bool ContainsNoCase(std::string_view bytes, std::string_view part) {
    return FindNoCase(bytes, part) != std::string_view::npos;
}

// Hash and equality of names with A-Z folded, for sets and maps keyed by names as the INI layers and
// the game compare them.
struct FoldedHash {
    std::size_t operator()(std::string_view name) const noexcept;
};
struct FoldedEqual {
    bool operator()(std::string_view a, std::string_view b) const noexcept { return AsciiEqualNoCase(a, b); }
};

} // namespace pw
