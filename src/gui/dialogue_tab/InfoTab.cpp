#include "gui/dialogue_tab/InfoTab.h"

#include "core/data/StrUtilsEx.h"
#include "core/dialogue/InfoScript.h"
#include "core/dialogue/Vocabularies.h"
#include "gui/common/Cp1251Text.h"
#include "gui/common/ErrorGuard.h"
#include "gui/common/FieldText.h"
#include "gui/common/RecordFiles.h"
#include "gui/common/TableStrings.h"
#include "gui/common/UserDialogs.h"
#include "gui/common/Workspace.h"
#include "gui/dialogue_tab/CommandListEditor.h"
#include "gui/dialogue_tab/CommandRowHints.h"
#include "gui/dialogue_tab/ConditionListPop.h"
#include "gui/dialogue_tab/ConversationImportDialog.h"
#include "gui/dialogue_tab/ReportLists.h"
#include "gui/library/LibraryIndexService.h"
#include "gui/library/LibrarySearchBox.h"
#include "gui/library/NameCompleter.h"
#include "gui/text_pane/TextPane.h"
#include "gui/widgets/EditableListView.h"
#include "gui/widgets/ExtCtrls2.h"
#include "gui/widgets/FieldGrid.h"
#include "gui/widgets/FormHistory.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QHelpEvent>
#include <QPushButton>
#include <QToolTip>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

namespace pw {

namespace {

constexpr int kConditionStripHeight = 74;
constexpr int kCommandListHeight = 207;

} // namespace

InfoTab::InfoTab(Workspace& workspace, QWidget* parent) : QWidget(parent), mWorkspace(workspace) {
    setObjectName(QStringLiteral("InfoTab"));
    setFont(EditorTabFont());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(BuildSearchPanel());
    layout->addWidget(BuildParamsGroup());
    layout->addWidget(BuildListsGroup(), 1);
    BuildHistory();
    AttachCompletion();
    ShowModel(InfoEditorModel{});
    AttachJumpMenus();
    mHistory->Restart();
}

InfoTab::~InfoTab() {
    // The grid's model tells of its end while the grid is destroyed; the hints must not pass that on to
    // a window that is being destroyed too.
    delete mCommandRowHints;
}

QWidget* InfoTab::BuildSearchPanel() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("SearchPan"));
    panel->setFixedHeight(kSearchBoxHeight + 8);
    auto* search = new LibrarySearchBox(panel, 4, QStringLiteral("FindInfoCmb"),
                                        QStringLiteral("SpeedButton1"), SearchMode::Dialogues, mWorkspace);
    connect(search, &LibrarySearchBox::FileChosen, this,
            [this](const std::string& path) { RunGuarded(window(), [this, &path] { OpenInfo(path); }); });
    return panel;
}

