// A whole round on the dialogue tab: load a dialogue, edit its condition lists and command grid by
// hand, compile, and compare the written file byte for byte.

#include "gui/dialogue_tab/CommandListEditor.h"
#include "gui/dialogue_tab/InfoTab.h"

#include "EditorTabFixture.h"

#include <QAction>
#include <QPushButton>

namespace pwtest {
namespace {

struct InfoTabEditing : EditorTabFixture<pw::InfoTab> {
    void SetUp() override {
        workspace.configs->TmpFiles = true;
        tab.resize(927, 900);
        tab.show();
        tab.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&tab));
    }

    QString Cell(const char* list, int row, int column) {
        const QTableWidgetItem* item = Find<QTableWidget>(list)->item(row, column);
        return item ? item->text() : QString();
    }
    QPoint CellCenter(QTableWidget* list, int row, int column) {
        return list->visualRect(list->model()->index(row, column)).center();
    }
    // A click on a condition list's cell; the editor that opens over it has the focus.
    QWidget* OpenCondition(const char* listName, int row, int column) {
        auto* list = Find<QTableWidget>(listName);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, CellCenter(list, row, column));
        QCoreApplication::processEvents();
        QWidget* editor = QApplication::focusWidget();
        EXPECT_TRUE(editor && list->isAncestorOf(editor));
        return editor;
    }
    void Leave() { Find<QLineEdit>("NameEd")->setFocus(); }
    // Ctrl+Enter over a command cell, typing, and leaving the editor.
    void EditCommand(int row, int column, const QString& text) {
        auto* grid = Find<QTableWidget>("CommandList");
        grid->setFocus();
        QCursor::setPos(grid->viewport()->mapToGlobal(CellCenter(grid, row, column)));
        QTest::keyClick(grid, Qt::Key_Return, Qt::ControlModifier);
        auto* editor = Find<QLineEdit>("CellEditor");
        ASSERT_TRUE(editor->hasFocus());
        QTest::keyClicks(editor, text);
        Leave();
    }
};

TEST_F(InfoTabEditing, EditedListsAreCompiledIntoTheFile) {
    const std::string input = dir.File("in.info");
    WriteBytes(input, "[Info]\r\nName=Lester_Braga_Meeting\r\nOwner=Lester\r\nConditionType=3\r\n"
                      "InfoType=1\r\nGoldCost=0\r\nFolder=Varant/Braga/\r\nCondItemContainer=Lester\r\n"
                      "CondItems=ItPo_Apple\r\nCondItemAmounts=5\r\nCondSecondaryNPC=Diego\r\n"
                      "CondSecondaryNPCstates=0\r\nInfoScript_Commands=Say;Say\r\n"
                      "InfoScript_Entities1=owner;player\r\nInfoScript_Entities2=;\r\nInfoScript_IDs1=;\r\n"
                      "InfoScript_IDs2=;\r\n"
                      "InfoScript_Texts=Lester_Braga_Meeting_01;Lester_Braga_Meeting_02\r\n");
    tab.LoadInfo(input);
    ASSERT_TRUE(dialogs.Messages().empty());

    QTest::keyClicks(OpenCondition("ItemsList", 0, 1), "10");
    Leave();
    EXPECT_EQ(Cell("ItemsList", 0, 0), "ItPo_Apple");
    EXPECT_EQ(Cell("ItemsList", 0, 1), "10");

    Find<QAction>("N16")->trigger(); // "Добавить строку" in NpcList
    QTest::keyClicks(OpenCondition("NpcList", 1, 0), "Gorn");
    Leave();
    auto* states = qobject_cast<QComboBox*>(OpenCondition("NpcList", 1, 1));
    ASSERT_NE(states, nullptr);
    states->setCurrentIndex(3); // picked from the list
    Leave();
    EXPECT_EQ(Cell("NpcList", 1, 0), "Gorn");
    EXPECT_EQ(Cell("NpcList", 1, 1), QStringLiteral("Мертв"));

    auto* grid = Find<QTableWidget>("CommandList");
    grid->setFocus();
    grid->selectRow(0);
    QTest::keyClick(grid, Qt::Key_Insert, Qt::ControlModifier);
    ASSERT_EQ(grid->rowCount(), 3);
    EditCommand(2, 0, "GiveXP");
    EditCommand(2, 3, "100");
    // Drop the first row onto the second.
    grid->clearSelection();
    grid->selectRow(0);
    auto* editing = grid->findChild<pw::CommandListEditor*>();
    ASSERT_NE(editing, nullptr);
    editing->CommandListDragOver(1);
    editing->CommandListDragDrop();

    QTest::mouseClick(Find<QPushButton>("BuildBtn"), Qt::LeftButton);
    ASSERT_TRUE(dialogs.Messages().empty()) << dialogs.Messages()[0].text.toStdString();
    EXPECT_EQ(ReadBytes(dir.File("_Infos/Lester_Braga_Meeting_info_G3_World_01.info")),
              "[Info]\r\nName=Lester_Braga_Meeting\r\nSortID=\r\nOwner=Lester\r\nInfoGiven=False\r\n"
              "ConditionType=3\r\nInfoType=1\r\nGoldCost=0\r\nFolder=Varant/Braga/\r\n"
              "CondItemContainer=Lester\r\nCondItems=ItPo_Apple\r\nCondItemAmounts=10\r\n"
              "CondSecondaryNPC=Diego;Gorn\r\nCondSecondaryNPCstates=0;3\r\nClearChildren=False\r\n"
              "Permanent=False\r\nInfoScript_Commands=Say;Say;GiveXP\r\n"
              "InfoScript_Entities1=player;owner;\r\nInfoScript_Entities2=;;\r\nInfoScript_IDs1=;;100\r\n"
              "InfoScript_IDs2=;;\r\n"
              "InfoScript_Texts=Lester_Braga_Meeting_02;Lester_Braga_Meeting_01;\r\n");
}

} // namespace
} // namespace pwtest
