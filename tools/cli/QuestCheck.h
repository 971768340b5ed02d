#pragma once
// check for one .quest file: what the quest editor would refuse or change when it loads and compiles
// the file, and the string IDs it names.

#include "CheckReport.h"
#include "QuestPipeline.h"

#include <string>

namespace pw::cli {

// Adds the findings of the quest file at report.path and fills report.questName,
// report.finishedQuests and, with lookUpIds, report.references for LogTopic and LogText.
void CheckQuestFile(FileReport& report, bool lookUpIds);
// The same for a quest that was read and filled already.
void CheckQuestRun(const QuestRun& run, FileReport& report, bool lookUpIds);

} // namespace pw::cli
