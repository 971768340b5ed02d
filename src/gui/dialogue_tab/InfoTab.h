#pragma once
// The dialogue tab ("Диалоги"): the library search box, the single-valued fields, the condition lists,
// the command grid and the raw file pane. It binds these controls to the editor model: loading shows
// a model made from a .info file, compiling reads the controls into a model and writes it.

#include "core/dialogue/InfoEditorModel.h"
#include "gui/common/Jumps.h"

#include <QWidget>

#include <string>
#include <vector>

class QComboBox;
class QHelpEvent;
class QItemSelection;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSplitter;
class QTableWidget;

namespace pw {

struct Workspace;
class FieldsForWriting;
class NameCompleter;
class FormHistory;
class TextPane;
class CommandListEditor;
class CommandRowHints;
class TEditableListView;
class TLabeledComboBox;

class InfoTab : public QWidget {
    Q_OBJECT
public:
    InfoTab(Workspace& workspace, QWidget* parent = nullptr);
    ~InfoTab() override;

    // Replaces the editor's content by the .info file at path (native bytes), without asking. Notices
    // about names missing from the built-in lists are shown and loading goes on. A file that does not
    // exist, cannot be read or is no dialogue file (see ReadRecordForEditor) is reported and leaves the
    // tab unchanged. Returns whether the file was loaded; a loaded file begins a new undo history.
    bool LoadInfo(const std::string& path);

    // Whether the user changed the form since it was loaded or compiled.
    bool IsChanged() const;
    // Asked before anything replaces the form: true when it is not changed or the user agrees to give
    // up its changes ("Диалог «…» изменён и не скомпилирован. Отказаться от изменений?", No the
    // default). A cell edit still open is written into its list first.
    bool MayReplaceForm();
    // MayReplaceForm, then LoadInfo; whether the file was loaded.
    bool OpenInfo(const std::string& path);
    // The form's undo history.
    FormHistory* History() const { return mHistory; }

    // Checks the editor's content, writes the .info file and shows it in SynInfoMem; a problem with
    // the content or the write ends in one message box. A character that Windows-1251 lacks, in a field
    // or a list cell, is named with its place before anything else is checked or touched. Throws
    // std::runtime_error when the written file cannot be read back into the pane (the file stays written).
    // A written file clears the form's change mark.
    void CompileInfo();

    // Gives another read-only pane (the quest tab's) the context menu of SynInfoMem.
    void ShareSynInfoMemPop(QPlainTextEdit* pane);

    // The library index has a new build: a field whose typed text found no name while the index was being
    // built is offered what it finds now.
    void OfferNamesAgain();

signals:
    // A double click on QuestEd asks for the quest of that name (Windows-1251, as typed).
    void QuestEdDblClick(const std::string& name);
    // A line was written to the string table from this tab.
    void TableStringAdded();
    // A file was loaded into the form (path as given to LoadInfo), or the compile wrote one.
    void InfoLoaded(const std::string& path);
    void RecordWritten(const std::string& path);
    // A name of the form or a cell was followed: its context menu or Ctrl+click.
    void JumpRequested(const pw::Jump& jump);
    // What the command of the grid's current row does and what its cells hold (see CommandHelp), for the
    // status bar; empty when there is nothing to tell.
    void StatusHelp(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildSearchPanel();
    QWidget* BuildParamsGroup();
    QWidget* BuildListsGroup();
    void BuildHistory();
    // The drop-down completion of the fields and of the command grid's cell editor.
    void AttachCompletion();

    // The form's record for the compile; a character Windows-1251 lacks is left in fields.
    InfoEditorModel ReadModel(FieldsForWriting& fields) const;
    void ShowModel(const InfoEditorModel& model);

    void BuildBtnClick();
    void CommandListSelectItem(const QItemSelection& selected);
    // With a language chosen, a Texts cell's tooltip is its string's text in that language.
    bool ShowTextTooltip(const QHelpEvent& event);
    // The hint field shows the line of the first selected row's text ID, or nothing without a selection.
    void ShowHintOfSelectedRow();
    void WriteBtnClick();
    // "Вставить разговор…": the dialog, then its rows into the grid once their entries are written.
    void InsertConversation();
    QString FirstSelectedTextId() const;
    void TeachSkillCmbUserChange();
    void KeepZeroWhenBlank(QLineEdit* edit);
    // The jumps of the form's names and of the command grid's cells.
    void AttachJumpMenus();
    std::vector<JumpItem> CellJumps(int row, int column) const;

    Workspace& mWorkspace;

    QLineEdit* NameEd = nullptr;
    QLineEdit* SortIdEd = nullptr;
    TLabeledComboBox* OwnerCmb = nullptr;
    QLineEdit* InfoGivenEd = nullptr;
    QLineEdit* ParentEd = nullptr;
    QLineEdit* QuestEd = nullptr;
    TLabeledComboBox* ConditionTypeCmb = nullptr;
    TLabeledComboBox* InfoTypeCmb = nullptr;
    QLineEdit* GoldCostEd = nullptr;
    QLineEdit* CondOwnerNearEntityEd = nullptr;
    TLabeledComboBox* FolderCmb = nullptr;
    QLineEdit* CondPlayerKnowsEd = nullptr;
    TLabeledComboBox* CondItemContainerCmb = nullptr;
    TLabeledComboBox* TeachSkillCmb = nullptr;
    QLineEdit* TeachSkillIsPercEd = nullptr;
    QLineEdit* TeachSkillIndexEd = nullptr;
    QLineEdit* TeachSkillValueEd = nullptr;
    QLineEdit* TeachAttribEd = nullptr;
    QLineEdit* TeachAttribValueEd = nullptr;
    QLineEdit* PermanentEd = nullptr;
    QLineEdit* ClearChildrenEd = nullptr;
    QLineEdit* InfoStrViewEd = nullptr;
    QPushButton* WriteBtn = nullptr;
    QPushButton* BuildBtn = nullptr;

    TEditableListView* ItemsList = nullptr;
    TEditableListView* NpcList = nullptr;
    QLineEdit* ItemsListEd = nullptr;
    QComboBox* NPCListCmb = nullptr;
    QTableWidget* CommandList = nullptr;
    QSplitter* Splitter1 = nullptr;
    TextPane* SynInfoMem = nullptr;
    CommandListEditor* mCommandListEditor = nullptr;
    FormHistory* mHistory = nullptr;
    std::vector<NameCompleter*> mCompleters;     // of the fields offered the library's names
    CommandRowHints* mCommandRowHints = nullptr; // a child of CommandList
};

} // namespace pw
