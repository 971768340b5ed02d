#include "widgets/ExtCtrls2.h"

#include <QLabel>
#include <QWidget>

#include <gtest/gtest.h>

using pw::TLabeledComboBox;
using pw::TLabelPosition;

namespace {

// A combo box at (100, 72) sized 121 x 21 with a 40 x 13 label, inside a shown parent (a hidden
// widget receives its move and resize events only when it is shown).
struct Placed : ::testing::Test {
    QWidget parent;
    TLabeledComboBox* box = new TLabeledComboBox(QStringLiteral("OwnerCmb"), &parent);

    void SetUp() override {
        parent.resize(400, 300);
        parent.show();
        box->setGeometry(100, 72, 121, 21);
        box->EditLabel()->resize(40, 13);
    }
    QPoint LabelPos() const { return box->EditLabel()->pos(); }
};

TEST_F(Placed, LabelStartsAboveWithTheBoxNameAndSpacingThree) {
    QLabel* label = box->EditLabel();
    EXPECT_EQ(label->objectName(), "SubLabel");
    EXPECT_EQ(label->text(), "OwnerCmb");
    EXPECT_EQ(label->buddy(), box);
    EXPECT_EQ(label->parentWidget(), &parent);
    EXPECT_EQ(box->LabelPosition(), TLabelPosition::lpAbove);
    EXPECT_EQ(box->LabelSpacing(), 3);
    EXPECT_TRUE(box->isEditable());
    EXPECT_EQ(LabelPos(), QPoint(100, 72 - 13 - 3));
}

TEST_F(Placed, EachPositionFollowsThePlacementTable) {
    box->SetLabelPosition(TLabelPosition::lpBelow);
    EXPECT_EQ(LabelPos(), QPoint(100, 72 + 21 + 3));
    box->SetLabelPosition(TLabelPosition::lpLeft);
    EXPECT_EQ(LabelPos(), QPoint(100 - 40 - 3, 76)); // (21 - 13) / 2 = 4
    box->SetLabelPosition(TLabelPosition::lpRight);
    EXPECT_EQ(LabelPos(), QPoint(100 + 121 + 3, 76));
    EXPECT_EQ(box->EditLabel()->size(), QSize(40, 13)); // the label keeps its size
}

TEST_F(Placed, CentringTruncatesTowardZero) {
    box->SetLabelPosition(TLabelPosition::lpLeft);
    box->EditLabel()->resize(40, 14); // (21 - 14) / 2 = 3.5 -> 3
    EXPECT_EQ(LabelPos().y(), 75);
    box->EditLabel()->resize(40, 30); // (21 - 30) / 2 = -4.5 -> -4, not -5
    EXPECT_EQ(LabelPos().y(), 68);
}

TEST_F(Placed, SpacingMovesAndResizingReplaceTheLabel) {
    box->SetLabelSpacing(10);
    EXPECT_EQ(LabelPos(), QPoint(100, 72 - 13 - 10));
    box->move(20, 200);
    EXPECT_EQ(LabelPos(), QPoint(20, 200 - 13 - 10));
    box->SetLabelPosition(TLabelPosition::lpRight);
    box->resize(50, 21);
    EXPECT_EQ(LabelPos(), QPoint(20 + 50 + 10, 204));
}

TEST_F(Placed, SetLabelTextSizesTheLabelAndKeepsItAbove) {
    box->SetLabelText(QStringLiteral("Владелец"));
    QLabel* label = box->EditLabel();
    EXPECT_EQ(label->text(), "Владелец");
    EXPECT_EQ(label->size(), label->sizeHint());
    EXPECT_EQ(LabelPos(), QPoint(100, 72 - label->height() - 3));
}

TEST_F(Placed, LabelFollowsVisibilityAndEnabledState) {
    QLabel* label = box->EditLabel();
    EXPECT_TRUE(label->isVisible());
    box->hide();
    EXPECT_FALSE(label->isVisible());
    box->show();
    EXPECT_TRUE(label->isVisible());
    box->setEnabled(false);
    EXPECT_FALSE(label->isEnabled());
    box->setEnabled(true);
    EXPECT_TRUE(label->isEnabled());
}

TEST(LabeledComboBox, LabelOfAHiddenBoxStaysHiddenWhenTheParentIsShown) {
    QWidget parent;
    auto* box = new TLabeledComboBox(QStringLiteral("OwnerCmb"), &parent);
    auto* shownBox = new TLabeledComboBox(QStringLiteral("FolderCmb"), &parent);
    box->hide();
    parent.show();
    EXPECT_FALSE(box->EditLabel()->isVisible());
    EXPECT_TRUE(shownBox->EditLabel()->isVisible());
}

TEST_F(Placed, LabelFollowsParentAndLayoutDirection) {
    QWidget other;
    other.resize(300, 300);
    box->setParent(&other);
    QLabel* label = box->EditLabel();
    EXPECT_EQ(label->parentWidget(), &other);
    other.show();
    box->show();
    EXPECT_TRUE(label->isVisible());
    EXPECT_EQ(LabelPos(), QPoint(100, 72 - 13 - 3));
    box->setLayoutDirection(Qt::RightToLeft);
    EXPECT_EQ(label->layoutDirection(), Qt::RightToLeft);
    box->setParent(&parent); // back, so the fixture's parent owns it again
}

TEST(LabeledComboBox, ForgetsALabelDestroyedElsewhere) {
    QWidget parent;
    auto* box = new TLabeledComboBox(QStringLiteral("FolderCmb"), &parent);
    delete box->EditLabel();
    EXPECT_EQ(box->EditLabel(), nullptr);
    box->setGeometry(10, 40, 100, 21); // placing without a label must be harmless
    box->SetLabelPosition(TLabelPosition::lpLeft);
    box->setParent(nullptr);
    delete box;
}

TEST(LabeledComboBox, DestroysItsLabelWithIt) {
    QWidget parent;
    auto* box = new TLabeledComboBox(QStringLiteral("FolderCmb"), &parent);
    QPointer<QLabel> label = box->EditLabel();
    delete box;
    EXPECT_TRUE(label.isNull());
}

TEST(LabeledComboBox, LabelWithoutParentIsNeverShownAsAWindow) {
    TLabeledComboBox box(QStringLiteral("FolderCmb"));
    box.show();
    EXPECT_FALSE(box.EditLabel()->isVisible());
    QWidget parent;
    box.setParent(&parent);
    EXPECT_EQ(box.EditLabel()->parentWidget(), &parent);
    box.setParent(nullptr);
}

} // namespace
