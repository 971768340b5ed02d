#include "gui/quest_tab/QuestTab.h"

#include "core/data/StrUtilsEx.h"
#include "gui/common/Cp1251Text.h"
#include "gui/common/ErrorGuard.h"
#include "gui/common/FieldText.h"
#include "gui/common/RecordFiles.h"
#include "gui/common/TableStrings.h"
#include "gui/common/UserDialogs.h"
#include "gui/common/Workspace.h"
#include "gui/library/LibrarySearchBox.h"
#include "gui/text_pane/TextPane.h"
#include "gui/widgets/ExtCtrls2.h"
#include "gui/widgets/FieldGrid.h"
#include "gui/widgets/FormHistory.h"

#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include <stdexcept>

namespace pw {

namespace {

constexpr int kPanelHeight = 49;
const char* const kCaption = "Редактор квестов";

// One field of the grid: the control, its label and its tooltip; a combo box when combo is set.
struct GridField {
    const char* name;
    const char* label;
    const char* hint;
    bool combo = false;
};

// The first three rows of "Параметры", seven fields each; the fourth row holds the log text, the hint
// field and the two buttons.
const GridField kGridRows[3][kGridColumns] = {
    {{"QuestNameEd", "Название", "Название квеста"},
     {"QuestTypeCMB", "Тип", "", true},
     {"QuestFinishedQuestsEd", "Предыдущие квесты", "Предшествующие успешные квесты"},
     {"QuestExperiencePointsEd", "Очки опыта", ""},
     {"QuestPoliticalSuccessEd", "Политический бонус", ""},
     {"QuestPoliticalSuccessAmountEd", "Значение бонуса", ""},
     {"QuestEnclaveSuccessCMB", "Анклав репутации", "", true}},
    {{"QuestEnclaveSuccessAmountEd", "Очки репутации", ""},
     {"QuestJobSuccessEd", "JobSuccess", ""},
     {"QuestJobSuccessAmountEd", "JobSuccessAmount", ""},
     {"QuestFolderCMB", "Каталог", "", true},
     {"QuestDeliveryEntitiesEd", "Передаваемые единицы", ""},
     {"QuestDeliveryAmountsEd", "Количество", ""},
     {"QuestDeliveryCounterEd", "Уже передано", ""}},
    {{"QuestDestinationEntityEd", "Назначение", ""},
     {"QuestRunningTimeYearsEd", "Выполнять, лет", ""},
     {"QuestRunningTimeDaysEd", "Выполнять, дней", ""},
     {"QuestRunningTimeHoursEd", "Выполнять, часов", ""},
     {"QuestAttribSuccessEd", "Навык", ""},
     {"QuestAttribSuccessAmountEd", "Очки навыка", ""},
     {"QuestLogTopicEd", "Текст диалога", "Строка с заданием"}},
};

} // namespace

QuestTab::QuestTab(Workspace& workspace, QWidget* parent) : QWidget(parent), mWorkspace(workspace) {
    setObjectName(QStringLiteral("QuestTab"));
    setFont(EditorTabFont());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(BuildSearchPanel());
    layout->addWidget(BuildParamsGroup());
    layout->addWidget(BuildEditorGroup(), 1);
    BuildHistory();
    ShowModel(QuestEditorModel{});
    AttachJumpMenus();
    mHistory->Restart();
}

QWidget* QuestTab::BuildSearchPanel() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFixedHeight(kPanelHeight);
    auto* search =
        new LibrarySearchBox(panel, (kPanelHeight - kSearchBoxHeight) / 2, QStringLiteral("FindQuestCmb"),
                             QStringLiteral("SpeedButton2"), SearchMode::Quests, mWorkspace);
    connect(search, &LibrarySearchBox::FileChosen, this,
            [this](const std::string& path) { RunGuarded(window(), [this, &path] { OpenQuest(path); }); });
    return panel;
}

