#include "gui/widgets/FormHistory.h"

#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableWidget>
#include <QUndoStack>

namespace pw {

namespace {

QStringList StateOf(const QWidget* control) {
    if (const auto* edit = qobject_cast<const QLineEdit*>(control))
        return {edit->text()};
    if (const auto* box = qobject_cast<const QComboBox*>(control))
        return {box->currentText(), QString::number(box->currentIndex())};
    const auto* list = static_cast<const QTableWidget*>(control);
    QStringList cells;
    for (int row = 0; row < list->rowCount(); ++row)
        for (int column = 0; column < list->columnCount(); ++column) {
            const QTableWidgetItem* item = list->item(row, column);
            cells << (item ? item->text() : QString());
        }
    return cells;
}

void SetState(QWidget* control, const QStringList& state) {
    // A step puts back the whole form, so no control may follow another one's change meanwhile.
    const QSignalBlocker blocker(control);
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        edit->setText(state[0]);
        edit->setCursorPosition(0);
        return;
    }
    if (auto* box = qobject_cast<QComboBox*>(control)) {
        box->setCurrentIndex(state[1].toInt());
        box->setEditText(state[0]);
        box->lineEdit()->setCursorPosition(0);
        return;
    }
    auto* list = static_cast<QTableWidget*>(control);
    list->setRowCount(0); // an in-place edit open over the old rows ends unwritten
    const int columns = list->columnCount();
    list->setRowCount(static_cast<int>(state.size()) / columns);
    for (int cell = 0; cell < state.size(); ++cell)
        list->setItem(cell / columns, cell % columns, new QTableWidgetItem(state[cell]));
}

// A field's own undo ends when its typing becomes a step of the form. Setting the text clears it.
void ForgetTyping(QLineEdit* edit) {
    if (!edit->isUndoAvailable() && !edit->isRedoAvailable())
        return;
    const int cursor = edit->cursorPosition();
    edit->setText(edit->text());
    edit->setCursorPosition(cursor);
}

QKeySequence KeyOf(const QKeyEvent& event) {
    const Qt::KeyboardModifiers modifiers =
        event.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    return QKeySequence(QKeyCombination(modifiers, static_cast<Qt::Key>(event.key())));
}

QAction* AddKeys(QWidget* form, const QList<QKeySequence>& keys) {
    auto* action = new QAction(form);
    action->setShortcuts(keys);
    // The keys act wherever the focus is in the form's window (the tab bar, the tool bar), as long as
    // the form shows; a form on a tab out of sight takes none of them.
    action->setShortcutContext(Qt::WindowShortcut);
    form->addAction(action);
    return action;
}

} // namespace

class FormHistory::Step : public QUndoCommand {
public:
    Step(FormHistory& history, FormState before, FormState after)
        : mHistory(history), mBefore(std::move(before)), mAfter(std::move(after)),
          mField(history.OnlyChangedField(mBefore, mAfter)) {}
    void undo() override { mHistory.Show(mBefore); }
    // Its first run, when it is pushed, finds the form already so.
    void redo() override { mHistory.Show(mAfter); }

    // Steps that each change the same one field in a row are one: a field confirmed with Enter and then
    // left, its text made normal on leaving, is one change, or none when it ends as it began.
    int id() const override { return mField; }
    bool mergeWith(const QUndoCommand* other) override {
        mAfter = static_cast<const Step*>(other)->mAfter;
        setObsolete(mAfter == mBefore);
        return true;
    }

private:
    FormHistory& mHistory;
    const FormState mBefore;
    FormState mAfter;
    const int mField;
};

FormHistory::FormHistory(QWidget* form) : QObject(form), mSteps(new QUndoStack(this)) {
    connect(AddKeys(form, UndoKeys()), &QAction::triggered, this, &FormHistory::Undo);
    connect(AddKeys(form, RedoKeys()), &QAction::triggered, this, &FormHistory::Redo);
}

FormHistory::~FormHistory() {
    // The stack clears its steps as it goes, which must not tell a window that is itself going.
    mSteps->blockSignals(true);
}

