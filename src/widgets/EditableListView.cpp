#include "widgets/EditableListView.h"

#include <QComboBox>
#include <QEvent>
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

namespace pw {

namespace {

void SetCellText(QTableWidget* list, int row, int column, const QString& text) {
    if (QTableWidgetItem* item = list->item(row, column))
        item->setText(text);
    else
        list->setItem(row, column, new QTableWidgetItem(text));
}

QString CellText(const QTableWidget* list, int row, int column) {
    const QTableWidgetItem* item = list->item(row, column);
    return item ? item->text() : QString();
}

} // namespace

EControlTypeMismatch::EControlTypeMismatch()
    : std::runtime_error("Edit control only can be TComboBox or TEdit") {}

TEditableListView::TEditableListView(QWidget* parent) : QTableWidget(parent) {
    setShowGrid(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    // Rows replaced behind an open editor (another dialogue loaded) must not receive its text.
    connect(model(), &QAbstractItemModel::modelReset, this, &TEditableListView::HideEditor);
    connect(model(), &QAbstractItemModel::rowsRemoved, this, &TEditableListView::HideEditor);
    connect(model(), &QAbstractItemModel::rowsInserted, this, &TEditableListView::HideEditor);
}

TEditableListView::~TEditableListView() {
    // The model and the editor die after this object (the editor is a child of the viewport); their
    // last signals and focus loss must not reach a half-destroyed list.
    disconnect(model(), nullptr, this, nullptr);
    if (mListEditor)
        mListEditor->removeEventFilter(this);
}

void TEditableListView::SetListEditor(QWidget* editor) {
    if (editor && !qobject_cast<QLineEdit*>(editor) && !qobject_cast<QComboBox*>(editor))
        throw EControlTypeMismatch();
    if (mListEditor)
        mListEditor->removeEventFilter(this);
    mListEditor = editor;
    if (!editor)
        return;
    editor->installEventFilter(this);
    // Inside the viewport the editor is placed in cell coordinates and scrolls with the rows.
    editor->setParent(viewport());
    editor->hide();
}

void TEditableListView::BeginCellEdit(int row) {
    if (!mListEditor || row < 0 || row >= rowCount() || mEditColumn >= columnCount())
        return;
    if (mEditColumn > 0 && mEditCaptionOnly)
        return;
    QRect rect = visualRect(model()->index(row, mEditColumn));
    if (mEditColumn == 0)
        rect.setWidth(columnWidth(0));
    SetEditorText(CellText(this, row, mEditColumn));
    mListEditor->setGeometry(rect);
    mListEditor->show();
    mListEditor->raise();
    mListEditor->setFocus(Qt::OtherFocusReason);
}

void TEditableListView::CommitCellEdit() {
    if (!mListEditor)
        return;
    const int row = SelectedRow();
    if (row >= 0 && (mEditColumn == 0 || !mEditCaptionOnly)) {
        const QString text = EditorText();
        if (CellText(this, row, mEditColumn) != text)
            SetCellText(this, row, mEditColumn, text);
        selectionModel()->select(model()->index(row, 0),
                                 QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    HideEditor();
}

void TEditableListView::keyPressEvent(QKeyEvent* event) {
    // A key the open editor leaves unused (an arrow, a page key) climbs to the list, which would move
    // the selection and so send the edit into another row: it stops here.
    if (EditorHasFocus()) {
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

void TEditableListView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && mListEditor)
        StartCellEdit(event->position().toPoint());
    QTableWidget::mouseReleaseEvent(event);
}

bool TEditableListView::event(QEvent* event) {
    if (event->type() == QEvent::WindowDeactivate && !window()->isMinimized())
        HideEditor();
    return QTableWidget::event(event);
}

bool TEditableListView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == mListEditor && event->type() == QEvent::FocusOut && !mHidingEditor) {
        switch (static_cast<QFocusEvent*>(event)->reason()) {
        case Qt::PopupFocusReason: // the editor's own drop-down or context menu; the edit goes on
            break;
        case Qt::ActiveWindowFocusReason: // the window was deactivated: drop the edit
            if (!window()->isMinimized())
                HideEditor();
            break;
        default:
            CommitCellEdit();
        }
    }
    return QTableWidget::eventFilter(watched, event);
}

void TEditableListView::StartCellEdit(const QPoint& viewportPos) {
    const QModelIndex cell = indexAt(viewportPos);
    if (!cell.isValid()) {
        HideEditor();
        return;
    }
    mEditColumn = cell.column();
    // Queued, so that the click has selected its row before the editor opens over it.
    const int row = cell.row();
    QMetaObject::invokeMethod(
        this, [this, row] { BeginCellEdit(row); }, Qt::QueuedConnection);
}

void TEditableListView::HideEditor() {
    if (!mListEditor || mListEditor->isHidden())
        return;
    // Hiding a focused editor moves the focus on; that focus loss must not commit.
    mHidingEditor = true;
    mListEditor->hide();
    mHidingEditor = false;
}

bool TEditableListView::EditorHasFocus() const {
    const QWidget* focused = QApplication::focusWidget();
    return mListEditor && mListEditor->isVisible() && focused &&
           (focused == mListEditor || mListEditor->isAncestorOf(focused));
}

int TEditableListView::SelectedRow() const {
    int first = -1;
    for (const QModelIndex& index : selectionModel()->selectedIndexes())
        if (first < 0 || index.row() < first)
            first = index.row();
    return first;
}

QString TEditableListView::EditorText() const {
    if (const auto* combo = qobject_cast<const QComboBox*>(mListEditor.data()))
        return combo->currentText();
    return static_cast<const QLineEdit*>(mListEditor.data())->text();
}

void TEditableListView::SetEditorText(const QString& text) {
    if (auto* combo = qobject_cast<QComboBox*>(mListEditor.data())) {
        if (combo->isEditable()) {
            combo->setEditText(text);
            combo->lineEdit()->selectAll();
        } else {
            combo->setCurrentText(text);
        }
        return;
    }
    auto* edit = static_cast<QLineEdit*>(mListEditor.data());
    edit->setText(text);
    edit->selectAll(); // typing replaces the old value, as in any field entered with the focus
}

} // namespace pw