QWidget* InfoTab::BuildParamsGroup() {
    auto* group = new QGroupBox(QStringLiteral("Параметры"), this);
    group->setFixedHeight(FieldGridHeight(4));

    NameEd =
        AddGridEdit(group, "NameEd", QStringLiteral("Название"), QStringLiteral("Название диалога"), 0, 0);
    SortIdEd = AddGridEdit(group, "SortIdEd", QStringLiteral("Идентификатор"),
                           QStringLiteral("Идентификатор сортировки. Поле не подлежит заполнению."), 1, 0);
    OwnerCmb = AddGridCombo(group, "OwnerCmb", QStringLiteral("Владелец"), 2, 0);
    InfoGivenEd = AddGridEdit(group, "InfoGivenEd", QStringLiteral("Передача информации"), QString(), 3, 0);
    ParentEd = AddGridEdit(group, "ParentEd", QStringLiteral("Дочерний диалог"),
                           QStringLiteral("Предыдущий диалог (для склейки длинных диалогов)"), 4, 0);
    QuestEd = AddGridEdit(group, "QuestEd", QStringLiteral("Привязан к квесту"),
                          QStringLiteral("Квест, к которому привязан диалог. (Двойной клик, чтобы открыть на "
                                         "вкладке редактора квестов)"),
                          5, 0);
    ConditionTypeCmb = AddGridCombo(group, "ConditionTypeCmb", QStringLiteral("Тип условия"), 6, 0);

    InfoTypeCmb = AddGridCombo(group, "InfoTypeCmb", QStringLiteral("Приоритет/тип"), 0, 1);
    GoldCostEd = AddGridEdit(group, "GoldCostEd", QStringLiteral("Цена золотом"),
                             QStringLiteral("Кол-во золота, для активации пункта"), 1, 1);
    CondOwnerNearEntityEd = AddGridEdit(
        group, "CondOwnerNearEntityEd", QStringLiteral("Место рядом"),
        QStringLiteral("Зона, в которой должен находиться персонаж для активации диалога."), 2, 1);
    FolderCmb = AddGridCombo(group, "FolderCmb", QStringLiteral("Каталог"), 3, 1);
    CondPlayerKnowsEd =
        AddGridEdit(group, "CondPlayerKnowsEd", QStringLiteral("Необходимое условие"),
                    QStringLiteral("Какое событие (event) должно предшествовать диалогу."), 4, 1);
    CondItemContainerCmb =
        AddGridCombo(group, "CondItemContainerCmb", QStringLiteral("Персонаж-держатель"), 5, 1);
    TeachSkillCmb = AddGridCombo(group, "TeachSkillCmb", QStringLiteral("Изученный навык"), 6, 1);

    TeachSkillIsPercEd = AddGridEdit(group, "TeachSkillIsPercEd", QStringLiteral("Специальный навык"),
                                     QStringLiteral("Является ли выучиваемый навык специальным"), 0, 2);
    TeachSkillIndexEd = AddGridEdit(group, "TeachSkillIndexEd", QStringLiteral("Индекс навыка"),
                                    QStringLiteral("Индекс навыка"), 1, 2);
    TeachSkillValueEd = AddGridEdit(group, "TeachSkillValueEd", QStringLiteral("Значение навыка"),
                                    QStringLiteral("Значение навыка"), 2, 2);
    TeachAttribEd = AddGridEdit(group, "TeachAttribEd", QStringLiteral("Изучаемый навык"),
                                QStringLiteral("Атрибуты навыка"), 3, 2);
    TeachAttribValueEd = AddGridEdit(group, "TeachAttribValueEd", QStringLiteral("Значение навыка"),
                                     QStringLiteral("Значение навыка"), 4, 2);
    // The skill's value and the attribute's share their label; a message names each with its key.
    NameFieldWithKey(TeachSkillValueEd, QStringLiteral("TeachSkillValue"));
    NameFieldWithKey(TeachAttribValueEd, QStringLiteral("TeachAttribValue"));
    PermanentEd = AddGridEdit(group, "PermanentEd", QStringLiteral("Показывать постоянно"),
                              QStringLiteral("Показывать ли пункт диалога постоянно"), 5, 2);
    ClearChildrenEd = AddGridEdit(group, "ClearChildrenEd", QStringLiteral("Скрыть дочерние д-ги"),
                                  QStringLiteral("Нужно ли убрать все остальные диалоги"), 6, 2);

    InfoStrViewEd = AddGridEdit(group, "InfoStrViewEd", QStringLiteral("Подсказка"), QString(), 0, 3);
    InfoStrViewEd->setGeometry(FieldRect(0, 3, 5));
    MarkHintLabel(InfoStrViewEd);
    WriteBtn = AddGridButton(group, "WriteBtn", QStringLiteral(">>>"), 5, 3);
    WriteBtn->setToolTip(QStringLiteral("Записать значение в таблицу строк"));
    BuildBtn = AddGridButton(group, "BuildBtn", QStringLiteral("Компилировать"), 6, 3);
    connect(BuildBtn, &QPushButton::clicked, this, &InfoTab::BuildBtnClick);
    connect(WriteBtn, &QPushButton::clicked, this,
            [this] { RunGuarded(window(), [this] { WriteBtnClick(); }); });
    QuestEd->installEventFilter(this);

    InfoTypeCmb->addItems(ComboEntries(InfoTypes()));
    ConditionTypeCmb->addItems(ComboEntries(ConditionTypes()));
    FolderCmb->addItems(ComboEntries(Folders()));
    OwnerCmb->addItems(ComboEntries(CharacterNames()));
    CondItemContainerCmb->addItems(ComboEntries(CharacterNames()));
    TeachSkillCmb->addItems(ComboEntries(Skills()));

    // Every change of the box's text: typing, the box's completion of it, a choice from the list.
    // A load sets the box with its signals blocked.
    connect(TeachSkillCmb, &QComboBox::editTextChanged, this, &InfoTab::TeachSkillCmbUserChange);
    for (QLineEdit* edit : {TeachSkillIndexEd, TeachSkillValueEd})
        connect(edit, &QLineEdit::textChanged, this, [this, edit] { KeepZeroWhenBlank(edit); });
    for (QLineEdit* edit : {InfoGivenEd, TeachSkillIsPercEd, PermanentEd, ClearChildrenEd})
        edit->installEventFilter(this);
    return group;
}

