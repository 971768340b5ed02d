#pragma once
// The editor tabs' fields as the program's 8-bit text: reading what a field shows, and showing a text
// in a field so that its beginning is visible.

#include <QStringList>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QLineEdit;
class QWidget;

namespace pw {

// The entries of a list of Windows-1251 texts, as a combo box shows them.
QStringList ComboEntries(const std::vector<std::string>& entries);

// The text the field shows, as Windows-1251 (characters the code page lacks become '?'). For showing
// and looking up; what goes into a file is read through FieldsForWriting.
std::string TextOf(const QLineEdit* edit);
std::string TextOf(const QComboBox* box);

// The name a message gives a field: its accessible name when it has one (see NameFieldWithKey), else the
// text of the label the form shows for it, else its object name.
QString FieldName(const QWidget* field);

// For fields whose labels alone do not tell them apart: the name messages give the field becomes its
// label followed by the key it is written to, "Значение навыка (TeachAttribValue)". The form still
// shows the label alone; the name is the field's accessible name, so screen readers tell them apart too.
void NameFieldWithKey(QWidget* field, const QString& key);

// A character that Windows-1251 lacks, found in a text read for writing.
struct UnwritableCharacter {
    QString place; // where it is, as a sentence begins: "В поле «Название»"
    char32_t character = 0;
};

// "<place> есть символ «ż» (U+017C), которого нет в кодировке Windows-1251. <notDone>: замените или
// удалите этот символ."
QString UnwritableMessage(const UnwritableCharacter& found, const QString& notDone);

// Reads a form's texts for a file, each converted to Windows-1251 with nothing replaced. The first text
// that holds a character the code page lacks is remembered, and the caller writes nothing then; that
// text reads as empty.
class FieldsForWriting {
public:
    // A field of the form, named "В поле «<FieldName>»".
    std::string Text(const QLineEdit* edit);
    std::string Text(const QComboBox* box);
    // Any text; place (see UnwritableCharacter) is asked for only when the text cannot be converted.
    std::string Text(const QString& text, const std::function<QString()>& place);

    const std::optional<UnwritableCharacter>& Unwritable() const { return mUnwritable; }

private:
    std::optional<UnwritableCharacter> mUnwritable;
};

// Shows Windows-1251 text in an edit box, scrolled to its beginning.
void SetEditText(QLineEdit* edit, const std::string& bytes);
// Shows Windows-1251 text in an editable combo box; when it is one of the entries (whole text, letter
// case respected), that entry becomes the current one.
void SetComboText(QComboBox* box, const std::string& bytes);
// Makes the entry at position current; a position outside the list leaves no entry chosen and the box
// empty.
void SetComboPosition(QComboBox* box, int position);
// The position of the chosen entry: the current entry while the box still shows it, otherwise the
// entry equal to the typed text (letter case ignored, as the box's own search), -1 for none.
int SelectedPosition(const QComboBox* box);

} // namespace pw
