#include "app/MainForm.h"

#include "app/ConfigsForm.h"
#include "app/DroppedFiles.h"
#include "app/TabIcons.h"
#include "data/FileIO.h"
#include "data/Library.h"
#include "info_editor/InfoTab.h"
#include "quest_editor/QuestTab.h"
#include "text_pane/TextPane.h"
#include "ui_common/Cp1251Text.h"
#include "ui_common/ErrorGuard.h"
#include "ui_common/TableStrings.h"
#include "ui_common/UserDialogs.h"
#include "ui_common/Workspace.h"

#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace pw {

namespace {

constexpr int kClientWidth = 927;
constexpr int kClientHeight = 924;
const char* const kTableChangedHint = "В таблицу строк были внесены изменения";

} // namespace

TForm1::TForm1(Workspace& workspace, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint),
      mWorkspace(workspace), PgCtrlImages(MakeTabImages()) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Gothic lll Plotwright"));
    BuildMenu();
    BuildFrame();
    FormCreate();
}

QWidget* TForm1::AddPage(const QString& name, const QString& caption, int image) {
    auto* page = new QWidget;
    page->setObjectName(name);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    PgCtrl->addTab(page, PgCtrlImages.at(image), caption);
    return page;
}

void TForm1::BuildFrame() {
    PgCtrl = new QTabWidget;
    PgCtrl->setObjectName(QStringLiteral("PgCtrl"));
    setCentralWidget(PgCtrl);
    tbInfo = AddPage(QStringLiteral("tbInfo"), QStringLiteral("Диалоги"), kDialogueImage);
    tbQuest = AddPage(QStringLiteral("tbQuest"), QStringLiteral("Квесты"), kQuestImage);
    TabSheet1 = AddPage(QStringLiteral("TabSheet1"), QStringLiteral("Редактор строк"), kTextPageImage);
    SynMemText = new TextPane;
    SynMemText->setObjectName(QStringLiteral("SynMemText"));
    TabSheet1->layout()->addWidget(SynMemText);
    mInfoTab = new InfoTab(mWorkspace, this);
    tbInfo->layout()->addWidget(mInfoTab);
    mQuestTab = new QuestTab(mWorkspace, this);
    tbQuest->layout()->addWidget(mQuestTab);
    connect(mQuestTab, &QuestTab::TableStringAdded, this, &TForm1::MarkTableChanged);
    connect(mInfoTab, &InfoTab::TableStringAdded, this, &TForm1::MarkTableChanged);
    connect(mInfoTab, &InfoTab::QuestEdDblClick, this,
            [this](const std::string& name) { RunGuarded(this, [this, &name] { ShowQuestByName(name); }); });
    connect(PgCtrl, &QTabWidget::currentChanged, this, &TForm1::PgCtrlChange);

    auto* statusBar = new QStatusBar;
    statusBar->setObjectName(QStringLiteral("SB"));
    statusBar->setSizeGripEnabled(false); // the window has a fixed size
    setStatusBar(statusBar);

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
    // The items' actions are wired by the parts that own them (edit mode, About, exit).
    file->addAction(QStringLiteral("Режим редактирования"))->setObjectName(QStringLiteral("N10"));
    file->addSeparator()->setObjectName(QStringLiteral("N18"));
    file->addAction(QStringLiteral("О программе"))->setObjectName(QStringLiteral("N17"));
    file->addAction(QStringLiteral("Выход"))->setObjectName(QStringLiteral("N2"));
    QAction* settings = bar->addAction(QStringLiteral("Настройки"));
    settings->setObjectName(QStringLiteral("N3"));
    connect(settings, &QAction::triggered, this, &TForm1::N3Click);
}

void TForm1::FormCreate() {
    setAcceptDrops(true);
    new FileDropCatcher(this, [this](const QStringList& files) { OpenDroppedFile(files); });
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
    RunGuarded(this, [this, &configs] { SynMemText->LoadFromFile(configs.StringTablePath); });
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
        RunGuarded(this, [this, &path] { LoadInfo(path); });
        break;
    case DroppedFileKind::Quest:
        RunGuarded(this, [this, &path] { LoadQuest(path); });
        break;
    case DroppedFileKind::Unsupported:
        Dialogs().Message(this, QStringLiteral("Поддерживаются только файлы форматов *.QUEST и *.INFO"),
                          QStringLiteral("Gothic III Plotwright"), MsgIcon::None, MsgButtons::Ok);
        break;
    }
}

void TForm1::N3Click() {
    if (mWorkspace.configsForm)
        Dialogs().RunModal(mWorkspace.configsForm);
}

void TForm1::MarkTableChanged() {
    PgCtrl->setTabToolTip(PgCtrl->indexOf(TabSheet1), QString::fromUtf8(kTableChangedHint));
    InfoTm->start();
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
}

void TForm1::SetTableTabImage(int image) {
    mTableTabImage = image;
    PgCtrl->setTabIcon(PgCtrl->indexOf(TabSheet1), PgCtrlImages.at(image));
}

} // namespace pw
