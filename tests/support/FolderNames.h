#pragma once
// The names in a folder, sorted: what a write left beside its target.

#include "TempDir.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace pwtest {

inline std::vector<std::string> FolderNames(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(FsPath(folder)))
        names.push_back(Utf8Path(entry.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace pwtest
