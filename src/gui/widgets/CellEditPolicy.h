#pragma once
// When an in-place cell editor (a line edit or a combo box laid over a cell of a report list) ends its
// edit. Every such editor of the program follows the same rule:
// - the editor's own drop-down list or context menu takes the focus and the edit goes on;
// - the window being deactivated drops the edit, nothing written, unless the window was only minimised
//   (then the edit is still open when the window comes back);
// - any other loss of the focus (a click elsewhere, the list's page hidden behind another tab) commits
//   the edit;
// - Tab and Shift+Tab commit it and open the next or the previous cell of the row; past either end of
//   the row the focus goes on to the next or the previous control of the form the list is on (its tab
//   page, or its window), so it never lands outside the form;
// - keys the editor leaves unused (arrows, page keys) stop at the list instead of moving its selection,
//   which would send the edit into another row;
// - rows replaced, inserted or removed behind an open editor drop the edit.
// The list decides what a commit writes and where; this object decides when.
//
// A new in-place editor gets the rule by holding one CellEditPolicy beside its list (as a member of the
// list or of an object the list owns), giving it the editor with SetEditor and opening edits with Open.

#include <QObject>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QString>

#include <functional>

class QMetaObject;
class QModelIndex;
class QTableView;
class QWidget;

namespace pw {

class CellEditPolicy : public QObject {
    Q_OBJECT
public:
    // Watches list (its keys, its window's deactivation, its rows). commit runs when an open edit is to
    // be written; it writes the text where it belongs and calls Drop. open opens an edit of a cell of the
    // row edited (with the list's text, through Open), for Tab. The list must outlive this object.
    CellEditPolicy(QTableView* list, std::function<void()> commit,
                   std::function<void(const QModelIndex& cell)> open);
    ~CellEditPolicy() override;

    // Makes editor (a QLineEdit or a QComboBox; nullptr for none) the cell editor: a hidden child of the
    // list's viewport, so it is placed in cell coordinates and scrolls with the rows. A combo box also
    // gets the program's combo-box rules (ComboBoxRules.h). The caller checks the editor's kind.
    void SetEditor(QWidget* editor);
    QWidget* Editor() const { return mEditor; }

    // Lays the editor over cell with text, all of it selected so typing replaces it, then shows and
    // focuses it. Over the first column the editor is as wide as that column.
    void Open(const QModelIndex& cell, const QString& text);
    // Whether an edit is open; it stays open while the list's page is out of sight.
    bool IsOpen() const;
    // The editor's text (a combo box's current text).
    QString Text() const;
    // Hides the editor; nothing is written.
    void Drop();
    // Whether the keyboard focus is in the shown editor.
    bool EditorHasFocus() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void EditorFocusLost(Qt::FocusReason reason);
    // Tab (forward) or Shift+Tab in the editor.
    void MoveOn(bool forward);
    void DropUnlessMinimised();
    void SetText(const QString& text);

    QTableView* mList;
    std::function<void()> mCommit;
    std::function<void(const QModelIndex&)> mOpen;
    QPointer<QWidget> mEditor;
    QPersistentModelIndex mCell; // the cell of the edit open, or of the last one
    // The list and the editor as the event filter compares them: by address, because events still
    // arrive while they are being destroyed, when they are no longer of their own classes.
    const QObject* mListObject;
    const QObject* mEditorObject = nullptr;
    const QObject* mEditorLineObject = nullptr; // a combo box editor's line edit, which has the keys
    // The editor's class: a focus loss that reaches the editor after its own class part is destroyed
    // comes from its destruction and ends nothing.
    const QMetaObject* mEditorClass = nullptr;
    bool mDropping = false;
};

} // namespace pw
