// The handlers that keep some fields well-formed while the user types.

#include "InfoTabFixture.h"

#include <QApplication>
#include <QFocusEvent>
#include <QTest>

namespace pwtest {
namespace {

using InfoTabFields = InfoTabFixture;

void LeaveField(QLineEdit* edit) {
    QFocusEvent focusOut(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(edit, &focusOut);
}

TEST_F(InfoTabFields, EmptiedSkillNumbersGoBackToZeroAtOnce) {
    for (const char* name : {"TeachSkillIndexEd", "TeachSkillValueEd"}) {
        SCOPED_TRACE(name);
        QLineEdit* edit = Edit(name);
        edit->setText("12");
        QTest::keyClick(edit, Qt::Key_Backspace);
        EXPECT_EQ(edit->text(), "1");
        QTest::keyClick(edit, Qt::Key_Backspace);
        EXPECT_EQ(edit->text(), "0");
        edit->setText("   ");
        EXPECT_EQ(edit->text(), "0");
    }
    QLineEdit* gold = Edit("GoldCostEd"); // no such handler: may stay empty
    gold->clear();
    EXPECT_EQ(gold->text(), "");
}

TEST_F(InfoTabFields, BooleanFieldsAreNormalisedWhenLeft) {
    for (const char* name : {"InfoGivenEd", "TeachSkillIsPercEd", "PermanentEd", "ClearChildrenEd"}) {
        SCOPED_TRACE(name);
        QLineEdit* edit = Edit(name);
        edit->setText("yes");
        EXPECT_EQ(edit->text(), "yes"); // nothing happens while typing
        LeaveField(edit);
        EXPECT_EQ(edit->text(), "False");
        edit->setText("true");
        LeaveField(edit);
        EXPECT_EQ(edit->text(), "true");
        edit->setText("FALSE");
        LeaveField(edit);
        EXPECT_EQ(edit->text(), "FALSE");
    }
    QLineEdit* name = Edit("NameEd");
    name->setText("yes");
    LeaveField(name);
    EXPECT_EQ(name->text(), "yes");
}

TEST_F(InfoTabFields, RealFocusChangeNormalises) {
    tab.show();
    QApplication::setActiveWindow(&tab);
    QLineEdit* permanent = Edit("PermanentEd");
    permanent->setFocus();
    QTest::keyClicks(permanent, "maybe");
    Edit("NameEd")->setFocus();
    EXPECT_EQ(permanent->text(), "False");
}

TEST_F(InfoTabFields, ChoosingOrTypingASkillSetsTheSpecialSkillField) {
    QComboBox* skills = Combo("TeachSkillCmb");
    QLineEdit* special = Edit("TeachSkillIsPercEd");

    skills->setCurrentIndex(3);
    emit skills->activated(3); // the user picks "Perk_Acrobatic" from the list
    EXPECT_EQ(special->text(), "True");

    skills->lineEdit()->clear();
    QTest::keyClicks(skills->lineEdit(), "Unknown_Skill");
    EXPECT_EQ(special->text(), "False");

    skills->lineEdit()->clear();
    QTest::keyClicks(skills->lineEdit(), "spl_fear"); // the box's own search ignores letter case
    EXPECT_EQ(special->text(), "True");
}

TEST_F(InfoTabFields, LoadingASkillDoesNotTouchTheSpecialSkillField) {
    tab.LoadInfo(WriteInfo("a.info", {"Name=A", "TeachSkill=Spl_Fear", "TeachSkillIsPerc=False"}));
    EXPECT_EQ(Text("TeachSkillCmb"), "Spl_Fear");
    EXPECT_EQ(Text("TeachSkillIsPercEd"), "False");
}

} // namespace
} // namespace pwtest
