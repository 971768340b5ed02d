#pragma once
// The dialogue tab's three report lists (ItemsList, NpcList, CommandList) are QTableWidgets: one row
// per entry, a header with the column captions, grid lines, per-cell rectangles (visualRect) and cell
// hit-testing (indexAt) for the in-place editors laid over their cells. These helpers set a list up
// and move rows of texts (Windows-1251) in and out of it.

#include "ui_common/Cp1251Text.h"

#include <QTableWidget>

#include <array>
#include <string>
#include <vector>

namespace pw {

struct ReportColumn {
    QString caption;
    int width;
};

// The six columns of the command grid, left to right.
const std::vector<ReportColumn>& CommandListColumns();

// Report look: captions and widths, grid lines, whole-row selection (several rows when multiSelect),
// no built-in editing, no row header.
void SetupReportList(QTableWidget* list, const std::vector<ReportColumn>& columns, bool multiSelect);

// Replaces every row of the list by rows, with repainting held back until the list is filled. The
// list's signals are blocked meanwhile, so no selection handler runs for a load.
template <std::size_t N>
void FillReportList(QTableWidget* list, const std::vector<std::array<std::string, N>>& rows) {
    const QSignalBlocker blocker(list);
    list->setUpdatesEnabled(false);
    list->clearContents();
    list->setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < list->rowCount(); ++row)
        for (std::size_t column = 0; column < N; ++column)
            list->setItem(row, static_cast<int>(column), new QTableWidgetItem(FromCp1251(rows[row][column])));
    list->setUpdatesEnabled(true);
}

// The texts of a cell; a cell without an item reads as the empty text.
std::string ReportCellText(const QTableWidget* list, int row, int column);

// Every row of the list, top to bottom, N cells each.
template <std::size_t N> std::vector<std::array<std::string, N>> ReadReportList(const QTableWidget* list) {
    std::vector<std::array<std::string, N>> rows(static_cast<std::size_t>(list->rowCount()));
    for (std::size_t row = 0; row < rows.size(); ++row)
        for (std::size_t column = 0; column < N; ++column)
            rows[row][column] = ReportCellText(list, static_cast<int>(row), static_cast<int>(column));
    return rows;
}

} // namespace pw
