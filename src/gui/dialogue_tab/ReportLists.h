#pragma once
// The dialogue tab's three report lists (ItemsList, NpcList, CommandList) are QTableWidgets: one row
// per entry, a header with the column captions, grid lines, per-cell rectangles (visualRect) and cell
// hit-testing (indexAt) for the in-place editors laid over their cells. These helpers set a list up
// and move rows of texts in and out of it: Windows-1251 for loads and compiles, the texts as shown
// for the lists' own row operations.

#include "gui/common/Cp1251Text.h"
#include "gui/common/FieldText.h"

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

// Replaces every row of the list by rows, each text turned into what the list shows by shown, with
// repainting held back until the list is filled. The list's signals are blocked meanwhile, so no
// selection handler runs for a load or a row operation.
template <std::size_t N, class Shown>
void PutReportRows(QTableWidget* list, const std::vector<std::array<std::string, N>>& rows, Shown shown) {
    const QSignalBlocker blocker(list);
    list->setUpdatesEnabled(false);
    list->clearContents();
    list->setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < list->rowCount(); ++row)
        for (std::size_t column = 0; column < N; ++column)
            list->setItem(row, static_cast<int>(column), new QTableWidgetItem(shown(rows[row][column])));
    list->setUpdatesEnabled(true);
}

// Replaces every row of the list by rows of Windows-1251 texts, as a load does.
template <std::size_t N>
void FillReportList(QTableWidget* list, const std::vector<std::array<std::string, N>>& rows) {
    PutReportRows(list, rows, [](const std::string& text) { return FromCp1251(text); });
}

// The text a cell shows; a cell without an item reads as the empty text.
QString ReportCellString(const QTableWidget* list, int row, int column);
// Where a cell is, as a message names it: "В столбце «<caption>» строки <row from 1>".
QString ReportCellPlace(const QTableWidget* list, int row, int column);

// Every row of the list, top to bottom, N cells each, read for writing (see FieldsForWriting).
template <std::size_t N>
std::vector<std::array<std::string, N>> ReadReportList(const QTableWidget* list, FieldsForWriting& fields) {
    std::vector<std::array<std::string, N>> rows(static_cast<std::size_t>(list->rowCount()));
    for (int row = 0; row < list->rowCount(); ++row)
        for (int column = 0; column < static_cast<int>(N); ++column)
            rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] =
                fields.Text(ReportCellString(list, row, column),
                            [list, row, column] { return ReportCellPlace(list, row, column); });
    return rows;
}

// The lists' own row operations (add, insert, delete, move) take the rows out and put them back. They
// carry the texts as the list shows them, in UTF-8, so that a character Windows-1251 lacks stays as
// typed until the compile names it.
template <std::size_t N> std::vector<std::array<std::string, N>> ListRowTexts(const QTableWidget* list) {
    std::vector<std::array<std::string, N>> rows(static_cast<std::size_t>(list->rowCount()));
    for (int row = 0; row < list->rowCount(); ++row)
        for (int column = 0; column < static_cast<int>(N); ++column)
            rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] =
                ReportCellString(list, row, column).toStdString();
    return rows;
}
template <std::size_t N>
void SetListRowTexts(QTableWidget* list, const std::vector<std::array<std::string, N>>& rows) {
    PutReportRows(list, rows, [](const std::string& text) { return QString::fromStdString(text); });
}

} // namespace pw
