#pragma once
// A written conversation turned into a dialogue's Say rows and the string table's entries for them.
// Each line "Speaker: text", or a spoken line as the earlier games' scripts write it,
// AI_Output(self, other, "ID"); //text, gives one row; new IDs are numbered after those the table holds.
// The dialogue tab's import dialog and the command line's import-conversation share it.

#include "core/data/Cp1251.h"
#include "core/dialogue/InfoScript.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

namespace pw {

// What an import needs of the string table, from one reading of it.
struct ConversationTable {
    // Every ID of every section "LocAdmin_Strings" (Windows-1251): none of them is ever written again.
    std::unordered_set<std::string, FoldedHash, FoldedEqual> ids;
    int semicolons = 1; // the ";" that end a new value: the table's norm, at least one
    // The field of a new value that holds the text (a language's, see TableLanguage::TextField); the
    // value's other fields stay empty.
    std::size_t textField = 0;
};

// Reads the table at path once, in blocks. A missing table holds no IDs. Throws
// std::runtime_error("Cannot open file ...") when it exists but cannot be read.
ConversationTable ReadConversationTable(const std::string& path);

// One spoken line: a Say row and its entry. Texts are Windows-1251 unless said otherwise.
struct ConversationLine {
    std::size_t line = 0; // the input line it starts on, counted from 1
    std::string speaker;  // as written: the name before ":", or the first argument of AI_Output
    std::string party;    // the row's first argument: "owner", "player" or "npc"
    std::string id;
    std::string text;  // continuation lines joined with a space
    std::string value; // the entry's value: the text followed by the table's ";"
    std::string note;  // UTF-8: why the ID an AI_Output line named was not kept; empty otherwise
};

struct ConversationPlan {
    std::vector<ConversationLine> lines;
    std::string refusal; // UTF-8, naming the input line; when set, lines is empty and nothing is written
};

// Plans the import of text (UTF-8, a byte-order mark allowed; LF, CR LF or CR end lines) into the
// dialogue of owner, numbering new IDs prefix + "_" + two digits or more (owner and prefix Windows-1251).
// A speaker that is owner (A-Z folded) says "owner"; PC_Hero, Hero, Player, Герой and Я (letter case
// ignored) say "player"; anyone else "npc". A line without "Speaker:" continues the line before it; blank
// lines are skipped. Refused: a text with ";", a character Windows-1251 lacks, a line nobody speaks, an
// ID that could not be read back, and a text without any spoken line.
ConversationPlan PlanConversation(std::string_view text, std::string_view owner, std::string_view prefix,
                                  const ConversationTable& table);

// The plan's Say rows, in order.
std::vector<CommandRow> ConversationRows(const ConversationPlan& plan);
// The plan's entries id=value, in order, as TStringTable::AppendTableStrings takes them.
std::vector<std::pair<std::string, std::string>> ConversationEntries(const ConversationPlan& plan);

// Puts added into a dialogue's command rows before the row at (past the end: after the last row). The
// one blank row a load shows for an empty script is replaced by them, so that it does not compile into
// an empty command. Returns the index of the first added row.
std::size_t InsertConversationRows(std::vector<CommandRow>& rows, std::size_t at,
                                   const std::vector<CommandRow>& added);

// Where the command line puts the rows: before a final End row, else after the last row.
std::size_t ConversationPlace(const std::vector<CommandRow>& rows);

} // namespace pw
