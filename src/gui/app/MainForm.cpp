#include "gui/app/MainForm.h"

#include "core/data/FileIO.h"
#include "core/data/Library.h"
#include "gui/app/ConfigsForm.h"
#include "gui/app/DroppedFiles.h"
#include "gui/app/TabIcons.h"
#include "gui/app/TrayIcon.h"
#include "gui/common/BackgroundWork.h"
#include "gui/common/Cp1251Text.h"
#include "gui/common/ErrorGuard.h"
#include "gui/common/TableStrings.h"
#include "gui/common/UserDialogs.h"
#include "gui/common/Workspace.h"
#include "gui/dialogue_tab/InfoTab.h"
#include "gui/library/LibraryBrowser.h"
#include "gui/library/LibraryIndexService.h"
#include "gui/quest_tab/QuestTab.h"
#include "gui/screenshot/ScreenShot.h"
#include "gui/string_editor/StringEditorTab.h"
#include "gui/widgets/FormHistory.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QUndoStack>
#include <QVBoxLayout>

namespace pw {

namespace {

constexpr int kClientWidth = 927;
constexpr int kClientHeight = 924;
const char* const kTableChangedHint = "В таблицу строк были внесены изменения";
const char* const kProgramCaption = "Gothic lll Plotwright";
const char* const kUnsupportedFile = "Поддерживаются только файлы форматов *.QUEST и *.INFO";
const char* const kUnsupportedCaption = "Gothic III Plotwright";

} // namespace

TForm1::TForm1(Workspace& workspace, WindowRole role)
    : QMainWindow(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                               Qt::WindowCloseButtonHint),
      mWorkspace(workspace), mRole(role), PgCtrlImages(MakeTabImages()) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(kProgramCaption));
    setWindowIcon(MakeProgramIcon());
    BuildMenu();
    BuildFrame();
    ScreenShot1 = new TScreenShot(this);
    ScreenShot1->setObjectName(QStringLiteral("ScreenShot1"));
    ScreenShot1->SetClientOnly(false);
    FormCreate();
    if (mRole == WindowRole::Main)
        new TrayIcon(
            this, windowIcon(), [this] { ShowAbout(); }, [this] { ConfirmExit(); });
    else
        EnterEditMode();
}

TForm1::~TForm1() = default;

QWidget* TForm1::AddPage(const QString& name, const QString& caption, int image) {
    auto* page = new QWidget;
    page->setObjectName(name);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    PgCtrl->addTab(page, PgCtrlImages.at(image), caption);
    return page;
}

void TForm1::BuildFrame() {
    auto* statusBar = new QStatusBar;
    statusBar->setObjectName(QStringLiteral("SB"));
    statusBar->setSizeGripEnabled(false); // the window has a fixed size
    setStatusBar(statusBar);

    PgCtrl = new QTabWidget;
    PgCtrl->setObjectName(QStringLiteral("PgCtrl"));
    setCentralWidget(PgCtrl);
    tbInfo = AddPage(QStringLiteral("tbInfo"), QStringLiteral("Диалоги"), kDialogueImage);
    tbQuest = AddPage(QStringLiteral("tbQuest"), QStringLiteral("Квесты"), kQuestImage);
    TabSheet1 = AddPage(QStringLiteral("TabSheet1"), QStringLiteral("Редактор строк"), kTextPageImage);
    mStringEditor = new StringEditorTab(mWorkspace, statusBar, this);
    TabSheet1->layout()->addWidget(mStringEditor);
    addActions(mStringEditor->WindowActions()); // their shortcuts act from every tab
    mInfoTab = new InfoTab(mWorkspace, this);
    tbInfo->layout()->addWidget(mInfoTab);
    mQuestTab = new QuestTab(mWorkspace, this);
    tbQuest->layout()->addWidget(mQuestTab);
    mInfoTab->ShareSynInfoMemPop(mQuestTab->QuestPane()); // one menu for both file panes
    connect(mQuestTab, &QuestTab::TableStringAdded, this, &TForm1::MarkTableChanged);
    connect(mInfoTab, &InfoTab::TableStringAdded, this, &TForm1::MarkTableChanged);
    connect(mInfoTab, &InfoTab::StatusHelp, this, &TForm1::ShowCommandHelp);
    connect(mStringEditor, &StringEditorTab::TableSaved, this, &TForm1::RebuildLibraryIndex);
    connect(mInfoTab, &InfoTab::QuestEdDblClick, this,
            [this](const std::string& name) { RunGuarded(this, [this, &name] { ShowQuestByName(name); }); });
    connect(PgCtrl, &QTabWidget::currentChanged, this, &TForm1::PgCtrlChange);
    connect(mInfoTab, &InfoTab::InfoLoaded, this,
            [this](const std::string& path) { Visited({Place::Tab::Dialogue, path}); });
    connect(mQuestTab, &QuestTab::QuestLoaded, this,
            [this](const std::string& path) { Visited({Place::Tab::Quest, path}); });
    // A file the program wrote may have changed a name the index holds.
    auto rebuildIndex = [this] {
        if (mWorkspace.libraryIndex)
            mWorkspace.libraryIndex->Rebuild();
    };
    connect(mInfoTab, &InfoTab::RecordWritten, this, rebuildIndex);
    connect(mQuestTab, &QuestTab::RecordWritten, this, rebuildIndex);
    connect(mInfoTab, &InfoTab::JumpRequested, this, &TForm1::FollowJump);
    connect(mQuestTab, &QuestTab::JumpRequested, this, &TForm1::FollowJump);
    FollowFormHistories();

    InfoTm = new QTimer(this);
    InfoTm->setObjectName(QStringLiteral("InfoTm"));
    InfoTm->setInterval(500);
    connect(InfoTm, &QTimer::timeout, this, &TForm1::InfoTmTimer);

    // The client area is that of a window whose menu bar belongs to the frame, as on the desktop the
    // program comes from; so the menu bar's height is added on top.
    const int menuHeight = menuBar()->isNativeMenuBar() ? 0 : menuBar()->sizeHint().height();
    setFixedSize(kClientWidth, kClientHeight + menuHeight);
    move(screen()->availableGeometry().center() - rect().center());
}

