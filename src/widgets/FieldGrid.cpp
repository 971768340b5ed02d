#include "widgets/FieldGrid.h"

#include "widgets/ExtCtrls2.h"

#include <QFont>
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
// A label longer than its column is cut rather than run into the next column's label.
constexpr int kLabelWidth = kColumnPitch - 4;

QLabel* LabelOf(const QLineEdit* edit) {
    for (QLabel* label : edit->parentWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        if (label->buddy() == edit)
            return label;
    return nullptr;
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
    caption->resize(qMin(caption->width(), kLabelWidth), caption->height());
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
    box->EditLabel()->resize(qMin(box->EditLabel()->width(), kLabelWidth), box->EditLabel()->height());
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
    QFont font(QStringLiteral("Tahoma"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

} // namespace pw
