#pragma once
// The Windows platform layer's own pieces, shared by its two files and by no one else: the system's error
// codes as std::error_code, and text between UTF-8, UTF-16 and the code pages.

#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include <windows.h>

namespace pw::platform::windows_detail {

// A Win32 error code, with the system's own text and the portable conditions the rest of the program
// compares with (a missing file, a folder, no permission).
std::error_code Win32Error(DWORD code);
// The calling thread's last Win32 error.
std::error_code LastError();

// UTF-8 as UTF-16; text that is no UTF-8 (a path given with --raw) is read as Windows-1251.
std::wstring Wide(std::string_view utf8);
// UTF-16 as UTF-8.
std::string Utf8(std::wstring_view wide);
// UTF-8 in an 8-bit code page; std::nullopt where a character is missing from it.
std::optional<std::string> ToCodePage(UINT codePage, std::string_view utf8);

} // namespace pw::platform::windows_detail
