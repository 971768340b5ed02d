#include "info_editor/CommandListEditor.h"

#include "info_editor/CommandRows.h"
#include "info_editor/ReportLists.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QDropEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTableWidget>

#include <functional>

namespace pw {

namespace {

// The cell editor tells its focus loss through an override rather than an event filter: while the
// grid is being destroyed the override no longer runs, so no commit reaches a half-destroyed grid.
class CellEdit : public QLineEdit {
public:
    using QLineEdit::QLineEdit;
    std::function<void(Qt::FocusReason)> onFocusLost;

protected:
    void focusOutEvent(QFocusEvent* event) override {
        QLineEdit::focusOutEvent(event);
        if (onFocusLost)
            onFocusLost(event->reason());
    }
};

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
    FillReportList(list, rows);
    list->clearSelection();
    for (int row : selected)
        SelectRow(list, row);
}

// Runs one row operation on the grid's rows and selection and shows the outcome.
void ApplyToRows(QTableWidget* list, const std::function<void(std::vector<CommandRow>&, RowSelection&)>& op) {
    std::vector<CommandRow> rows = ReadReportList<kCommandCellCount>(list);
    RowSelection selected = SelectedRows(list);
    op(rows, selected);
    ShowRows(list, rows, selected);
}

// Whether a surface switch left the surface shown. Not whether it is on screen: SynInfoMemPop is also
// opened from the quest tab, where the dialogue page and both surfaces are out of sight.
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
    : QObject(commandList), mCommandList(commandList), mSynInfoMem(synInfoMem), mSplitter1(splitter1) {
    auto* editor = new CellEdit(commandList->viewport());
    editor->setObjectName(QStringLiteral("CellEditor"));
    editor->onFocusLost = [this](Qt::FocusReason reason) { CellEditorFocusLost(reason); };
    editor->hide();
    CellEditor = editor;

    mCommandList->setDragEnabled(true);
    mCommandList->setAcceptDrops(true);
    mCommandList->setDragDropMode(QAbstractItemView::DragDrop);
    mCommandList->setDefaultDropAction(Qt::CopyAction); // a move would clear the dragged cells
    mCommandList->setDropIndicatorShown(false);
    // The splitter may bring the grid down to the lowest height it accepts.
    mCommandList->setMinimumHeight(kGridRefusedLowHeight + 1);
    mGridObject = mCommandList;
    mViewportObject = mCommandList->viewport();
    mCommandList->installEventFilter(this);
    mCommandList->viewport()->installEventFilter(this);

    // Rows replaced behind an open editor (a dialogue loaded meanwhile) must not receive its text.
    const QAbstractItemModel* model = mCommandList->model();
    connect(model, &QAbstractItemModel::modelReset, this, &CommandListEditor::HideCellEdit);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &CommandListEditor::HideCellEdit);
    connect(model, &QAbstractItemModel::rowsInserted, this, &CommandListEditor::HideCellEdit);

    connect(mSplitter1, &QSplitter::splitterMoved, this, [this] {
        const QList<int> sizes = mSplitter1->sizes();
        if (sizes.size() < 2 || !mCommandList->isVisible() || Splitter1CanResize(sizes[0]))
            return;
        // A refused drag stops at the nearest accepted height.
        const int kept =
            sizes[0] <= kGridRefusedLowHeight ? kGridRefusedLowHeight + 1 : kGridRefusedHighHeight - 1;
        mSplitter1->setSizes({kept, sizes[0] + sizes[1] - kept});
    });
    BuildMenus();
}

