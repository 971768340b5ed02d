#pragma once
// The field grid of the editor tabs' "Параметры" groups: seven columns of 121-pixel fields at 128-pixel
// steps, rows 44 pixels apart, each field with its label 3 pixels above it. A label is as wide as its
// text, which is read whole: in the editor tabs' font nearly every label fits its column, and one that
// would run into the next column's label ("Передаваемые единицы") is set a little tighter.

#include <QRect>
#include <QString>

class QFont;
class QLineEdit;
class QPushButton;
class QWidget;

namespace pw {

class TLabeledComboBox;

inline constexpr int kGridColumns = 7;

// The rectangle of the field at column and row, columnSpan columns wide.
QRect FieldRect(int column, int row, int columnSpan = 1);
// The height of a group that holds rows rows of the grid.
int FieldGridHeight(int rows);

// An edit box at the cell with its label above it (the label's buddy is the box).
QLineEdit* AddGridEdit(QWidget* group, const char* name, const QString& label, const QString& hint,
                       int column, int row);
// An editable labelled combo box at the cell.
TLabeledComboBox* AddGridCombo(QWidget* group, const char* name, const QString& label, int column, int row);
// A button at the cell, as high as a field plus a pixel above and below.
QPushButton* AddGridButton(QWidget* group, const char* name, const QString& caption, int column, int row);
// Colours the label of a hint field green, which sets it apart from the fields that go into the file.
void MarkHintLabel(QLineEdit* hintField);

// The editor tabs' font: their controls are laid out for a small dialog face of 8 points, as
// Windows forms of this density are.
QFont EditorTabFont();

} // namespace pw
