#pragma once
// "Вставить разговор…" of the command grid: the user pastes a written conversation and may change the
// ID prefix; a preview shows the Say rows and entries it makes (see ConversationImport), refreshed as the
// text changes. "Вставить" asks once, appends the entries to the string table and accepts; the caller then
// puts Rows() into the grid.

#include "core/dialogue/ConversationImport.h"
#include "gui/common/BackgroundWork.h"

#include <QDialog>

#include <optional>
#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace pw {

class TStringTable;

class ConversationImportDialog : public QDialog {
    Q_OBJECT
public:
    // owner and name are the dialogue's Owner and Name as the tab shows them (Windows-1251); the prefix
    // starts as name. The texts go into field textField of the new values (a language's). Reads the table
    // (not owned; it outlives the dialog) once for the preview; throws std::runtime_error("Cannot open
    // file ...") when it cannot be read.
    ConversationImportDialog(QWidget* parent, const TStringTable& table, std::string owner,
                             const std::string& name, std::size_t textField = 0);

    // The Say rows whose entries were written (Windows-1251); empty until the dialog is accepted.
    const std::vector<CommandRow>& Rows() const { return mRows; }

    // While the entries are written, stops the write if it has not begun instead of closing.
    void reject() override;

private:
    void ReadTable();
    ConversationPlan Plan() const;
    void Refresh();
    void InsertBtnClick();
    void WriteEnded(const std::optional<std::string>& held, const std::vector<CommandRow>& rows,
                    const WorkEnd& end);
    // Locks the text and the prefix while the entries are written.
    void SetWorking(bool working);

    const TStringTable& mTable;
    BackgroundWork* mWork;
    std::string mOwner;
    std::size_t mTextField;
    ConversationTable mTableIds; // the table as last read
    std::vector<CommandRow> mRows;

    QPlainTextEdit* ConversationEd = nullptr;
    QLineEdit* PrefixEd = nullptr;
    QTableWidget* PreviewList = nullptr;
    QLabel* RefusalLbl = nullptr;
    QPushButton* InsertBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
};

} // namespace pw
