// The main window's ways through the library: the browser window, the jumps from the forms' names, and
// back and forward across what the tabs showed.

#include "gui/app/MainForm.h"
#include "gui/app/TranslationsWindow.h"

#include "core/data/Cp1251.h"
#include "core/data/StrUtilsEx.h"
#include "gui/common/BackgroundWork.h"
#include "gui/common/Cp1251Text.h"
#include "gui/common/ErrorGuard.h"
#include "gui/common/UserDialogs.h"
#include "gui/common/Workspace.h"
#include "gui/dialogue_tab/InfoTab.h"
#include "gui/library/LibraryBrowser.h"
#include "gui/library/LibraryIndexService.h"
#include "gui/library/LibrarySearchBox.h"
#include "gui/library/RenameDialog.h"
#include "gui/quest_tab/QuestTab.h"
#include "gui/string_editor/StringEditorTab.h"

#include <QAction>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>

#include <optional>
#include <utility>

namespace pw {
namespace {

// Whether the file at path still holds a record of kind named name (a file changed outside the program
// since the index read it may not).
bool StillNamed(RecordKind kind, const std::string& path, const std::string& name) {
    const LibraryIndex check({path});
    const LibraryEntry& entry = check[0];
    return entry.Read() && entry.kind == kind && AsciiEqualNoCase(TrimView(entry.Name()), TrimView(name));
}

QString NotFoundText(RecordKind kind, const std::string& name) {
    return (kind == RecordKind::Quest ? QStringLiteral("Квест «%1» в библиотеке не найден")
                                      : QStringLiteral("Диалог «%1» в библиотеке не найден"))
        .arg(FromCp1251(TrimView(name)));
}

} // namespace

void TForm1::BuildViewMenu() {
    QMenu* view = menuBar()->addMenu(QStringLiteral("Вид"));
    view->setObjectName(QStringLiteral("ViewMenu"));
    QAction* browser = view->addAction(QStringLiteral("Библиотека"));
    browser->setObjectName(QStringLiteral("BrowserAction"));
    browser->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    connect(browser, &QAction::triggered, this, [this] { ShowBrowser(); });
    QAction* translations = view->addAction(QStringLiteral("Переводы"));
    translations->setObjectName(QStringLiteral("TranslationsAction"));
    connect(translations, &QAction::triggered, this, &TForm1::ShowTranslations);
    view->addSeparator();
    mBackAction = view->addAction(QStringLiteral("Назад"));
    mBackAction->setObjectName(QStringLiteral("BackAction"));
    mBackAction->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Left));
    connect(mBackAction, &QAction::triggered, this, &TForm1::GoBack);
    mForwardAction = view->addAction(QStringLiteral("Вперёд"));
    mForwardAction->setObjectName(QStringLiteral("ForwardAction"));
    mForwardAction->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Right));
    connect(mForwardAction, &QAction::triggered, this, &TForm1::GoForward);
    // The shortcuts act from every tab and control of the window, the menu bar's actions being its own.
    addActions({browser, mBackAction, mForwardAction});
    UpdateHistoryActions();
}

void TForm1::ShowTranslations() {
    if (!mTranslations) {
        mTranslations = new TranslationsWindow(mWorkspace, this);
        connect(mTranslations, &TranslationsWindow::TableWritten, this, &TForm1::MarkTableChanged);
    }
    mTranslations->show();
    mTranslations->raise();
    mTranslations->activateWindow();
    RunGuarded(mTranslations, [this] { mTranslations->Reload(); });
}

LibraryBrowser* TForm1::ShowBrowser(const QString* filter) {
    if (!mBrowser) {
        mBrowser = new LibraryBrowser(mWorkspace, this);
        connect(mBrowser, &LibraryBrowser::OpenRequested, this,
                [this](RecordKind kind, const std::string& path) {
                    RunGuarded(this, [this, kind, &path] {
                        if (OpenInTab(kind, path)) {
                            raise();
                            activateWindow();
                        }
                    });
                });
        // Beside this window where the screen has room: right of it, else left of it.
        const QRect screen = this->screen()->availableGeometry();
        const QRect frame = frameGeometry();
        const int width = mBrowser->frameGeometry().width();
        if (frame.right() + width < screen.right())
            mBrowser->move(frame.right() + 1, frame.top());
        else if (frame.left() - width > screen.left())
            mBrowser->move(frame.left() - width, frame.top());
    }
    if (filter)
        mBrowser->SetFilter(*filter);
    mBrowser->show();
    mBrowser->raise();
    mBrowser->activateWindow();
    return mBrowser;
}

