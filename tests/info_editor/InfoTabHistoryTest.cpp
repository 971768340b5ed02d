// The dialogue form's undo history, its change mark and the question before a changed form is replaced.

#include "info_editor/InfoTab.h"

#include "EditorTabFixture.h"

#include <QAction>
#include <QPushButton>

namespace pwtest {
namespace {

struct InfoTabHistory : EditorTabFixture<pw::InfoTab> {
    std::string diego;
    void SetUp() override {
        workspace.configs->TmpFiles = true;
        tab.resize(927, 900);
        tab.show();
        tab.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&tab));
        diego = WriteInfo("diego.info", {"Name=Diego_Hello", "Owner=Diego", "InfoScript_Commands=Say",
                                         "InfoScript_Entities1=owner", "InfoScript_Texts=Diego_Hello_01"});
        ASSERT_TRUE(tab.LoadInfo(diego));
    }
    // The keys pressed in focused; then the events of the moment are handled, as between two key presses.
    static void Press(QWidget* focused, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
        focused->setFocus();
        QTest::keyClick(focused, key, modifiers);
        QCoreApplication::processEvents();
    }
    void Type(const char* field, const char* text) {
        QLineEdit* edit = Edit(field);
        edit->setFocus();
        edit->end(false);
        QTest::keyClicks(edit, text);
    }
};

TEST_F(InfoTabHistory, TypingIsTheFieldsOwnUntilLeftThenOneStepOfTheForm) {
    Type("NameEd", "_2");
    Press(Edit("NameEd"), Qt::Key_Z);
    EXPECT_EQ(Text("NameEd"), "Diego_Hello");
    Press(Edit("NameEd"), Qt::Key_Y);
    EXPECT_EQ(Text("NameEd"), "Diego_Hello_2");
    EXPECT_TRUE(tab.IsChanged());

    // Typing, a choice from a list, and the follower field the form sets: three steps.
    Type("GoldCostEd", "5");
    QComboBox* skill = Combo("TeachSkillCmb");
    skill->setFocus(); // leaves GoldCostEd
    skill->setCurrentIndex(1);
    emit skill->activated(1); // as a click on the entry
    ASSERT_EQ(Text("TeachSkillIsPercEd"), "True");

    auto* grid = Find<QTableWidget>("CommandList");
    Press(grid, Qt::Key_Z);
    EXPECT_EQ(Text("TeachSkillCmb"), "");
    EXPECT_EQ(Text("TeachSkillIsPercEd"), "False");
    EXPECT_EQ(Text("GoldCostEd"), "05");
    Press(grid, Qt::Key_Z);
    EXPECT_EQ(Text("GoldCostEd"), "0");
    EXPECT_EQ(Text("NameEd"), "Diego_Hello_2");
    Press(grid, Qt::Key_Z);
    EXPECT_EQ(Text("NameEd"), "Diego_Hello");
    EXPECT_FALSE(tab.IsChanged());
    Press(grid, Qt::Key_Z); // nothing more to undo
    EXPECT_EQ(Text("NameEd"), "Diego_Hello");

    Press(Edit("SortIdEd"), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier); // a field not typed in
    EXPECT_EQ(Text("NameEd"), "Diego_Hello_2");
    EXPECT_TRUE(tab.IsChanged());
}

TEST_F(InfoTabHistory, ATextMadeNormalOnLeavingIsNoChangeOfItsOwn) {
    Type("PermanentEd", "x");
    QTest::keyClick(Edit("PermanentEd"), Qt::Key_Return);
    EXPECT_TRUE(tab.IsChanged());
    Edit("NameEd")->setFocus(); // leaving makes "Falsex" "False" again
    EXPECT_EQ(Text("PermanentEd"), "False");
    EXPECT_FALSE(tab.IsChanged());
}