QWidget* InfoTab::BuildListsGroup() {
    auto* group = new QGroupBox(QStringLiteral("Многозначные параметры"), this);
    auto* layout = new QVBoxLayout(group);
    layout->setContentsMargins(2, 4, 2, 2);
    layout->setSpacing(0);

    auto* strip = new QWidget(group);
    strip->setFixedHeight(kConditionStripHeight);
    auto* stripLayout = new QHBoxLayout(strip);
    stripLayout->setContentsMargins(0, 0, 0, 0);
    stripLayout->setSpacing(0);
    ItemsList = new TEditableListView(strip);
    ItemsList->setObjectName(QStringLiteral("ItemsList"));
    SetupReportList(ItemsList,
                    {{QStringLiteral("Условный предмет"), 200}, {QStringLiteral("Количество"), 100}}, false);
    NpcList = new TEditableListView(strip);
    NpcList->setObjectName(QStringLiteral("NpcList"));
    SetupReportList(NpcList,
                    {{QStringLiteral("Следующий персонаж"), 200}, {QStringLiteral("Состояние"), 100}}, false);
    // The halves keep the proportions of the two lists' widths, 459 and 457.
    stripLayout->addWidget(ItemsList, 459);
    stripLayout->addWidget(NpcList, 457);
    layout->addWidget(strip);

    // The in-place editors of the two condition lists; hidden until a cell is edited.
    ItemsListEd = new QLineEdit(ItemsList);
    ItemsListEd->setObjectName(QStringLiteral("ItemsListEd"));
    ItemsListEd->hide();
    NPCListCmb = new QComboBox(NpcList);
    NPCListCmb->setObjectName(QStringLiteral("NPCListCmb"));
    NPCListCmb->setEditable(true);
    NPCListCmb->setInsertPolicy(QComboBox::NoInsert);
    NPCListCmb->addItems(ComboEntries(NpcListItems()));
    NPCListCmb->hide();
    ItemsList->SetListEditor(ItemsListEd);
    NpcList->SetListEditor(NPCListCmb);
    AttachConditionListPop(ItemsList, kItemsListPopNames);
    AttachConditionListPop(NpcList, kNPCListPopNames);

    Splitter1 = new QSplitter(Qt::Vertical, group);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setHandleWidth(3);
    Splitter1->setChildrenCollapsible(false);
    CommandList = new QTableWidget(Splitter1);
    CommandList->setObjectName(QStringLiteral("CommandList"));
    SetupReportList(CommandList, CommandListColumns(), true);
    SynInfoMem = new TextPane(Splitter1);
    SynInfoMem->setObjectName(QStringLiteral("SynInfoMem"));
    SynInfoMem->setReadOnly(true);
    SynInfoMem->ColourAsIni();
    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({kCommandListHeight, 10 * kCommandListHeight});
    layout->addWidget(Splitter1, 1);
    mCommandListEditor = new CommandListEditor(CommandList, SynInfoMem, Splitter1); // a child of CommandList
    mCommandListEditor->SetConversationImport(
        [this] { RunGuarded(window(), [this] { InsertConversation(); }); });
    connect(CommandList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& selected) { CommandListSelectItem(selected); });
    mCommandRowHints = new CommandRowHints(CommandList);
    CommandList->viewport()->installEventFilter(this); // the Texts cells' tooltips
    connect(mCommandRowHints, &CommandRowHints::HelpChanged, this, &InfoTab::StatusHelp);
    return group;
}