void TForm1::BuildMenu() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    QMenu* file = bar->addMenu(QStringLiteral("Файл"));
    file->setObjectName(QStringLiteral("N1"));
    QAction* editMode = file->addAction(QStringLiteral("Режим редактирования"));
    editMode->setObjectName(QStringLiteral("N10"));
    connect(editMode, &QAction::triggered, this, &TForm1::OpenEditModeWindow);
    file->addSeparator()->setObjectName(QStringLiteral("N18"));
    QAction* about = file->addAction(QStringLiteral("О программе"));
    about->setObjectName(QStringLiteral("N17"));
    connect(about, &QAction::triggered, this, &TForm1::ShowAbout);
    QAction* exit = file->addAction(QStringLiteral("Выход"));
    exit->setObjectName(QStringLiteral("N2"));
    connect(exit, &QAction::triggered, this, &TForm1::ConfirmExit);
    QAction* settings = bar->addAction(QStringLiteral("Настройки"));
    settings->setObjectName(QStringLiteral("N3"));
    connect(settings, &QAction::triggered, this, &TForm1::N3Click);
    BuildEditMenu(bar);
    BuildViewMenu();
}

void TForm1::BuildEditMenu(QMenuBar* bar) {
    QMenu* edit = bar->addMenu(QStringLiteral("Правка"));
    edit->setObjectName(QStringLiteral("EditMenu"));
    UndoItem = edit->addAction(QStringLiteral("Отменить"));
    UndoItem->setObjectName(QStringLiteral("UndoItem"));
    RedoItem = edit->addAction(QStringLiteral("Повторить"));
    RedoItem->setObjectName(QStringLiteral("RedoItem"));
    // The keys belong to each form, which answers them from its focused control; here they are only
    // shown (a widget shortcut of the menu bar, which never holds the focus while they are pressed).
    UndoItem->setShortcuts(FormHistory::UndoKeys());
    RedoItem->setShortcuts(FormHistory::RedoKeys());
    for (QAction* item : {UndoItem, RedoItem})
        item->setShortcutContext(Qt::WidgetShortcut);
    connect(UndoItem, &QAction::triggered, this, [this] {
        if (FormHistory* history = CurrentHistory())
            history->Undo();
    });
    connect(RedoItem, &QAction::triggered, this, [this] {
        if (FormHistory* history = CurrentHistory())
            history->Redo();
    });
}