TEST_F(InfoTabHistory, RowOperationsAndCellEditsAreStepsOfTheForm) {
    auto* grid = Find<QTableWidget>("CommandList");
    grid->selectRow(0);
    Press(grid, Qt::Key_Insert);     // a row added
    Find<QAction>("N19")->trigger(); // "Добавить строку" in ItemsList
    QCoreApplication::processEvents();
    ASSERT_EQ(Rows("CommandList").size(), 2u);
    ASSERT_EQ(Rows("ItemsList").size(), 1u);

    Press(grid, Qt::Key_Z);
    EXPECT_EQ(Rows("ItemsList").size(), 0u);
    EXPECT_EQ(Rows("CommandList").size(), 2u);
    Press(grid, Qt::Key_Z);
    EXPECT_EQ(Rows("CommandList"), std::vector<QString>{"Say|owner||||Diego_Hello_01"});
    EXPECT_FALSE(tab.IsChanged());
    Press(grid, Qt::Key_Y);
    EXPECT_EQ(Rows("CommandList"), (std::vector<QString>{"Say|owner||||Diego_Hello_01", "<EMPTY>|||||"}));

    // A cell edit, then a redo that a new change has replaced.
    grid->setFocus();
    QCursor::setPos(grid->viewport()->mapToGlobal(grid->visualRect(grid->model()->index(1, 0)).center()));
    QTest::keyClick(grid, Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClicks(Find<QLineEdit>("CellEditor"), "GiveXP");
    Press(grid, Qt::Key_Y); // leaving the editor writes the cell
    EXPECT_EQ(Rows("CommandList")[1], "GiveXP|||||");
    EXPECT_EQ(Rows("ItemsList").size(), 0u);
    Press(grid, Qt::Key_Z);
    EXPECT_EQ(Rows("CommandList")[1], "<EMPTY>|||||");
}

TEST_F(InfoTabHistory, AChangedFormIsReplacedOnlyWhenTheUserGivesItUp) {
    const std::string gorn = WriteInfo("gorn.info", {"Name=Gorn_Hello", "Owner=Gorn"});
    EXPECT_TRUE(tab.OpenInfo(gorn)); // only loaded, it asks nothing
    EXPECT_TRUE(dialogs.calls.empty());

    Type("NameEd", "_new");
    EXPECT_FALSE(tab.OpenInfo(diego));
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    const auto box = dialogs.Messages()[0];
    EXPECT_EQ(box.text, "Диалог «Gorn_Hello_new» изменён и не скомпилирован. Отказаться от изменений?");
    EXPECT_EQ(box.caption, "Внимание");
    EXPECT_EQ(box.icon, pw::MsgIcon::Question);
    EXPECT_EQ(box.buttons, pw::MsgButtons::YesNoDefaultNo);
    EXPECT_EQ(Text("NameEd"), "Gorn_Hello_new");
    EXPECT_TRUE(PaneText().contains("Gorn_Hello"));

    dialogs.answers = {pw::MsgAnswer::Yes};
    EXPECT_TRUE(tab.OpenInfo(diego));
    EXPECT_EQ(Text("NameEd"), "Diego_Hello");
    EXPECT_FALSE(tab.IsChanged());
    Press(Edit("GoldCostEd"), Qt::Key_Z); // a load begins a new history
    EXPECT_EQ(Text("NameEd"), "Diego_Hello");

    // A cell edit still open is a change too: it is written, then asked about.
    auto* grid = Find<QTableWidget>("CommandList");
    grid->setFocus();
    QCursor::setPos(grid->viewport()->mapToGlobal(grid->visualRect(grid->model()->index(0, 0)).center()));
    QTest::keyClick(grid, Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClicks(Find<QLineEdit>("CellEditor"), "GiveXP");
    EXPECT_FALSE(tab.OpenInfo(gorn));
    EXPECT_EQ(Boxes().size(), 3);
    EXPECT_TRUE(Boxes().last().startsWith("Диалог «Diego_Hello» изменён"));
    EXPECT_EQ(Rows("CommandList")[0], "GiveXP|owner||||Diego_Hello_01");
}

TEST_F(InfoTabHistory, ACompileClearsTheMarkButKeepsTheSteps) {
    Type("NameEd", "_2");
    QTest::mouseClick(Find<QPushButton>("BuildBtn"), Qt::LeftButton);
    ASSERT_TRUE(Exists(dir.File("_Infos/Diego_Hello_2_info_G3_World_01.info")));
    EXPECT_FALSE(tab.IsChanged());
    EXPECT_TRUE(tab.OpenInfo(diego));
    EXPECT_TRUE(dialogs.calls.empty());

    Type("NameEd", "_3");
    QTest::mouseClick(Find<QPushButton>("BuildBtn"), Qt::LeftButton);
    Press(Edit("GoldCostEd"), Qt::Key_Z);
    EXPECT_EQ(Text("NameEd"), "Diego_Hello");
    EXPECT_TRUE(tab.IsChanged());
}

} // namespace
} // namespace pwtest
