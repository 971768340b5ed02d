#pragma once
// TTextReplaceDialog, the string editor's replace dialog: the find dialog with a second box for the
// replacement text and its history, both brought to the front of their histories on OK.

#include "gui/string_editor/dlgSearchText.h"

namespace pw {

class TTextReplaceDialog : public TTextSearchDialog {
    Q_OBJECT
public:
    explicit TTextReplaceDialog(QWidget* parent = nullptr);

    QString ReplaceText() const;
    void SetReplaceText(const QString& text);
    // The entries of the replacement box's list, newest first. Setting them keeps the box's text.
    QStringList ReplaceTextHistory() const;
    void SetReplaceTextHistory(const QStringList& history);

protected:
    void FormCloseQuery() override;

private:
    QLabel* Label2 = nullptr;
    QComboBox* cbReplaceText = nullptr;
};

} // namespace pw
