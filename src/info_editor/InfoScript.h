#pragma once
// The row model of the dialogue editor's grids and the InfoScript check run before a compile.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace pw {

// A CommandList row: the command cell (the row caption) and the five argument cells, in the order of
// InfoScript_Commands, InfoScript_Entities1, InfoScript_Entities2, InfoScript_IDs1, InfoScript_IDs2,
// InfoScript_Texts.
inline constexpr std::size_t kCommandCellCount = 6;
using CommandRow = std::array<std::string, kCommandCellCount>;

// An ItemsList or NpcList row: the caption (item / character) and its one further cell
// (amount / state).
inline constexpr std::size_t kConditionCellCount = 2;
using ConditionRow = std::array<std::string, kConditionCellCount>;

// The rows that adding or inserting creates: "<EMPTY>" followed by empty cells.
CommandRow NewCommandRow();
ConditionRow NewConditionRow();

struct ScriptCheck {
    bool broken = false;
    std::string message; // UTF-8; empty when nothing is broken
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

} // namespace pw
