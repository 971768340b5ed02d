#include "gui/library/RenameDialog.h"

#include "gui/common/Cp1251Text.h"
#include "gui/common/UserDialogs.h"
#include "gui/common/WaitCursor.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <stdexcept>

namespace pw {
namespace {

const char* KindWords(RenameKind kind) {
    switch (kind) {
    case RenameKind::Quest:
        return "квеста";
    case RenameKind::Dialogue:
        return "диалога";
    case RenameKind::Event:
        return "события";
    case RenameKind::String:
        return "строки";
    }
    return "";
}

} // namespace

RenameDialog::RenameDialog(QWidget* parent, std::function<const LibraryIndex&()> index, RenameRequest request,
                           std::function<bool()> mayApply)
    : QDialog(parent), mIndex(std::move(index)), mRequest(std::move(request)),
      mMayApply(std::move(mayApply)) {
    setObjectName(QStringLiteral("RenameDialog"));
    setWindowTitle(QStringLiteral("Переименовать во всей библиотеке"));
    resize(720, 480);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(QStringLiteral("Новое имя %1 «%2»:")
                       .arg(QString::fromUtf8(KindWords(mRequest.kind)), FromCp1251(mRequest.oldName)),
                   this));
    auto* row = new QHBoxLayout;
    NewNameEd = new QLineEdit(FromCp1251(mRequest.oldName), this);
    NewNameEd->setObjectName(QStringLiteral("NewNameEd"));
    row->addWidget(NewNameEd, 1);
    PreviewBtn = new QPushButton(QStringLiteral("Показать изменения"), this);
    PreviewBtn->setObjectName(QStringLiteral("PreviewBtn"));
    row->addWidget(PreviewBtn);
    layout->addLayout(row);
    if (mRequest.kind == RenameKind::Dialogue) {
        WithStringsChk = new QCheckBox(QStringLiteral("Переименовать и строки диалога (%1_01, %1_02, …)")
                                           .arg(FromCp1251(mRequest.oldName)),
                                       this);
        WithStringsChk->setObjectName(QStringLiteral("WithStringsChk"));
        layout->addWidget(WithStringsChk);
        connect(WithStringsChk, &QCheckBox::toggled, this, &RenameDialog::Preview);
    }
    ChangesTree = new QTreeWidget(this);
    ChangesTree->setObjectName(QStringLiteral("ChangesTree"));
    ChangesTree->setHeaderLabels(
        {QStringLiteral("Файл и строка"), QStringLiteral("Было"), QStringLiteral("Станет")});
    ChangesTree->header()->resizeSection(0, 380);
    layout->addWidget(ChangesTree, 1);
    SummaryLbl = new QLabel(this);
    SummaryLbl->setObjectName(QStringLiteral("SummaryLbl"));
    SummaryLbl->setWordWrap(true);
    layout->addWidget(SummaryLbl);
    auto* buttons = new QDialogButtonBox(this);
    ApplyBtn = buttons->addButton(QStringLiteral("Применить"), QDialogButtonBox::AcceptRole);
    ApplyBtn->setObjectName(QStringLiteral("ApplyBtn"));
    ApplyBtn->setEnabled(false);
    QPushButton* cancel = buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    layout->addWidget(buttons);

    // Enter previews; only a click or Space on "Применить" writes, so that Enter never applies a preview
    // the user has not seen.
    PreviewBtn->setDefault(true);
    for (QPushButton* button : {ApplyBtn, cancel})
        button->setAutoDefault(false);
    connect(PreviewBtn, &QPushButton::clicked, this, &RenameDialog::Preview);
    // A preview shows one new name: another one typed must be previewed before it is applied.
    connect(NewNameEd, &QLineEdit::textEdited, this, [this] {
        mPlan.reset();
        ApplyBtn->setEnabled(false);
    });
    connect(ApplyBtn, &QPushButton::clicked, this, &RenameDialog::Apply);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    NewNameEd->selectAll();
}