QWidget* QuestTab::BuildParamsGroup() {
    auto* group = new QGroupBox(QStringLiteral("Параметры"), this);
    group->setObjectName(QStringLiteral("GroupBox3"));
    group->setFixedHeight(FieldGridHeight(4));
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < kGridColumns; ++column) {
            const GridField& f = kGridRows[row][column];
            QWidget* field = f.combo ? static_cast<QWidget*>(AddGridCombo(
                                           group, f.name, QString::fromUtf8(f.label), column, row))
                                     : AddGridEdit(group, f.name, QString::fromUtf8(f.label),
                                                   QString::fromUtf8(f.hint), column, row);
            mTextFields[f.name] = field;
        }
    QuestLogTextEd = AddGridEdit(group, "QuestLogTextEd", QStringLiteral("Текст заметки"),
                                 QStringLiteral("Строка с заданием"), 0, 3);
    mTextFields["QuestLogTextEd"] = QuestLogTextEd;
    QuestStrViewEd = AddGridEdit(group, "QuestStrViewEd", QStringLiteral("Подсказка"), QString(), 1, 3);
    QuestStrViewEd->setGeometry(FieldRect(1, 3, 4));
    MarkHintLabel(QuestStrViewEd);
    WriteInfoTableBtn = AddGridButton(group, "WriteInfoTableBtn", QStringLiteral(">>>"), 5, 3);
    WriteInfoTableBtn->setToolTip(QStringLiteral("Записать значение в таблицу строк"));
    Button1 = AddGridButton(group, "Button1", QStringLiteral("Компилировать"), 6, 3);

    QuestTypeCMB = group->findChild<TLabeledComboBox*>(QStringLiteral("QuestTypeCMB"));
    QuestEnclaveSuccessCMB = group->findChild<TLabeledComboBox*>(QStringLiteral("QuestEnclaveSuccessCMB"));
    QuestFolderCMB = group->findChild<TLabeledComboBox*>(QStringLiteral("QuestFolderCMB"));
    QuestLogTopicEd = group->findChild<QLineEdit*>(QStringLiteral("QuestLogTopicEd"));
    mTextFields.erase("QuestTypeCMB"); // its value is the chosen position, not a text
    QuestTypeCMB->addItems(ComboEntries(QuestTypes()));
    QuestEnclaveSuccessCMB->addItems(ComboEntries(Enclaves()));
    QuestFolderCMB->addItems(ComboEntries(QuestFolders()));

    QuestLogTopicEd->installEventFilter(this);
    QuestLogTextEd->installEventFilter(this);
    connect(WriteInfoTableBtn, &QPushButton::clicked, this,
            [this] { RunGuarded(window(), [this] { WriteInfoTableBtnClick(); }); });
    connect(Button1, &QPushButton::clicked, this, &QuestTab::Button1Click);
    return group;
}

QWidget* QuestTab::BuildEditorGroup() {
    auto* group = new QGroupBox(QStringLiteral("Редактор"), this);
    group->setObjectName(QStringLiteral("GroupBox4"));
    auto* layout = new QVBoxLayout(group);
    layout->setContentsMargins(2, 4, 2, 2);
    SynQuestMem = new TextPane(group);
    SynQuestMem->setObjectName(QStringLiteral("SynQuestMem"));
    SynQuestMem->setReadOnly(true);
    SynQuestMem->ColourAsIni();
    SynQuestMem->installEventFilter(this);
    layout->addWidget(SynQuestMem);
    return group;
}

void QuestTab::BuildHistory() {
    // Every control that goes into the file; the hint field and the pane are the program's.
    mHistory = new FormHistory(this);
    for (const auto& [name, field] : mTextFields)
        if (auto* box = qobject_cast<QComboBox*>(field))
            mHistory->Watch(box);
        else
            mHistory->Watch(static_cast<QLineEdit*>(field));
    mHistory->Watch(QuestTypeCMB);
    mHistory->ShareKeys(QuestStrViewEd);
    mHistory->ShareKeys(findChild<QWidget*>(QStringLiteral("FindQuestCmb")));
}

QuestEditorModel QuestTab::ReadModel(FieldsForWriting& fields) const {
    QuestEditorModel model;
    for (const QuestTextControl& control : QuestTextControls()) {
        QWidget* field = mTextFields.at(control.name);
        if (auto* box = qobject_cast<QComboBox*>(field))
            model.*control.text = fields.Text(box);
        else
            model.*control.text = fields.Text(static_cast<QLineEdit*>(field));
    }
    model.QuestTypeCMB = SelectedPosition(QuestTypeCMB);
    return model;
}

void QuestTab::ShowModel(const QuestEditorModel& model) {
    for (const QuestTextControl& control : QuestTextControls()) {
        QWidget* field = mTextFields.at(control.name);
        if (auto* box = qobject_cast<QComboBox*>(field))
            SetComboText(box, model.*control.text);
        else
            SetEditText(static_cast<QLineEdit*>(field), model.*control.text);
    }
    SetComboPosition(QuestTypeCMB, model.QuestTypeCMB);
}

bool QuestTab::LoadQuest(const std::string& path) {
    // The record is read completely before any control changes, so a refused load leaves the tab as it
    // was.
    TQuest quest;
    if (!ReadRecordForEditor(window(), path, quest))
        return false;
    ShowModel(LoadQuestModel(quest));
    QuestStrViewEd->clear(); // it showed a line of the quest shown before
    mHistory->Restart();
    try {
        SynQuestMem->LoadFromFile(path);
    } catch (const std::exception&) {
        SynQuestMem->clear();
        ShowCannotOpenFile(window(), path);
    }
    emit QuestLoaded(path);
    return true;
}

