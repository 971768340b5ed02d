// The field grid's labels: as wide as their texts and read whole, whatever face the machine has.

#include "gui/widgets/FieldGrid.h"

#include "gui/widgets/ExtCtrls2.h"

#include "FormChecks.h"

#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace {

// A group with the longest labels of the editor tabs side by side, in a given face.
QStringList UnreadableIn(const QFont& font, int* smallestPixels) {
    QWidget group;
    group.setFont(font);
    group.resize(930, 200);
    pw::AddGridEdit(&group, "A", QStringLiteral("Передача информации"), QString(), 0, 0);
    pw::AddGridEdit(&group, "B", QStringLiteral("Передаваемые единицы"), QString(), 1, 0);
    pw::AddGridCombo(&group, "C", QStringLiteral("Показывать постоянно"), 2, 0);
    pw::AddGridEdit(&group, "D", QStringLiteral("Скрыть дочерние д-ги"), QString(), 3, 0);
    pw::AddGridEdit(&group, "E", QStringLiteral("Название"), QString(), 4, 0);
    group.show();
    *smallestPixels = 100;
    for (const QLabel* label : group.findChildren<QLabel*>())
        *smallestPixels = std::min(*smallestPixels, QFontInfo(label->font()).pixelSize());
    return pwtest::UnreadableLabels(group);
}

TEST(FieldGrid, LabelsAreReadWholeInTheTabFontAndInAWiderFace) {
#ifdef _WIN32
    GTEST_SKIP() << "the widths are those of Wine's replacement fonts, not Windows's Tahoma";
#endif
    int smallest = 0;
    EXPECT_EQ(UnreadableIn(pw::EditorTabFont(), &smallest).join('\n').toStdString(), "");
    EXPECT_EQ(smallest, 11);

    QFont wide(QStringLiteral("DejaVu Sans")); // a machine without a narrow face
    wide.setPixelSize(11);
    EXPECT_EQ(UnreadableIn(wide, &smallest).join('\n').toStdString(), "");
    EXPECT_GE(smallest, 10); // set tighter, not tiny
}

} // namespace
