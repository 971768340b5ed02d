// The string table on the dialogue tab: the hint shown for the selected command row and the ">>>"
// write with its questions, through the real widgets with scripted answers.

#include "core/data/StringTable.h"
#include "gui/common/BackgroundWork.h"
#include "gui/dialogue_tab/InfoTab.h"

#include "EditorTabFixture.h"

#include <QAction>
#include <QDialog>
#include <QHelpEvent>
#include <QItemSelectionModel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolTip>

namespace pwtest {
namespace {

using pw::MsgAnswer;

struct InfoTabTable : EditorTabFixture<pw::InfoTab> {
    std::string table = dir.File("stringtable.ini");
    QTableWidget* list = nullptr;
    void SetUp() override {
        WriteBytes(table, "[LocAdmin_Strings]\r\nDiego_01=" + Ansi("Привет;") +
                              "\r\nDiego_02=Bye;\r\nEmpty_01=\r\n");
        workspace.stringTable = std::make_shared<pw::TStringTable>(table);
        tab.show();
        tab.LoadInfo(WriteInfo("in.info",
                               {"Name=Diego_Hello", "Owner=Diego", "InfoScript_Commands=Say;Say;Say;Say;End",
                                "InfoScript_Entities1=owner;player;owner;owner;",
                                "InfoScript_Texts=Diego_02;diego_01;Nowhere_01;Empty_01;"}));
        list = Find<QTableWidget>("CommandList");
    }
    // A click on the row's first cell; with Ctrl it adds the row to the selection or takes it out.
    void Click(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers,
                          list->visualRect(list->model()->index(row, 0)).center());
    }
    // A message box of the string table, as Boxes() shows it.
    static QString Box(const std::string& text, const char* caption) {
        return QString::fromStdString(text) + " / " + caption;
    }
    QString Hint() { return Text("InfoStrViewEd"); }
    void Write(const QString& text) {
        Find<QLineEdit>("InfoStrViewEd")->setText(text);
        QTest::mouseClick(Find<QPushButton>("WriteBtn"), Qt::LeftButton);
    }
};

TEST_F(InfoTabTable, SelectingACommandRowShowsTheLineOfItsTextId) {
    Click(1);
    EXPECT_EQ(Hint(), "Привет;");
    Click(2);
    EXPECT_EQ(Hint(), "<dialog not found>");
    Click(3);
    EXPECT_EQ(Hint(), "");
    Click(4); // End has no text ID
    EXPECT_EQ(Hint(), "");
    // Of several selected rows the first in list order counts; a deselection keeps the hint.
    Click(1);
    Click(0, Qt::ControlModifier);
    EXPECT_EQ(list->selectionModel()->selectedRows().size(), 2);
    EXPECT_EQ(Hint(), "Bye;");
    Click(0, Qt::ControlModifier);
    EXPECT_EQ(Hint(), "Bye;");
    list->clearSelection();
    EXPECT_EQ(Hint(), "Bye;");
    EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(InfoTabTable, WriteTrimsTheTextAndAsksBeforeWritingUnderTheSelectedId) {
    QSignalSpy added(&tab, &pw::InfoTab::TableStringAdded);
    list->setItem(2, 5, new QTableWidgetItem("Diego_03"));
    Click(2);
    dialogs.answers = {MsgAnswer::No};
    Write("  Новая строка  ");
    EXPECT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].text, "Добавить строку в таблицу строк?");
    EXPECT_EQ(ReadBytes(table).find("Diego_03"), std::string::npos);

    dialogs.answers = {MsgAnswer::Yes};
    Write("  Новая строка  ");
    EXPECT_EQ(ReadBytes(table).substr(ReadBytes(table).find("Diego_03")),
              "Diego_03=" + Ansi("Новая строка;") + "\r\n");
    EXPECT_EQ(added.count(), 1);
}