bool QuestTab::IsChanged() const {
    return mHistory->IsChanged();
}

bool QuestTab::MayReplaceForm() {
    if (!IsChanged())
        return true;
    const auto* name = static_cast<const QLineEdit*>(mTextFields.at("QuestNameEd"));
    const QString question =
        QStringLiteral("Квест «%1» изменён и не скомпилирован. Отказаться от изменений?").arg(name->text());
    return Dialogs().Message(window(), question, QStringLiteral("Внимание"), MsgIcon::Question,
                             MsgButtons::YesNoDefaultNo) == MsgAnswer::Yes;
}

bool QuestTab::OpenQuest(const std::string& path) {
    return MayReplaceForm() && LoadQuest(path);
}

void QuestTab::CompileQuest() {
    const QuestCompileSettings settings{mWorkspace.configs->TmpFiles, mWorkspace.programDir,
                                        mWorkspace.configs->QuestsPath};
    FieldsForWriting fields;
    const QuestEditorModel model = ReadModel(fields);
    if (fields.Unwritable()) {
        Dialogs().Message(window(),
                          UnwritableMessage(*fields.Unwritable(), QStringLiteral("Квест не скомпилирован")),
                          QString::fromUtf8(kCaption), MsgIcon::None, MsgButtons::Ok);
        return;
    }
    const QuestCompileOutcome outcome = pw::CompileQuest(model, settings);
    if (outcome.GeneralError())
        throw std::runtime_error(outcome.message);
    if (outcome.Failed()) {
        Dialogs().Message(window(), QString::fromUtf8(outcome.message), QString::fromUtf8(kCaption),
                          MsgIcon::None, MsgButtons::Ok);
        return;
    }
    emit RecordWritten(outcome.path);
    mHistory->MarkSaved();
    SynQuestMem->LoadFromFile(outcome.path);
}

void QuestTab::ShowQuestByName(const std::string& name) {
    if (const std::optional<std::string> path = FindQuestByName(mWorkspace.questFiles, name))
        SynQuestMem->LoadFromFile(*path);
}

bool QuestTab::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((watched == QuestLogTopicEd || watched == QuestLogTextEd) && type == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        const std::string id = TextOf(static_cast<QLineEdit*>(watched));
        RunGuarded(window(), [this, &id] { LookupTableString(mWorkspace, id, QuestStrViewEd); });
    }
    if (watched == SynQuestMem && type == QEvent::KeyPress)
        return SynQuestMemKeyPress(*static_cast<QKeyEvent*>(event));
    return QWidget::eventFilter(watched, event);
}

bool QuestTab::SynQuestMemKeyPress(const QKeyEvent& event) {
    if (event.key() != Qt::Key_S || !(event.modifiers() & Qt::ControlModifier))
        return false;
    Dialogs().Message(window(), QStringLiteral("Используйте кнопку \"Компилировать\"!"),
                      QString::fromUtf8(kCaption), MsgIcon::Information, MsgButtons::Ok);
    return true;
}

void QuestTab::AttachJumpMenus() {
    auto go = [this](const Jump& jump) { emit JumpRequested(jump); };
    auto* name = static_cast<QLineEdit*>(mTextFields.at("QuestNameEd"));
    AttachJumps(name, [name](int) { return WhereUsedJumps(TextOf(name), Jump::Thing::Quest); }, go);
    for (QLineEdit* id : {QuestLogTopicEd, QuestLogTextEd})
        AttachJumps(id, [id](int) { return StringJumps(TextOf(id)); }, go);
    // FinishedQuests names several quests: the one under the mouse pointer.
    auto* finished = static_cast<QLineEdit*>(mTextFields.at("QuestFinishedQuestsEd"));
    AttachJumps(
        finished,
        [finished](int position) {
            const std::string text = TextOf(finished);
            const std::size_t at = std::min(static_cast<std::size_t>(std::max(position, 0)), text.size());
            std::size_t start = 0;
            if (const std::size_t separator = at > 0 ? text.find_last_of(";,", at - 1) : std::string::npos;
                separator != std::string::npos)
                start = separator + 1;
            const std::size_t end = std::min(text.find_first_of(";,", at), text.size());
            return QuestJumps(Trim(std::string_view(text).substr(start, end - start)));
        },
        go);
}

void QuestTab::Button1Click() {
    RunGuarded(window(), [this] { CompileQuest(); });
}

void QuestTab::WriteInfoTableBtnClick() {
    // Always under the log topic's ID, also when the hint came from the log text; the text as it stands.
    if (AskAndAddTableString(window(), mWorkspace, QuestLogTopicEd->text(), QuestStrViewEd->text(),
                             TextEnds::AsTyped))
        emit TableStringAdded();
}

} // namespace pw
