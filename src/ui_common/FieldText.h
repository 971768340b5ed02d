#pragma once
// The editor tabs' fields as the program's 8-bit text: reading what a field shows, and showing a text
// in a field so that its beginning is visible.

#include <QStringList>

#include <string>
#include <vector>

class QComboBox;
class QLineEdit;

namespace pw {

// The entries of a list of Windows-1251 texts, as a combo box shows them.
QStringList ComboEntries(const std::vector<std::string>& entries);

// The text the field shows, as Windows-1251 (characters the code page lacks become '?').
std::string TextOf(const QLineEdit* edit);
std::string TextOf(const QComboBox* box);

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