void InfoTab::BuildHistory() {
    // Every control that goes into the file; the hint field and the panes are the program's.
    mHistory = new FormHistory(this);
    for (QLineEdit* edit :
         {NameEd, SortIdEd, InfoGivenEd, ParentEd, QuestEd, GoldCostEd, CondOwnerNearEntityEd,
          CondPlayerKnowsEd, TeachSkillIsPercEd, TeachSkillIndexEd, TeachSkillValueEd, TeachAttribEd,
          TeachAttribValueEd, PermanentEd, ClearChildrenEd})
        mHistory->Watch(edit);
    for (QComboBox* box :
         {OwnerCmb, ConditionTypeCmb, InfoTypeCmb, FolderCmb, CondItemContainerCmb, TeachSkillCmb})
        mHistory->Watch(box);
    mHistory->Watch(ItemsList);
    mHistory->Watch(NpcList);
    mHistory->Watch(CommandList);
    for (QWidget* other :
         {static_cast<QWidget*>(InfoStrViewEd), static_cast<QWidget*>(ItemsListEd),
          static_cast<QWidget*>(NPCListCmb), static_cast<QWidget*>(mCommandListEditor->CellEdit()),
          findChild<QWidget*>(QStringLiteral("FindInfoCmb"))})
        mHistory->ShareKeys(other);
}

void InfoTab::AttachCompletion() {
    // The index is opened after the tab is made and replaced by every build, so it is asked at each edit.
    const auto library = [this](std::vector<std::string> LibrarySnapshot::*list) {
        return CurrentNames(mWorkspace.libraryIndex.get(), list);
    };
    auto* parents =
        new NameCompleter(ParentEd, [library] { return library(&LibrarySnapshot::dialogueNames); });
    parents->SetExcluded([this] { return TextOf(NameEd); }); // a dialogue is no Parent of itself
    mCompleters = {
        parents, new NameCompleter(QuestEd, [library] { return library(&LibrarySnapshot::questNames); }),
        new NameCompleter(CondPlayerKnowsEd, [library] { return library(&LibrarySnapshot::events); }),
        // The box is always editable; its line edit takes this drop-down in place of the box's own
        // completion.
        new NameCompleter(OwnerCmb->lineEdit(), [library] { return library(&LibrarySnapshot::owners); })};
    mCompleters.push_back(new NameCompleter(mCommandListEditor->CellEdit(), [this, library] {
        const QModelIndex cell = mCommandListEditor->EditedCell();
        const std::string command = ToCp1251(ReportCellString(CommandList, cell.row(), 0));
        switch (CommandCellNames(command, static_cast<std::size_t>(cell.column()))) {
        case CellNames::Commands:
            return NameCompleter::Fixed(ScriptCommands());
        case CellNames::Quests:
            return library(&LibrarySnapshot::questNames);
        case CellNames::Events:
            return library(&LibrarySnapshot::events);
        case CellNames::TableIds:
            return library(&LibrarySnapshot::tableIds);
        case CellNames::None:
            break;
        }
        return NameCompleter::Names();
    }));
}

void InfoTab::OfferNamesAgain() {
    for (NameCompleter* completer : mCompleters)
        completer->OfferAgain();
}

