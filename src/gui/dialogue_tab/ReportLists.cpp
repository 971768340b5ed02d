#include "gui/dialogue_tab/ReportLists.h"

#include <QHeaderView>

namespace pw {

const std::vector<ReportColumn>& CommandListColumns() {
    static const std::vector<ReportColumn> columns = {
        {QStringLiteral("Метод или рутина"), 120},   {QStringLiteral("Параметр Entities1"), 120},
        {QStringLiteral("Параметр Entities2"), 120}, {QStringLiteral("Параметр IDs1"), 120},
        {QStringLiteral("Параметр IDs2"), 120},      {QStringLiteral("ID строки в таблице строк"), 250}};
    return columns;
}

void SetupReportList(QTableWidget* list, const std::vector<ReportColumn>& columns, bool multiSelect) {
    list->setColumnCount(static_cast<int>(columns.size()));
    QStringList captions;
    for (const ReportColumn& column : columns)
        captions << column.caption;
    list->setHorizontalHeaderLabels(captions);
    for (int i = 0; i < static_cast<int>(columns.size()); ++i)
        list->setColumnWidth(i, columns[static_cast<std::size_t>(i)].width);

    QHeaderView* header = list->horizontalHeader();
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    list->verticalHeader()->hide();
    list->verticalHeader()->setDefaultSectionSize(list->fontMetrics().height() + 4);
    list->setShowGrid(true);
    list->setWordWrap(false);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(multiSelect ? QAbstractItemView::ExtendedSelection
                                       : QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setTabKeyNavigation(false);
}

QString ReportCellString(const QTableWidget* list, int row, int column) {
    const QTableWidgetItem* item = list->item(row, column);
    return item ? item->text() : QString();
}

QString ReportCellPlace(const QTableWidget* list, int row, int column) {
    const QTableWidgetItem* header = list->horizontalHeaderItem(column);
    return QStringLiteral("В столбце «%1» строки %2")
        .arg(header ? header->text() : QString::number(column + 1), QString::number(row + 1));
}

} // namespace pw
