#pragma once
// The places of a dialogue or quest file that hold the names of things: a quest, a dialogue, a game event,
// a string ID. A rename renames them, and the language server finds what the cursor stands on by them.

#include "core/data/ReadReport.h"
#include "core/library/ValueSpans.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace pw {

enum class RenameKind {
    Quest,    // Name of its quest, its file, dialogues' Quest, quest commands' IDs1, FinishedQuests
    Dialogue, // Name of its dialogue, its file, dialogues' Parent
    Event,    // CondPlayerKnows, SetGameEvent's IDs1
    String,   // the string table's ID, InfoScript_Texts, LogTopic, LogText
};

// One name held in a file.
struct NamePlace {
    std::string_view key; // the key as the program spells it ("InfoScript_IDs1")
    std::size_t line = 0; // counted from 1
    TextSpan span;        // the name's characters in the text, trimmed
    RenameKind kind = RenameKind::Quest;
    bool own = false;        // the record's own Name: the file is the named thing's
    std::size_t element = 0; // its place in the key's list, counted from 0
};

// The names of a file of kind, text one byte per character (see FileText), found as the library index
// reads the keys (see FindKeyLines): the whole value of a key that holds one name, each element of a list
// (FinishedQuests cut at ";" and ",", the others at ";"), and the InfoScript_IDs1 elements whose row's
// command takes a quest or an event. The last element of a value longer than a read returns is left out:
// a read sees only the start of that name. In the order of the keys, then of the elements.
std::vector<NamePlace> NamePlacesOf(std::string_view text, RecordKind kind);

// The kind of name a command row's IDs1 holds for its command (trimmed, A-Z folded): a quest for
// SucceedQuest, CloseQuest and RunQuest, an event for SetGameEvent; false for another command.
bool IdKindOfCommand(std::string_view command, RenameKind& kind);

} // namespace pw