QList<QKeySequence> FormHistory::UndoKeys() {
    return {QKeySequence(Qt::CTRL | Qt::Key_Z)};
}

QList<QKeySequence> FormHistory::RedoKeys() {
    return {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)};
}

void FormHistory::Watch(QLineEdit* edit) {
    mControls.push_back(edit);
    edit->installEventFilter(this);
    RecordTyping(edit);
}

void FormHistory::Watch(QComboBox* box) {
    mControls.push_back(box);
    connect(box, &QComboBox::activated, this, &FormHistory::Record);
    // The keys reach the box, which hands them to its text field.
    box->installEventFilter(this);
    if (QLineEdit* edit = box->lineEdit())
        RecordTyping(edit);
}

void FormHistory::Watch(QTableWidget* list) {
    mControls.push_back(list);
    // An operation changes a list cell by cell; it is one step once it is done.
    const QAbstractItemModel* model = list->model();
    connect(model, &QAbstractItemModel::dataChanged, this, &FormHistory::RecordLater);
    connect(model, &QAbstractItemModel::rowsInserted, this, &FormHistory::RecordLater);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &FormHistory::RecordLater);
}

void FormHistory::ShareKeys(QWidget* control) {
    control->installEventFilter(this);
}

void FormHistory::RecordTyping(QLineEdit* edit) {
    // After the form's own handling of the focus leaving, which may make the text normal.
    connect(edit, &QLineEdit::editingFinished, this, [this, edit] {
        Record();
        ForgetTyping(edit);
    });
}

void FormHistory::Restart() {
    mRecordPending = false;
    mRecorded = Capture();
    mSteps->clear();
}

void FormHistory::MarkSaved() {
    Record();
    mSteps->setClean();
}

bool FormHistory::IsChanged() const {
    return !mSteps->isClean() || Capture() != mRecorded;
}

void FormHistory::Undo() {
    Record();
    mSteps->undo();
}

void FormHistory::Redo() {
    Record();
    mSteps->redo();
}

FormHistory::FormState FormHistory::Capture() const {
    FormState state;
    state.reserve(mControls.size());
    for (const QWidget* control : mControls)
        state.push_back(StateOf(control));
    return state;
}

int FormHistory::OnlyChangedField(const FormState& before, const FormState& after) const {
    int changed = -1;
    for (std::size_t i = 0; i < mControls.size(); ++i)
        if (before[i] != after[i]) {
            if (changed >= 0 || qobject_cast<const QTableWidget*>(mControls[i]))
                return -1;
            changed = static_cast<int>(i);
        }
    return changed;
}

void FormHistory::Show(const FormState& state) {
    for (std::size_t i = 0; i < mControls.size(); ++i)
        if (StateOf(mControls[i]) != state[i])
            SetState(mControls[i], state[i]);
    mRecorded = state;
}

void FormHistory::Record() {
    mRecordPending = false;
    FormState now = Capture();
    if (now != mRecorded)
        mSteps->push(new Step(*this, mRecorded, std::move(now)));
}

void FormHistory::RecordLater() {
    if (mRecordPending)
        return;
    mRecordPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (mRecordPending)
                Record();
        },
        Qt::QueuedConnection);
}

bool FormHistory::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress)
        return false;
    const QKeySequence key = KeyOf(*static_cast<QKeyEvent*>(event));
    const bool undo = UndoKeys().contains(key);
    if (!undo && !RedoKeys().contains(key))
        return false;
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (auto* box = qobject_cast<QComboBox*>(watched))
        edit = box->lineEdit();
    if (!edit)
        return false;
    const bool typed = undo ? edit->isUndoAvailable() : edit->isRedoAvailable();
    if (type == QEvent::ShortcutOverride) {
        // Taken, the key goes on to the field as a key press; refused, to the form's action.
        event->setAccepted(typed);
        return true;
    }
    // Done here, as the field would not take every one of the keys for its own.
    if (typed && undo)
        edit->undo();
    else if (typed)
        edit->redo();
    return true;
}

} // namespace pw
