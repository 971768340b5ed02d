#pragma once
// Row operations of the dialogue editor's grids on plain row tables, so that they can be tested
// without a window. A widget reads its rows and selection, calls one operation and shows the result.

#include "core/dialogue/InfoScript.h"

#include <set>
#include <vector>

namespace pw {

// CommandList allows several selected rows; its selection is the set of selected row indexes.
using RowSelection = std::set<int>;

enum class InsertSide { Before, After };

// Appends "<EMPTY>" + five empty cells and selects it; rows already selected stay selected.
void AddCommandRow(std::vector<CommandRow>& rows, RowSelection& selected);

// Inserts a new row before or after the lowest selected row. The selection marks stay on the rows
// they were on, so selected indexes at or after the new row move down by one. Returns the new row's
// index, or -1 (nothing done) when no row is selected.
int InsertCommandRow(std::vector<CommandRow>& rows, RowSelection& selected, InsertSide side);

// Deletes every selected row, then selects only the last remaining row (if any).
void DeleteSelectedCommandRows(std::vector<CommandRow>& rows, RowSelection& selected);

// Exchanges the rows at source and target (a drop of source onto target); rows between them do not
// move. The selection is left to the caller: it stays at the source position. Returns false (nothing
// done) when either index is out of range or both are equal.
bool SwapCommandRows(std::vector<CommandRow>& rows, int source, int target);

// ItemsList and NpcList select one row at a time; selected is its index, -1 for none.

// Appends "<EMPTY>" + an empty cell; the selection is unchanged.
void AddConditionRow(std::vector<ConditionRow>& rows);

// Inserts a new row before or after the selected row; the selection stays on its row (its index moves
// down by one when the new row goes before it). Returns the new row's index, or -1 when none is
// selected.
int InsertConditionRow(std::vector<ConditionRow>& rows, int& selected, InsertSide side);

// Deletes the selected row; afterwards no row is selected. Returns false when none was selected.
bool DeleteConditionRow(std::vector<ConditionRow>& rows, int& selected);

} // namespace pw
