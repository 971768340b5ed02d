#include "gui/widgets/CellEditPolicy.h"

#include "gui/widgets/ComboBoxRules.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QTableView>

namespace pw {

CellEditPolicy::CellEditPolicy(QTableView* list, std::function<void()> commit)
    : mList(list), mCommit(std::move(commit)), mListObject(list) {
    list->installEventFilter(this);
    const QAbstractItemModel* model = list->model();
    connect(model, &QAbstractItemModel::modelReset, this, &CellEditPolicy::Drop);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &CellEditPolicy::Drop);
    connect(model, &QAbstractItemModel::rowsInserted, this, &CellEditPolicy::Drop);
}

CellEditPolicy::~CellEditPolicy() {
    // Whatever reaches the editor or the list after this object is gone must not end an edit.
    if (mEditor)
        mEditor->removeEventFilter(this);
    mList->removeEventFilter(this);
}

void CellEditPolicy::SetEditor(QWidget* editor) {
    if (mEditor)
        mEditor->removeEventFilter(this);
    mEditor = editor;
    mEditorObject = editor;
    mEditorClass = editor ? editor->metaObject() : nullptr;
    if (!editor)
        return;
    if (auto* box = qobject_cast<QComboBox*>(editor))
        ApplyComboBoxRules(box);
    editor->installEventFilter(this);
    editor->setParent(mList->viewport());
    editor->hide();
}

void CellEditPolicy::Open(const QModelIndex& cell, const QString& text) {
    if (!mEditor || !cell.isValid())
        return;
    QRect rect = mList->visualRect(cell);
    if (cell.column() == 0)
        rect.setWidth(mList->columnWidth(0));
    SetText(text);
    mEditor->setGeometry(rect);
    mEditor->show();
    mEditor->raise();
    mEditor->setFocus(Qt::OtherFocusReason);
}

bool CellEditPolicy::IsOpen() const {
    return mEditor && !mEditor->isHidden();
}

QString CellEditPolicy::Text() const {
    if (const auto* box = qobject_cast<const QComboBox*>(mEditor.data()))
        return box->currentText();
    if (const auto* edit = qobject_cast<const QLineEdit*>(mEditor.data()))
        return edit->text();
    return {};
}

void CellEditPolicy::Drop() {
    if (!IsOpen())
        return;
    // Hiding the focused editor moves the focus on; that focus loss must not commit.
    mDropping = true;
    mEditor->hide();
    mDropping = false;
}

bool CellEditPolicy::EditorHasFocus() const {
    const QWidget* focused = QApplication::focusWidget();
    return mEditor && mEditor->isVisible() && focused &&
           (focused == mEditor || mEditor->isAncestorOf(focused));
}

bool CellEditPolicy::eventFilter(QObject* watched, QEvent* event) {
    if (watched == mEditorObject) {
        if (event->type() == QEvent::FocusOut)
            EditorFocusLost(static_cast<QFocusEvent*>(event)->reason());
        return false;
    }
    if (watched != mListObject)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
        if (EditorHasFocus()) {
            event->accept();
            return true;
        }
        break;
    case QEvent::WindowDeactivate:
        DropUnlessMinimised();
        break;
    default:
        break;
    }
    return false;
}

void CellEditPolicy::EditorFocusLost(Qt::FocusReason reason) {
    if (mDropping || !mEditor || mEditor->metaObject() != mEditorClass)
        return;
    // The editor's own drop-down or context menu: opening it takes the focus for the popup, and a
    // drop-down then gives it to its list.
    if (QApplication::activePopupWidget())
        return;
    switch (reason) {
    case Qt::PopupFocusReason:
        break;
    case Qt::ActiveWindowFocusReason:
        DropUnlessMinimised();
        break;
    default:
        mCommit();
    }
}

void CellEditPolicy::DropUnlessMinimised() {
    // A window being minimised may lose its activation before it tells that it is minimised, so the
    // question waits until the events of the moment are handled.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!mList->window()->isMinimized())
                Drop();
        },
        Qt::QueuedConnection);
}

void CellEditPolicy::SetText(const QString& text) {
    // All selected, typing replaces the text; the cursor at its start, a long text shows its beginning.
    const int length = static_cast<int>(text.size());
    const auto selectAll = [length](QLineEdit* edit) { edit->setSelection(length, -length); };
    if (auto* box = qobject_cast<QComboBox*>(mEditor.data())) {
        if (box->isEditable()) {
            box->setEditText(text);
            selectAll(box->lineEdit());
        } else {
            box->setCurrentText(text);
        }
    } else if (auto* edit = qobject_cast<QLineEdit*>(mEditor.data())) {
        edit->setText(text);
        selectAll(edit);
    }
}

} // namespace pw