void TForm1::FollowFormHistories() {
    for (const FormHistory* history : {mInfoTab->History(), mQuestTab->History()}) {
        connect(history->Steps(), &QUndoStack::canUndoChanged, this, &TForm1::UpdateEditMenu);
        connect(history->Steps(), &QUndoStack::canRedoChanged, this, &TForm1::UpdateEditMenu);
    }
    connect(PgCtrl, &QTabWidget::currentChanged, this, &TForm1::UpdateEditMenu);
    UpdateEditMenu();
}

FormHistory* TForm1::CurrentHistory() const {
    const QWidget* page = PgCtrl->currentWidget();
    if (page == tbInfo)
        return mInfoTab->History();
    if (page == tbQuest)
        return mQuestTab->History();
    return nullptr;
}

void TForm1::UpdateEditMenu() {
    const FormHistory* history = CurrentHistory();
    UndoItem->setEnabled(history && history->Steps()->canUndo());
    RedoItem->setEnabled(history && history->Steps()->canRedo());
}

void TForm1::FormCreate() {
    setAcceptDrops(true);
    new FileDropCatcher(this, [this](const QStringList& files) { OpenDroppedFile(files); });
    OpenLibrary();
}

void TForm1::OpenLibrary() {
    TConfigs& configs = *mWorkspace.configs;
    if (configs.PathsMissing) {
        Dialogs().Message(this, QStringLiteral("Please, check settings and restart application."),
                          QStringLiteral("Path not defined"), MsgIcon::Warning, MsgButtons::Ok);
        return;
    }
    mWorkspace.stringTable = std::make_shared<TStringTable>(configs.StringTablePath);
    mWorkspace.questFiles.clear();
    mWorkspace.infoFiles.clear();
    if (DirectoryExists(configs.QuestsPath))
        ScanLibraryFolder(configs.QuestsPath, mWorkspace.questFiles);
    if (DirectoryExists(configs.InfosPath))
        ScanLibraryFolder(configs.InfosPath, mWorkspace.infoFiles);
    mWorkspace.libraryReady = true;
    if (!mWorkspace.libraryIndex)
        mWorkspace.libraryIndex = std::make_shared<LibraryIndexService>();
    // What was typed while the index was being built is offered its names once it is.
    connect(mWorkspace.libraryIndex.get(), &LibraryIndexService::Rebuilt, mInfoTab, &InfoTab::OfferNamesAgain,
            Qt::UniqueConnection);
    mWorkspace.libraryIndex->Open({configs.InfosPath, configs.QuestsPath}, configs.StringTablePath);
    RunGuarded(this, [this, &configs] { mStringEditor->StartLoading(configs.StringTablePath); });
}

void TForm1::SettingsSaved(QWidget* settingsDialog) {
    TConfigs& configs = *mWorkspace.configs;
    if (mWorkspace.libraryReady || configs.AnyPathEmpty())
        return;
    if (Dialogs().Message(settingsDialog, QStringLiteral("Открыть библиотеку сейчас?"),
                          QStringLiteral("Настройки"), MsgIcon::Question,
                          MsgButtons::YesNo) != MsgAnswer::Yes)
        return;
    // Read back as a new start reads them, so that an edit-mode window opened later finds them complete.
    configs.Load();
    OpenLibrary();
}

void TForm1::LoadInfo(const std::string& path) {
    mInfoTab->LoadInfo(path);
}

void TForm1::LoadQuest(const std::string& path) {
    mQuestTab->LoadQuest(path);
}

void TForm1::ShowQuestByName(const std::string& name) {
    mQuestTab->ShowQuestByName(name);
}

void TForm1::LookupTableString(const std::string& id, QLineEdit* target) {
    pw::LookupTableString(mWorkspace, id, target);
}

void TForm1::AddTableString(const std::string& id, const std::string& text) {
    if (pw::AddTableString(this, mWorkspace, id, text))
        MarkTableChanged();
}

void TForm1::OpenDroppedFile(const QStringList& files) {
    if (files.isEmpty())
        return;
    const std::string path = ToNativePath(files.first());
    switch (DroppedFileKindOf(path)) {
    case DroppedFileKind::Info:
        RunGuarded(this, [this, &path] { mInfoTab->OpenInfo(path); });
        break;
    case DroppedFileKind::Quest:
        RunGuarded(this, [this, &path] { mQuestTab->OpenQuest(path); });
        break;
    case DroppedFileKind::Unsupported:
        Dialogs().Message(this, QString::fromUtf8(kUnsupportedFile), QString::fromUtf8(kUnsupportedCaption),
                          MsgIcon::None, MsgButtons::Ok);
        break;
    }
}

