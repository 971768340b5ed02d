#pragma once
// Text as the game's files hold it, written in the tests in UTF-8.

#include "core/data/Cp1251.h"

#include <string>

namespace pwtest {

// UTF-8 test text as Windows-1251 bytes.
inline std::string Ansi(const std::string& utf8) {
    return pw::Utf8ToCp1251(utf8);
}

// A UTF-16LE file with its byte-order mark, holding the Windows-1251 text ansi.
inline std::string Utf16LeFile(const std::string& ansi) {
    return "\xFF\xFE" + pw::Cp1251ToUtf16Le(ansi);
}

// A UTF-16LE file with its byte-order mark, holding the UTF-8 text utf8 (which may hold characters
// Windows-1251 has not).
inline std::string Utf16LeFileFromUtf8(const std::string& utf8) {
    return "\xFF\xFE" + *pw::Utf8ToUtf16Le(utf8);
}

// Every byte value but the line-end bytes CR and LF: 0x80 to 0xFF (0x98, which has no character, too)
// and the control characters included.
inline std::string All8BitBytes() {
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        if (b != '\r' && b != '\n')
            bytes += static_cast<char>(b);
    return bytes;
}

} // namespace pwtest
