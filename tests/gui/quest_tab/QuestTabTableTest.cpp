// The string table on the quest tab: the hint shown for the log IDs and the ">>>" write with its
// questions, through the real widgets with scripted answers.

#include "core/data/StringTable.h"
#include "gui/quest_tab/QuestTab.h"

#include "EditorTabFixture.h"

#include <QSignalSpy>

namespace pwtest {
namespace {

using pw::MsgAnswer;

struct QuestTabTable : EditorTabFixture<pw::QuestTab> {
    std::string table = dir.File("stringtable.ini");
    void SetUp() override {
        WriteBytes(table, "[LocAdmin_Strings]\r\nTopic_1=" + Ansi("Найти рыбу;") +
                              "\r\nText_1=Bring it;\r\nEmpty_1=\r\n");
        workspace.stringTable = std::make_shared<pw::TStringTable>(table);
        tab.show();
    }
    void SetIds(const QString& topic, const QString& text) {
        Edit("QuestLogTopicEd")->setText(topic);
        Edit("QuestLogTextEd")->setText(text);
    }
    QString Hint() { return Text("QuestStrViewEd"); }
    std::string Table() { return ReadBytes(table); }
    // A message box of the string table, as Boxes() shows it.
    static QString Box(const std::string& text, const char* caption) {
        return QString::fromStdString(text) + " / " + caption;
    }
};

TEST_F(QuestTabTable, ClickingALogIdShowsItsLineFromTheTable) {
    SetIds("topic_1", "Text_1");
    Click("QuestLogTopicEd");
    EXPECT_EQ(Hint(), "Найти рыбу;");
    Click("QuestLogTextEd");
    EXPECT_EQ(Hint(), "Bring it;");
    Edit("QuestLogTextEd")->setText("Empty_1");
    Click("QuestLogTextEd");
    EXPECT_EQ(Hint(), "");
    Edit("QuestLogTextEd")->setText("Nowhere");
    Click("QuestLogTextEd");
    EXPECT_EQ(Hint(), "<dialog not found>");
    Edit("QuestLogTextEd")->setText("<EMPTY>");
    Click("QuestLogTextEd");
    EXPECT_EQ(Hint(), "");
    EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(QuestTabTable, WriteAsksFirstAndWritesUnderTheTopicIdTheTextAsItStands) {
    QSignalSpy added(&tab, &pw::QuestTab::TableStringAdded);
    SetIds("New_1", "Text_1");
    Click("QuestLogTextEd"); // the hint comes from the log text, the ID is still the topic's
    Edit("QuestStrViewEd")->setText("  Новая строка ");
    dialogs.answers = {MsgAnswer::No};
    Click("WriteInfoTableBtn");
    EXPECT_EQ(Boxes(), QStringList{"Добавить строку в таблицу строк? / Внимание"});
    EXPECT_EQ(dialogs.Messages()[0].icon, pw::MsgIcon::Question);
    EXPECT_EQ(dialogs.Messages()[0].buttons, pw::MsgButtons::YesNo);
    EXPECT_EQ(added.count(), 0);

    dialogs.answers = {MsgAnswer::Yes};
    Click("WriteInfoTableBtn");
    EXPECT_EQ(Table().substr(Table().find("New_1")), "New_1=" + Ansi("  Новая строка ;") + "\r\n");
    EXPECT_EQ(added.count(), 1);
}

// A character the table's code page lacks is refused before the question and nothing is written.
TEST_F(QuestTabTable, ACharacterTheCodePageLacksIsNamedAndNothingWritten) {
    QSignalSpy added(&tab, &pw::QuestTab::TableStringAdded);
    const std::string before = Table();
    SetIds("New_1", "");
    Edit("QuestStrViewEd")->setText("Żółw");
    dialogs.answers = {MsgAnswer::Yes, MsgAnswer::Yes};
    Click("WriteInfoTableBtn");
    SetIds("New_😀", "");
    Edit("QuestStrViewEd")->setText("Ёлка № 1 — «да»");
    Click("WriteInfoTableBtn");
    const QString notWritten = "которого нет в кодировке Windows-1251. Строка не записана: замените или "
                               "удалите этот символ. / Ошибка";
    EXPECT_EQ(Boxes(), (QStringList{"В тексте есть символ «Ż» (U+017B), " + notWritten,
                                    "В ID строки есть символ «😀» (U+1F600), " + notWritten}));
    EXPECT_EQ(Table(), before);
    EXPECT_EQ(added.count(), 0);
}

TEST_F(QuestTabTable, AnExistingLineIsReplacedOnlyAfterTheDuplicateQuestion) {
    QSignalSpy added(&tab, &pw::QuestTab::TableStringAdded);
    SetIds("TOPIC_1", "");
    Edit("QuestStrViewEd")->setText("Другая;");
    dialogs.answers = {MsgAnswer::Yes, MsgAnswer::No};
    Click("WriteInfoTableBtn");
    ASSERT_EQ(Boxes().size(), 2);
    EXPECT_EQ(Boxes()[1], Box(pw::DuplicateEntryMessage("Найти рыбу;", "Другая;"), "Внимание"));
    EXPECT_EQ(dialogs.Messages()[1].icon, pw::MsgIcon::Question);
    EXPECT_EQ(Table().find(Ansi("Другая")), std::string::npos);
    EXPECT_EQ(added.count(), 0);

    dialogs.answers = {MsgAnswer::Yes, MsgAnswer::Yes};
    Click("WriteInfoTableBtn");
    EXPECT_EQ(Table(),
              "[LocAdmin_Strings]\r\nTopic_1=" + Ansi("Другая;") + "\r\nText_1=Bring it;\r\nEmpty_1=\r\n");
    EXPECT_EQ(added.count(), 1);
}

// An ID the table cannot take is said before the question, which would be asked for nothing.
TEST_F(QuestTabTable, ABlankOrUnreadableTopicIdIsRefusedBeforeTheQuestion) {
    SetIds("  ", "Text_1");
    Edit("QuestStrViewEd")->setText("x");
    const std::string before = Table();
    Click("WriteInfoTableBtn");
    SetIds("[Topic_1]", "");
    Click("WriteInfoTableBtn");
    EXPECT_EQ(Boxes(), (QStringList{Box(pw::EmptyIdMessage(), "Ошибка"),
                                    Box(*pw::InvalidIdMessage("[Topic_1]"), "Ошибка")}));
    EXPECT_EQ(dialogs.Messages()[0].icon, pw::MsgIcon::None);
    EXPECT_EQ(Table(), before);
}

TEST_F(QuestTabTable, AnEmptyTextWritesTheSeparatorAlone) {
    SetIds("Empty_1", "");
    Edit("QuestStrViewEd")->clear();
    dialogs.answers = {MsgAnswer::Yes}; // an empty stored value counts as absent: no second question
    Click("WriteInfoTableBtn");
    EXPECT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_NE(Table().find("\r\nEmpty_1=;\r\n"), std::string::npos);
}

TEST_F(QuestTabTable, AFailedWriteIsReportedAndTheTableStaysWhole) {
    QSignalSpy added(&tab, &pw::QuestTab::TableStringAdded);
    workspace.stringTable = std::make_shared<pw::TStringTable>(dir.File("no/such/stringtable.ini"));
    SetIds("New_1", "");
    dialogs.answers = {MsgAnswer::Yes};
    Click("WriteInfoTableBtn");
    ASSERT_EQ(dialogs.Messages().size(), 2u);
    EXPECT_EQ(dialogs.Messages()[1].text,
              QString::fromStdString("Unable to write to " + dir.File("no/such/stringtable.ini") + ". " +
                                     pwtest::SystemReason(pwtest::Reason::PathMissing)));
    EXPECT_EQ(dialogs.Messages()[1].icon, pw::MsgIcon::Error);
    EXPECT_EQ(added.count(), 0);
}

TEST_F(QuestTabTable, WithoutATableNothingIsReadOrWritten) {
    workspace.stringTable.reset(); // the settings were incomplete at start
    SetIds("Topic_1", "");
    Edit("QuestStrViewEd")->setText("old hint");
    Click("QuestLogTopicEd");
    EXPECT_EQ(Hint(), "");
    EXPECT_EQ(Edit("QuestStrViewEd")->placeholderText(),
              "Таблица строк недоступна: в настройках указаны не все пути.");
    EXPECT_TRUE(dialogs.calls.empty());

    Edit("QuestStrViewEd")->setText("text");
    Click("WriteInfoTableBtn");
    EXPECT_EQ(Boxes(), QStringList{"Таблица строк недоступна: в настройках указаны не все пути. / Внимание"});
    EXPECT_EQ(Table().find("text"), std::string::npos);
}

} // namespace
} // namespace pwtest
