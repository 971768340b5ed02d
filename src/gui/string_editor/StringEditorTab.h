#pragma once
// The string editor's tab ("Редактор строк"): the whole string table as text in SynMemText, with a tool
// bar to reload it and to find and replace in it, and Ctrl+S in the pane to save it back in the
// encoding and with the line end it was read with. The find and replace settings are the workspace's,
// shared by every main window; whether the next search continues from the caret is this window's.

#include "gui/common/BackgroundWork.h"
#include "gui/text_pane/TextPane.h"

#include <QIcon>
#include <QList>
#include <QWidget>

#include <optional>
#include <string>

class QAction;
class QStatusBar;
class QToolBar;

namespace pw {

struct Workspace;

class StringEditorTab : public QWidget {
    Q_OBJECT
public:
    // statusBar: the main window's status bar, where the search says "Text not found".
    StringEditorTab(Workspace& workspace, QStatusBar* statusBar, QWidget* parent = nullptr);

    // Reads the string table at path (native bytes) now and decodes it in the background; the text is
    // put into the pane when the tab is first shown or an action needs it, so a window does not wait
    // for a large table to open. Until then the pane is empty and read-only, and every action first waits
    // for the text, the window answering, with its progress shown after a moment; "Отмена" there leaves
    // the pane empty and read-only until the table is read again (Ctrl+O). Throws std::runtime_error
    // ("Cannot open file "%s". %s") when the file cannot be read.
    void StartLoading(const std::string& path);

    // The reload, find and replace actions, whose shortcuts work wherever the main window has the
    // focus; the window adds them to itself.
    QList<QAction*> WindowActions() const;

    // Asks, then writes the pane's text over the string table. A text with a character the file's
    // encoding cannot hold is refused; a file changed by another writer since it was read is only
    // overwritten when the user says so. Throws std::runtime_error when the file cannot be read or
    // written; it is then unchanged.
    void SaveStringTableText();
    // The line of the entry id (Windows-1251; trimmed, A-Z folded, as the table's reads compare it) in the
    // pane's text: the first such line of the first section "LocAdmin_Strings"; -1 when there is none.
    qsizetype EntryLine(const std::string& id);
    // Selects the line (one EntryLine gave) and scrolls it to the middle of the pane.
    void ShowLine(qsizetype line);
    // Both: false, with the pane unchanged, when the text holds no line of id.
    bool ShowEntry(const std::string& id);

    // Runs the find (false) or replace (true) dialog and, on OK, its first search.
    void ShowSearchDialog(bool replace);
    // One search with the remembered settings: a find selects the next occurrence, a replace replaces
    // every one; when there is none, a beep, "Text not found" and the selection collapsed. A replace
    // searches in the background, the pane read-only meanwhile, and changes the text as one undo step
    // once it has searched; "Отмена" in its progress leaves the text as it is. Throws std::runtime_error
    // for a regular expression that does not compile.
    void RunTextSearch(bool replace, bool backwards);

signals:
    // SaveStringTableText wrote the table.
    void TableSaved();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QAction* AddAction(const char* name, const QString& caption, int image, const QKeySequence& shortcut,
                       void (StringEditorTab::*execute)());
    void BuildToolBar();
    void EnsureTextInPlace();
    void DiscardPendingText();
    // While background work reads the table or replaces in it, the pane and the reload are locked.
    void SetWorking(bool working);
    void ReplaceEnded(const ReplaceOutcome& outcome, int revision, bool backwards, const WorkEnd& end);
    void SayTextNotFound(bool backwards);
    void ShowUnencodable(const Unencodable& character);

    void actFileOpenExecute();
    void actSearchExecute();
    void actSearchNextExecute();
    void actSearchPrevExecute();
    void actSearchReplaceExecute();
    void actSearchUpdate();
    void actSearchReplaceUpdate();
    void SynMemTextKeyPress(QChar key);

    Workspace& mWorkspace;
    QStatusBar* SB;
    QList<QIcon> imglMain;
    QToolBar* tbMain = nullptr;
    QAction* actFileOpen = nullptr;
    QAction* actSearch = nullptr;
    QAction* actSearchNext = nullptr;
    QAction* actSearchPrev = nullptr;
    QAction* actSearchReplace = nullptr;
    TextPane* SynMemText = nullptr;
    // False: the next search covers the whole scope; true: it starts at the caret.
    bool mContinueFromCaret = false;
    // The table decoded in the background, until it is put into the pane.
    BackgroundWork* mLoad = nullptr;
    std::optional<PreparedText> mPreparedText;
    bool mTextWanted = false; // the tab was shown or the table read again while it was read
    BackgroundWork* mReplace = nullptr;
};

} // namespace pw