void CommandListEditor::BuildMenus() {
    CommandListPop = new QMenu(mCommandList);
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
    connect(CommandListPop, &QMenu::aboutToShow, this, &CommandListEditor::CommandListPopPopup);
    mCommandList->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(mCommandList, &QWidget::customContextMenuRequested, this, &CommandListEditor::ShowCommandListPop);

    SynInfoMemPop = new QMenu(mSynInfoMem);
    SynInfoMemPop->setObjectName(QStringLiteral("SynInfoMemPop"));
    N13 =
        AddItem(SynInfoMemPop, "N13", QStringLiteral("Я хочу редактировать в списке. Отключить поле ввода!"),
                &CommandListEditor::N13Click);
    N14 = AddItem(SynInfoMemPop, "N14", QStringLiteral("Включить оба способа редактирования"),
                  &CommandListEditor::N14Click);
    N13->setVisible(false);
    N14->setVisible(false);
    connect(SynInfoMemPop, &QMenu::aboutToShow, this, &CommandListEditor::SynInfoMemPopPopup);
    mSynInfoMem->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(mSynInfoMem, &QWidget::customContextMenuRequested, this, &CommandListEditor::ShowSynInfoMemPop);
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
    CommandListPop->popup(mCommandList->viewport()->mapToGlobal(pos));
}

void CommandListEditor::ShowSynInfoMemPop(const QPoint& pos) {
    const QPoint global = mSynInfoMem->viewport()->mapToGlobal(pos);
    for (const QAction* action : SynInfoMemPop->actions())
        if (action->isVisible()) {
            SynInfoMemPop->popup(global);
            return;
        }
    // While the surface items stay hidden the pane keeps its own menu (copy, select all).
    QMenu* standard = mSynInfoMem->createStandardContextMenu(pos);
    standard->setAttribute(Qt::WA_DeleteOnClose);
    standard->popup(global);
}

void CommandListEditor::N5Click() {
    ApplyToRows(mCommandList,
                [](std::vector<CommandRow>& rows, RowSelection& selected) { AddCommandRow(rows, selected); });
}

void CommandListEditor::N8Click() {
    ApplyToRows(mCommandList, [](std::vector<CommandRow>& rows, RowSelection& selected) {
        InsertCommandRow(rows, selected, InsertSide::Before);
    });
}

void CommandListEditor::N7Click() {
    ApplyToRows(mCommandList, [](std::vector<CommandRow>& rows, RowSelection& selected) {
        InsertCommandRow(rows, selected, InsertSide::After);
    });
}