std::string TForm1::FindInLibrary(RecordKind kind, const std::string& name, bool* stale) const {
    const LibraryIndex& index = mWorkspace.libraryIndex->Current()->index;
    const std::vector<std::size_t>& named =
        kind == RecordKind::Quest ? index.Quests(TrimView(name)) : index.Dialogues(TrimView(name));
    for (std::size_t number : named)
        if (StillNamed(kind, index[number].path, name))
            return index[number].path;
    *stale = !named.empty();
    return {};
}

void TForm1::JumpToRecord(const Jump& jump, bool rebuilt) {
    const std::shared_ptr<LibraryIndexService> service = mWorkspace.libraryIndex;
    const RecordKind kind = jump.kind == Jump::Kind::Quest ? RecordKind::Quest : RecordKind::Dialogue;
    if (!service || (!service->Building() && !service->Current())) {
        SayJumpFailed(NotFoundText(kind, jump.name));
        return;
    }
    if (!service->Building()) {
        bool stale = false;
        const std::string path = FindInLibrary(kind, jump.name, &stale);
        if (!path.empty()) {
            OpenInTab(kind, path);
            return;
        }
        if (!stale || rebuilt) {
            SayJumpFailed(NotFoundText(kind, jump.name));
            return;
        }
        service->Rebuild(); // a file changed since the index read it: once more with the library as it is
        rebuilt = true;
    }
    // The newest jump is the one the user waits for.
    mWaitingJump = jump;
    mWaitingAfterRebuild = rebuilt;
    if (!mIndexWait)
        mIndexWait = new BackgroundWork(this);
    if (mIndexWait->Running())
        return;
    mIndexWait->Start(
        QStringLiteral("Библиотека читается…"),
        [service](const ProgressHook& hook) { service->WaitForBuild(hook); },
        [this](const WorkEnd& end) {
            const std::optional<Jump> waiting = std::exchange(mWaitingJump, std::nullopt);
            if (end.stopped || !waiting)
                return; // the user gave the jump up
            RunGuarded(this, [this, &waiting] { JumpToRecord(*waiting, mWaitingAfterRebuild); });
        },
        QStringLiteral("Прочитано файлов: %1 из %2"));
}

bool TForm1::OpenInTab(RecordKind kind, const std::string& path) {
    const bool quest = kind == RecordKind::Quest;
    // A changed form is asked about first; "Нет" keeps it and loads nothing.
    if (!(quest ? mQuestTab->OpenQuest(path) : mInfoTab->OpenInfo(path)))
        return false;
    PgCtrl->setCurrentWidget(quest ? tbQuest : tbInfo);
    return true;
}

bool TForm1::ShowStringEntry(const std::string& id) {
    // Looked up before the tab is shown: an ID the table lacks changes nothing on screen.
    const qsizetype line = mStringEditor->EntryLine(id);
    if (line < 0)
        return false;
    PgCtrl->setCurrentWidget(TabSheet1);
    mStringEditor->ShowLine(line);
    return true;
}

void TForm1::SayJumpFailed(const QString& text) {
    mJumpMessage = text;
    statusBar()->showMessage(text);
}

void TForm1::FollowJump(const Jump& jump) {
    const QString name = FromCp1251(TrimView(jump.name));
    // What the last jump said gives way to this one's outcome.
    if (!mJumpMessage.isEmpty() && statusBar()->currentMessage() == mJumpMessage) {
        statusBar()->clearMessage();
        ShowHelpOfPage();
    }
    mJumpMessage.clear();
    RunGuarded(this, [&] {
        switch (jump.kind) {
        case Jump::Kind::Dialogue:
        case Jump::Kind::Quest:
            JumpToRecord(jump, false);
            break;
        case Jump::Kind::StringEntry:
            if (ShowStringEntry(jump.name))
                Visited({Place::Tab::StringTable, Trim(jump.name)});
            else
                SayJumpFailed(QStringLiteral("Строка «%1» в таблице строк не найдена").arg(name));
            break;
        case Jump::Kind::ChildDialogues: {
            const QString filter = QStringLiteral("parent:") + name;
            ShowBrowser(&filter);
            break;
        }
        case Jump::Kind::WhereUsed: {
            const QString filter = QStringLiteral("uses:") + name;
            ShowBrowser(&filter);
            break;
        }
        case Jump::Kind::Rename:
            RenameInLibrary(jump.thing, jump.name);
            break;
        }
    });
}

