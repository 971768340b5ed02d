#pragma once
// check for one .quest file: what the quest editor would refuse or change when it loads and compiles
// the file, and the string IDs it names.

#include "CheckReport.h"

#include <string>

namespace pw::cli {

class NameSet;

// Adds the findings of the quest file at report.path and fills report.questName and
// report.finishedQuests. tableIds (may be null) are the IDs of the string table to look LogTopic and
// LogText up in.
void CheckQuestFile(FileReport& report, const NameSet* tableIds);

} // namespace pw::cli
