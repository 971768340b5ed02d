#include "gui/dialogue_tab/ConversationImportDialog.h"

#include "core/data/FileIO.h"
#include "core/data/MessageText.h"
#include "core/data/StringTable.h"
#include "gui/common/Cp1251Text.h"
#include "gui/common/ErrorGuard.h"
#include "gui/common/FieldText.h"
#include "gui/common/UserDialogs.h"
#include "gui/dialogue_tab/ReportLists.h"
#include "gui/widgets/FieldGrid.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <iterator>

namespace pw {

namespace {

// The ">>>" button's question for one entry; for more, the count with the noun Russian agrees with it.
QString AddEntriesQuestion(std::size_t count) {
    if (count == 1)
        return QStringLiteral("Добавить строку в таблицу строк?");
    const std::size_t ones = count % 10;
    const std::size_t tens = count % 100;
    const QString noun = ones == 1 && tens != 11                              ? QStringLiteral("строку")
                         : ones >= 2 && ones <= 4 && (tens < 12 || tens > 14) ? QStringLiteral("строки")
                                                                              : QStringLiteral("строк");
    return QStringLiteral("Добавить %1 %2 в таблицу строк?").arg(count).arg(noun);
}

void ShowRefusal(QWidget* owner, const QString& text) {
    Dialogs().Message(owner, text, QStringLiteral("Ошибка"), MsgIcon::None, MsgButtons::Ok);
}

} // namespace

ConversationImportDialog::ConversationImportDialog(QWidget* parent, const TStringTable& table,
                                                   std::string owner, const std::string& name,
                                                   std::size_t textField)
    : QDialog(parent), mTable(table), mWork(new BackgroundWork(this)), mOwner(std::move(owner)),
      mTextField(textField) {
    ReadTable();
    setObjectName(QStringLiteral("ConversationImportDialog"));
    setWindowTitle(QStringLiteral("Вставить разговор"));
    setFont(EditorTabFont());
    resize(760, 520);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Разговор: строки «Имя: текст» или AI_Output(self, other, "
                                                "\"ID\"); //текст"),
                                 this));
    ConversationEd = new QPlainTextEdit(this);
    ConversationEd->setObjectName(QStringLiteral("ConversationEd"));
    layout->addWidget(ConversationEd, 1);

    auto* prefixRow = new QHBoxLayout;
    prefixRow->addWidget(new QLabel(QStringLiteral("Префикс ID"), this));
    PrefixEd = new QLineEdit(FromCp1251(name), this);
    PrefixEd->setObjectName(QStringLiteral("PrefixEd"));
    prefixRow->addWidget(PrefixEd, 1);
    layout->addLayout(prefixRow);

    PreviewList = new QTableWidget(this);
    PreviewList->setObjectName(QStringLiteral("PreviewList"));
    SetupReportList(PreviewList,
                    {{QStringLiteral("Говорящий"), 110},
                     {QStringLiteral("Entities1"), 70},
                     {QStringLiteral("ID строки"), 180},
                     {QStringLiteral("Текст"), 250},
                     {QStringLiteral("Примечание"), 130}},
                    false);
    layout->addWidget(PreviewList, 1);
    RefusalLbl = new QLabel(this);
    RefusalLbl->setObjectName(QStringLiteral("RefusalLbl"));
    RefusalLbl->setWordWrap(true);
    layout->addWidget(RefusalLbl);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    InsertBtn = new QPushButton(QStringLiteral("Вставить"), this);
    InsertBtn->setObjectName(QStringLiteral("InsertBtn"));
    CancelBtn = new QPushButton(QStringLiteral("Отмена"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    buttons->addWidget(InsertBtn);
    buttons->addWidget(CancelBtn);
    layout->addLayout(buttons);

    connect(ConversationEd, &QPlainTextEdit::textChanged, this, &ConversationImportDialog::Refresh);
    connect(PrefixEd, &QLineEdit::textChanged, this, &ConversationImportDialog::Refresh);
    connect(InsertBtn, &QPushButton::clicked, this,
            [this] { RunGuarded(this, [this] { InsertBtnClick(); }); });
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    Refresh();
}

ConversationPlan ConversationImportDialog::Plan() const {
    FieldsForWriting fields;
    const std::string prefix = fields.Text(PrefixEd->text(), [] { return QStringLiteral("В префиксе ID"); });
    if (fields.Unwritable())
        return {
            {},
            UnwritableMessage(*fields.Unwritable(), QStringLiteral("Разговор не вставлен")).toStdString()};
    return PlanConversation(ConversationEd->toPlainText().toStdString(), mOwner, prefix, mTableIds);
}

void ConversationImportDialog::Refresh() {
    const ConversationPlan plan = Plan();
    // An empty text is where every paste starts; it is refused only when inserted.
    RefusalLbl->setText(ConversationEd->document()->isEmpty() ? QString()
                                                              : QString::fromStdString(plan.refusal));
    PreviewList->clearContents();
    PreviewList->setRowCount(static_cast<int>(plan.lines.size()));
    for (int row = 0; row < PreviewList->rowCount(); ++row) {
        const ConversationLine& line = plan.lines[static_cast<std::size_t>(row)];
        const QString cells[] = {FromCp1251(line.speaker), QString::fromStdString(line.party),
                                 FromCp1251(line.id), FromCp1251(line.text),
                                 QString::fromStdString(line.note)};
        for (int column = 0; column < static_cast<int>(std::size(cells)); ++column)
            PreviewList->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
}

void ConversationImportDialog::ReadTable() {
    mTableIds = ReadConversationTable(mTable.Path());
    mTableIds.textField = mTextField;
}

void ConversationImportDialog::InsertBtnClick() {
    if (mWork->Running())
        return;
    // The IDs are settled against the table as it is now, which another window or program may have
    // changed since the preview was made.
    ReadTable();
    Refresh();
    const ConversationPlan plan = Plan();
    if (!plan.refusal.empty()) {
        ShowRefusal(this, QString::fromStdString(plan.refusal));
        return;
    }
    // Told before the question, so that nothing is asked of a write that cannot be made.
    if (const std::optional<std::string> problem = WriteProblem(mTable.Path())) {
        ShowRefusal(this, QString::fromStdString(UnableToWriteMessage(mTable.Path(), *problem)) +
                              QStringLiteral("\nРазговор не вставлен."));
        return;
    }
    if (Dialogs().Message(this, AddEntriesQuestion(plan.lines.size()), QStringLiteral("Внимание"),
                          MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::Yes)
        return;
    // A large table takes a moment to write: the write runs in the background, the text locked meanwhile.
    auto entries =
        std::make_shared<const std::vector<std::pair<std::string, std::string>>>(ConversationEntries(plan));
    auto held = std::make_shared<std::optional<std::string>>();
    SetWorking(true);
    mWork->Start(
        QStringLiteral("Запись в таблицу строк…"),
        [&table = mTable, entries, held](const ProgressHook& hook) {
            // One write of the whole table: a stop is heard only before it begins.
            if (hook(0, 1))
                *held = table.AppendTableStrings(*entries);
        },
        [this, held, rows = ConversationRows(plan)](const WorkEnd& end) { WriteEnded(*held, rows, end); });
}

void ConversationImportDialog::WriteEnded(const std::optional<std::string>& held,
                                          const std::vector<CommandRow>& rows, const WorkEnd& end) {
    SetWorking(false);
    if (end.stopped)
        return; // nothing was written
    if (end.failure) {
        RunGuarded(this, [&end] { end.RethrowFailure(); });
        return;
    }
    if (held) {
        ShowRefusal(this, QString::fromStdString(
                              FillMessage("ID %s уже есть в таблице строк: ничего не записано.", {*held})));
        RunGuarded(this, [this] {
            ReadTable();
            Refresh();
        });
        return;
    }
    mRows = rows;
    accept();
}

void ConversationImportDialog::SetWorking(bool working) {
    ConversationEd->setReadOnly(working);
    PrefixEd->setReadOnly(working);
    InsertBtn->setEnabled(!working);
}

void ConversationImportDialog::reject() {
    if (mWork->Running())
        mWork->Cancel();
    else
        QDialog::reject();
}

} // namespace pw
