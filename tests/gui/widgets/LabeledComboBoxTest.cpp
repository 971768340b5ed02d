#include "gui/widgets/ExtCtrls2.h"

#include <QLabel>
#include <QWidget>

#include <gtest/gtest.h>

using pw::TLabeledComboBox;
using pw::TLabelPosition;

namespace {

// A combo box at (100, 72) sized 121 x 21 with a 40 x 13 label, inside a shown parent (a hidden
// widget receives its move and resize events only when it is shown).
struct LabeledComboBoxPlaced : ::testing::Test {
    QWidget parent;
    TLabeledComboBox* box = new TLabeledComboBox(QStringLiteral("OwnerCmb"), &parent);
    QLabel* label = box->EditLabel();

    void SetUp() override {
        parent.resize(400, 300);
        parent.show();
        box->setGeometry(100, 72, 121, 21);
        label->resize(40, 13);
    }
};

TEST_F(LabeledComboBoxPlaced, LabelIsPlacedByPositionAndSpacing) {
    EXPECT_EQ(label->text(), "OwnerCmb");
    EXPECT_EQ(label->buddy(), box);
    EXPECT_EQ(label->pos(), QPoint(100, 72 - 13 - 3)); // above, spacing 3 by default
    box->SetLabelPosition(TLabelPosition::lpBelow);
    EXPECT_EQ(label->pos(), QPoint(100, 72 + 21 + 3));
    box->SetLabelPosition(TLabelPosition::lpLeft);
    EXPECT_EQ(label->pos(), QPoint(100 - 40 - 3, 76));
    box->SetLabelSpacing(10);
    box->SetLabelPosition(TLabelPosition::lpRight);
    EXPECT_EQ(label->pos(), QPoint(100 + 121 + 10, 76));
    EXPECT_EQ(label->size(), QSize(40, 13)); // the label keeps its size
}

TEST_F(LabeledComboBoxPlaced, LabelFollowsMovesAndResizesAndCentresTowardZero) {
    box->SetLabelPosition(TLabelPosition::lpLeft);
    label->resize(40, 14); // (21 - 14) / 2 = 3.5 -> 3
    EXPECT_EQ(label->y(), 75);
    label->resize(40, 30); // (21 - 30) / 2 = -4.5 -> -4, not -5
    EXPECT_EQ(label->y(), 68);
    box->setGeometry(20, 200, 50, 21);
    EXPECT_EQ(label->pos(), QPoint(20 - 40 - 3, 196));
}

TEST_F(LabeledComboBoxPlaced, LabelFollowsVisibilityEnabledStateParentAndDirection) {
    box->hide();
    EXPECT_FALSE(label->isVisible());
    box->show();
    EXPECT_TRUE(label->isVisible());
    box->setEnabled(false);
    EXPECT_FALSE(label->isEnabled());
    box->setEnabled(true);
    EXPECT_TRUE(label->isEnabled());
    box->setLayoutDirection(Qt::RightToLeft);
    EXPECT_EQ(label->layoutDirection(), Qt::RightToLeft);

    QWidget other;
    box->setParent(&other);
    EXPECT_EQ(label->parentWidget(), &other);
    other.show();
    box->show();
    EXPECT_TRUE(label->isVisible());
    box->setParent(&parent);
}

TEST(LabeledComboBox, LabelOfAnExplicitlyHiddenBoxStaysHiddenWhenTheParentIsShown) {
    QWidget parent;
    auto* hidden = new TLabeledComboBox(QStringLiteral("OwnerCmb"), &parent);
    auto* shown = new TLabeledComboBox(QStringLiteral("FolderCmb"), &parent);
    hidden->hide();
    parent.show();
    EXPECT_FALSE(hidden->EditLabel()->isVisible());
    EXPECT_TRUE(shown->EditLabel()->isVisible());
}

TEST(LabeledComboBox, LabelLivesAndDiesWithTheBoxButMayBeDestroyedFirst) {
    QWidget parent;
    auto* box = new TLabeledComboBox(QStringLiteral("FolderCmb"), &parent);
    QPointer<QLabel> label = box->EditLabel();
    delete box;
    EXPECT_TRUE(label.isNull());

    box = new TLabeledComboBox(QStringLiteral("FolderCmb"), &parent);
    delete box->EditLabel();
    EXPECT_EQ(box->EditLabel(), nullptr);
    parent.show();
    box->setGeometry(10, 40, 100, 21); // placing without a label is harmless
    box->SetLabelText(QStringLiteral("x"));

    TLabeledComboBox orphan(QStringLiteral("TeachSkillCmb"));
    orphan.show();
    EXPECT_FALSE(orphan.EditLabel()->isVisible()); // never a window of its own
}

} // namespace
