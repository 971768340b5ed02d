#pragma once
// What check finds, file by file, before it is printed.

#include "core/strings/TableLanguages.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace pw::cli {

// The kinds of finding, each with a short name that stays the same across versions, for scripts and
// code-scanning sites that read check's JSON or SARIF.
enum class FindingKind {
    FileError,           // the file cannot be read
    NotARecord,          // the file is no dialogue or quest
    CompileError,        // what the compile button would refuse
    UnreadNumber,        // a number the reader cannot read, which the game gets as 0 or -1
    LoadNotice,          // what loading the dialogue into the editor would say
    MisalignedLists,     // InfoScript lists whose commands and arguments no longer pair up
    QuestType,           // a quest Type outside the list
    MissingQuest,        // a dialogue's Quest or a quest command's quest that no quest file names
    MissingString,       // a string ID the table lacks
    MissingParent,       // a Parent that no checked dialogue names
    MissingEarlierQuest, // a FinishedQuests name that no quest file names
    DuplicateQuest,      // a quest Name another checked file has already
    UnsetEvent,          // a CondPlayerKnows event that no checked dialogue sets
    RepeatedId,          // the table's findings, as TableFindingKind
    NoEquals,
    SemicolonCount,
    NoFinalSemicolon,
    QuestionMarks,
    UntranslatedString, // a string ID whose text in the language --require-language names is not translated
};
inline constexpr std::size_t kFindingKinds = 19;

struct FindingKindInfo {
    std::string_view name;        // "missing-parent"
    bool error;                   // an error rather than a warning
    std::string_view description; // one English line, for the rules of a SARIF log
};
const FindingKindInfo& InfoOf(FindingKind kind);

// A list element's number for a finding about a whole value, or one whose element is told by its name.
inline constexpr std::size_t kWholeValue = static_cast<std::size_t>(-1);

struct Finding {
    FindingKind kind = FindingKind::FileError;
    std::string text;     // UTF-8
    std::size_t line = 0; // the line it is about, counted from 1; 0 for the file as a whole
    // What in a dialogue or quest it is about, for a caller that points there (the language server):
    // the key (empty for the file as a whole), the element of its list (counted from 0), and the name
    // it concerns (Windows-1251), by which an element is found when its number is kWholeValue.
    std::string key{};
    std::size_t element = kWholeValue;
    std::string name{};

    bool Error() const { return InfoOf(kind).error; }
    bool operator==(const Finding&) const = default;
};

// A name a file refers to that is looked up once every file is read and the table's IDs are known, so
// that files are checked while the table is still being read; the quests wait beside the string IDs, to
// keep the order.
struct Reference {
    enum class Kind { Quest, StringId } kind = Kind::StringId;
    std::string name;     // trimmed (Windows-1251)
    std::string context;  // for a string ID of a quest, the key that names it ("LogTopic")
    std::size_t line = 0; // of the key that names it
    // The key that names it, spelt by the program (a name of static storage: one is held per reference of
    // a whole library), and the element of its list (see Finding).
    std::string_view key{};
    std::size_t element = kWholeValue;
};

// The findings across files, as check words them for check and the language server alike (names trimmed,
// Windows-1251; line that of the key concerned). A missing string's context is the quest key that names it,
// or empty.
Finding MissingQuestFinding(const Reference& reference);
Finding MissingStringFinding(const Reference& reference);
Finding MissingParentFinding(const std::string& parent, std::size_t line);
Finding MissingEarlierQuestFinding(const std::string& quest, std::size_t line);
// A quest whose name the file at earlierPath has already.
Finding DuplicateQuestFinding(const std::string& quest, const std::string& earlierPath, std::size_t line);
// What an untranslated cell holds instead of a translation, as the finding below says it ("текста нет").
std::string UntranslatedText(CellState state);
// A string ID whose text in language is not translated: state says what the cell holds instead.
Finding UntranslatedStringFinding(const Reference& reference, const TableLanguage& language, CellState state);

struct FileReport {
    std::string path;
    std::vector<Finding> findings;
    std::size_t unlistedWarnings = 0; // warnings summed up rather than listed, still counted
    // The lines of the keys the checks across files point at (see RecordReadReport::LineOf).
    std::size_t nameLine = 0;
    std::size_t parentLine = 0;
    std::size_t playerKnowsLine = 0;
    std::size_t finishedQuestsLine = 0;

    // Facts for the checks across files, gathered while each file is checked (Windows-1251).
    std::string dialogueName;                // a dialogue's Name, trimmed
    std::string parent;                      // a dialogue's parent dialogue
    std::string playerKnows;                 // a dialogue's CondPlayerKnows, trimmed
    std::vector<std::string> setEvents;      // the events a dialogue's SetGameEvent rows set, trimmed
    std::string questName;                   // a quest's Name
    std::vector<std::string> finishedQuests; // a quest's FinishedQuests, one name each
    std::vector<Reference> references;       // in the order their findings are listed, after the others
};

} // namespace pw::cli