void CommandListEditor::N4Click() {
    ApplyToRows(mCommandList, [](std::vector<CommandRow>& rows, RowSelection& selected) {
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
    mSynInfoMem->setVisible(layout.paneVisible);
    mCommandList->setVisible(layout.gridVisible);
    // The splitter fills the space left to both surfaces; the heights set the shares it gives them.
    mSplitter1->setSizes({layout.gridHeight, layout.paneHeight});
}

void CommandListEditor::CommandListKeyUp(const QKeyEvent& event) {
    if (!(event.modifiers() & Qt::ControlModifier))
        return;
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        EditCellAt(mCommandList->viewport()->mapFromGlobal(QCursor::pos()));
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
    const QModelIndex cell = mCommandList->indexAt(viewportPos);
    if (!cell.isValid()) {
        HideCellEdit();
        return;
    }
    EditColumn = cell.column();
    BeginCellEdit(cell.row());
}

void CommandListEditor::BeginCellEdit(int row) {
    if (row < 0 || row >= mCommandList->rowCount() || EditColumn < 0 ||
        EditColumn >= mCommandList->columnCount())
        return;
    QRect rect = mCommandList->visualRect(mCommandList->model()->index(row, EditColumn));
    if (EditColumn == 0)
        rect.setWidth(mCommandList->columnWidth(0));
    const QTableWidgetItem* item = mCommandList->item(row, EditColumn);
    CellEditor->setText(item ? item->text() : QString());
    CellEditor->selectAll(); // typing replaces the old value
    CellEditor->setGeometry(rect);
    mEditRow = row;
    CellEditor->show();
    CellEditor->raise();
    CellEditor->setFocus(Qt::OtherFocusReason);
}

void CommandListEditor::CommitCellEdit() {
    // The text goes to the row the editor was opened over, which need not be the selected one when
    // Ctrl+Enter was pressed with the pointer over another row.
    // An open edit is written also when the page holding the grid is being hidden (another tab shown):
    // the editor has lost its visibility with the page by the time its focus moves on.
    const int row = mEditRow;
    if (!CellEditor->isHidden() && row >= 0 && row < mCommandList->rowCount()) {
        const QString text = CellEditor->text();
        QTableWidgetItem* item = mCommandList->item(row, EditColumn);
        if (!item)
            mCommandList->setItem(row, EditColumn, new QTableWidgetItem(text));
        else if (item->text() != text)
            item->setText(text);
        SelectRow(mCommandList, row);
    }
    HideCellEdit();
}

void CommandListEditor::HideCellEdit() {
    if (!CellEditor || CellEditor->isHidden())
        return;
    // Hiding the focused editor moves the focus on; that focus loss must not commit.
    mHidingEditor = true;
    CellEditor->hide();
    mHidingEditor = false;
    mEditRow = -1;
}

void CommandListEditor::CellEditorFocusLost(Qt::FocusReason reason) {
    if (mHidingEditor || reason == Qt::PopupFocusReason) // its own context menu keeps the edit open
        return;
    if (reason == Qt::ActiveWindowFocusReason) {
        // The window was deactivated: the typed text is dropped, unless it was only minimised.
        if (!mCommandList->window()->isMinimized())
            HideCellEdit();
        return;
    }
    CommitCellEdit();
}

void CommandListEditor::CommandListDragOver(int row) {
    if (row >= 0)
        mDropTarget = row;
}

void CommandListEditor::CommandListDragDrop() {
    const RowSelection selected = SelectedRows(mCommandList);
    if (selected.empty() || mDropTarget < 0)
        return;
    std::vector<CommandRow> rows = ReadReportList<kCommandCellCount>(mCommandList);
    if (!SwapCommandRows(rows, *selected.begin(), mDropTarget))
        return;
    mCommandList->setUpdatesEnabled(false);
    ShowRows(mCommandList, rows, selected);
    mCommandList->setUpdatesEnabled(true);
}

void CommandListEditor::CommandListPopPopup() {
    N15->setEnabled(BothSurfacesOffered(SurfaceShown(mCommandList), SurfaceShown(mSynInfoMem)));
    N12->setEnabled(SurfaceShown(mSynInfoMem));
}

void CommandListEditor::SynInfoMemPopPopup() {
    N14->setEnabled(BothSurfacesOffered(SurfaceShown(mCommandList), SurfaceShown(mSynInfoMem)));
}

bool CommandListEditor::FilterDrag(QEvent* event) {
    auto* drop = static_cast<QDropEvent*>(event);
    if (drop->source() != mCommandList) {
        drop->ignore();
        return true;
    }
    if (event->type() == QEvent::DragEnter)
        mDropTarget = -1; // each drag starts on a row of this grid, so it highlights one at once
    CommandListDragOver(mCommandList->indexAt(drop->position().toPoint()).row());
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
        return false;
    }
    if (watched != mGridObject)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress: {
        // A key the open editor leaves unused (an arrow, a page key) climbs to the grid, which would
        // move its selection: it stops here.
        if (CellEditor && CellEditor->hasFocus())
            return true;
        // Ctrl+Insert adds a row on its release; the list view would also copy the current cell.
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Insert && (key->modifiers() & Qt::ControlModifier))
            return true;
        break;
    }
    case QEvent::KeyRelease: {
        const auto* key = static_cast<QKeyEvent*>(event);
        // Only the grid's own keys: releases from the open editor pass through the grid too.
        if (mCommandList->hasFocus() && !key->isAutoRepeat())
            CommandListKeyUp(*key);
        break;
    }
    case QEvent::FocusOut:
        if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason &&
            QApplication::focusWidget() != CellEditor)
            HideCellEdit();
        break;
    case QEvent::WindowDeactivate:
        if (!mCommandList->window()->isMinimized())
            HideCellEdit();
        break;
    default:
        break;
    }
    return false;
}

} // namespace pw
