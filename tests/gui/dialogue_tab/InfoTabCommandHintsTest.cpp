// What the command grid offers and tells while it is edited: completion in its cell editor, the help of
// the current row's command and the greyed cells that the command wants empty.

#include "core/dialogue/InfoScript.h"
#include "gui/dialogue_tab/InfoTab.h"
#include "gui/library/LibraryIndexService.h"

#include "EditorTabFixture.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QSignalSpy>

namespace pwtest {
namespace {

struct InfoTabCommandHints : EditorTabFixture<pw::InfoTab> {
    void SetUp() override {
        tab.resize(927, 900);
        tab.show();
        tab.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&tab));
        grid = Find<QTableWidget>("CommandList");
        editor = Find<QLineEdit>("CellEditor");
    }
    // Ctrl+Enter over a cell of the grid, then text typed into the editor that opens.
    void Type(int row, int column, const QString& text) {
        grid->setFocus();
        QCursor::setPos(
            grid->viewport()->mapToGlobal(grid->visualRect(grid->model()->index(row, column)).center()));
        QTest::keyClick(grid, Qt::Key_Return, Qt::ControlModifier);
        ASSERT_TRUE(editor->hasFocus());
        QTest::keyClicks(editor, text);
    }
    void Leave() { Edit("NameEd")->setFocus(); }
    QAbstractItemView* Popup() { return editor->completer()->popup(); }
    // The entries of the drop-down under the editor; none while it is closed.
    QStringList Offered() {
        QStringList entries;
        for (int row = 0; Popup()->isVisible() && row < Popup()->model()->rowCount(); ++row)
            entries << Popup()->model()->index(row, 0).data().toString();
        return entries;
    }
    // The argument cells of a row, "#" for a greyed one.
    std::string Greyed(int row) {
        std::string cells;
        for (int column = 1; column < grid->columnCount(); ++column)
            cells += grid->item(row, column)->background().style() == Qt::NoBrush ? '-' : '#';
        return cells;
    }

    QTableWidget* grid = nullptr;
    QLineEdit* editor = nullptr;
};

TEST_F(InfoTabCommandHints, CellEditorOffersTheNamesOfItsCellAndChangesNothingUnpicked) {
    for (const char* quest : {"Q_Ring", "q_rune", "Q_Sword"})
        WriteQuest(std::string("Quests/") + quest + ".quest", {std::string("Name=") + quest});
    WriteBytes(dir.File("st.ini"), "[LocAdmin_Strings]\r\nSay_01=x\r\nsay_02=y\r\nOther=z\r\n");
    workspace.libraryIndex = std::make_shared<pw::LibraryIndexService>();
    workspace.libraryIndex->Open({dir.File("Quests")}, dir.File("st.ini"));
    workspace.libraryIndex->WaitUntilBuilt();
    tab.LoadInfo(WriteInfo("a.info", {"InfoScript_Commands=SucceedQuest;Say", "InfoScript_Entities1=;npc",
                                      "InfoScript_IDs1=;", "InfoScript_Texts=;"}));

    Type(0, 3, "q_r");
    EXPECT_EQ(Offered(), (QStringList{"Q_Ring", "q_rune"}));
    QTest::mouseClick(Popup()->viewport(), Qt::LeftButton, {},
                      Popup()->visualRect(Popup()->model()->index(1, 0)).center());
    EXPECT_EQ(editor->text(), "q_rune");
    Leave();
    EXPECT_EQ(grid->item(0, 3)->text(), "q_rune");

    // Enter with no entry chosen closes the drop-down and keeps the text as typed.
    Type(1, 5, "SAY_");
    EXPECT_EQ(Offered(), (QStringList{"Say_01", "say_02"}));
    QTest::keyClick(Popup(), Qt::Key_Return);
    EXPECT_FALSE(Popup()->isVisible());
    EXPECT_EQ(editor->text(), "SAY_");
    Leave();
    EXPECT_EQ(grid->item(1, 5)->text(), "SAY_");

    Type(1, 0, "set");
    EXPECT_EQ(Offered(), (QStringList{"SetClass", "SetGameEvent", "SetRoutine"}));
}

