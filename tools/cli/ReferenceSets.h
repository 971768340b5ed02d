#pragma once
// The names that check compares references with, each read once: the string IDs of a table, the quest
// names of a quest tree and the dialogue names of the checked files. Names are kept with A-Z folded,
// as the INI layer and the game compare them.

#include "core/data/NameSet.h"

#include <string>

namespace pw::cli {

// The Name values of section "Quest" of every file below folder, scanned as the library is.
NameSet ReadQuestNames(const std::string& folder);

} // namespace pw::cli
