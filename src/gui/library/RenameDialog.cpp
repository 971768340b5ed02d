#include "gui/library/RenameDialog.h"

#include "core/data/FileIO.h"
#include "core/data/Library.h"
#include "gui/common/Cp1251Text.h"
#include "gui/common/UserDialogs.h"
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

#include <atomic>
#include <initializer_list>
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

RenameDialog::RenameDialog(QWidget* parent, RenameRequest request, std::function<bool()> mayApply)
    : QDialog(parent), mRequest(std::move(request)), mWork(new BackgroundWork(this)),
      mMayApply(std::move(mayApply)), mPreview(new RenamePreviewModel(this)) {
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
    if (mWork->Running())
        return;
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
    // The library as it is now: only a file that holds the old name can name it, and only one that holds
    // the new name can show it taken.
    auto plan = std::make_shared<RenamePlan>();
    const auto work = [plan, request](const ProgressHook& hook) {
        std::vector<std::string> files;
        for (const std::string& root : request.roots)
            if (!root.empty() && DirectoryExists(root))
                ScanLibraryFolder(root, files);
        std::atomic<bool> stopped{false};
        const ProgressHook reading = [&hook, &stopped](std::size_t done, std::size_t total) {
            if (hook(done, total))
                return true;
            stopped = true;
            return false;
        };
        const LibraryIndex index(std::move(files), {request.oldName, request.newName}, reading);
        if (!stopped)
            *plan = PlanRename(index, request);
    };
    SetWorking(true);
    SummaryLbl->setText(QStringLiteral("Библиотека читается…"));
    mWork->Start(
        QStringLiteral("Поиск того, что изменит переименование…"), work,
        [this, plan](const WorkEnd& end) {
            SetWorking(false);
            if (end.failure) {
                try {
                    end.RethrowFailure();
                } catch (const std::exception& error) {
                    SummaryLbl->setText(QString::fromStdString(error.what()));
                }
                return;
            }
            if (end.stopped) {
                SummaryLbl->setText(QStringLiteral("Просмотр остановлен."));
                return;
            }
            mPreview->Show(std::move(*plan), mLeftOut);
            ChangesTree->expandAll();
        },
        QStringLiteral("Прочитано файлов: %1 из %2"));
}

void RenameDialog::SetWorking(bool working) {
    for (QWidget* control : std::initializer_list<QWidget*>{NewNameEd, WithStringsChk, PreviewBtn})
        if (control)
            control->setEnabled(!working);
    mPreview->SetLocked(working);
    if (working)
        ApplyBtn->setEnabled(false);
    else
        ShowSummary();
}

void RenameDialog::reject() {
    if (mWork->Running())
        mWork->Cancel();
    else
        QDialog::reject();
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
    const RenamePlan* shown = mPreview->Plan();
    if (mWork->Running() || !shown || !shown->refusal.empty() || mPreview->TickedFiles() == 0)
        return;
    if (!MayApplyChoice() || (mMayApply && !mMayApply()))
        return;
    auto plan = std::make_shared<const RenamePlan>(*shown);
    auto result = std::make_shared<RenameResult>();
    SetWorking(true);
    SummaryLbl->setText(QStringLiteral("Переименование…"));
    mWork->Start(
        QStringLiteral("Переименование во всей библиотеке…"),
        [plan, result](const ProgressHook& hook) { *result = ApplyRename(*plan, {}, hook); },
        [this, plan, result](const WorkEnd& end) { ApplyEnded(*plan, *result, end); },
        QStringLiteral("Записано файлов: %1 из %2"));
}

void RenameDialog::ApplyEnded(const RenamePlan& plan, const RenameResult& result, const WorkEnd& end) {
    SetWorking(false);
    if (end.failure) {
        try {
            end.RethrowFailure();
        } catch (const std::exception& error) {
            Dialogs().Message(this, QString::fromStdString(error.what()), QStringLiteral("Ошибка"),
                              MsgIcon::Error, MsgButtons::Ok);
        }
        return;
    }
    mApplied = plan;
    mResult = result;
    accept();
}

QString RenameResultText(const RenamePlan& plan, const RenameResult& result) {
    // A stopped rename names the files it did, up to this many.
    constexpr qsizetype kDoneShown = 10;
    QStringList done, changed, failed;
    for (const RenameFileResult& file : result.files) {
        const QString path = FromNativePath(plan.files[file.file].path);
        switch (file.outcome) {
        case RenameOutcome::Done:
            done << path;
            break;
        case RenameOutcome::Changed:
            changed << path;
            break;
        case RenameOutcome::Failed:
            failed << QStringLiteral("%1: %2").arg(path, QString::fromStdString(file.reason));
            break;
        case RenameOutcome::Stopped:
            break;
        }
    }
    QString text = QStringLiteral("Изменено файлов: %1.").arg(done.size());
    if (result.stopped) {
        text = QStringLiteral("Переименование остановлено. Изменено файлов: %1 из %2, остальные не тронуты.")
                   .arg(done.size())
                   .arg(result.files.size());
        if (!done.isEmpty())
            text += QStringLiteral("\nИзменены:\n") + done.mid(0, kDoneShown).join(u'\n') +
                    (done.size() > kDoneShown ? QStringLiteral("\n… и ещё %1").arg(done.size() - kDoneShown)
                                              : QString());
    }
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
