// The dialogue form's undo history, its change mark and the question before a changed form is replaced.

#include "gui/dialogue_tab/InfoTab.h"

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
        Edit(field)->setFocus();
        Edit(field)->end(false);
        QTest::keyClicks(Edit(field), text);
    }
    // Ctrl+Enter over the command cell, then typing into the editor that opens.
    void TypeInCommand(int row, const char* text) {
        auto* grid = Find<QTableWidget>("CommandList");
        grid->setFocus();
        QCursor::setPos(
            grid->viewport()->mapToGlobal(grid->visualRect(grid->model()->index(row, 0)).center()));
        QTest::keyClick(grid, Qt::Key_Return, Qt::ControlModifier);
        QTest::keyClicks(Find<QLineEdit>("CellEditor"), text);
    }
};

TEST_F(InfoTabHistory, TypingIsTheFieldsOwnUntilLeftThenOneStepOfTheForm) {
    Type("NameEd", "_2");
    Press(Edit("NameEd"), Qt::Key_Z);
    EXPECT_EQ(Text("NameEd"), "Diego_Hello");
    Press(Edit("NameEd"), Qt::Key_Y);
    EXPECT_EQ(Text("NameEd"), "Diego_Hello_2");

    // A choice from a list and the field the form sets after it: one more step.
    QComboBox* skill = Combo("TeachSkillCmb");
    skill->setFocus();
    skill->setCurrentIndex(1);
    emit skill->activated(1);
    ASSERT_EQ(Text("TeachSkillIsPercEd"), "True");
    auto* grid = Find<QTableWidget>("CommandList");
    Press(grid, Qt::Key_Z);
    EXPECT_EQ(Text("TeachSkillIsPercEd"), "False");
    EXPECT_EQ(Text("NameEd"), "Diego_Hello_2");
    Press(grid, Qt::Key_Z);
    EXPECT_EQ(Text("NameEd"), "Diego_Hello");
    EXPECT_FALSE(tab.IsChanged());
    Press(Edit("SortIdEd"), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier); // a field not typed in
    EXPECT_EQ(Text("NameEd"), "Diego_Hello_2");
    EXPECT_TRUE(tab.IsChanged());
    Press(grid, Qt::Key_Z);

    // Confirmed with Enter, then made normal on leaving: one change, and none in the end.
    Type("PermanentEd", "x");
    QTest::keyClick(Edit("PermanentEd"), Qt::Key_Return);
    EXPECT_TRUE(tab.IsChanged());
    Edit("NameEd")->setFocus(); // "Falsex" becomes "False" again
    EXPECT_FALSE(tab.IsChanged());
}

TEST_F(InfoTabHistory, RowOperationsAndCellEditsAreStepsOfTheForm) {
    auto* grid = Find<QTableWidget>("CommandList");
    grid->selectRow(0);
    Press(grid, Qt::Key_Insert);
    Find<QAction>("N19")->trigger(); // "Добавить строку" in ItemsList
    QCoreApplication::processEvents();
    Press(grid, Qt::Key_Z);
    EXPECT_EQ(Rows("ItemsList").size(), 0u);
    EXPECT_EQ(Rows("CommandList").size(), 2u);
    Press(grid, Qt::Key_Z);
    EXPECT_FALSE(tab.IsChanged());
    Press(grid, Qt::Key_Y);
    EXPECT_EQ(Rows("CommandList"), (std::vector<QString>{"Say|owner||||Diego_Hello_01", "<EMPTY>|||||"}));

    TypeInCommand(1, "GiveXP");
    Press(grid, Qt::Key_Y); // leaving the editor writes the cell, a change that ends the redo
    EXPECT_EQ(Rows("CommandList")[1], "GiveXP|||||");
    EXPECT_EQ(Rows("ItemsList").size(), 0u);
    Press(grid, Qt::Key_Z);
    EXPECT_EQ(Rows("CommandList")[1], "<EMPTY>|||||");
}

TEST_F(InfoTabHistory, AChangedFormIsReplacedOnlyWhenTheUserGivesItUp) {
    const std::string gorn = WriteInfo("gorn.info", {"Name=Gorn_Hello"});
    EXPECT_TRUE(tab.OpenInfo(gorn)); // only loaded, it asks nothing
    Type("NameEd", "_new");
    EXPECT_FALSE(tab.OpenInfo(diego));
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    const auto box = dialogs.Messages()[0];
    EXPECT_EQ(box.text, "Диалог «Gorn_Hello_new» изменён и не скомпилирован. Отказаться от изменений?");
    EXPECT_EQ(box.caption, "Внимание");
    EXPECT_EQ(box.icon, pw::MsgIcon::Question);
    EXPECT_EQ(box.buttons, pw::MsgButtons::YesNoDefaultNo);
    EXPECT_EQ(Text("NameEd"), "Gorn_Hello_new");

    dialogs.answers = {pw::MsgAnswer::Yes};
    EXPECT_TRUE(tab.OpenInfo(diego));
    EXPECT_EQ(Text("NameEd"), "Diego_Hello");
    Press(Edit("GoldCostEd"), Qt::Key_Z); // a load begins a new history
    EXPECT_EQ(Text("NameEd"), "Diego_Hello");

    TypeInCommand(0, "GiveXP"); // an edit still open is written, then asked about
    EXPECT_FALSE(tab.OpenInfo(gorn));
    EXPECT_EQ(Boxes().size(), 3);
    EXPECT_EQ(Rows("CommandList")[0], "GiveXP|owner||||Diego_Hello_01");
}

TEST_F(InfoTabHistory, ACompileClearsTheMarkButKeepsTheSteps) {
    Type("NameEd", "_2");
    QTest::mouseClick(Find<QPushButton>("BuildBtn"), Qt::LeftButton);
    ASSERT_TRUE(Exists(dir.File("_Infos/Diego_Hello_2_info_G3_World_01.info")));
    EXPECT_FALSE(tab.IsChanged());
    Press(Edit("GoldCostEd"), Qt::Key_Z);
    EXPECT_EQ(Text("NameEd"), "Diego_Hello");
    EXPECT_TRUE(tab.IsChanged());
}

} // namespace
} // namespace pwtest
