#pragma once
// TForm1, the main window: the frame with the three editor tabs, the menus, the status bar, the tray
// icon and the change mark of the string table. Its creation sets up the shared library lists and the
// string table accessor in the workspace. A second one, the edit-mode window, is a full editor of its
// own beside the first.

#include "core/data/ReadReport.h"
#include "gui/app/NavigationHistory.h"
#include "gui/common/Jumps.h"

#include <QIcon>
#include <QList>
#include <QMainWindow>
#include <QStringList>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QLineEdit;
class QMenuBar;
class QTabWidget;
class QTimer;

namespace pw {

struct Workspace;
class BackgroundWork;
class FormHistory;
class InfoTab;
class LibraryBrowser;
class QuestTab;
class StringEditorTab;
struct RenamePlan;
struct RenameResult;
class TScreenShot;
class TranslationsWindow;

// The first window lives for the whole run and has the tray icon; an edit-mode window has neither.
enum class WindowRole { Main, EditMode };

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    // Builds the window and runs FormCreate. Messages go through the dialogs service, so a failure
    // (missing settings, unreadable string table) is shown and the window still opens.
    explicit TForm1(Workspace& workspace, WindowRole role = WindowRole::Main);
    ~TForm1() override;

    // Loads the .info file at path (native bytes) into the dialogue tab, without switching tabs.
    void LoadInfo(const std::string& path);
    // Loads the .quest file at path (native bytes) into the quest tab, without switching tabs.
    void LoadQuest(const std::string& path);
    // Shows the library quest named name (Windows-1251) in the quest tab's pane; see QuestTab.
    void ShowQuestByName(const std::string& name);
    // A drop of files onto the window: only the first file counts; a .info file is loaded into the
    // dialogue tab, a .quest file into the quest tab, each after the tab's question when its form is
    // changed; any other file is refused with a message.
    void OpenDroppedFile(const QStringList& files);
    // Files given at the program's start, in order: each .info and .quest file is opened in its tab as a
    // drop opens it, so the last of each kind stays loaded; a "stringtable.ini" shows the string
    // editor's tab, which says so when the settings name another table; every other file is named in
    // one message. The tab of the last file opened is brought to the front.
    void OpenFiles(const QStringList& files);
    // Files that a later start of the program handed over: the window comes to the front (out of the
    // tray too) and opens them as OpenFiles does.
    void TakeHandedFiles(const QStringList& files);

    // The string table from the editors (Windows-1251 ids and texts): the value under id shown in a
    // hint field, and id=text written after the checks and questions, which sets the change mark.
    void LookupTableString(const std::string& id, QLineEdit* target);
    void AddTableString(const std::string& id, const std::string& text);

    // The change mark of the string editor's tab: a hint and a blinking tab picture until the tab is
    // shown. The library index gathers the table's IDs again.
    void MarkTableChanged();
    void ClearTableChanged();

    // Told by the settings dialog after each save. On a start whose library was not opened for want of
    // paths, a save that sets all three asks whether to open the library now; Yes reads the settings
    // again and opens it in this window as a new start would. The question belongs to settingsDialog.
    void SettingsSaved(QWidget* settingsDialog);

    // Follows a name of a form to what it names (see Jumps.h). A name the library or the table does not
    // hold is said so in the status bar and opens nothing.
    void FollowJump(const Jump& jump);
    // "Библиотека": the browser window beside this one, shown and raised; with filter, that put in its
    // filter line.
    LibraryBrowser* ShowBrowser(const QString* filter = nullptr);
    // "Переводы": the translations window over the string table, read again, shown and raised.
    void ShowTranslations();
    // Back and forward across the files loaded into the two form tabs and the string-table lines
    // jumped to.
    void GoBack();
    void GoForward();

    // Runs the event loop until the background work of every editor window and of its dialogs has ended:
    // for tests.
    static void WaitForWork();

