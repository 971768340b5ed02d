#pragma once
// The quest tab ("Квесты"): the library search box, the 22 quest fields, the string-table hint with its
// write button, and the read-only pane that shows a quest file on disk. It binds these controls to the
// quest editor model: loading shows a model made from a .quest file, compiling reads the controls into
// a model and writes it.

#include "core/quest/QuestEditorModel.h"
#include "gui/common/Jumps.h"

#include <QWidget>

#include <map>
#include <string>
#include <string_view>

class QKeyEvent;
class QLineEdit;
class QPushButton;

namespace pw {

struct Workspace;
class FieldsForWriting;
class FormHistory;
class TextPane;
class TLabeledComboBox;

class QuestTab : public QWidget {
    Q_OBJECT
public:
    QuestTab(Workspace& workspace, QWidget* parent = nullptr);

    // Replaces the fields and the pane by the .quest file at path (the file system's bytes), without
    // asking and without touching the hint field. A file that does not exist, cannot be read or is no
    // quest file (see ReadRecordForEditor) is reported and leaves the tab unchanged. Returns whether
    // the file was loaded; a loaded file begins a new undo history.
    bool LoadQuest(const std::string& path);

    // Whether the user changed the form since it was loaded or compiled.
    bool IsChanged() const;
    // Asked before anything replaces the form: true when it is not changed or the user agrees to give
    // up its changes ("Квест «…» изменён и не скомпилирован. Отказаться от изменений?", No the default).
    bool MayReplaceForm();
    // MayReplaceForm, then LoadQuest; whether the file was loaded.
    bool OpenQuest(const std::string& path);
    // The form's undo history.
    FormHistory* History() const { return mHistory; }

    // Converts the fields, writes the .quest file and shows it in SynQuestMem. A field that is no
    // whole number, a scratch folder that cannot be made and a failed write throw std::runtime_error
    // for the general error display; the other problems end in the quest editor's own box, among them
    // a character that Windows-1251 lacks, named with its field. The pane keeps its text on every
    // failure. A written file clears the form's change mark.
    void CompileQuest();

    // Shows in SynQuestMem the first quest of the library whose Name equals name (Windows-1251, A-Z
    // folded); nothing happens when none does. Throws std::runtime_error when that file cannot be
    // read into the pane.
    void ShowQuestByName(const std::string& name);

    // The read-only pane that shows quest files.
    TextPane* QuestPane() const { return SynQuestMem; }

signals:
    // A line was written to the string table from this tab.
    void TableStringAdded();
    // A file was loaded into the form (path as given to LoadQuest), or the compile wrote one.
    void QuestLoaded(const std::string& path);
    void RecordWritten(const std::string& path);
    // A name of the form was followed: its context menu or Ctrl+click.
    void JumpRequested(const pw::Jump& jump);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildSearchPanel();
    QWidget* BuildParamsGroup();
    QWidget* BuildEditorGroup();
    void BuildHistory();

    // The form's record for the compile; a character Windows-1251 lacks is left in fields.
    QuestEditorModel ReadModel(FieldsForWriting& fields) const;
    void ShowModel(const QuestEditorModel& model);

    void AttachJumpMenus();
    void Button1Click();
    void WriteInfoTableBtnClick();
    bool SynQuestMemKeyPress(const QKeyEvent& event);

    Workspace& mWorkspace;

    // The text fields by control name (every field but QuestTypeCMB); the combo boxes among them too.
    std::map<std::string_view, QWidget*> mTextFields;
    TLabeledComboBox* QuestTypeCMB = nullptr;
    TLabeledComboBox* QuestEnclaveSuccessCMB = nullptr;
    TLabeledComboBox* QuestFolderCMB = nullptr;
    QLineEdit* QuestLogTopicEd = nullptr;
    QLineEdit* QuestLogTextEd = nullptr;
    QLineEdit* QuestStrViewEd = nullptr;
    QPushButton* WriteInfoTableBtn = nullptr;
    QPushButton* Button1 = nullptr;
    TextPane* SynQuestMem = nullptr;
    FormHistory* mHistory = nullptr;
};

} // namespace pw