// A character the table's code page lacks, in the text or the ID, is refused before the question and
// nothing is written; Cyrillic with its signs is written.
TEST_F(InfoTabTable, ACharacterTheCodePageLacksIsNamedAndNothingWritten) {
    QSignalSpy added(&tab, &pw::InfoTab::TableStringAdded);
    const std::string before = ReadBytes(table);
    list->setItem(2, 5, new QTableWidgetItem("Diego_03"));
    Click(2);
    dialogs.answers = {MsgAnswer::Yes, MsgAnswer::Yes};
    Write(" Może ");
    list->item(2, 5)->setText("Diego_ż3");
    Write("Привет");
    const QString notWritten = "которого нет в кодировке Windows-1251. Строка не записана: замените или "
                               "удалите этот символ. / Ошибка";
    EXPECT_EQ(Boxes(), (QStringList{"В тексте есть символ «ż» (U+017C), " + notWritten,
                                    "В ID строки есть символ «ż» (U+017C), " + notWritten}));
    EXPECT_EQ(ReadBytes(table), before);
    EXPECT_EQ(added.count(), 0);

    list->item(2, 5)->setText("Diego_03");
    Write("Ёлка № 1 — «да»");
    EXPECT_EQ(ReadBytes(table), before + "Diego_03=" + Ansi("Ёлка № 1 — «да»;") + "\r\n");
    EXPECT_EQ(added.count(), 1);
}

TEST_F(InfoTabTable, DuplicateQuestionShowsBothValuesAndOnlyYesReplaces) {
    QSignalSpy added(&tab, &pw::InfoTab::TableStringAdded);
    Click(1); // diego_01: the same ID as Diego_01 but for letter case
    dialogs.answers = {MsgAnswer::Yes, MsgAnswer::No};
    Write(" Здравствуй ");
    ASSERT_EQ(Boxes().size(), 2);
    // The question names the stored value and the new text, trimmed.
    EXPECT_EQ(Boxes()[1], Box(pw::DuplicateEntryMessage("Привет;", "Здравствуй"), "Внимание"));
    EXPECT_EQ(added.count(), 0);
    dialogs.answers = {MsgAnswer::Yes, MsgAnswer::Yes};
    Write(" Здравствуй ");
    EXPECT_EQ(ReadBytes(table),
              "[LocAdmin_Strings]\r\nDiego_01=" + Ansi("Здравствуй;") + "\r\nDiego_02=Bye;\r\nEmpty_01=\r\n");
    EXPECT_EQ(added.count(), 1);
}

// Another dialogue loaded leaves no hint of the one before, and without a selected row ">>>" says that
// there is no ID before it asks anything.
TEST_F(InfoTabTable, ALoadClearsTheHintAndWithoutASelectedRowTheWriteIsRefusedAtOnce) {
    Click(1);
    ASSERT_EQ(Hint(), "Привет;");
    ASSERT_TRUE(tab.LoadInfo(WriteInfo("gorn.info", {"Name=Gorn_Hello", "InfoScript_Texts=Diego_02"})));
    EXPECT_EQ(Hint(), "");
    Write("text");
    EXPECT_EQ(Boxes(), QStringList{Box(pw::EmptyIdMessage(), "Ошибка")});
}

TEST_F(InfoTabTable, ADoubleClickOnTheQuestFieldAsksForThatQuest) {
    std::vector<std::string> asked;
    QObject::connect(&tab, &pw::InfoTab::QuestEdDblClick, &tab,
                     [&asked](const std::string& name) { asked.push_back(name); });
    Find<QLineEdit>("QuestEd")->setText("Рыба");
    QTest::mouseDClick(Find<QLineEdit>("QuestEd"), Qt::LeftButton);
    EXPECT_EQ(asked, std::vector<std::string>{Ansi("Рыба")});
}

