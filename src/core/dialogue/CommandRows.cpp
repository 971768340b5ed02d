#include "core/dialogue/CommandRows.h"

namespace pw {

namespace {

template <typename Row> void InsertRowAt(std::vector<Row>& rows, int index, Row row) {
    rows.insert(rows.begin() + index, std::move(row));
}

} // namespace

void AddCommandRow(std::vector<CommandRow>& rows, RowSelection& selected) {
    rows.push_back(NewCommandRow());
    selected.insert(static_cast<int>(rows.size()) - 1);
}

int InsertCommandRow(std::vector<CommandRow>& rows, RowSelection& selected, InsertSide side) {
    if (selected.empty())
        return -1;
    const int first = *selected.begin();
    if (first < 0 || static_cast<std::size_t>(first) >= rows.size())
        return -1;
    const int index = side == InsertSide::Before ? first : first + 1;
    InsertRowAt(rows, index, NewCommandRow());
    // The marks belong to rows, so every selected row from the new one on moves down with its row.
    RowSelection moved;
    for (int row : selected)
        moved.insert(row >= index ? row + 1 : row);
    selected = std::move(moved);
    return index;
}

void DeleteSelectedCommandRows(std::vector<CommandRow>& rows, RowSelection& selected) {
    for (auto it = selected.rbegin(); it != selected.rend(); ++it) {
        if (*it >= 0 && static_cast<std::size_t>(*it) < rows.size())
            rows.erase(rows.begin() + *it);
    }
    selected.clear();
    if (!rows.empty())
        selected.insert(static_cast<int>(rows.size()) - 1);
}

bool SwapCommandRows(std::vector<CommandRow>& rows, int source, int target) {
    const int count = static_cast<int>(rows.size());
    if (source < 0 || target < 0 || source >= count || target >= count || source == target)
        return false;
    std::swap(rows[static_cast<std::size_t>(source)], rows[static_cast<std::size_t>(target)]);
    return true;
}

void AddConditionRow(std::vector<ConditionRow>& rows) {
    rows.push_back(NewConditionRow());
}

int InsertConditionRow(std::vector<ConditionRow>& rows, int& selected, InsertSide side) {
    if (selected < 0 || static_cast<std::size_t>(selected) >= rows.size())
        return -1;
    const int index = side == InsertSide::Before ? selected : selected + 1;
    InsertRowAt(rows, index, NewConditionRow());
    if (side == InsertSide::Before)
        ++selected;
    return index;
}

bool DeleteConditionRow(std::vector<ConditionRow>& rows, int& selected) {
    if (selected < 0 || static_cast<std::size_t>(selected) >= rows.size())
        return false;
    rows.erase(rows.begin() + selected);
    selected = -1;
    return true;
}

} // namespace pw
