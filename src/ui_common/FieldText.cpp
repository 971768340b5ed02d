#include "ui_common/FieldText.h"

#include "ui_common/Cp1251Text.h"

#include <QComboBox>
#include <QLineEdit>

namespace pw {

QStringList ComboEntries(const std::vector<std::string>& entries) {
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(entries.size()));
    for (const std::string& entry : entries)
        texts << FromCp1251(entry);
    return texts;
}

std::string TextOf(const QLineEdit* edit) {
    return ToCp1251(edit->text());
}

std::string TextOf(const QComboBox* box) {
    return ToCp1251(box->currentText());
}

void SetEditText(QLineEdit* edit, const std::string& bytes) {
    edit->setText(FromCp1251(bytes));
    edit->setCursorPosition(0); // a text wider than the field shows its beginning
}

void SetComboText(QComboBox* box, const std::string& bytes) {
    const QString text = FromCp1251(bytes);
    box->setCurrentIndex(box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
    box->setEditText(text);
    box->lineEdit()->setCursorPosition(0); // a text wider than the box shows its beginning
}

void SetComboPosition(QComboBox* box, int position) {
    box->setCurrentIndex(position >= 0 && position < box->count() ? position : -1);
    box->lineEdit()->setCursorPosition(0);
}

int SelectedPosition(const QComboBox* box) {
    const int current = box->currentIndex();
    if (current >= 0 && box->itemText(current) == box->currentText())
        return current;
    return box->findText(box->currentText(), Qt::MatchFixedString);
}

} // namespace pw
