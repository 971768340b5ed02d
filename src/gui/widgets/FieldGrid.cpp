#include "gui/widgets/FieldGrid.h"

#include "gui/widgets/ExtCtrls2.h"

#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace pw {

namespace {

constexpr int kFieldWidth = 121;
constexpr int kFieldHeight = 21;
constexpr int kGridLeft = 10;
constexpr int kColumnPitch = 128;
constexpr int kGridTop = 38;
constexpr int kRowPitch = 44;
constexpr int kLabelSpacing = 3;
// The room a label has: its column, less a gap to the next column's label.
constexpr int kLabelRoom = kColumnPitch - 4;
constexpr int kSmallestLabelPixels = 9;

QLabel* LabelOf(const QLineEdit* edit) {
    for (QLabel* label : edit->parentWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        if (label->buddy() == edit)
            return label;
    return nullptr;
}

// A label's text is set as it is when it fits its room. Where the font at hand draws it wider, it is
// set tighter until it fits: letters closer first, then a pixel smaller.
void FitLabel(QLabel* label) {
    QFont font = label->font();
    if (font.pixelSize() < 0)
        font.setPixelSize(QFontInfo(font).pixelSize());
    const auto width = [&font, label] { return QFontMetrics(font).horizontalAdvance(label->text()); };
    while (width() > kLabelRoom) {
        if (font.letterSpacing() > -1) {
            font.setLetterSpacing(QFont::AbsoluteSpacing, font.letterSpacing() - 0.25);
        } else if (font.pixelSize() > kSmallestLabelPixels) {
            font.setPixelSize(font.pixelSize() - 1);
            font.setLetterSpacing(QFont::AbsoluteSpacing, 0);
        } else {
            break;
        }
    }
    if (font != label->font()) {
        label->setFont(font);
        label->adjustSize();
    }
}

} // namespace

QRect FieldRect(int column, int row, int columnSpan) {
    return QRect(kGridLeft + column * kColumnPitch, kGridTop + row * kRowPitch,
                 (columnSpan - 1) * kColumnPitch + kFieldWidth, kFieldHeight);
}

int FieldGridHeight(int rows) {
    return kGridTop + (rows - 1) * kRowPitch + kFieldHeight + 10;
}

QLineEdit* AddGridEdit(QWidget* group, const char* name, const QString& label, const QString& hint,
                       int column, int row) {
    auto* edit = new QLineEdit(group);
    edit->setObjectName(QLatin1String(name));
    edit->setGeometry(FieldRect(column, row));
    edit->setToolTip(hint);
    auto* caption = new QLabel(label, group);
    caption->setBuddy(edit);
    caption->adjustSize();
    FitLabel(caption);
    caption->move(edit->x(), edit->y() - caption->height() - kLabelSpacing);
    return edit;
}

TLabeledComboBox* AddGridCombo(QWidget* group, const char* name, const QString& label, int column, int row) {
    auto* box = new TLabeledComboBox(QLatin1String(name), group);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMaxVisibleItems(20);
    box->SetLabelPosition(TLabelPosition::lpAbove);
    box->SetLabelSpacing(kLabelSpacing);
    box->SetLabelText(label);
    FitLabel(box->EditLabel());
    box->setGeometry(FieldRect(column, row));
    return box;
}

QPushButton* AddGridButton(QWidget* group, const char* name, const QString& caption, int column, int row) {
    auto* button = new QPushButton(caption, group);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(FieldRect(column, row).adjusted(0, -1, 0, 1));
    return button;
}

void MarkHintLabel(QLineEdit* hintField) {
    if (QLabel* label = LabelOf(hintField)) {
        QPalette green = label->palette();
        green.setColor(QPalette::WindowText, QColor(0, 128, 0));
        label->setPalette(green);
    }
}

QFont EditorTabFont() {
    // Tahoma where it is installed (Windows); elsewhere DejaVu Sans Condensed, as narrow. 8 points at
    // 96 dpi, kept in pixels because the grid is laid out in pixels.
    QFont font;
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans Condensed")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

} // namespace pw
