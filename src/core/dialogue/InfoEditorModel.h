#pragma once
// The dialogue editor's content as texts, and the mapping between it and a TInfo: loading an info
// into the editor and compiling the editor back into a .info file. Every text is Windows-1251.

#include "core/data/G3Infos.h"
#include "core/dialogue/InfoScript.h"
#include "core/dialogue/Vocabularies.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pw {

// The editor's content, mirroring its controls: a field named after a control ("...Ed", "...Cmb")
// holds that control's text as shown; the two numeric combo boxes, whose value is a position and not
// a text, are held as the selected position in fields named "...Index"; the grids as rows of cells.
// The initial values are the tab's defaults.
struct InfoEditorModel {
    std::string NameEd;
    std::string SortIdEd = "-1";
    std::string OwnerCmb;
    std::string QuestEd;
    int ConditionTypeIndex = kDefaultConditionType; // ConditionTypeCmb's selected position, -1 for none
    int InfoTypeIndex = kDefaultInfoType;           // InfoTypeCmb's selected position, -1 for none
    std::string InfoGivenEd = "False";
    std::string ParentEd;
    std::string GoldCostEd = "0";
    std::string CondOwnerNearEntityEd;
    std::string FolderCmb = Folders()[kDefaultFolder];
    std::string CondPlayerKnowsEd;
    std::string CondItemContainerCmb;
    std::string TeachSkillIsPercEd = "False";
    std::string TeachSkillIndexEd = "0";
    std::string TeachSkillValueEd = "0";
    std::string ClearChildrenEd = "False";
    std::string PermanentEd = "False";
    std::string TeachSkillCmb;
    std::string TeachAttribEd;
    std::string TeachAttribValueEd = "0";

    std::vector<ConditionRow> ItemsList; // CondItems, CondItemAmounts
    std::vector<ConditionRow> NpcList;   // CondSecondaryNPC, state word
    std::vector<CommandRow> CommandList; // the six InfoScript lists

    bool operator==(const InfoEditorModel&) const = default;
};

// ---- Loading ----

// Cuts a ";"-list into elements: blanks (codes 1..32) around elements are skipped and also end an
// element, so "A B;C" gives A, B, C; a separator at the very end adds one empty element.
std::vector<std::string> SplitElements(std::string_view text);

enum class NoticeIcon { None, Error };

// A message box that loading asks the window to show; loading goes on after it. Text and caption are
// UTF-8, as every message of the program.
struct LoadNotice {
    std::string text;
    std::string caption;
    NoticeIcon icon = NoticeIcon::None;
    std::string key; // the file's key whose value raised it
};

struct LoadedInfo {
    InfoEditorModel model;
    std::vector<LoadNotice> notices; // in the order they are to be shown
};

// Maps a record onto the editor: fields, the skill and holder look-ups, the three grids (state numbers
// shown as state words). Notices: "Навык %s отсутствует в базе." / "Персонаж %s отсутствует в базе."
// (caption "Внимание", no icon) and one "Грубая ошибка в списке персонажей" (caption "Редактор
// диалогов", error icon) per state element that is not a number. When blanks inside elements make a
// list yield more elements than the separators announce, rows are added so that every element gets
// a cell.
LoadedInfo LoadInfoModel(const TInfo& info);
// The same into loaded, whose strings and rows keep their storage: for readers of many files in a row.
void LoadInfoModel(const TInfo& info, LoadedInfo& loaded);

// The CommandList rows that loading builds from the six InfoScript lists, given in the order of a
// CommandRow's cells: always at least one row.
std::vector<CommandRow> CommandRowsOf(const std::array<const std::string*, kCommandCellCount>& lists);

// A warning for a record whose non-empty InfoScript lists hold different numbers of ";", so that its
// commands and their arguments no longer pair up (UTF-8; empty when they agree), and the key of the first
// list whose number differs from the first one's.
struct ScriptListsWarning {
    std::string text;
    std::string_view key;
};
ScriptListsWarning MisalignedScriptWarning(const TInfo& info);

// The state cell shown for one state element of several ("Жив" ... for 0..5), empty for a number
// outside 0..5; sets *bad when the element is not a whole number.
std::string StateWordForElement(std::string_view element, bool* bad);

// ---- Compiling ----

enum class JoinRule {
    Command,   // CommandList: an "<EMPTY>" cell adds neither a value nor a separator
    Condition, // ItemsList, NpcList: an "<EMPTY>" cell adds an empty element
};

// Joins one column's cells, top to bottom, into a ";"-list.
std::string JoinColumn(const std::vector<std::string>& cells, JoinRule rule);

