// The quest form's undo history, its change mark and the question before a changed form is replaced.

#include "gui/quest_tab/QuestTab.h"

#include "EditorTabFixture.h"

namespace pwtest {
namespace {

using QuestTabHistory = EditorTabFixture<pw::QuestTab>;

TEST_F(QuestTabHistory, EditsAreUndoneStepByStepAndOnlyAChangedFormAsksBeforeALoad) {
    tab.show();
    tab.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&tab));
    const std::string other = WriteQuest("other.quest", {"Name=Other"});
    ASSERT_TRUE(tab.OpenQuest(WriteQuest("fish.quest", {"Name=Fish", "Type=2"})));
    QLineEdit* name = Edit("QuestNameEd");
    QComboBox* type = Combo("QuestTypeCMB");
    const QString fishType = type->currentText();
    name->setFocus();
    QTest::keyClicks(name, "Big_");
    type->setFocus();
    QTest::keyClick(type, Qt::Key_Down); // the next type

    QTest::keyClick(type, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(type->currentText() + name->text(), fishType + "Big_Fish");
    QTest::keyClick(type, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(name->text(), "Fish");
    EXPECT_FALSE(tab.IsChanged());
    QTest::keyClick(type, Qt::Key_Y, Qt::ControlModifier);

    EXPECT_FALSE(tab.OpenQuest(other));
    EXPECT_EQ(
        Boxes(),
        QStringList{"Квест «Big_Fish» изменён и не скомпилирован. Отказаться от изменений? / Внимание"});
    Click("Button1"); // written, the form is no longer changed
    EXPECT_TRUE(tab.OpenQuest(other));
    EXPECT_EQ(name->text(), "Other");
}

} // namespace
} // namespace pwtest