void RenameDialog::Preview() {
    ChangesTree->clear();
    ApplyBtn->setEnabled(false);
    mPlan.reset();
    const std::optional<std::string> newName = ToCp1251Exact(NewNameEd->text());
    if (!newName) {
        SummaryLbl->setText(
            QStringLiteral("В новом имени есть символ, которого нет в кодировке Windows-1251."));
        return;
    }
    RenameRequest request = mRequest;
    request.newName = *newName;
    request.withStrings = WithStringsChk && WithStringsChk->isChecked();
    try {
        const WaitCursor wait;
        mPlan = PlanRename(mIndex(), request);
    } catch (const std::exception& error) {
        SummaryLbl->setText(QString::fromStdString(error.what()));
        return;
    }
    for (const RenameFile& file : mPlan->files) {
        auto* item = new QTreeWidgetItem(ChangesTree);
        item->setText(0, FromNativePath(file.path));
        if (!file.newPath.empty())
            item->setText(2, FromNativePath(file.newPath));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, Qt::Checked);
        for (const RenameEdit& edit : file.edits) {
            auto* line = new QTreeWidgetItem(item);
            line->setText(0, QStringLiteral("%1: %2").arg(edit.line).arg(FromCp1251(edit.key)));
            line->setText(1, FromCp1251(edit.oldText));
            line->setText(2, FromCp1251(edit.newText));
        }
    }
    ChangesTree->expandAll();
    if (!mPlan->refusal.empty()) {
        SummaryLbl->setText(QString::fromStdString(mPlan->refusal));
        return;
    }
    if (mPlan->files.empty()) {
        SummaryLbl->setText(QString::fromStdString(NamedNowhereMessage(request)));
        return;
    }
    std::size_t edits = 0;
    for (const RenameFile& file : mPlan->files)
        edits += file.edits.size();
    SummaryLbl->setText(
        QStringLiteral("Файлов: %1, изменений: %2.%3")
            .arg(mPlan->files.size())
            .arg(edits)
            .arg(mPlan->resumed ? QStringLiteral(" Прерванное переименование будет закончено.") : QString()));
    ApplyBtn->setEnabled(true);
}

RenamePlan RenameDialog::Chosen() const {
    RenamePlan plan = *mPlan;
    for (int i = 0; i < ChangesTree->topLevelItemCount(); ++i)
        plan.files[static_cast<std::size_t>(i)].included =
            ChangesTree->topLevelItem(i)->checkState(0) == Qt::Checked;
    return plan;
}

void RenameDialog::Apply() {
    if (!mPlan || (mMayApply && !mMayApply()))
        return;
    RenamePlan plan = Chosen();
    try {
        const WaitCursor wait;
        mResult = ApplyRename(plan);
    } catch (const std::exception& error) {
        Dialogs().Message(this, QString::fromStdString(error.what()), QStringLiteral("Ошибка"),
                          MsgIcon::Error, MsgButtons::Ok);
        return;
    }
    mApplied = std::move(plan);
    accept();
}

QString RenameResultText(const RenamePlan& plan, const RenameResult& result) {
    QStringList changed, failed;
    std::size_t done = 0;
    for (const RenameFileResult& file : result.files) {
        const QString path = FromNativePath(plan.files[file.file].path);
        switch (file.outcome) {
        case RenameOutcome::Done:
            ++done;
            break;
        case RenameOutcome::Changed:
            changed << path;
            break;
        case RenameOutcome::Failed:
            failed << QStringLiteral("%1: %2").arg(path, QString::fromStdString(file.reason));
            break;
        }
    }
    QString text = QStringLiteral("Изменено файлов: %1.").arg(done);
    if (!changed.isEmpty())
        text += QStringLiteral("\nИзменены после просмотра и оставлены как есть:\n") + changed.join(u'\n');
    if (!failed.isEmpty())
        text += QStringLiteral("\nНе удалось записать:\n") + failed.join(u'\n');
    if (!result.complete)
        text += QStringLiteral("\nПереименование не закончено: запустите его снова, чтобы закончить.");
    else if (!result.noteLeft.empty())
        text += QStringLiteral("\nНе удалось удалить запись о переименовании: %1")
                    .arg(FromNativePath(result.noteLeft));
    return text;
}

} // namespace pw