// "Вставить разговор…": the preview follows the text, a refusal and a "No" write nothing, and a "Yes"
// appends the entries and puts the rows before the selected row, selected.
TEST_F(InfoTabTable, APastedConversationBecomesRowsAndEntriesAfterOneQuestion) {
    QSignalSpy added(&tab, &pw::InfoTab::TableStringAdded);
    const std::string before = ReadBytes(table);
    Click(4); // End
    dialogs.modalResults = {QDialog::Accepted};
    dialogs.answers = {MsgAnswer::No, MsgAnswer::Yes};
    dialogs.onModal = [&](QDialog* dialog) {
        auto* text = dialog->findChild<QPlainTextEdit*>("ConversationEd");
        auto* insert = dialog->findChild<QPushButton*>("InsertBtn");
        auto* preview = dialog->findChild<QTableWidget*>("PreviewList");
        ASSERT_TRUE(text && insert && preview);
        EXPECT_EQ(dialog->findChild<QLineEdit*>("PrefixEd")->text(), "Diego_Hello");
        // The entries are written in the background.
        const auto click = [dialog, insert] {
            QTest::mouseClick(insert, Qt::LeftButton);
            dialog->findChild<pw::BackgroundWork*>()->Wait();
        };
        text->setPlainText("Diego: Здравствуй; путник.");
        click();
        text->setPlainText(
            "Diego: Здравствуй.\nЯ: Привет.\nAI_Output(self, other, \"Diego_01\"); //Снова ты");
        ASSERT_EQ(preview->rowCount(), 3);
        QStringList third;
        for (int column = 0; column < preview->columnCount(); ++column)
            third << preview->item(2, column)->text();
        EXPECT_EQ(third.join(u'|'),
                  "self|owner|Diego_Hello_03|Снова ты|ID Diego_01 уже есть в таблице строк");
        click();
        EXPECT_EQ(ReadBytes(table), before);
        click();
    };
    Find<QAction>("ConversationItem")->trigger();

    EXPECT_EQ(
        Boxes(),
        (QStringList{"Строка 1: в тексте есть \";\", а он разделяет поля записи таблицы строк. / Ошибка",
                     "Добавить 3 строки в таблицу строк? / Внимание",
                     "Добавить 3 строки в таблицу строк? / Внимание"}));
    EXPECT_EQ(ReadBytes(table), before + Ansi("Diego_Hello_01=Здравствуй.;\r\nDiego_Hello_02=Привет.;\r\n"
                                              "Diego_Hello_03=Снова ты;\r\n"));
    const std::vector<QString> rows = Rows("CommandList");
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_EQ(
        std::vector<QString>(rows.begin() + 3, rows.end()),
        (std::vector<QString>{"Say|owner||||Empty_01", "Say|owner||||Diego_Hello_01",
                              "Say|player||||Diego_Hello_02", "Say|owner||||Diego_Hello_03", "End|||||"}));
    EXPECT_EQ(list->selectionModel()->selectedRows().size(), 3);
    EXPECT_TRUE(list->selectionModel()->isRowSelected(4, {}));
    EXPECT_EQ(added.count(), 1);
}

// A value of the game's layout: English, German and Russian (UTF-8), every other field empty.
std::string GameValue(const std::string& english, const std::string& german, const std::string& russian) {
    return english + ";;;;;;" + german + ";;;;;;;;;;" + russian + ";;;";
}

// With "Язык реплик" set, the hints show that language's text of a ten-language table and ">>>" writes
// that cell alone.
struct InfoTabLanguage : InfoTabTable {
    std::string Table(const std::string& diego02) {
        return "[LocAdmin_Strings]\r\nDiego_01=" + GameValue("Hello", "Hallo", "Привет") +
               "\r\nDiego_02=" + diego02 + "\r\nEmpty_01=\r\n";
    }
    void SetUp() override {
        InfoTabTable::SetUp();
        WriteBytes(table, Ansi(Table(GameValue("Bye", "Tschuess", ""))));
        workspace.configs->TextLanguage = "ru";
    }
};