// Moving through the drop-down only highlights; Escape leaves the text as typed, Enter takes the name
// highlighted. The drop-down shows its longest name whole, and a dialogue is not offered as its own Parent.
TEST_F(InfoTabCommandHints, TheDropDownChangesTheTextOnlyWhenANameIsTaken) {
    const std::string longName = "Diego_Hello_Again_And_Again_And_Again_And_Again";
    for (const std::string& name : {std::string("Diego_Hello"), longName, std::string("Diego_Bye")})
        WriteInfo("Infos/" + name + ".info", {"Name=" + name});
    workspace.libraryIndex = std::make_shared<pw::LibraryIndexService>();
    workspace.libraryIndex->Open({dir.File("Infos")});
    workspace.libraryIndex->WaitUntilBuilt();
    tab.LoadInfo(dir.File("Infos/Diego_Hello.info"));
    QLineEdit* parent = Edit("ParentEd");
    parent->setFocus();
    QTest::keyClicks(parent, "diego_");
    QAbstractItemView* popup = parent->completer()->popup();
    ASSERT_TRUE(popup->isVisible());
    EXPECT_EQ(popup->model()->rowCount(), 2); // not the dialogue's own name
    EXPECT_EQ(popup->model()->index(0, 0).data().toString(), "Diego_Bye");
    EXPECT_GT(popup->width(), popup->fontMetrics().horizontalAdvance(QString::fromStdString(longName)));
    QTest::keyClick(popup, Qt::Key_Down);
    QTest::keyClick(popup, Qt::Key_Down);
    EXPECT_EQ(parent->text(), "diego_");
    QTest::keyClick(popup, Qt::Key_Escape);
    EXPECT_FALSE(popup->isVisible());
    EXPECT_EQ(parent->text(), "diego_");

    QTest::keyClicks(parent, "h");
    ASSERT_TRUE(popup->isVisible());
    QTest::keyClick(popup, Qt::Key_Down);
    QTest::keyClick(popup, Qt::Key_Return);
    EXPECT_EQ(parent->text(), QString::fromStdString(longName));
}

TEST_F(InfoTabCommandHints, WhatWasTypedWhileTheIndexWasBuiltIsOfferedItsNamesOnceItIs) {
    WriteInfo("Infos/Diego_Hello.info", {"Name=Diego_Hello"});
    workspace.libraryIndex = std::make_shared<pw::LibraryIndexService>();
    workspace.libraryIndex->Open({dir.File("Infos")});
    // As the main window connects it.
    QObject::connect(workspace.libraryIndex.get(), &pw::LibraryIndexService::Rebuilt, &tab,
                     &pw::InfoTab::OfferNamesAgain);
    QLineEdit* parent = Edit("ParentEd");
    parent->setFocus();
    QTest::keyClicks(parent, "diego");
    QAbstractItemView* popup = parent->completer()->popup();
    EXPECT_FALSE(popup->isVisible()); // nothing to offer yet
    workspace.libraryIndex->WaitUntilBuilt();
    ASSERT_TRUE(popup->isVisible());
    EXPECT_EQ(popup->model()->rowCount(), 1);
    EXPECT_EQ(popup->model()->index(0, 0).data().toString(), "Diego_Hello");
    EXPECT_EQ(parent->text(), "diego");
}

TEST_F(InfoTabCommandHints, HelpAndGreyedCellsFollowTheCommandOfTheRow) {
    QSignalSpy help(&tab, &pw::InfoTab::StatusHelp);
    const auto lastHelp = [&help] { return help.isEmpty() ? QString() : help.last().at(0).toString(); };
    tab.LoadInfo(WriteInfo("a.info", {"InfoScript_Commands=Say;Give", "InfoScript_Entities1=npc;player",
                                      "InfoScript_Entities2=;npc", "InfoScript_IDs1=;It_Gold",
                                      "InfoScript_IDs2=;2", "InfoScript_Texts=T1;"}));
    EXPECT_EQ(Greyed(0), "-###-");
    EXPECT_EQ(Greyed(1), "----#");
    EXPECT_EQ(lastHelp(), "");

    grid->setCurrentCell(1, 2);
    EXPECT_EQ(lastHelp(), QString::fromStdString(pw::CommandHelp("Give")));
    Type(1, 0, "end");
    Leave();
    EXPECT_EQ(Greyed(1), "#####");
    EXPECT_EQ(lastHelp(), QString::fromStdString(pw::CommandHelp("End")));

    // A load replaces the rows and leaves none current.
    tab.LoadInfo(WriteInfo("b.info", {"InfoScript_Commands=Teleport"}));
    EXPECT_EQ(Greyed(0), "-----");
    EXPECT_EQ(lastHelp(), "");
}

} // namespace
} // namespace pwtest
