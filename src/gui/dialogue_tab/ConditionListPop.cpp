#include "gui/dialogue_tab/ConditionListPop.h"

#include "gui/dialogue_tab/ReportLists.h"

#include <QAction>
#include <QMenu>
#include <QTableWidget>

#include <functional>

namespace pw {

namespace {

int SelectedRow(const QTableWidget* list) {
    const QModelIndexList selected = list->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void ApplyToRows(QTableWidget* list, const std::function<void(std::vector<ConditionRow>&, int&)>& op) {
    std::vector<ConditionRow> rows = ListRowTexts<kConditionCellCount>(list);
    int selected = SelectedRow(list);
    op(rows, selected);
    SetListRowTexts(list, rows);
    list->clearSelection();
    if (selected >= 0)
        list->selectRow(selected);
}

void AddItem(QMenu* menu, QTableWidget* list, const char* name, const QString& caption,
             const std::function<void()>& click) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    QObject::connect(action, &QAction::triggered, list, click);
}

} // namespace

QMenu* AttachConditionListPop(QTableWidget* list, const ConditionPopNames& names) {
    auto* menu = new QMenu(list);
    menu->setObjectName(QLatin1String(names.menu));
    AddItem(menu, list, names.add, QStringLiteral("Добавить строку"), [list] { AddConditionListRow(list); });
    menu->addSeparator()->setObjectName(QLatin1String(names.firstSeparator));
    AddItem(menu, list, names.insertBefore, QStringLiteral("Добавить строку перед"),
            [list] { InsertConditionListRow(list, InsertSide::Before); });
    AddItem(menu, list, names.insertAfter, QStringLiteral("Добавить строку после"),
            [list] { InsertConditionListRow(list, InsertSide::After); });
    menu->addSeparator()->setObjectName(QLatin1String(names.secondSeparator));
    AddItem(menu, list, names.remove, QStringLiteral("Удалить строку"),
            [list] { DeleteConditionListRow(list); });
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(list, &QWidget::customContextMenuRequested, menu,
                     [list, menu](const QPoint& pos) { menu->popup(list->viewport()->mapToGlobal(pos)); });
    return menu;
}

void AddConditionListRow(QTableWidget* list) {
    ApplyToRows(list, [](std::vector<ConditionRow>& rows, int&) { AddConditionRow(rows); });
}

void InsertConditionListRow(QTableWidget* list, InsertSide side) {
    ApplyToRows(list, [side](std::vector<ConditionRow>& rows, int& selected) {
        InsertConditionRow(rows, selected, side);
    });
}

void DeleteConditionListRow(QTableWidget* list) {
    ApplyToRows(list,
                [](std::vector<ConditionRow>& rows, int& selected) { DeleteConditionRow(rows, selected); });
}

} // namespace pw