TEST_F(InfoTabLanguage, TheHintShowsTheChosenLanguage) {
    Click(1);
    EXPECT_EQ(Hint(), "Привет");
    Click(0);
    EXPECT_EQ(Hint(), "");
    Click(2);
    EXPECT_EQ(Hint(), "<dialog not found>");
    // The Texts cell's tooltip is the same text.
    auto* viewport = list->viewport();
    const QRect cell = list->visualRect(list->model()->index(1, 5));
    QHelpEvent help(QEvent::ToolTip, cell.center(), viewport->mapToGlobal(cell.center()));
    QApplication::sendEvent(viewport, &help);
    EXPECT_EQ(QToolTip::text(), "Привет");
    QToolTip::hideText();
    // The whole value again without a language.
    workspace.configs->TextLanguage.clear();
    Click(1);
    EXPECT_EQ(Hint(), QString::fromStdString(GameValue("Hello", "Hallo", "Привет")));
}

TEST_F(InfoTabLanguage, WriteChangesOnlyTheLanguagesCellAndAsksAboutAFilledOne) {
    Click(0);
    dialogs.answers = {MsgAnswer::Yes};
    Write("  Пока  ");
    EXPECT_EQ(ReadBytes(table), Ansi(Table(GameValue("Bye", "Tschuess", "Пока"))));
    EXPECT_EQ(Boxes(), QStringList{"Добавить строку в таблицу строк? / Внимание"});

    Click(1);
    dialogs.answers = {MsgAnswer::Yes, MsgAnswer::Yes};
    Write("Здравствуй");
    EXPECT_EQ(Boxes().back(), Box(pw::DuplicateEntryMessage("Привет", "Здравствуй"), "Внимание"));
    EXPECT_NE(ReadBytes(table).find(Ansi("Diego_01=" + GameValue("Hello", "Hallo", "Здравствуй"))),
              std::string::npos);

    // A new entry has the table's twenty fields; a text the 8-bit table cannot hold is refused.
    list->setItem(2, 5, new QTableWidgetItem("Diego_03"));
    Click(2);
    dialogs.answers = {MsgAnswer::Yes, MsgAnswer::Yes};
    Write("Новая");
    const std::string written = ReadBytes(table);
    EXPECT_EQ(written.substr(written.find("Diego_03")),
              Ansi("Diego_03=" + GameValue("", "", "Новая")) + "\r\n");
    Write("Cześć");
    EXPECT_EQ(Boxes().back(),
              "В тексте есть символ «ś» (U+015B), которого нет в кодировке Windows-1251. Строка не "
              "записана: замените или удалите этот символ. / Ошибка");
    EXPECT_EQ(ReadBytes(table), written);

    // A UTF-16 table holds it.
    WriteBytes(table, Utf16LeFileFromUtf8(Table(GameValue("Bye", "Tschuess", ""))));
    Click(0);
    dialogs.answers = {MsgAnswer::Yes};
    Write("Cześć");
    EXPECT_EQ(ReadBytes(table), Utf16LeFileFromUtf8(Table(GameValue("Bye", "Tschuess", "Cześć"))));
}

// A table that cannot be written is told before the question, and nothing is inserted.
TEST_F(InfoTabTable, APastedConversationIntoATableThatCannotBeWrittenAsksNothingAndInsertsNothing) {
    const ScopedUnwritable locked(table);
    if (!locked.Made())
        GTEST_SKIP() << "no file here can be made unwritable";
    const std::string before = ReadBytes(table);
    const std::vector<QString> rowsBefore = Rows("CommandList");
    dialogs.modalResults = {QDialog::Rejected};
    dialogs.onModal = [&](QDialog* dialog) {
        dialog->findChild<QPlainTextEdit*>("ConversationEd")->setPlainText("Diego: Здравствуй.");
        QTest::mouseClick(dialog->findChild<QPushButton*>("InsertBtn"), Qt::LeftButton);
    };
    Find<QAction>("ConversationItem")->trigger();
    ASSERT_EQ(Boxes().size(), 1);
    EXPECT_TRUE(Boxes().front().startsWith(QString::fromStdString("Unable to write to " + table + ". ")))
        << Boxes().front().toStdString();
    EXPECT_TRUE(Boxes().front().endsWith("\nРазговор не вставлен. / Ошибка"))
        << Boxes().front().toStdString();
    EXPECT_EQ(ReadBytes(table), before);
    EXPECT_EQ(Rows("CommandList"), rowsBefore);
}

} // namespace
} // namespace pwtest
