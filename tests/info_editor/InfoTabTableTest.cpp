// The string table on the dialogue tab: the hint shown for the selected command row and the ">>>"
// write with its questions, through the real widgets with scripted answers.

#include "InfoTabFixture.h"

#include "data/StringTable.h"

#include <QItemSelectionModel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace pwtest {
namespace {

using pw::MsgAnswer;

struct InfoTabTable : InfoTabFixture {
    std::string table = dir.File("stringtable.ini");
    QTableWidget* list = nullptr;
    void SetUp() override {
        WriteBytes(table, "[LocAdmin_Strings]\r\nDiego_01=" + pw::Utf8ToCp1251("Привет;") +
                              "\r\nDiego_02=Bye;\r\nEmpty_01=\r\n");
        workspace.stringTable = std::make_shared<pw::TStringTable>(table);
        tab.show();
        tab.LoadInfo(WriteInfo("in.info",
                               {"Name=Diego_Hello", "Owner=Diego", "InfoScript_Commands=Say;Say;Say;Say;End",
                                "InfoScript_Entities1=owner;player;owner;owner;",
                                "InfoScript_Texts=Diego_02;diego_01;Nowhere_01;Empty_01;"}));
        list = Find<QTableWidget>("CommandList");
    }
    void Select(int row, QItemSelectionModel::SelectionFlags how = QItemSelectionModel::ClearAndSelect) {
        list->selectionModel()->select(list->model()->index(row, 0), how | QItemSelectionModel::Rows);
    }
    QString Hint() { return Text("InfoStrViewEd"); }
    void Write(const QString& text) {
        Find<QLineEdit>("InfoStrViewEd")->setText(text);
        QTest::mouseClick(Find<QPushButton>("WriteBtn"), Qt::LeftButton);
    }
};

TEST_F(InfoTabTable, SelectingACommandRowShowsTheLineOfItsTextId) {
    Select(1);
    EXPECT_EQ(Hint(), "Привет;");
    Select(2);
    EXPECT_EQ(Hint(), "<dialog not found>");
    Select(3);
    EXPECT_EQ(Hint(), "");
    Select(4); // End has no text ID
    EXPECT_EQ(Hint(), "");
    // Of several selected rows the first in list order counts; a deselection keeps the hint.
    Select(1);
    Select(0, QItemSelectionModel::Select);
    EXPECT_EQ(Hint(), "Bye;");
    Select(0, QItemSelectionModel::Deselect);
    EXPECT_EQ(Hint(), "Bye;");
    list->clearSelection();
    EXPECT_EQ(Hint(), "Bye;");
    EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(InfoTabTable, WriteTrimsTheTextAndAsksBeforeWritingUnderTheSelectedId) {
    QSignalSpy added(&tab, &pw::InfoTab::TableStringAdded);
    list->setItem(2, 5, new QTableWidgetItem("Diego_03"));
    Select(2);
    dialogs.answers = {MsgAnswer::No};
    Write("  Новая строка  ");
    EXPECT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].text, "Добавить строку в таблицу строк?");
    EXPECT_EQ(ReadBytes(table).find("Diego_03"), std::string::npos);

    dialogs.answers = {MsgAnswer::Yes};
    Write("  Новая строка  ");
    EXPECT_EQ(ReadBytes(table).substr(ReadBytes(table).find("Diego_03")),
              "Diego_03=" + pw::Utf8ToCp1251("Новая строка;") + "\r\n");
    EXPECT_EQ(added.count(), 1);
}

TEST_F(InfoTabTable, DuplicateQuestionShowsBothValuesAndOnlyYesReplaces) {
    QSignalSpy added(&tab, &pw::InfoTab::TableStringAdded);
    Select(1); // diego_01: the same ID as Diego_01 but for letter case
    dialogs.answers = {MsgAnswer::Yes, MsgAnswer::No};
    Write(" Здравствуй ");
    ASSERT_EQ(dialogs.Messages().size(), 2u);
    EXPECT_EQ(dialogs.Messages()[1].text, "Запись с аналогичным ID уже существует.\r\nСуществующая запись: "
                                          "Привет;\r\nНовая запись: Здравствуй");
    EXPECT_EQ(added.count(), 0);
    dialogs.answers = {MsgAnswer::Yes, MsgAnswer::Yes};
    Write(" Здравствуй ");
    EXPECT_EQ(ReadBytes(table), "[LocAdmin_Strings]\r\nDiego_01=" + pw::Utf8ToCp1251("Здравствуй;") +
                                    "\r\nDiego_02=Bye;\r\nEmpty_01=\r\n");
    EXPECT_EQ(added.count(), 1);
}

TEST_F(InfoTabTable, WithoutASelectedRowTheIdIsEmptyAndRefusedAfterTheQuestion) {
    list->clearSelection();
    dialogs.answers = {MsgAnswer::Yes};
    Write("text");
    QStringList boxes;
    for (const auto& call : dialogs.Messages())
        boxes << call.text + " / " + call.caption;
    EXPECT_EQ(boxes, (QStringList{"Добавить строку в таблицу строк? / Внимание",
                                  "Идентификатор строки не задан / Ошибка"}));
}

TEST_F(InfoTabTable, ADoubleClickOnTheQuestFieldAsksForThatQuest) {
    std::vector<std::string> asked;
    QObject::connect(&tab, &pw::InfoTab::QuestEdDblClick, &tab,
                     [&asked](const std::string& name) { asked.push_back(name); });
    Find<QLineEdit>("QuestEd")->setText("Рыба");
    QTest::mouseDClick(Find<QLineEdit>("QuestEd"), Qt::LeftButton);
    EXPECT_EQ(asked, std::vector<std::string>{pw::Utf8ToCp1251("Рыба")});
}

} // namespace
} // namespace pwtest
