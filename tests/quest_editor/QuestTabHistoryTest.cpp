// The quest form's undo history, its change mark and the question before a changed form is replaced.

#include "quest_editor/QuestTab.h"

#include "EditorTabFixture.h"

namespace pwtest {
namespace {

struct QuestTabHistory : EditorTabFixture<pw::QuestTab> {
    void SetUp() override {
        tab.show();
        tab.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&tab));
    }
    static void Press(QWidget* focused, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
        focused->setFocus();
        QTest::keyClick(focused, key, modifiers);
    }
};

TEST_F(QuestTabHistory, EditsAreUndoneStepByStepAndOnlyAChangedFormAsksBeforeALoad) {
    const std::string fish = WriteQuest("fish.quest", {"Name=Fish", "Type=2"});
    const std::string other = WriteQuest("other.quest", {"Name=Other"});
    ASSERT_TRUE(tab.OpenQuest(fish));
    QLineEdit* name = Edit("QuestNameEd");
    QComboBox* type = Combo("QuestTypeCMB");
    const QString fishType = type->currentText();
    name->setFocus();
    name->end(false);
    QTest::keyClicks(name, "_2");
    Press(type, Qt::Key_Down, Qt::NoModifier); // the next type
    ASSERT_NE(type->currentText(), fishType);

    Press(type, Qt::Key_Z);
    EXPECT_EQ(type->currentText(), fishType);
    EXPECT_EQ(name->text(), "Fish_2");
    Press(type, Qt::Key_Z);
    EXPECT_EQ(name->text(), "Fish");
    EXPECT_FALSE(tab.IsChanged());
    Press(type, Qt::Key_Y);
    EXPECT_EQ(name->text(), "Fish_2");

    EXPECT_FALSE(tab.OpenQuest(other));
    EXPECT_EQ(Boxes(),
              QStringList{"Квест «Fish_2» изменён и не скомпилирован. Отказаться от изменений? / Внимание"});
    EXPECT_EQ(name->text(), "Fish_2");

    Click("Button1"); // written, the form is no longer changed
    EXPECT_TRUE(Exists(dir.File("_Quests/Fish_2_quest_G3_World_01.quest")));
    EXPECT_TRUE(tab.OpenQuest(other));
    EXPECT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(name->text(), "Other");
}

} // namespace
} // namespace pwtest
