#include "gui/widgets/CellEditPolicy.h"

#include "gui/widgets/ComboBoxRules.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTableView>

namespace pw {

namespace {

// The form widget sits on: its tab page, or else its window.
QWidget* FormOf(QWidget* widget) {
    QWidget* form = widget;
    for (QWidget* up = widget->parentWidget(); up && !qobject_cast<QStackedWidget*>(up);
         up = up->parentWidget()) {
        form = up;
        if (up->isWindow())
            break;
    }
    return form;
}

// The control that Tab (forward) or Shift+Tab moves to from widget, leaving out widget's own children and
// going round within widget's form; null when the form has no other.
QWidget* NextControlOfForm(QWidget* widget, bool forward) {
    const QWidget* form = FormOf(widget);
    for (QWidget* next = forward ? widget->nextInFocusChain() : widget->previousInFocusChain();
         next != widget; next = forward ? next->nextInFocusChain() : next->previousInFocusChain()) {
        if (widget->isAncestorOf(next) || !form->isAncestorOf(next) || next->focusProxy())
            continue;
        if (next->isVisible() && next->isEnabled() && (next->focusPolicy() & Qt::TabFocus))
            return next;
    }
    return nullptr;
}

} // namespace

CellEditPolicy::CellEditPolicy(QTableView* list, std::function<void()> commit,
                               std::function<void(const QModelIndex&)> open)
    : mList(list), mCommit(std::move(commit)), mOpen(std::move(open)), mListObject(list) {
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
    if (auto* box = qobject_cast<QComboBox*>(mEditor.data()); box && box->lineEdit())
        box->lineEdit()->removeEventFilter(this);
    mList->removeEventFilter(this);
}

void CellEditPolicy::SetEditor(QWidget* editor) {
    if (mEditor)
        mEditor->removeEventFilter(this);
    if (auto* box = qobject_cast<QComboBox*>(mEditor.data()); box && box->lineEdit())
        box->lineEdit()->removeEventFilter(this);
    mEditor = editor;
    mEditorObject = editor;
    mEditorLineObject = nullptr;
    mEditorClass = editor ? editor->metaObject() : nullptr;
    if (!editor)
        return;
    if (auto* box = qobject_cast<QComboBox*>(editor)) {
        ApplyComboBoxRules(box);
        if (QLineEdit* line = box->lineEdit()) {
            line->installEventFilter(this);
            mEditorLineObject = line;
        }
    }
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
    mCell = cell;
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
    if (watched == mEditorObject || (watched == mEditorLineObject && mEditorLineObject)) {
        if (event->type() == QEvent::KeyPress && IsOpen()) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
            if (plain && (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)) {
                MoveOn(key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier));
                return true;
            }
        }
        if (watched == mEditorObject && event->type() == QEvent::FocusOut)
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

void CellEditPolicy::MoveOn(bool forward) {
    const QModelIndex cell = mCell;
    mCommit();
    const int column = cell.column() + (forward ? 1 : -1);
    if (cell.isValid() && column >= 0 && column < mList->model()->columnCount(cell.parent())) {
        mOpen(cell.sibling(cell.row(), column));
        if (IsOpen())
            return;
    }
    if (QWidget* next = NextControlOfForm(mList, forward))
        next->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    else
        mList->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
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