InfoEditorModel InfoTab::ReadModel(FieldsForWriting& fields) const {
    InfoEditorModel model;
    model.NameEd = fields.Text(NameEd);
    model.SortIdEd = fields.Text(SortIdEd);
    model.OwnerCmb = fields.Text(OwnerCmb);
    model.QuestEd = fields.Text(QuestEd);
    model.ConditionTypeIndex = SelectedPosition(ConditionTypeCmb);
    model.InfoTypeIndex = SelectedPosition(InfoTypeCmb);
    model.InfoGivenEd = fields.Text(InfoGivenEd);
    model.ParentEd = fields.Text(ParentEd);
    model.GoldCostEd = fields.Text(GoldCostEd);
    model.CondOwnerNearEntityEd = fields.Text(CondOwnerNearEntityEd);
    model.FolderCmb = fields.Text(FolderCmb);
    model.CondPlayerKnowsEd = fields.Text(CondPlayerKnowsEd);
    model.CondItemContainerCmb = fields.Text(CondItemContainerCmb);
    model.TeachSkillIsPercEd = fields.Text(TeachSkillIsPercEd);
    model.TeachSkillIndexEd = fields.Text(TeachSkillIndexEd);
    model.TeachSkillValueEd = fields.Text(TeachSkillValueEd);
    model.ClearChildrenEd = fields.Text(ClearChildrenEd);
    model.PermanentEd = fields.Text(PermanentEd);
    model.TeachSkillCmb = fields.Text(TeachSkillCmb);
    model.TeachAttribEd = fields.Text(TeachAttribEd);
    model.TeachAttribValueEd = fields.Text(TeachAttribValueEd);
    model.ItemsList = ReadReportList<kConditionCellCount>(ItemsList, fields);
    model.NpcList = ReadReportList<kConditionCellCount>(NpcList, fields);
    model.CommandList = ReadReportList<kCommandCellCount>(CommandList, fields);
    return model;
}

void InfoTab::ShowModel(const InfoEditorModel& model) {
    SetEditText(NameEd, model.NameEd);
    SetComboText(OwnerCmb, model.OwnerCmb);
    SetEditText(QuestEd, model.QuestEd);
    SetEditText(SortIdEd, model.SortIdEd);
    SetComboPosition(ConditionTypeCmb, model.ConditionTypeIndex);
    SetComboPosition(InfoTypeCmb, model.InfoTypeIndex);
    SetEditText(InfoGivenEd, model.InfoGivenEd);
    SetEditText(ParentEd, model.ParentEd);
    SetEditText(GoldCostEd, model.GoldCostEd);
    SetEditText(CondOwnerNearEntityEd, model.CondOwnerNearEntityEd);
    SetComboText(FolderCmb, model.FolderCmb);
    SetEditText(CondPlayerKnowsEd, model.CondPlayerKnowsEd);
    SetComboText(CondItemContainerCmb, model.CondItemContainerCmb);
    SetEditText(TeachSkillIsPercEd, model.TeachSkillIsPercEd);
    SetEditText(TeachSkillIndexEd, model.TeachSkillIndexEd);
    SetEditText(TeachSkillValueEd, model.TeachSkillValueEd);
    SetEditText(ClearChildrenEd, model.ClearChildrenEd);
    SetEditText(PermanentEd, model.PermanentEd);
    {
        const QSignalBlocker loading(TeachSkillCmb); // a load is no change by the user
        SetComboText(TeachSkillCmb, model.TeachSkillCmb);
    }
    SetEditText(TeachAttribEd, model.TeachAttribEd);
    SetEditText(TeachAttribValueEd, model.TeachAttribValueEd);
    FillReportList(ItemsList, model.ItemsList);
    FillReportList(NpcList, model.NpcList);
    FillReportList(CommandList, model.CommandList);
}

bool InfoTab::LoadInfo(const std::string& path) {
    // The record is read completely before any control changes, so a refused load leaves the tab as it
    // was.
    TInfo info;
    if (!ReadRecordForEditor(window(), path, info))
        return false;
    const LoadedInfo loaded = LoadInfoModel(info);
    ShowModel(loaded.model);
    ShowHintOfSelectedRow(); // the hint of the dialogue shown before must not stay
    mHistory->Restart();
    for (const LoadNotice& notice : loaded.notices)
        Dialogs().Message(window(), QString::fromStdString(notice.text),
                          QString::fromStdString(notice.caption),
                          notice.icon == NoticeIcon::Error ? MsgIcon::Error : MsgIcon::None, MsgButtons::Ok);
    try {
        SynInfoMem->LoadFromFile(path);
    } catch (const std::exception&) {
        SynInfoMem->clear();
        ShowCannotOpenFile(window(), path);
    }
    emit InfoLoaded(path);
    return true;
}

