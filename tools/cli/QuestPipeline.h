#pragma once
// One .quest file through the quest tab's load and the first stage of its compile, without a window.

#include "core/data/ReadReport.h"
#include "core/quest/QuestEditorModel.h"

#include <string>
#include <string_view>

namespace pw::cli {

struct QuestRun {
    TQuest loaded;                // the record as read
    RecordReadReport read;        // whether it is a quest file, and the numbers that could not be read
    QuestEditorModel model;       // the editor's content after loading it
    QuestCompileOutcome compiled; // Ready with the record to write, or the refusal the tab would show
};

// Reads path (a missing file reads as a quest of defaults; throws the reader's std::runtime_error when
// it cannot be read), maps it onto the editor and fills the record the compile would write. Writes
// nothing.
QuestRun LoadAndFillQuest(const std::string& path);
// The same for a quest file's bytes held in memory (an editor's text, or a file its caller has read).
QuestRun FillQuestBytes(std::string_view bytes);

} // namespace pw::cli
