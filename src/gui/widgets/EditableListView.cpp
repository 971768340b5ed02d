#include "gui/widgets/EditableListView.h"

#include <QComboBox>
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

TEditableListView::TEditableListView(QWidget* parent)
    : QTableWidget(parent), mCellEdit(
                                this, [this] { CommitCellEdit(); },
                                [this](const QModelIndex& cell) {
                                    mEditColumn = cell.column();
                                    BeginCellEdit(cell.row());
                                }) {
    setShowGrid(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
}

TEditableListView::~TEditableListView() = default;

void TEditableListView::SetListEditor(QWidget* editor) {
    if (editor && !qobject_cast<QLineEdit*>(editor) && !qobject_cast<QComboBox*>(editor))
        throw EControlTypeMismatch();
    mCellEdit.SetEditor(editor);
}

void TEditableListView::BeginCellEdit(int row) {
    if (!ListEditor() || row < 0 || row >= rowCount() || mEditColumn >= columnCount())
        return;
    if (mEditColumn > 0 && mEditCaptionOnly)
        return;
    mCellEdit.Open(model()->index(row, mEditColumn), CellText(this, row, mEditColumn));
}

void TEditableListView::CommitCellEdit() {
    if (!ListEditor())
        return;
    const int row = SelectedRow();
    if (row >= 0 && (mEditColumn == 0 || !mEditCaptionOnly)) {
        const QString text = mCellEdit.Text();
        if (CellText(this, row, mEditColumn) != text)
            SetCellText(this, row, mEditColumn, text);
        selectionModel()->select(model()->index(row, 0),
                                 QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    mCellEdit.Drop();
}

void TEditableListView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && ListEditor())
        StartCellEdit(event->position().toPoint());
    QTableWidget::mouseReleaseEvent(event);
}

void TEditableListView::StartCellEdit(const QPoint& viewportPos) {
    const QModelIndex cell = indexAt(viewportPos);
    if (!cell.isValid()) {
        mCellEdit.Drop();
        return;
    }
    mEditColumn = cell.column();
    // Queued, so that the click has selected its row before the editor opens over it.
    const int row = cell.row();
    QMetaObject::invokeMethod(
        this, [this, row] { BeginCellEdit(row); }, Qt::QueuedConnection);
}

int TEditableListView::SelectedRow() const {
    int first = -1;
    for (const QModelIndex& index : selectionModel()->selectedIndexes())
        if (first < 0 || index.row() < first)
            first = index.row();
    return first;
}

} // namespace pw
