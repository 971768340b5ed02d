// The handlers that keep some fields well-formed while the user types.

#include "gui/dialogue_tab/InfoTab.h"

#include "EditorTabFixture.h"

#include <QApplication>

namespace pwtest {
namespace {

using InfoTabFields = EditorTabFixture<pw::InfoTab>;

TEST_F(InfoTabFields, EmptiedSkillNumbersGoBackToZeroAtOnce) {
    for (const char* name : {"TeachSkillIndexEd", "TeachSkillValueEd"}) {
        auto* edit = Find<QLineEdit>(name);
        edit->setText("12");
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClick(edit, Qt::Key_Backspace);
        EXPECT_EQ(edit->text(), "0") << name;
    }
    Find<QLineEdit>("GoldCostEd")->clear(); // no such handler there
    EXPECT_EQ(Text("GoldCostEd"), "");
}

TEST_F(InfoTabFields, BooleanFieldsAreNormalisedWhenTheFocusLeaves) {
    tab.show();
    QApplication::setActiveWindow(&tab);
    auto* name = Find<QLineEdit>("NameEd");
    // Which texts stay is the field rule's (tested with the logic); here, when and where it applies.
    for (const char* field : {"InfoGivenEd", "TeachSkillIsPercEd", "PermanentEd", "ClearChildrenEd"}) {
        auto* edit = Find<QLineEdit>(field);
        edit->setFocus();
        edit->clear();
        QTest::keyClicks(edit, "yes");
        EXPECT_EQ(edit->text(), "yes"); // nothing happens while typing
        name->setFocus();
        EXPECT_EQ(edit->text(), "False") << field;
    }
    Find<QLineEdit>("InfoGivenEd")->setFocus();
    QTest::keyClicks(name, "yes");
    EXPECT_EQ(name->text(), "yes");
}

TEST_F(InfoTabFields, UserChangeOfTheSkillSetsTheSpecialSkillField) {
    QComboBox* skills = Combo("TeachSkillCmb");
    skills->setCurrentIndex(3);
    emit skills->activated(3); // the user picks "Perk_Acrobatic" from the list
    EXPECT_EQ(Text("TeachSkillIsPercEd"), "True");
    skills->lineEdit()->clear();
    QTest::keyClicks(skills->lineEdit(), "Unknown_Skill");
    EXPECT_EQ(Text("TeachSkillIsPercEd"), "False");
    skills->lineEdit()->clear();
    QTest::keyClicks(skills->lineEdit(), "spl_fear"); // the box's own search ignores letter case
    EXPECT_EQ(Text("TeachSkillIsPercEd"), "True");

    // The box completes what is typed and Enter takes the completed entry, also when it is the entry
    // the box held before the typing began; the field follows what the box shows.
    tab.show();
    QApplication::setActiveWindow(&tab);
    skills->setFocus();
    for (int round = 0; round < 2; ++round) {
        QTest::keyClick(skills->lineEdit(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(skills->lineEdit(), "spl_fe");
        QTest::keyClick(skills->lineEdit(), Qt::Key_Return);
        EXPECT_EQ(skills->currentText(), "Spl_Fear");
        EXPECT_EQ(Text("TeachSkillIsPercEd"), "True") << round;
    }

    tab.LoadInfo(WriteInfo("a.info", {"Name=A", "TeachSkill=Spl_Fear", "TeachSkillIsPerc=False"}));
    EXPECT_EQ(Text("TeachSkillIsPercEd"), "False"); // a load is not a change by the user
}

} // namespace
} // namespace pwtest
