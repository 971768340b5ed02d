#pragma once
// The quest editor's content as texts, and the mapping between it and a TQuest: loading a quest into
// the editor, compiling the editor back into a .quest file, and finding a quest of the library by its
// name. Field texts are Windows-1251; messages are UTF-8.

#include "core/data/G3Quests.h"
#include "core/quest/QuestVocabularies.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pw {

// One text per field control (named after the control) and the selected position of QuestTypeCMB.
// The initial values are the tab's defaults.
struct QuestEditorModel {
    std::string QuestNameEd;
    int QuestTypeCMB = kDefaultQuestType; // selected position, -1 for none
    std::string QuestFinishedQuestsEd;
    std::string QuestLogTopicEd;
    std::string QuestLogTextEd;
    std::string QuestExperiencePointsEd = "0";
    std::string QuestPoliticalSuccessEd = "0";
    std::string QuestPoliticalSuccessAmountEd = "0";
    std::string QuestEnclaveSuccessCMB = Enclaves()[kDefaultEnclave];
    std::string QuestEnclaveSuccessAmountEd = "0";
    std::string QuestJobSuccessEd = "-1";
    std::string QuestJobSuccessAmountEd = "-1";
    std::string QuestFolderCMB = QuestFolders()[kDefaultQuestFolder];
    std::string QuestDeliveryEntitiesEd;
    std::string QuestDeliveryAmountsEd;
    std::string QuestDeliveryCounterEd;
    std::string QuestDestinationEntityEd;
    std::string QuestRunningTimeYearsEd = "0";
    std::string QuestRunningTimeDaysEd = "0";
    std::string QuestRunningTimeHoursEd = "0";
    std::string QuestAttribSuccessEd;
    std::string QuestAttribSuccessAmountEd = "0";
};

// A control that carries its text into one key of the quest file (every field but QuestTypeCMB).
struct QuestTextControl {
    std::string_view name; // the control's name
    std::string_view key;  // the .quest key
    std::string QuestEditorModel::*text;
    bool number; // a whole number in decimal; otherwise the text is taken unchanged
};
// The 21 text controls in the order the compile takes them.
const std::vector<QuestTextControl>& QuestTextControls();

// ---- Loading ----

// Maps a record onto the editor: texts unchanged, numbers in decimal (JobSuccess -1 as "-1"), Type as
// the position of QuestTypeCMB (-1 when outside the list).
QuestEditorModel LoadQuestModel(const TQuest& quest);

// ---- Compiling ----

struct QuestCompileSettings {
    bool TmpFiles = true;   // write into "_Quests" inside programDir instead of QuestsPath
    std::string programDir; // the folder that holds the program's executable
    std::string QuestsPath;
};

enum class QuestCompileStatus {
    NotANumber,    // "'%s' is not a valid integer value"; shown by the general error display
    NameMissing,   // "Имя квеста не задано"
    UnsafeName,    // the name holds "/", a backslash or a NUL byte, or is "." or ".."
    FolderMissing, // TmpFiles off and no quest folder set
    FolderFailed,  // the scratch folder cannot be created; shown by the general error display
    WriteFailed,   // the writer's error; shown by the general error display
    Ready,         // checked and filled, not written yet
    Written,
};

struct QuestCompileOutcome {
    QuestCompileStatus status = QuestCompileStatus::Ready;
    std::string message; // UTF-8, for every failure; paths in it as the file system names them
    std::string_view key; // the key of the .quest file a refusal of its fields concerns; empty for another
    TQuest quest;        // filled when Ready or Written
    std::string folder;  // the output folder, known when Ready or Written
    std::string path;    // folder + separator + the file system's form of Name + "_quest_G3_World_01.quest"
    bool createFolder = false; // the folder is the scratch folder, created before the write if missing

    bool Failed() const {
        return status != QuestCompileStatus::Ready && status != QuestCompileStatus::Written;
    }
    // NotANumber, FolderFailed and WriteFailed are errors for the general error display; the others
    // are the quest editor's own boxes (caption "Редактор квестов", no icon).
    bool GeneralError() const;
};

// Stage 1: converts the fields into a record in the compile order (NotANumber at the first number
// field that is no whole number), then checks the name (NameMissing, UnsafeName). Touches no file.
// Ready on success.
QuestCompileOutcome FillQuestRecord(const QuestEditorModel& model);

// Stage 2: stage 1, then the output location (FolderMissing when it is not set). Touches no file.
QuestCompileOutcome PrepareQuest(const QuestEditorModel& model, const QuestCompileSettings& settings);

// Stage 3: creates the scratch folder when needed (FolderFailed) and writes a Ready outcome, turning it
// into Written or WriteFailed; the writer leaves no half-written file. Other outcomes stay as they are.
void WriteCompiledQuest(QuestCompileOutcome& outcome);

// All three stages.
QuestCompileOutcome CompileQuest(const QuestEditorModel& model, const QuestCompileSettings& settings);

// ---- Finding a quest by name ----

// The first of files whose key Name of section "Quest" equals name, letters A-Z folded and nothing
// trimmed; a file without that key has the empty name. Files that cannot be read are passed over.
std::optional<std::string> FindQuestByName(const std::vector<std::string>& files, std::string_view name);

} // namespace pw
