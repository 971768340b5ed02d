#pragma once
// The hand editing of the dialogue tab's command grid CommandList: adding, inserting, deleting and
// swapping rows (the row rules are CommandRows'), the in-place cell editor CellEditor opened with
// Ctrl+Enter over the cell under the mouse pointer (it ends its edits by the rule of CellEditPolicy),
// the context menus of the grid and of the raw file pane SynInfoMem with the choice of editing surface,
// and the limits of the splitter between them.

#include "core/dialogue/InfoScript.h"
#include "gui/common/Jumps.h"
#include "gui/widgets/CellEditPolicy.h"

#include <QObject>
#include <QLineEdit>
#include <QModelIndex>
#include <QPoint>
#include <QPointer>

#include <functional>
#include <vector>

class QAction;
class QKeyEvent;
class QMenu;
class QPlainTextEdit;
class QSplitter;
class QTableWidget;

namespace pw {

// A drag of Splitter1 is accepted only while the command grid stays between these heights, exclusive.
inline constexpr int kGridRefusedLowHeight = 40;
inline constexpr int kGridRefusedHighHeight = 520;
bool Splitter1CanResize(int newHeight);

// Which of the two editing surfaces show: the grid, the text pane, or both.
enum class EditSurface { GridOnly, PaneOnly, Both };

struct SurfaceLayout {
    bool gridVisible;
    bool paneVisible;
    int gridHeight; // the splitter's share for the grid; 0 when hidden
    int paneHeight;
};
SurfaceLayout LayoutOf(EditSurface surface);

// "Включить оба способа редактирования" is offered only while exactly one surface shows.
bool BothSurfacesOffered(bool gridVisible, bool paneVisible);

class CommandListEditor : public QObject {
    Q_OBJECT
public:
    // Attaches the editing to the tab's grid, pane and splitter; becomes a child of the grid. Creates
    // CellEditor (hidden, inside the grid) and the menus CommandListPop and SynInfoMemPop.
    CommandListEditor(QTableWidget* commandList, QPlainTextEdit* synInfoMem, QSplitter* splitter1);

    // The row operations of the menu and the keys.
    void N5Click();  // append a row and select it
    void N8Click();  // insert before the first selected row
    void N7Click();  // insert after it
    void N4Click();  // delete the selected rows
    void N12Click(); // text pane only
    void N13Click(); // grid only
    void N14Click(); // both
    void N15Click(); // both
    void SetSurface(EditSurface surface);

    // Ctrl+Insert, Ctrl+Delete and Ctrl+Enter on key release; other keys do nothing.
    void CommandListKeyUp(const QKeyEvent& event);
    // Opens CellEditor over the cell at viewportPos (the mouse pointer when Ctrl+Enter is released);
    // outside every row the editor is hidden instead.
    void EditCellAt(const QPoint& viewportPos);
    // Lays CellEditor over the cell (row, EditColumn), with its text, shown and focused.
    void BeginCellEdit(int row);
    // Writes CellEditor's text into the cell it was opened over when the text differs, marks that row
    // selected and hides the editor.
    void CommitCellEdit();
    // Hides CellEditor and drops what was typed.
    void HideCellEdit();
    // CellEditor, and the cell it was last opened over (invalid before the first edit).
    QLineEdit* CellEdit() const { return CellEditor; }
    QModelIndex EditedCell() const;

    // A drag over the grid highlights row (-1: over no row); the drop exchanges the first selected row
    // with the last highlighted one and leaves the selection at the source position.
    void CommandListDragOver(int row);
    void CommandListDragDrop();

    // Gives another read-only pane (the quest tab's) the context menu of SynInfoMem: SynInfoMemPop
    // with its enabling rule while one of its items shows, the pane's own menu otherwise.
    void AttachSynInfoMemPop(QPlainTextEdit* pane);

    // The jumps a cell offers (see Jumps.h): on the grid's menu after its own items, the first on
    // Ctrl+click; go carries a chosen one out.
    void SetCellJumps(std::function<std::vector<JumpItem>(int row, int column)> jumps,
                      std::function<void(const Jump&)> go);

    // "Вставить разговор…" on the grid's menu runs open.
    void SetConversationImport(std::function<void()> open);
    // Puts rows (Windows-1251) before the first selected row, or after the last row when none is
    // selected (see InsertConversationRows), and selects them.
    void InsertRows(const std::vector<CommandRow>& rows);

    // Menu states on opening.
    void CommandListPopPopup();
    void SynInfoMemPopPopup();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMenus();
    QAction* AddItem(QMenu* menu, const char* name, const QString& caption,
                     void (CommandListEditor::*click)());
    void AddSeparator(QMenu* menu, const char* name);
    void ConversationItemClick();
    void ShowCommandListPop(const QPoint& pos);
    void ShowSynInfoMemPop(QPlainTextEdit* pane, const QPoint& pos);
    bool FilterDrag(QEvent* event);

    QTableWidget* CommandList;
    // The grid and its viewport as the event filter compares them: by address only, because events
    // still arrive while they are being destroyed, when they are no longer of their own classes.
    const QObject* mGridObject = nullptr;
    const QObject* mViewportObject = nullptr;
    QPlainTextEdit* SynInfoMem;
    QSplitter* Splitter1;
    QPointer<QLineEdit> CellEditor; // dies with the grid's viewport, before this object
    CellEditPolicy mCellEdit;
    int EditColumn = 0;
    int mEditRow = -1;
    int mDropTarget = -1;

    std::function<std::vector<JumpItem>(int, int)> mCellJumps;
    std::function<void(const Jump&)> mGo;
    QList<QAction*> mJumpActions; // the cell's items on CommandListPop while it shows
    std::function<void()> mConversationImport;

    QMenu* CommandListPop = nullptr;
    QMenu* SynInfoMemPop = nullptr;
    QAction* N12 = nullptr;
    QAction* N13 = nullptr;
    QAction* N14 = nullptr;
    QAction* N15 = nullptr;
};

} // namespace pw
