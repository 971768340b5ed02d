#include "gui/string_editor/dlgReplaceText.h"

#include <QComboBox>
#include <QLabel>

namespace pw {

TTextReplaceDialog::TTextReplaceDialog(QWidget* parent)
    : TTextSearchDialog(parent, QStringLiteral("Replace text"), 210, 70) {
    setObjectName(QStringLiteral("TextReplaceDialog"));
    Label2 = new QLabel(QStringLiteral("&Replace with:"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(8, 41, 85, 13);
    cbReplaceText = MakeTextBox(this, "cbReplaceText", 37);
    Label2->setBuddy(cbReplaceText);
    // In the tab order the new box follows the search box.
    setTabOrder(SearchTextBox(), cbReplaceText);
}

QString TTextReplaceDialog::ReplaceText() const {
    return cbReplaceText->currentText();
}
void TTextReplaceDialog::SetReplaceText(const QString& text) {
    cbReplaceText->setEditText(text);
}
QStringList TTextReplaceDialog::ReplaceTextHistory() const {
    return History(cbReplaceText);
}
void TTextReplaceDialog::SetReplaceTextHistory(const QStringList& history) {
    SetHistory(cbReplaceText, history);
}

void TTextReplaceDialog::FormCloseQuery() {
    TTextSearchDialog::FormCloseQuery();
    PutTextFirst(cbReplaceText);
}

} // namespace pw
