#pragma once
// TEditableListView: a report list whose cells are edited in place. A left click on a cell lays the
// list's editor (a line edit or a combo box) over that cell; the editor's text goes back into the cell
// when the editor loses the focus, by the rule of CellEditPolicy. Enter and Escape mean nothing
// special; leaving the editor commits.

#include "gui/widgets/CellEditPolicy.h"

#include <QTableWidget>

#include <stdexcept>

namespace pw {

// Thrown when a list is given an editor that is neither a line edit nor a combo box.
class EControlTypeMismatch : public std::runtime_error {
public:
    EControlTypeMismatch();
};

class TEditableListView : public QTableWidget {
    Q_OBJECT
public:
    // Grid lines, whole-row selection, no built-in cell editing, no editor yet.
    explicit TEditableListView(QWidget* parent = nullptr);
    ~TEditableListView() override;

    QWidget* ListEditor() const { return mCellEdit.Editor(); }
    // Makes editor (a QLineEdit or a QComboBox, nullptr for none) the cell editor: it becomes a hidden
    // child of the list and commits when it loses the focus; a combo box also gets the program's
    // combo-box rules. Any other control throws EControlTypeMismatch and is neither hooked nor
    // re-parented.
    void SetListEditor(QWidget* editor);

    // When set, only the first column (the row caption) is edited.
    bool EditCaptionOnly() const { return mEditCaptionOnly; }
    void SetEditCaptionOnly(bool captionOnly) { mEditCaptionOnly = captionOnly; }

    // Lays the editor over the cell (row, last clicked column) with the cell's text, shows and focuses
    // it. Rows that no longer exist are ignored.
    void BeginCellEdit(int row);
    // Writes the editor's text into the selected row's editing column when it differs, keeps that row
    // selected and hides the editor. Without a selected row only the editor is hidden.
    void CommitCellEdit();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void StartCellEdit(const QPoint& viewportPos);
    int SelectedRow() const;

    bool mEditCaptionOnly = false;
    int mEditColumn = 0;
    CellEditPolicy mCellEdit;
};

} // namespace pw
