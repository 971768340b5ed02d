#pragma once
// The undo history of an editor form: one QUndoStack whose steps are the user's changes of the form's
// fields, combo boxes and lists, each step the form's state before and after the change. Typing in a
// field becomes a step when the field is left or Enter is pressed, a choice in a combo box when it is
// made, a cell edit or row operation of a list once the list has been changed; changes of one field in
// a row make one step. Whatever the form itself does on a field's change or its leaving (a field that
// follows another, a text made normal) falls into the same step. What the program sets while a step is
// undone or redone is no step, nor is a load, which starts a new history.
//
// Ctrl+Z undoes and Ctrl+Y or Ctrl+Shift+Z redo from anywhere in the form's window while the form shows;
// a field being typed in keeps the keys for its own undo until the typing becomes a step.

#include <QList>
#include <QObject>
#include <QStringList>

#include <vector>

class QComboBox;
class QKeySequence;
class QLineEdit;
class QTableWidget;
class QUndoStack;
class QWidget;

namespace pw {

class FormHistory : public QObject {
    Q_OBJECT
public:
    // A child of form; the undo and redo keys become actions of form.
    explicit FormHistory(QWidget* form);
    ~FormHistory() override;

    // The controls whose contents make up the form, each watched once, all before the first Restart.
    // Only a watched control's changes are steps; a combo box counts with its chosen entry and text, a
    // list with every cell's text.
    void Watch(QLineEdit* edit);
    void Watch(QComboBox* box);
    void Watch(QTableWidget* list);
    // A line edit or combo box of the window that is no part of the form (a hint field, a search box, a
    // cell editor): it keeps the keys for undoing its own typing and passes them on to the form
    // otherwise.
    void ShareKeys(QWidget* control);

    // The form as it is now begins a new history: no steps, not changed.
    void Restart();
    // The form as it is now is the one its file holds: not changed, the steps kept.
    void MarkSaved();
    // Whether the form differs from what Restart or MarkSaved saw, typing not yet a step included.
    bool IsChanged() const;

    // A change not yet recorded becomes a step first, so that it is the one undone.
    void Undo();
    void Redo();
    // The steps, for showing what Undo and Redo can do.
    QUndoStack* Steps() const { return mSteps; }

    static QList<QKeySequence> UndoKeys();
    static QList<QKeySequence> RedoKeys();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class Step;
    // One text list per watched control, in the order they were watched.
    using FormState = std::vector<QStringList>;

    FormState Capture() const;
    // The position of the one field (line edit or combo box) whose state differs, else -1.
    int OnlyChangedField(const FormState& before, const FormState& after) const;
    void Show(const FormState& state);
    void Record();
    void RecordLater();
    void RecordTyping(QLineEdit* edit);

    QUndoStack* mSteps;
    std::vector<QWidget*> mControls;
    FormState mRecorded; // the form as the last step or Restart left it
    bool mRecordPending = false;
};

} // namespace pw