bool InfoTab::IsChanged() const {
    return mHistory->IsChanged();
}

bool InfoTab::MayReplaceForm() {
    // As a click elsewhere would, leaving an open cell editor writes its text into the list.
    const QWidget* lists[] = {ItemsList, NpcList, CommandList};
    if (QWidget* focused = QApplication::focusWidget())
        for (const QWidget* list : lists)
            if (focused != list && list->isAncestorOf(focused))
                focused->clearFocus();
    if (!IsChanged())
        return true;
    const QString question =
        QStringLiteral("Диалог «%1» изменён и не скомпилирован. Отказаться от изменений?")
            .arg(NameEd->text());
    return Dialogs().Message(window(), question, QStringLiteral("Внимание"), MsgIcon::Question,
                             MsgButtons::YesNoDefaultNo) == MsgAnswer::Yes;
}

bool InfoTab::OpenInfo(const std::string& path) {
    return MayReplaceForm() && LoadInfo(path);
}

void InfoTab::CompileInfo() {
    const CompileSettings settings{mWorkspace.configs->TmpFiles, mWorkspace.programDir,
                                   mWorkspace.configs->InfosPath};
    FieldsForWriting fields;
    const InfoEditorModel model = ReadModel(fields);
    if (fields.Unwritable()) {
        Dialogs().Message(window(),
                          UnwritableMessage(*fields.Unwritable(), QStringLiteral("Диалог не скомпилирован")),
                          QStringLiteral("Ошибка"), MsgIcon::Warning, MsgButtons::Ok);
        return;
    }
    // Past the name and owner checks the pane is emptied (text and undo history), so every later stop
    // leaves it empty.
    const CompileOutcome outcome = pw::CompileInfo(model, settings, [this] { SynInfoMem->clear(); });
    if (outcome.Failed()) {
        QWidget* owner = outcome.status == CompileStatus::BadField ? nullptr : window();
        Dialogs().Message(owner, QString::fromStdString(outcome.message),
                          QString::fromStdString(outcome.caption), MsgIcon::Warning, MsgButtons::Ok);
        return;
    }
    emit RecordWritten(outcome.path);
    mHistory->MarkSaved();
    SynInfoMem->LoadFromFile(outcome.path);
}

bool InfoTab::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip && watched == CommandList->viewport())
        return ShowTextTooltip(*static_cast<QHelpEvent*>(event));
    if (watched == QuestEd && event->type() == QEvent::MouseButtonDblClick) {
        emit QuestEdDblClick(TextOf(QuestEd));
        return true;
    }
    if (event->type() == QEvent::FocusOut) {
        for (QLineEdit* edit : {InfoGivenEd, TeachSkillIsPercEd, PermanentEd, ClearChildrenEd})
            if (watched == edit) {
                const QString normal = FromCp1251(NormalizeBooleanText(TextOf(edit)));
                if (normal != edit->text())
                    edit->setText(normal);
            }
    }
    return QWidget::eventFilter(watched, event);
}

void InfoTab::BuildBtnClick() {
    RunGuarded(window(), [this] { CompileInfo(); });
}

QString InfoTab::FirstSelectedTextId() const {
    int first = -1;
    for (const QModelIndex& index : CommandList->selectionModel()->selectedRows())
        if (first < 0 || index.row() < first)
            first = index.row();
    const QTableWidgetItem* cell = first >= 0 ? CommandList->item(first, kCommandCellCount - 1) : nullptr;
    return cell ? cell->text() : QString();
}

