#pragma once
// Conversions between the program's 8-bit text (Windows-1251 bytes) and the screen's QString.

#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace pw {

QString FromCp1251(std::string_view bytes);
// Characters that Windows-1251 cannot hold become '?'.
std::string ToCp1251(const QString& text);
// The bytes of text, or std::nullopt when some character has no byte in the code page.
std::optional<std::string> ToCp1251Exact(QStringView text);

// Text converted for writing, nothing replaced: its bytes, or the first character (a whole code point)
// that Windows-1251 lacks, and then no bytes.
struct Cp1251Bytes {
    std::string bytes;
    std::optional<char32_t> missing;
};
Cp1251Bytes ToCp1251Checked(QStringView text);

// File paths: the system's own encoding of file names.
QString FromNativePath(const std::string& path);
std::string ToNativePath(const QString& path);

} // namespace pw