void TForm1::RenameInLibrary(Jump::Thing thing, const std::string& name) {
    LibraryIndexService* service = mWorkspace.libraryIndex.get();
    if (!service) {
        statusBar()->showMessage(QStringLiteral("Библиотека не открыта"));
        return;
    }
    static constexpr RenameKind kKinds[] = {RenameKind::Dialogue, RenameKind::Quest, RenameKind::Event,
                                            RenameKind::String};
    RenameRequest request;
    request.kind = kKinds[static_cast<int>(thing)];
    request.oldName = Trim(name);
    request.roots = {mWorkspace.configs->InfosPath, mWorkspace.configs->QuestsPath};
    request.stringTable = mWorkspace.configs->StringTablePath;
    // A rename left unfinished is offered again, as the same rename, until it is done or the user stops.
    std::optional<RenamePlan> unfinished;
    for (;;) {
        // Each preview reads the library as it is then, not as the index last saw it.
        RenameDialog dialog(this, request,
                            // The forms show the new names afterwards, so their unsaved edits are asked
                            // about as for a load.
                            [this] { return mInfoTab->MayReplaceForm() && mQuestTab->MayReplaceForm(); });
        if (unfinished)
            dialog.Resume(*unfinished);
        Dialogs().RunModal(&dialog);
        if (!dialog.Applied()) // closed without "Применить"
            return;
        const RenamePlan& plan = *dialog.Applied();
        const RenameResult& result = dialog.Result();
        ShowRenamed(plan, result);
        service->Rebuild();
        const QString text = RenameResultText(plan, result);
        if (result.complete) {
            Dialogs().Message(this, text, QStringLiteral("Переименование"), MsgIcon::Information,
                              MsgButtons::Ok);
            return;
        }
        if (Dialogs().Message(this, text, QStringLiteral("Переименование"), MsgIcon::Warning,
                              MsgButtons::RetryClose) != MsgAnswer::Retry)
            return;
        unfinished = plan;
    }
}

void TForm1::ShowRenamed(const RenamePlan& plan, const RenameResult& result) {
    bool tableWritten = false;
    std::string infoPath = mInfoPath, questPath = mQuestPath;
    bool infoTouched = false, questTouched = false;
    const QList<LibrarySearchBox*> searchBoxes = findChildren<LibrarySearchBox*>();
    for (const RenameFileResult& done : result.files) {
        if (done.outcome != RenameOutcome::Done)
            continue;
        const RenameFile& file = plan.files[done.file];
        tableWritten = tableWritten || file.stage == RenameStage::Table;
        const std::string now = file.newPath.empty() ? file.path : file.newPath;
        if (!file.newPath.empty())
            for (LibrarySearchBox* box : searchBoxes)
                box->PathRenamed(file.path, file.newPath);
        if (file.path == mInfoPath) {
            infoPath = now;
            infoTouched = true;
        }
        if (file.path == mQuestPath) {
            questPath = now;
            questTouched = true;
        }
    }
    // Asked about before the rename wrote anything; a reload now asks nothing.
    if (infoTouched)
        mInfoTab->LoadInfo(infoPath);
    if (questTouched)
        mQuestTab->LoadQuest(questPath);
    if (tableWritten)
        MarkTableChanged();
}

void TForm1::Visited(const Place& place) {
    if (place.tab == Place::Tab::Dialogue)
        mInfoPath = place.target;
    else if (place.tab == Place::Tab::Quest)
        mQuestPath = place.target;
    if (!mMovingInHistory)
        mHistory.Visit(place);
    UpdateHistoryActions();
}

bool TForm1::ShowPlace(const Place& place) {
    // The tabs tell of their loads as of any other; this move is not a new place.
    mMovingInHistory = true;
    bool shown = false;
    RunGuarded(this, [this, &place, &shown] {
        switch (place.tab) {
        case Place::Tab::Dialogue:
            shown = OpenInTab(RecordKind::Dialogue, place.target);
            break;
        case Place::Tab::Quest:
            shown = OpenInTab(RecordKind::Quest, place.target);
            break;
        case Place::Tab::StringTable:
            shown = ShowStringEntry(place.target);
            break;
        }
    });
    mMovingInHistory = false;
    return shown;
}

void TForm1::GoBack() {
    if (mHistory.CanGoBack() && ShowPlace(mHistory.BackPlace()))
        mHistory.MovedBack();
    UpdateHistoryActions();
}

void TForm1::GoForward() {
    if (mHistory.CanGoForward() && ShowPlace(mHistory.ForwardPlace()))
        mHistory.MovedForward();
    UpdateHistoryActions();
}

void TForm1::UpdateHistoryActions() {
    if (!mBackAction)
        return;
    mBackAction->setEnabled(mHistory.CanGoBack());
    mForwardAction->setEnabled(mHistory.CanGoForward());
}

} // namespace pw