bool InfoTab::ShowTextTooltip(const QHelpEvent& event) {
    const QModelIndex index = CommandList->indexAt(event.pos());
    if (!index.isValid() || index.column() != kCommandCellCount - 1)
        return false;
    const std::optional<QString> text = LanguageText(mWorkspace, ToCp1251(index.data().toString()));
    if (!text)
        return false;
    if (text->isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(event.globalPos(), *text, CommandList->viewport(), CommandList->visualRect(index));
    return true;
}

void InfoTab::CommandListSelectItem(const QItemSelection& selected) {
    // A deselection keeps the hint as it is.
    if (selected.isEmpty() || !CommandList->selectionModel()->hasSelection())
        return;
    ShowHintOfSelectedRow();
}

void InfoTab::ShowHintOfSelectedRow() {
    if (!CommandList->selectionModel()->hasSelection()) {
        InfoStrViewEd->clear();
        return;
    }
    const std::string id = ToCp1251(FirstSelectedTextId());
    RunGuarded(window(), [this, &id] { LookupTableString(mWorkspace, id, InfoStrViewEd); });
}

void InfoTab::WriteBtnClick() {
    // Without a selected row the ID is empty, which the write refuses after the question.
    if (AskAndAddTableString(window(), mWorkspace, FirstSelectedTextId(), InfoStrViewEd->text(),
                             TextEnds::Trimmed))
        emit TableStringAdded();
}

void InfoTab::InsertConversation() {
    if (!StringTableOpen(window(), mWorkspace))
        return;
    const std::optional<ChosenLanguage> language = ChosenTableLanguage(mWorkspace);
    ConversationImportDialog dialog(window(), *mWorkspace.stringTable, TextOf(OwnerCmb), TextOf(NameEd),
                                    language ? language->language.TextField() : 0);
    if (Dialogs().RunModal(&dialog) != QDialog::Accepted)
        return;
    mCommandListEditor->InsertRows(dialog.Rows());
    emit TableStringAdded();
}

void InfoTab::ShareSynInfoMemPop(QPlainTextEdit* pane) {
    mCommandListEditor->AttachSynInfoMemPop(pane);
}

void InfoTab::AttachJumpMenus() {
    auto go = [this](const Jump& jump) { emit JumpRequested(jump); };
    AttachJumps(
        NameEd,
        [this](int) {
            std::vector<JumpItem> items = DialogueJumps(TextOf(NameEd));
            if (!items.empty()) // the dialogue itself is open: its children come first
                items.front() = {QStringLiteral("Дочерние диалоги"), {Jump::Kind::ChildDialogues, TextOf(NameEd)}};
            return items;
        },
        go);
    AttachJumps(ParentEd, [this](int) { return DialogueJumps(TextOf(ParentEd)); }, go);
    AttachJumps(QuestEd, [this](int) { return QuestJumps(TextOf(QuestEd)); }, go);
    AttachJumps(CondPlayerKnowsEd, [this](int) { return WhereUsedJumps(TextOf(CondPlayerKnowsEd), Jump::Thing::Event); }, go);
    AttachJumps(InfoStrViewEd, [this](int) { return StringJumps(ToCp1251(FirstSelectedTextId())); }, go);
    mCommandListEditor->SetCellJumps([this](int row, int column) { return CellJumps(row, column); }, go);
}

std::vector<JumpItem> InfoTab::CellJumps(int row, int column) const {
    auto cellText = [this, row](int cell) {
        const QTableWidgetItem* item = CommandList->item(row, cell);
        return item ? Trim(ToCp1251(item->text())) : std::string();
    };
    if (column == kCommandCellCount - 1) {
        const std::string id = cellText(column);
        return id == kEmptyPlaceholder ? std::vector<JumpItem>{} : StringJumps(id);
    }
    if (column != 3)
        return {};
    const std::string command = cellText(0);
    for (const char* questCommand : {"SucceedQuest", "CloseQuest", "RunQuest"})
        if (AsciiEqualNoCase(command, questCommand))
            return QuestJumps(cellText(3));
    if (AsciiEqualNoCase(command, "SetGameEvent"))
        return WhereUsedJumps(cellText(3), Jump::Thing::Event);
    return {};
}

void InfoTab::TeachSkillCmbUserChange() {
    TeachSkillIsPercEd->setText(FromCp1251(TeachSkillIsPercFor(TextOf(TeachSkillCmb))));
}

void InfoTab::KeepZeroWhenBlank(QLineEdit* edit) {
    const std::string text = TextOf(edit);
    const std::string kept = ZeroIfBlank(text);
    if (kept != text)
        edit->setText(FromCp1251(kept));
}

} // namespace pw