// The file form of an NpcList state cell: a state word (any letter case) becomes "0".."5", a character
// name stays as typed, anything else (empty and "<EMPTY>" included) becomes "-1".
std::string EncodeState(std::string_view cell);

// Where a compiled info goes.
struct CompileSettings {
    bool TmpFiles = true;   // write into "_Infos" inside programDir instead of InfosPath
    std::string programDir; // the folder that holds the program's executable
    std::string InfosPath;
};

enum class CompileStatus {
    NameMissing,  // "Не задано имя диалога!"
    UnsafeName,   // the name holds "/", a backslash or a NUL byte, or is "." or ".."
    OwnerMissing, // "Не указан владелец диалога!"
    UnfilledRow,  // a "<EMPTY>" command row that would shift later arguments, caption as ScriptError
    ScriptError,  // CheckInfoScript's message, caption "Грубая ошибка в инфоскрипте"
    BadField, // a field does not convert: "Пожалуйста, заполните все поля!" (box without owner)
    FolderMissing, // TmpFiles off and no Infos folder in the settings
    FolderFailed,  // the scratch folder cannot be created: "Cannot create file "%s". %s" naming it
    WriteFailed,   // the writer's error text
    HeaderChecked, // the name and the owner passed; the rest is not checked yet
    Ready,         // checked and filled, not written yet
    Written,
};

struct CompileOutcome {
    CompileStatus status = CompileStatus::HeaderChecked;
    // UTF-8 whatever the status, as every message of the program; a path in it (FolderFailed,
    // WriteFailed) is the file system's, which names files in UTF-8 too. Both are empty unless the compile
    // failed; every failure is a warning box.
    std::string caption;
    std::string message;
    // The key of the .info file a refusal concerns: Name, Owner, the InfoScript list that holds the wrong
    // element, CondItemContainer; empty for a refusal of no key's.
    std::string_view key;
    // The row of the wrong element, counted from 0, when key is a list of the command rows.
    std::optional<std::size_t> row;
    TInfo info;         // filled when Ready or Written
    std::string folder; // the output folder, known when Ready or Written
    std::string path;   // folder + separator + the file system's form of Name + "_info_G3_World_01.info"
    bool createFolder = false; // the folder is the scratch folder, created before the write if missing

    bool Failed() const {
        return status != CompileStatus::HeaderChecked && status != CompileStatus::Ready &&
               status != CompileStatus::Written;
    }
};

// The compile in three stages, each taking the outcome of the one before; a stage leaves an outcome
// that is not its input status as it is, so a failure passes through unchanged.

// Stage 1: the name and owner checks: HeaderChecked, or NameMissing, UnsafeName, OwnerMissing.
CompileOutcome CheckInfoHeader(const InfoEditorModel& model);

// Stage 2, from HeaderChecked: refuses unfilled command rows that would shift arguments, runs
// CheckInfoScript, fills the record and makes the output path. Touches no file. Ready on success.
void PrepareInfo(const InfoEditorModel& model, const CompileSettings& settings, CompileOutcome& outcome);

// Stage 1 and the checks of stage 2, the record not filled and no output path made: what the compile refuses
// of a dialogue loaded from its file, whose fields always convert (HeaderChecked when it passes). For a
// caller that checks many files and writes none.
CompileOutcome CheckInfoCompile(const InfoEditorModel& model);

// Stage 3, from Ready: creates the scratch folder when needed (FolderFailed when it cannot be made),
// writes the record and turns the outcome into Written, or WriteFailed with caption "Ошибка" and the
// writer's error text.
void WriteCompiledInfo(CompileOutcome& outcome);

// All three stages. onHeaderChecked, when given, runs once stage 1 has passed: the window empties its
// text pane there, so every later stop leaves the pane empty.
CompileOutcome CompileInfo(const InfoEditorModel& model, const CompileSettings& settings,
                           const std::function<void()>& onHeaderChecked = {});

// ---- Field handlers ----

// Focus leaving InfoGivenEd, TeachSkillIsPercEd, PermanentEd, ClearChildrenEd: "True"/"False" in any
// letter case stay as typed, anything else becomes "False".
std::string NormalizeBooleanText(std::string_view text);
// Every change of TeachSkillIndexEd / TeachSkillValueEd: a text blank after trimming becomes "0".
std::string ZeroIfBlank(std::string_view text);
// TeachSkillIsPercEd after a change of TeachSkillCmb: "True" when the text is an entry of the skills
// list (as the combo box finds it: whole text, letter case ignored), else "False".
std::string TeachSkillIsPercFor(std::string_view skillText);

} // namespace pw
