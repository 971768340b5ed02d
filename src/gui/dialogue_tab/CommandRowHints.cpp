#include "gui/dialogue_tab/CommandRowHints.h"

#include "core/dialogue/InfoScript.h"
#include "gui/common/Cp1251Text.h"
#include "gui/dialogue_tab/ReportLists.h"

#include <QTableWidget>

namespace pw {

namespace {

// Light enough to keep the text readable, dark enough to tell from the white of the cells in use.
const QColor kEmptyCellGrey(0xE0, 0xE0, 0xE0);

std::string CommandOf(const QTableWidget* list, int row) {
    return ToCp1251(ReportCellString(list, row, 0));
}

} // namespace

CommandRowHints::CommandRowHints(QTableWidget* commandList) : QObject(commandList), CommandList(commandList) {
    const QAbstractItemModel* model = CommandList->model();
    connect(model, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles) {
                // Only texts matter; the grey given here comes back as a change of the background.
                if (!roles.isEmpty() && !roles.contains(Qt::DisplayRole))
                    return;
                GreyRows(topLeft.row(), bottomRight.row());
                UpdateHelp();
            });
    // Rows added, removed or replaced as a whole move or end the current row; their cells come as
    // changes of data.
    for (auto rowsMoved : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(model, rowsMoved, this, &CommandRowHints::UpdateHelp);
    connect(model, &QAbstractItemModel::modelReset, this, &CommandRowHints::UpdateHelp);
    connect(CommandList->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &CommandRowHints::UpdateHelp);
}

void CommandRowHints::GreyRows(int first, int last) {
    for (int row = first; row <= last; ++row) {
        const auto empty = CommandEmptyCells(CommandOf(CommandList, row));
        for (std::size_t i = 0; i < empty.size(); ++i)
            if (QTableWidgetItem* item = CommandList->item(row, static_cast<int>(i) + 1))
                item->setData(Qt::BackgroundRole, empty[i] ? QVariant(QBrush(kEmptyCellGrey)) : QVariant());
    }
}

void CommandRowHints::UpdateHelp() {
    const int row = CommandList->currentRow();
    const QString help =
        row < 0 ? QString() : QString::fromStdString(CommandHelp(CommandOf(CommandList, row)));
    if (help == mHelp)
        return;
    mHelp = help;
    emit HelpChanged(mHelp);
}

} // namespace pw
