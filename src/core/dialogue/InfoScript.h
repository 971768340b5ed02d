#pragma once
// The row model of the dialogue editor's grids and the InfoScript check run before a compile.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pw {

// A CommandList row: the command cell (the row caption) and the five argument cells, in the order of
// InfoScript_Commands, InfoScript_Entities1, InfoScript_Entities2, InfoScript_IDs1, InfoScript_IDs2,
// InfoScript_Texts.
inline constexpr std::size_t kCommandCellCount = 6;
using CommandRow = std::array<std::string, kCommandCellCount>;
// The argument cells of a row: all but the command.
inline constexpr std::size_t kArgumentCellCount = kCommandCellCount - 1;

// An ItemsList or NpcList row: the caption (item / character) and its one further cell
// (amount / state).
inline constexpr std::size_t kConditionCellCount = 2;
using ConditionRow = std::array<std::string, kConditionCellCount>;

// The rows that adding or inserting creates: "<EMPTY>" followed by empty cells.
CommandRow NewCommandRow();
ConditionRow NewConditionRow();

// The key of the .info file that holds a CommandRow's cell: InfoScript_Commands for the command, then
// InfoScript_Entities1 ... InfoScript_Texts.
std::string_view CommandListKey(std::size_t cell);

struct ScriptCheck {
    bool broken = false;
    std::string message; // UTF-8; empty when nothing is broken
    // The key of the .info file that holds what is wrong: the list of the broken row's wrong element (see
    // CommandListKey), or CondItemContainer for the holder of the condition items; empty when nothing is.
    std::string_view key;
    std::optional<std::size_t> row; // the broken row (from 0) when key is a list of the command rows
};

// Refuses a command list in which an unfilled row ("<EMPTY>" as its command) is followed by a row
// with another command (an empty one included) or holds an argument (a cell not blank). Joining the
// grid leaves such a row out of the command list only, so every later command would take the
// arguments of the row before it. The message names the first such row, counted from 1. Unfilled
// rows at the end with blank cells pass: they shift nothing. The compile runs this before
// CheckInfoScript and shows it the same way.
ScriptCheck CheckUnfilledRows(const std::vector<CommandRow>& rows);

// Checks the holder of the condition items against the item rows, then each command row in order, and
// reports the first broken rule only. itemRowCount is the number of ItemsList rows; holderText is the
// text of CondItemContainerCmb. Never throws and shows nothing.
ScriptCheck CheckInfoScript(const std::vector<CommandRow>& rows, std::size_t itemRowCount,
                            std::string_view holderText);

// The commands the rules know, each spelt as the rules spell it, sorted for completion (AsciiLessNoCase).
const std::vector<std::string>& ScriptCommands();

// What a command row's command does and what each argument cell holds, or that it must stay empty, in one
// line for the status bar (UTF-8), the cells named as the grid's header names them: "Say — реплика:
// Entities1 — кто говорит (player/npc/owner); ID строки — ID реплики в таблице строк; Entities2, IDs1,
// IDs2 — пусто". The command is trimmed and compared A-Z folded, as the check compares it; empty for
// a command no rule knows.
std::string CommandHelp(std::string_view command);
// For each argument cell, whether the command's rule refuses it filled: the cells the help calls empty.
// None for a command no rule knows.
std::array<bool, kArgumentCellCount> CommandEmptyCells(std::string_view command);

// The names a cell of the command grid offers while it is typed into.
enum class CellNames { None, Commands, Quests, Events, TableIds };
// For cell (0 the command, then the argument cells, as in CommandRow) of a row whose command is command:
// the command cell offers the commands, an argument cell what its rule says (the quests to IDs1 of a
// quest command, the events to IDs1 of SetGameEvent, the table's IDs to the Texts of Say). The Texts cell
// of a command no rule knows offers the table's IDs.
CellNames CommandCellNames(std::string_view command, std::size_t cell);

} // namespace pw
