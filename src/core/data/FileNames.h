#pragma once
// Names of files made from record text. Records hold Windows-1251 bytes; the file system names files
// in its own encoding (UTF-8 here, as the program's paths are held), so a name taken from a record is
// converted before it becomes part of a path. Then every file the program writes can be listed, shown
// and opened again by its name.

#include <optional>
#include <string>
#include <string_view>

namespace pw {

// The file system's form of a file name given as Windows-1251 record text.
std::string FileNameFromText(std::string_view cp1251Text);

// Whether a name would leave the folder it is meant for: it holds "/", a backslash or a NUL byte, or
// it is "." or "..". Such a name cannot name a file inside a folder.
bool HoldsPathSeparator(std::string_view name);
bool IsFolderName(std::string_view name);

// The first character of name that Windows cannot keep in a file name, where the game's files travel:
// < > : " / \ | ? * or a control character (codes 1..31); std::nullopt when there is none.
std::optional<char> FirstUnstorableCharacter(std::string_view name);

} // namespace pw
