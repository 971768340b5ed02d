#pragma once
// The library: .info and .quest files found below the Infos and Quests folders.

#include "core/data/ReadReport.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace pw {

// Appends the full path of every .info and .quest file (extension in any letter case) in folder and,
// depth first, in its subfolders, in the order the system lists them. Only regular files and links to
// them are listed. Folders that cannot be read add nothing; a folder reached again through a link is not
// entered again, and the system's own folders (/proc, /sys, /dev) are never entered.
void ScanLibraryFolder(const std::string& folder, std::vector<std::string>& list);
// The same scan handing over its files as it goes: onFiles gets runs of files of one folder, never
// empty, whose concatenation is the list above, while the scan of the folders after them waits.
void ScanLibraryFolder(const std::string& folder,
                       const std::function<void(std::vector<std::string>&&)>& onFiles);

// What a library file holds by its extension: a quest for ".quest" (any letter case), else a dialogue.
RecordKind LibraryFileKind(std::string_view path);

} // namespace pw
