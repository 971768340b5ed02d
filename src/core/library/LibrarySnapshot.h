#pragma once
// The library index with the names completion offers, built in one go: what the window's background
// builds and the language server hold.

#include "core/library/LibraryIndex.h"

#include <memory>
#include <string>
#include <vector>

namespace pw {

// One build: the index and the names that completion offers, each list sorted and holding each name once
// (A-Z folded; the first spelling met in library order is kept). Windows-1251, trimmed.
struct LibrarySnapshot {
    LibraryIndex index;
    std::vector<std::string> dialogueNames;
    std::vector<std::string> questNames;
    std::vector<std::string> owners;
    std::vector<std::string> events;   // CondPlayerKnows and the IDs1 of SetGameEvent rows
    std::vector<std::string> tableIds; // the IDs the string table's lookups find (see ListTableIds)
};

// The folders scanned (Infos, then Quests; a folder missing or empty is skipped), read and the names
// gathered, and the IDs of the string table at tablePath (none for an empty path or a table that cannot
// be read): what a background build of the window or the language server does. progress is told of the
// files read; when it says stop, the build ends there and returns null.
std::shared_ptr<const LibrarySnapshot> BuildLibrarySnapshot(const std::vector<std::string>& folders,
                                                            const std::string& tablePath = {},
                                                            const ProgressHook& progress = {});

} // namespace pw
