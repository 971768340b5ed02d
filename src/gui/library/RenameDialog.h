#pragma once
// "Переименовать во всей библиотеке…": the new name, then a preview of every file and line the rename
// changes with a box per file to leave it out, and "Применить", which applies what is ticked. The preview
// and the application run in the background with their progress; "Отмена" stops them between files.

#include "core/library/LibraryRename.h"
#include "gui/common/BackgroundWork.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;

namespace pw {

class RenamePreviewModel;

class RenameDialog : public QDialog {
    Q_OBJECT
public:
    // request: the kind, the old name (also offered as the new one), the library's folders, which each
    // preview reads afresh, and the string table. mayApply is asked on "Применить" before anything is
    // written (the forms' unsaved edits); false leaves the dialog open.
    RenameDialog(QWidget* parent, RenameRequest request, std::function<bool()> mayApply);

    // Takes up a rename applied before and left unfinished: its new name and options, the files it left
    // out unticked again, and the preview of what is left to do.
    void Resume(const RenamePlan& unfinished);

    // After "Применить": what was done, also when it was stopped; std::nullopt when nothing was applied.
    const std::optional<RenamePlan>& Applied() const { return mApplied; }
    const RenameResult& Result() const { return mResult; }

    // Running work is stopped at its next safe point instead of the dialog closing; its end closes it
    // after an application.
    void reject() override;

private:
    void Preview();
    void Apply();
    void ApplyEnded(const RenamePlan& plan, const RenameResult& result, const WorkEnd& end);
    // Disables what would change what the running work works on.
    void SetWorking(bool working);
    void ShowSummary();
    // Whether the user goes on with a choice of files that leaves the library naming things that are no
    // longer there (asked only then).
    bool MayApplyChoice();

    RenameRequest mRequest;
    BackgroundWork* mWork = nullptr;
    std::function<bool()> mMayApply;
    RenamePreviewModel* mPreview = nullptr;
    // The files the user left out; a new preview leaves them out again.
    std::set<std::string> mLeftOut;
    std::optional<RenamePlan> mApplied;
    RenameResult mResult;

    QLineEdit* NewNameEd = nullptr;
    QCheckBox* WithStringsChk = nullptr; // dialogues only
    QPushButton* PreviewBtn = nullptr;
    QTreeView* ChangesTree = nullptr;
    QLabel* SummaryLbl = nullptr;
    QPushButton* ApplyBtn = nullptr;
};

// What the message after a rename says (UTF-8 free; the window's text): how many files were done, which
// were left alone because they changed after the preview, which failed and why, and for a rename left
// unfinished that "Повторить" finishes it.
QString RenameResultText(const RenamePlan& plan, const RenameResult& result);

} // namespace pw
