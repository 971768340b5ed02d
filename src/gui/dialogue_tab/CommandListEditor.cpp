#include "gui/dialogue_tab/CommandListEditor.h"

#include "core/dialogue/CommandRows.h"
#include "core/dialogue/ConversationImport.h"
#include "gui/dialogue_tab/ReportLists.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QDropEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTableWidget>

#include <functional>

namespace pw {

namespace {

RowSelection SelectedRows(const QTableWidget* list) {
    RowSelection rows;
    for (const QModelIndex& index : list->selectionModel()->selectedIndexes())
        rows.insert(index.row());
    return rows;
}

void SelectRow(QTableWidget* list, int row) {
    list->selectionModel()->select(list->model()->index(row, 0),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void ShowRows(QTableWidget* list, const std::vector<CommandRow>& rows, const RowSelection& selected) {
    SetListRowTexts(list, rows);
    list->clearSelection();
    for (int row : selected)
        SelectRow(list, row);
}

// Runs one row operation on the grid's rows and selection and shows the outcome.
void ApplyToRows(QTableWidget* list, const std::function<void(std::vector<CommandRow>&, RowSelection&)>& op) {
    std::vector<CommandRow> rows = ListRowTexts<kCommandCellCount>(list);
    RowSelection selected = SelectedRows(list);
    op(rows, selected);
    ShowRows(list, rows, selected);
}

// Whether a surface switch left the surface shown. Not whether it is on screen: SynInfoMemPop also
// opens over the quest tab's pane, where the dialogue page and both surfaces are out of sight.
bool SurfaceShown(const QWidget* surface) {
    return !(surface->isHidden() && surface->testAttribute(Qt::WA_WState_ExplicitShowHide));
}

} // namespace

bool Splitter1CanResize(int newHeight) {
    return newHeight > kGridRefusedLowHeight && newHeight < kGridRefusedHighHeight;
}

SurfaceLayout LayoutOf(EditSurface surface) {
    switch (surface) {
    case EditSurface::GridOnly:
        return {true, false, 450, 0};
    case EditSurface::PaneOnly:
        return {false, true, 0, 450};
    case EditSurface::Both:
        break;
    }
    return {true, true, 225, 225};
}

bool BothSurfacesOffered(bool gridVisible, bool paneVisible) {
    return gridVisible != paneVisible;
}

CommandListEditor::CommandListEditor(QTableWidget* commandList, QPlainTextEdit* synInfoMem,
                                     QSplitter* splitter1)
    : QObject(commandList), CommandList(commandList), SynInfoMem(synInfoMem), Splitter1(splitter1),
      mCellEdit(
          commandList, [this] { CommitCellEdit(); },
          [this](const QModelIndex& cell) {
              EditColumn = cell.column();
              BeginCellEdit(cell.row());
          }) {
    CellEditor = new QLineEdit(commandList->viewport());
    CellEditor->setObjectName(QStringLiteral("CellEditor"));
    mCellEdit.SetEditor(CellEditor);

    CommandList->setDragEnabled(true);
    CommandList->setAcceptDrops(true);
    CommandList->setDragDropMode(QAbstractItemView::DragDrop);
    CommandList->setDefaultDropAction(Qt::CopyAction); // a move would clear the dragged cells
    CommandList->setDropIndicatorShown(false);
    // The splitter may bring the grid down to the lowest height it accepts.
    CommandList->setMinimumHeight(kGridRefusedLowHeight + 1);
    mGridObject = CommandList;
    mViewportObject = CommandList->viewport();
    CommandList->installEventFilter(this);
    CommandList->viewport()->installEventFilter(this);

    connect(Splitter1, &QSplitter::splitterMoved, this, [this] {
        const QList<int> sizes = Splitter1->sizes();
        if (sizes.size() < 2 || !CommandList->isVisible() || Splitter1CanResize(sizes[0]))
            return;
        // A refused drag stops at the nearest accepted height.
        const int kept =
            sizes[0] <= kGridRefusedLowHeight ? kGridRefusedLowHeight + 1 : kGridRefusedHighHeight - 1;
        Splitter1->setSizes({kept, sizes[0] + sizes[1] - kept});
    });
    BuildMenus();
}

void CommandListEditor::BuildMenus() {
    CommandListPop = new QMenu(CommandList);
    CommandListPop->setObjectName(QStringLiteral("CommandListPop"));
    AddItem(CommandListPop, "N5", QStringLiteral("Добавить строку (CTRL+INSERT)"),
            &CommandListEditor::N5Click);
    AddSeparator(CommandListPop, "N9");
    AddItem(CommandListPop, "N8", QStringLiteral("Добавить строку перед"), &CommandListEditor::N8Click);
    AddItem(CommandListPop, "N7", QStringLiteral("Добавить строку после"), &CommandListEditor::N7Click);
    AddSeparator(CommandListPop, "N6");
    AddItem(CommandListPop, "N4", QStringLiteral("Удалить строку (CTRL+DEL)"), &CommandListEditor::N4Click);
    AddSeparator(CommandListPop, "N11");
    N12 =
        AddItem(CommandListPop, "N12", QStringLiteral("Я хочу редактировать в поле ниже. Отключить список!"),
                &CommandListEditor::N12Click);
    N15 = AddItem(CommandListPop, "N15", QStringLiteral("Включить оба способа редактирования"),
                  &CommandListEditor::N15Click);
    N12->setVisible(false);
    N15->setVisible(false);
    AddSeparator(CommandListPop, "N16");
    AddItem(CommandListPop, "ConversationItem", QStringLiteral("Вставить разговор…"),
            &CommandListEditor::ConversationItemClick);
    connect(CommandListPop, &QMenu::aboutToShow, this, &CommandListEditor::CommandListPopPopup);
    CommandList->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(CommandList, &QWidget::customContextMenuRequested, this, &CommandListEditor::ShowCommandListPop);

    SynInfoMemPop = new QMenu(SynInfoMem);
    SynInfoMemPop->setObjectName(QStringLiteral("SynInfoMemPop"));
    N13 =
        AddItem(SynInfoMemPop, "N13", QStringLiteral("Я хочу редактировать в списке. Отключить поле ввода!"),
                &CommandListEditor::N13Click);
    N14 = AddItem(SynInfoMemPop, "N14", QStringLiteral("Включить оба способа редактирования"),
                  &CommandListEditor::N14Click);
    N13->setVisible(false);
    N14->setVisible(false);
    connect(SynInfoMemPop, &QMenu::aboutToShow, this, &CommandListEditor::SynInfoMemPopPopup);
    AttachSynInfoMemPop(SynInfoMem);
}

QAction* CommandListEditor::AddItem(QMenu* menu, const char* name, const QString& caption,
                                    void (CommandListEditor::*click)()) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    connect(action, &QAction::triggered, this, click);
    return action;
}

void CommandListEditor::AddSeparator(QMenu* menu, const char* name) {
    menu->addSeparator()->setObjectName(QLatin1String(name));
}

void CommandListEditor::ShowCommandListPop(const QPoint& pos) {
    for (QAction* action : std::as_const(mJumpActions)) {
        CommandListPop->removeAction(action);
        action->deleteLater();
    }
    mJumpActions.clear();
    const QModelIndex cell = CommandList->indexAt(pos);
    const std::vector<JumpItem> jumps =
        mCellJumps && cell.isValid() ? mCellJumps(cell.row(), cell.column()) : std::vector<JumpItem>{};
    if (!jumps.empty())
        mJumpActions.append(CommandListPop->addSeparator());
    for (const JumpItem& item : jumps) {
        QAction* action = CommandListPop->addAction(item.caption);
        connect(action, &QAction::triggered, this, [this, jump = item.jump] { mGo(jump); });
        mJumpActions.append(action);
    }
    CommandListPop->popup(CommandList->viewport()->mapToGlobal(pos));
}

void CommandListEditor::SetCellJumps(std::function<std::vector<JumpItem>(int, int)> jumps,
                                     std::function<void(const Jump&)> go) {
    mCellJumps = std::move(jumps);
    mGo = std::move(go);
}

void CommandListEditor::SetConversationImport(std::function<void()> open) {
    mConversationImport = std::move(open);
}

void CommandListEditor::ConversationItemClick() {
    mConversationImport();
}

void CommandListEditor::InsertRows(const std::vector<CommandRow>& rows) {
    std::vector<CommandRow> shown = rows; // the grid's own row operations carry the texts as shown
    for (CommandRow& row : shown)
        for (std::string& cell : row)
            cell = FromCp1251(cell).toStdString();
    ApplyToRows(CommandList, [&shown](std::vector<CommandRow>& all, RowSelection& selected) {
        const std::size_t at = selected.empty() ? all.size() : static_cast<std::size_t>(*selected.begin());
        const std::size_t first = InsertConversationRows(all, at, shown);
        selected.clear();
        for (std::size_t row = first; row < first + shown.size(); ++row)
            selected.insert(static_cast<int>(row));
    });
}

void CommandListEditor::AttachSynInfoMemPop(QPlainTextEdit* pane) {
    pane->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(pane, &QWidget::customContextMenuRequested, this,
            [this, pane](const QPoint& pos) { ShowSynInfoMemPop(pane, pos); });
}

void CommandListEditor::ShowSynInfoMemPop(QPlainTextEdit* pane, const QPoint& pos) {
    const QPoint global = pane->viewport()->mapToGlobal(pos);
    for (const QAction* action : SynInfoMemPop->actions())
        if (action->isVisible()) {
            SynInfoMemPop->popup(global);
            return;
        }
    // While the surface items stay hidden the pane keeps its own menu (copy, select all).
    QMenu* standard = pane->createStandardContextMenu(pos);
    standard->setAttribute(Qt::WA_DeleteOnClose);
    standard->popup(global);
}

void CommandListEditor::N5Click() {
    ApplyToRows(CommandList,
                [](std::vector<CommandRow>& rows, RowSelection& selected) { AddCommandRow(rows, selected); });
}

void CommandListEditor::N8Click() {
    ApplyToRows(CommandList, [](std::vector<CommandRow>& rows, RowSelection& selected) {
        InsertCommandRow(rows, selected, InsertSide::Before);
    });
}

void CommandListEditor::N7Click() {
    ApplyToRows(CommandList, [](std::vector<CommandRow>& rows, RowSelection& selected) {
        InsertCommandRow(rows, selected, InsertSide::After);
    });
}

void CommandListEditor::N4Click() {
    ApplyToRows(CommandList, [](std::vector<CommandRow>& rows, RowSelection& selected) {
        DeleteSelectedCommandRows(rows, selected);
    });
}

void CommandListEditor::N12Click() {
    SetSurface(EditSurface::PaneOnly);
}
void CommandListEditor::N13Click() {
    SetSurface(EditSurface::GridOnly);
}
void CommandListEditor::N14Click() {
    SetSurface(EditSurface::Both);
}
void CommandListEditor::N15Click() {
    SetSurface(EditSurface::Both);
}

void CommandListEditor::SetSurface(EditSurface surface) {
    const SurfaceLayout layout = LayoutOf(surface);
    SynInfoMem->setVisible(layout.paneVisible);
    CommandList->setVisible(layout.gridVisible);
    // The splitter fills the space left to both surfaces; the heights set the shares it gives them.
    Splitter1->setSizes({layout.gridHeight, layout.paneHeight});
}

void CommandListEditor::CommandListKeyUp(const QKeyEvent& event) {
    if (!(event.modifiers() & Qt::ControlModifier))
        return;
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        EditCellAt(CommandList->viewport()->mapFromGlobal(QCursor::pos()));
        break;
    case Qt::Key_Delete:
        N4Click();
        break;
    case Qt::Key_Insert:
        N5Click();
        break;
    default:
        break;
    }
}

void CommandListEditor::EditCellAt(const QPoint& viewportPos) {
    const QModelIndex cell = CommandList->indexAt(viewportPos);
    if (!cell.isValid()) {
        HideCellEdit();
        return;
    }
    EditColumn = cell.column();
    BeginCellEdit(cell.row());
}

void CommandListEditor::BeginCellEdit(int row) {
    if (row < 0 || row >= CommandList->rowCount() || EditColumn < 0 ||
        EditColumn >= CommandList->columnCount())
        return;
    const QTableWidgetItem* item = CommandList->item(row, EditColumn);
    mEditRow = row;
    mCellEdit.Open(CommandList->model()->index(row, EditColumn), item ? item->text() : QString());
}

void CommandListEditor::CommitCellEdit() {
    // The text goes to the row the editor was opened over, which need not be the selected one when
    // Ctrl+Enter was pressed with the pointer over another row.
    // An open edit is written also when the page holding the grid is being hidden (another tab shown):
    // the editor has lost its visibility with the page by the time its focus moves on.
    const int row = mEditRow;
    if (mCellEdit.IsOpen() && row >= 0 && row < CommandList->rowCount()) {
        const QString text = mCellEdit.Text();
        QTableWidgetItem* item = CommandList->item(row, EditColumn);
        if (!item)
            CommandList->setItem(row, EditColumn, new QTableWidgetItem(text));
        else if (item->text() != text)
            item->setText(text);
        SelectRow(CommandList, row);
    }
    HideCellEdit();
}

void CommandListEditor::HideCellEdit() {
    mCellEdit.Drop();
}

QModelIndex CommandListEditor::EditedCell() const {
    return CommandList->model()->index(mEditRow, EditColumn);
}

void CommandListEditor::CommandListDragOver(int row) {
    if (row >= 0)
        mDropTarget = row;
}

void CommandListEditor::CommandListDragDrop() {
    const RowSelection selected = SelectedRows(CommandList);
    if (selected.empty() || mDropTarget < 0)
        return;
    std::vector<CommandRow> rows = ListRowTexts<kCommandCellCount>(CommandList);
    if (!SwapCommandRows(rows, *selected.begin(), mDropTarget))
        return;
    CommandList->setUpdatesEnabled(false);
    ShowRows(CommandList, rows, selected);
    CommandList->setUpdatesEnabled(true);
}

void CommandListEditor::CommandListPopPopup() {
    N15->setEnabled(BothSurfacesOffered(SurfaceShown(CommandList), SurfaceShown(SynInfoMem)));
    N12->setEnabled(SurfaceShown(SynInfoMem));
}

void CommandListEditor::SynInfoMemPopPopup() {
    N14->setEnabled(BothSurfacesOffered(SurfaceShown(CommandList), SurfaceShown(SynInfoMem)));
}

bool CommandListEditor::FilterDrag(QEvent* event) {
    auto* drop = static_cast<QDropEvent*>(event);
    if (drop->source() != CommandList) {
        drop->ignore();
        return true;
    }
    if (event->type() == QEvent::DragEnter)
        mDropTarget = -1; // each drag starts on a row of this grid, so it highlights one at once
    CommandListDragOver(CommandList->indexAt(drop->position().toPoint()).row());
    if (event->type() == QEvent::Drop)
        CommandListDragDrop();
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    return true;
}

bool CommandListEditor::eventFilter(QObject* watched, QEvent* event) {
    if (watched == mViewportObject) {
        const QEvent::Type type = event->type();
        if (type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop)
            return FilterDrag(event);
        if (type == QEvent::MouseButtonPress && mCellJumps) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            const QModelIndex cell = CommandList->indexAt(mouse->position().toPoint());
            if (mouse->button() == Qt::LeftButton && (mouse->modifiers() & Qt::ControlModifier) && cell.isValid()) {
                const std::vector<JumpItem> jumps = mCellJumps(cell.row(), cell.column());
                if (!jumps.empty()) {
                    mGo(jumps.front().jump);
                    return true;
                }
            }
        }
        return false;
    }
    if (watched != mGridObject)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress: {
        // Ctrl+Insert adds a row on its release; the list view would also copy the current cell.
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Insert && (key->modifiers() & Qt::ControlModifier))
            return true;
        break;
    }
    case QEvent::KeyRelease: {
        const auto* key = static_cast<QKeyEvent*>(event);
        // Only the grid's own keys: releases from the open editor pass through the grid too.
        if (CommandList->hasFocus() && !key->isAutoRepeat())
            CommandListKeyUp(*key);
        break;
    }
    case QEvent::FocusOut:
        if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason &&
            QApplication::focusWidget() != CellEditor)
            HideCellEdit();
        break;
    default:
        break;
    }
    return false;
}

} // namespace pw