    // The tab pictures; the string editor's tab shows image 0, or 1 while blinking.
    const QList<QIcon>& PgCtrlImgList() const { return PgCtrlImages; }

protected:
    // The first window's close box ends the program, asking only about each changed form of every
    // editor window, where No keeps the program running; an edit-mode window hides.
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildFrame();
    void BuildMenu();
    // "Правка": undo and redo on the form of the tab shown.
    void BuildEditMenu(QMenuBar* bar);
    void FollowFormHistories();
    FormHistory* CurrentHistory() const;
    void UpdateEditMenu();
    QWidget* AddPage(const QString& name, const QString& caption, int image);
    void FormCreate();
    // What a start does with the settings: with a path missing, the warning; otherwise the string
    // table accessor, the two library lists and the table's text in the string editor.
    void OpenLibrary();
    void N3Click();
    // "Режим редактирования": a second editor window, or the one closed before shown again; a third is
    // refused.
    void OpenEditModeWindow();
    void EnterEditMode();
    // A string table given at start: its tab, and a word when the settings name another table.
    void ShowGivenStringTable(const QString& file);
    // "Выход": asks about each changed form of every editor window, then whether to end; then closes
    // every window and ends the program.
    void ConfirmExit();
    // The editor windows open now, hidden ones included; the first window first.
    static std::vector<TForm1*> EditorWindows();
    // Each changed form of windows asks whether to give up its changes; false at the first No.
    static bool MayDropChangedForms(const std::vector<TForm1*>& windows);
    // "О программе": this window steps aside while the About box is open.
    void ShowAbout();
    void InfoTmTimer();
    void PgCtrlChange(int index);
    // The dialogue tab's help on the command of its grid's current row, shown in the status bar while
    // that tab is shown; an empty help takes away the help shown, and nothing else.
    void ShowCommandHelp(const QString& help);
    void ShowHelpOfPage();
    // The string table was written: its IDs, which completion offers, are gathered again.
    void RebuildLibraryIndex();
    void SetTableTabImage(int image);
    void BuildViewMenu();
    // A jump to the dialogue or quest jump names, found in the library index and loaded into its tab. While
    // the index is being built the jump waits for it in the background, with its progress shown after a
    // moment; a newer jump meanwhile takes its place. The index is rebuilt once (rebuilt then true) when
    // the file found no longer holds that name. A name the library does not hold is said so.
    void JumpToRecord(const Jump& jump, bool rebuilt);
    // The file of the dialogue or quest named name in the built index; empty when it holds none. *stale
    // tells that a file was named so but no longer holds the name.
    std::string FindInLibrary(RecordKind kind, const std::string& name, bool* stale) const;
    // Whether quitting may go on: when background work runs in windows, asks whether to stop it, and on
    // Yes stops it at its safe point and waits for it.
    static bool MayStopWork(const std::vector<TForm1*>& windows);
    // Loads path into the tab of its kind and brings that tab to the front. False when nothing was loaded.
    bool OpenInTab(RecordKind kind, const std::string& path);
    bool ShowStringEntry(const std::string& id);
    // A jump found nothing: said in the status bar until the next jump.
    void SayJumpFailed(const QString& text);
    bool ShowPlace(const Place& place);
    // "Переименовать во всей библиотеке…" for a name of thing: the dialog, then the forms showing the new
    // names, the table's change mark and a new index. A rename left unfinished is offered to be finished
    // ("Повторить"): the dialog again with the same new name, previewing what is left.
    void RenameInLibrary(Jump::Thing thing, const std::string& name);
    // After a rename: the forms showing the files it changed load them again, the search boxes show the
    // renamed files' new paths, and a written table sets the change mark.
    void ShowRenamed(const RenamePlan& plan, const RenameResult& result);
    // A tab showed a new place: remembered, unless it is a move back or forward that shows it.
    void Visited(const Place& place);
    void UpdateHistoryActions();

    Workspace& mWorkspace;
    WindowRole mRole;
    QList<QIcon> PgCtrlImages;
    QTabWidget* PgCtrl = nullptr;
    QWidget* tbInfo = nullptr;
    QWidget* tbQuest = nullptr;
    QWidget* TabSheet1 = nullptr;
    StringEditorTab* mStringEditor = nullptr;
    InfoTab* mInfoTab = nullptr;
    QuestTab* mQuestTab = nullptr;
    QTimer* InfoTm = nullptr;
    int mTableTabImage = 0;
    QString mCommandHelp; // the dialogue tab's newest
    QString mShownHelp;   // what of it the status bar shows
    QString mJumpMessage; // what the status bar says of the last jump that found nothing
    TScreenShot* ScreenShot1 = nullptr;
    std::unique_ptr<TForm1> mEditModeWindow; // the first window's, once opened
    LibraryBrowser* mBrowser = nullptr;      // made when first shown
    TranslationsWindow* mTranslations = nullptr; // made when first shown
    NavigationHistory mHistory;
    bool mMovingInHistory = false;
    // The files last loaded into the two forms (for showing them again after a rename).
    std::string mInfoPath;
    std::string mQuestPath;
    QAction* mBackAction = nullptr;
    QAction* mForwardAction = nullptr;
    QAction* UndoItem = nullptr;
    QAction* RedoItem = nullptr;
    bool mExitConfirmed = false; // the forms and the end of the program were asked about
    BackgroundWork* mIndexWait = nullptr; // a jump waiting for the library index
    // The jump that follows once the index is built (the newest asked for), and whether it is after the
    // rebuild of a stale index.
    std::optional<Jump> mWaitingJump;
    bool mWaitingAfterRebuild = false;
};

} // namespace pw