void TForm1::OpenFiles(const QStringList& files) {
    QWidget* lastPage = nullptr;
    QStringList unsupported;
    for (const QString& file : files) {
        const std::string path = ToNativePath(file);
        if (IsStringTableFile(path)) {
            ShowGivenStringTable(file);
            lastPage = TabSheet1;
            continue;
        }
        bool opened = false; // "Нет" to the question about a changed form opens nothing
        switch (DroppedFileKindOf(path)) {
        case DroppedFileKind::Info:
            RunGuarded(this, [this, &path, &opened] { opened = mInfoTab->OpenInfo(path); });
            lastPage = opened ? tbInfo : lastPage;
            break;
        case DroppedFileKind::Quest:
            RunGuarded(this, [this, &path, &opened] { opened = mQuestTab->OpenQuest(path); });
            lastPage = opened ? tbQuest : lastPage;
            break;
        case DroppedFileKind::Unsupported:
            unsupported << QDir::toNativeSeparators(file);
            break;
        }
    }
    if (lastPage)
        PgCtrl->setCurrentWidget(lastPage);
    if (!unsupported.isEmpty())
        Dialogs().Message(
            this, QString::fromUtf8(kUnsupportedFile) + QStringLiteral("\n\n") + unsupported.join('\n'),
            QString::fromUtf8(kUnsupportedCaption), MsgIcon::None, MsgButtons::Ok);
}

void TForm1::TakeHandedFiles(const QStringList& files) {
    showNormal();
    raise();
    activateWindow();
    OpenFiles(files);
}

void TForm1::ShowGivenStringTable(const QString& file) {
    PgCtrl->setCurrentWidget(TabSheet1);
    const QString table =
        mWorkspace.libraryReady ? FromNativePath(mWorkspace.configs->StringTablePath) : QString();
    const QString shown = QFileInfo(table).canonicalFilePath();
    if (!shown.isEmpty() && shown == QFileInfo(file).canonicalFilePath())
        return;
    Dialogs().Message(
        this,
        QStringLiteral("Редактор строк открывает таблицу строк, выбранную в настройках:\n%1\n\n"
                       "Чтобы править %2, выберите её в настройках.")
            .arg(table.isEmpty() ? QStringLiteral("(не выбрана)") : QDir::toNativeSeparators(table),
                 QDir::toNativeSeparators(file)),
        QString::fromUtf8(kProgramCaption), MsgIcon::Information, MsgButtons::Ok);
}

void TForm1::N3Click() {
    if (mWorkspace.configsForm)
        Dialogs().RunModal(mWorkspace.configsForm);
}

void TForm1::OpenEditModeWindow() {
    if (mEditModeWindow && mEditModeWindow->isHidden()) {
        // Closed before, so only hidden: it comes back as it was left.
        mEditModeWindow->show();
        mEditModeWindow->raise();
        mEditModeWindow->activateWindow();
        return;
    }
    if (EditorWindows().size() >= 2) {
        Dialogs().Message(this, QStringLiteral("Нельзя открыть более двух экземпляров редактора"),
                          QString::fromUtf8(kProgramCaption), MsgIcon::Information, MsgButtons::Ok);
        return;
    }
    // Its creation rescans the library and reopens the string table, for both windows.
    mEditModeWindow = std::make_unique<TForm1>(mWorkspace, WindowRole::EditMode);
    mEditModeWindow->show();
}

void TForm1::EnterEditMode() {
    QPalette darker = palette();
    darker.setColor(QPalette::Window, darker.color(QPalette::Dark));
    setPalette(darker);
    setWindowTitle(QStringLiteral("[Режим редактирования]"));
}

void TForm1::ConfirmExit() {
    const std::vector<TForm1*> windows = EditorWindows();
    if (!MayDropChangedForms(windows) || !MayStopWork(windows))
        return;
    if (Dialogs().Message(this, QStringLiteral("Завершить работу в приложении?"),
                          QString::fromUtf8(kProgramCaption), MsgIcon::Question,
                          MsgButtons::YesNo) != MsgAnswer::Yes)
        return;
    for (TForm1* window : windows)
        window->mExitConfirmed = true; // the close of the first window asks nothing again
    QApplication::closeAllWindows();
    QCoreApplication::quit(); // also when the first window is in the tray, where no close reaches it
}

