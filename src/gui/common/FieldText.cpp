#include "gui/common/FieldText.h"

#include "gui/common/Cp1251Text.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <utility>

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

QString FieldName(const QWidget* field) {
    if (!field->accessibleName().isEmpty())
        return field->accessibleName();
    if (const QWidget* parent = field->parentWidget())
        for (const QLabel* label : parent->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
            if (label->buddy() == field)
                return label->text();
    return field->objectName();
}

void NameFieldWithKey(QWidget* field, const QString& key) {
    field->setAccessibleName(QStringLiteral("%1 (%2)").arg(FieldName(field), key));
}

QString UnwritableMessage(const UnwritableCharacter& found, const QString& notDone) {
    return QStringLiteral("%1 есть символ «%2» (U+%3), которого нет в кодировке Windows-1251. %4: замените "
                          "или удалите этот символ.")
        .arg(found.place, QString::fromUcs4(&found.character, 1),
             QString::number(found.character, 16).toUpper().rightJustified(4, u'0'), notDone);
}

std::string FieldsForWriting::Text(const QLineEdit* edit) {
    return Text(edit->text(), [edit] { return QStringLiteral("В поле «%1»").arg(FieldName(edit)); });
}

std::string FieldsForWriting::Text(const QComboBox* box) {
    return Text(box->currentText(), [box] { return QStringLiteral("В поле «%1»").arg(FieldName(box)); });
}

std::string FieldsForWriting::Text(const QString& text, const std::function<QString()>& place) {
    Cp1251Bytes converted = ToCp1251Checked(text);
    if (converted.missing && !mUnwritable)
        mUnwritable = UnwritableCharacter{place(), *converted.missing};
    return std::move(converted.bytes);
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
