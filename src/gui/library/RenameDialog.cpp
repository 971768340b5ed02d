#include "gui/library/RenameDialog.h"

#include "gui/common/Cp1251Text.h"
#include "gui/common/UserDialogs.h"
#include "gui/common/WaitCursor.h"
#include "gui/library/RenamePreview.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

#include <stdexcept>

namespace pw {
namespace {

const char* const kCaption = "Переименовать во всей библиотеке";

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
    : QDialog(parent), mIndex(std::move(index)), mRequest(std::move(request)), mMayApply(std::move(mayApply)),
      mPreview(new RenamePreviewModel(this)) {
    setObjectName(QStringLiteral("RenameDialog"));
    setWindowTitle(QString::fromUtf8(kCaption));
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
    ChangesTree = new QTreeView(this);
    ChangesTree->setObjectName(QStringLiteral("ChangesTree"));
    ChangesTree->setModel(mPreview);
    // Long paths and values keep their beginning and end in sight; the whole is in the tooltip.
    ChangesTree->setTextElideMode(Qt::ElideMiddle);
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
        mPreview->Clear();
        SummaryLbl->clear();
    });
    connect(mPreview, &RenamePreviewModel::TicksChanged, this, &RenameDialog::ShowSummary);
    connect(ApplyBtn, &QPushButton::clicked, this, &RenameDialog::Apply);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    NewNameEd->selectAll();
}

void RenameDialog::Resume(const RenamePlan& unfinished) {
    NewNameEd->setText(FromCp1251(unfinished.request.newName));
    if (WithStringsChk) {
        const QSignalBlocker quiet(WithStringsChk);
        WithStringsChk->setChecked(unfinished.request.withStrings);
    }
    for (const RenameFile& file : unfinished.files)
        if (!file.included)
            mLeftOut.insert(file.path);
    Preview();
}

void RenameDialog::Preview() {
    mPreview->Clear();
    const std::optional<std::string> newName = ToCp1251Exact(NewNameEd->text());
    if (!newName) {
        SummaryLbl->setText(
            QStringLiteral("В новом имени есть символ, которого нет в кодировке Windows-1251."));
        return;
    }
    RenameRequest request = mRequest;
    request.newName = *newName;
    request.withStrings = WithStringsChk && WithStringsChk->isChecked();
    RenamePlan plan;
    try {
        const WaitCursor wait;
        plan = PlanRename(mIndex(), request);
    } catch (const std::exception& error) {
        SummaryLbl->setText(QString::fromStdString(error.what()));
        return;
    }
    mPreview->Show(std::move(plan), mLeftOut);
    ChangesTree->expandAll();
}

void RenameDialog::ShowSummary() {
    ApplyBtn->setEnabled(false);
    const RenamePlan* plan = mPreview->Plan();
    if (!plan)
        return;
    for (const RenameFile& file : plan->files)
        if (file.included)
            mLeftOut.erase(file.path);
        else
            mLeftOut.insert(file.path);
    if (!plan->refusal.empty()) {
        SummaryLbl->setText(QString::fromStdString(plan->refusal));
        return;
    }
    if (plan->files.empty()) {
        SummaryLbl->setText(QString::fromStdString(NamedNowhereMessage(plan->request)));
        return;
    }
    SummaryLbl->setText(
        QStringLiteral("Файлов: %1, изменений: %2.%3")
            .arg(mPreview->TickedFiles())
            .arg(mPreview->TickedEdits())
            .arg(plan->resumed ? QStringLiteral(" Прерванное переименование будет закончено.") : QString()));
    ApplyBtn->setEnabled(mPreview->TickedFiles() > 0);
}

bool RenameDialog::MayApplyChoice() {
    const RenamePlan& plan = *mPreview->Plan();
    // The files left out keep naming OLD; the thing itself left out keeps it as its name.
    QStringList staleReferences, keptThings;
    bool referenceRenamed = false;
    for (const RenameFile& file : plan.files) {
        const bool reference = file.stage == RenameStage::Reference;
        if (file.included)
            referenceRenamed = referenceRenamed || reference;
        else
            (reference ? staleReferences : keptThings) << mPreview->ShownPath(file.path);
    }
    QString warning;
    const QString oldName = FromCp1251(plan.request.oldName);
    if (!staleReferences.isEmpty() && keptThings.isEmpty())
        warning += QStringLiteral("Файлы без флажка по-прежнему будут называть «%1», а после "
                                  "переименования этого имени в библиотеке не останется:\n%2")
                       .arg(oldName, staleReferences.join(u'\n'));
    if (!keptThings.isEmpty() && referenceRenamed)
        warning += QStringLiteral("Без флажка оставлено то, что переименовывается:\n%1\nОно сохранит имя "
                                  "«%2», а отмеченные файлы будут называть «%3», которого в библиотеке нет.")
                       .arg(keptThings.join(u'\n'), oldName, FromCp1251(plan.request.newName));
    if (warning.isEmpty())
        return true;
    return Dialogs().Message(this, warning + QStringLiteral("\n\nВсё равно применить?"),
                             QString::fromUtf8(kCaption), MsgIcon::Warning,
                             MsgButtons::YesNoDefaultNo) == MsgAnswer::Yes;
}

void RenameDialog::Apply() {
    const RenamePlan* plan = mPreview->Plan();
    if (!plan || !plan->refusal.empty() || mPreview->TickedFiles() == 0)
        return;
    if (!MayApplyChoice() || (mMayApply && !mMayApply()))
        return;
    try {
        const WaitCursor wait;
        mResult = ApplyRename(*plan);
    } catch (const std::exception& error) {
        Dialogs().Message(this, QString::fromStdString(error.what()), QStringLiteral("Ошибка"),
                          MsgIcon::Error, MsgButtons::Ok);
        return;
    }
    mApplied = *plan;
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
        text += QStringLiteral("\nПереименование не закончено. «Повторить» покажет, что осталось сделать.");
    else if (!result.noteLeft.empty())
        text += QStringLiteral("\nНе удалось удалить запись о переименовании: %1")
                    .arg(FromNativePath(result.noteLeft));
    return text;
}

} // namespace pw