void TForm1::ShowAbout() {
    if (!mWorkspace.aboutBox)
        return;
    // A window kept in the tray stays there.
    const bool wasVisible = isVisible();
    hide();
    Dialogs().RunModal(mWorkspace.aboutBox);
    if (wasVisible)
        show();
}

std::vector<TForm1*> TForm1::EditorWindows() {
    std::vector<TForm1*> windows;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* editor = qobject_cast<TForm1*>(window))
            windows.insert(editor->mRole == WindowRole::Main ? windows.begin() : windows.end(), editor);
    return windows;
}

bool TForm1::MayDropChangedForms(const std::vector<TForm1*>& windows) {
    for (TForm1* window : windows)
        if (!window->mInfoTab->MayReplaceForm() || !window->mQuestTab->MayReplaceForm())
            return false;
    return true;
}

namespace {

// The background work running in windows and in their dialogs and windows; the work the user asked for
// only, when asked is set.
std::vector<BackgroundWork*> RunningWork(const std::vector<TForm1*>& windows, bool asked = false) {
    std::vector<BackgroundWork*> running;
    for (TForm1* window : windows)
        for (BackgroundWork* work : window->findChildren<BackgroundWork*>())
            if (work->Running() && !(asked && work->Quiet()))
                running.push_back(work);
    return running;
}

} // namespace

bool TForm1::MayStopWork(const std::vector<TForm1*>& windows) {
    // What runs unasked (a read ahead) is stopped as the windows close.
    const std::vector<BackgroundWork*> running = RunningWork(windows, true);
    if (running.empty())
        return true;
    if (Dialogs().Message(
            windows.front(),
            QStringLiteral("Ещё идёт работа в фоне. Остановить её и выйти? Файлы, которые она не "
                           "успела записать, останутся как были."),
            QString::fromUtf8(kProgramCaption), MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::Yes)
        return false;
    for (BackgroundWork* work : running)
        work->Cancel();
    WaitForWork();
    return true;
}

void TForm1::WaitForWork() {
    for (std::vector<BackgroundWork*> running = RunningWork(EditorWindows()); !running.empty();
         running = RunningWork(EditorWindows()))
        running.front()->Wait();
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (mRole == WindowRole::Main) {
        if (!mExitConfirmed && (!MayDropChangedForms(EditorWindows()) || !MayStopWork(EditorWindows()))) {
            event->ignore();
            return;
        }
        QCoreApplication::quit();
    }
    // The browser opens what it shows in this window, so it goes with it.
    if (mBrowser)
        mBrowser->close();
    QMainWindow::closeEvent(event);
}

void TForm1::MarkTableChanged() {
    PgCtrl->setTabToolTip(PgCtrl->indexOf(TabSheet1), QString::fromUtf8(kTableChangedHint));
    InfoTm->start();
    RebuildLibraryIndex();
}

void TForm1::RebuildLibraryIndex() {
    if (mWorkspace.libraryIndex)
        mWorkspace.libraryIndex->Rebuild();
}

void TForm1::ClearTableChanged() {
    PgCtrl->setTabToolTip(PgCtrl->indexOf(TabSheet1), QString());
    InfoTm->stop();
    SetTableTabImage(kTextPageImage);
}

void TForm1::InfoTmTimer() {
    SetTableTabImage(mTableTabImage == kTextPageImage ? kChangedPageImage : kTextPageImage);
}

void TForm1::PgCtrlChange(int index) {
    if (PgCtrl->widget(index) == TabSheet1)
        ClearTableChanged();
    ShowHelpOfPage();
}

void TForm1::ShowCommandHelp(const QString& help) {
    mCommandHelp = help;
    ShowHelpOfPage();
}

void TForm1::ShowHelpOfPage() {
    QStatusBar* bar = statusBar();
    const QString help = PgCtrl->currentWidget() == tbInfo ? mCommandHelp : QString();
    if (!help.isEmpty())
        bar->showMessage(help);
    else if (!mShownHelp.isEmpty() && bar->currentMessage() == mShownHelp)
        bar->clearMessage(); // another message (the string editor's) stays
    mShownHelp = help;
}

void TForm1::SetTableTabImage(int image) {
    mTableTabImage = image;
    PgCtrl->setTabIcon(PgCtrl->indexOf(TabSheet1), PgCtrlImages.at(image));
}

} // namespace pw
