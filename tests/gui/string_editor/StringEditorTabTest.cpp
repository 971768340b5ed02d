// The string editor's tab: the tool bar's actions, finding and replacing through the dialogs, F3 and
// Shift+F3, reloading and saving with the questions answered by the test.

#include "StringEditorFixture.h"
#include "TestText.h"

#include "core/data/StringTable.h"

#include <QAbstractEventDispatcher>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTextBlock>
#include <QTextLayout>
#include <QTest>
#include <QTimer>

#include <cstdio>

namespace pwtest {
namespace {

using StringEditor = StringEditorFixture;

const std::string kTable = "[LocAdmin_Strings]\r\nA=foo bar foo\r\nB=foo\r\n";

TEST_F(StringEditor, ShowsTheTableEditableAndWithoutColours) {
    Open(kTable);
    EXPECT_EQ(Text(), "[LocAdmin_Strings]\nA=foo bar foo\nB=foo\n");
    EXPECT_FALSE(Pane()->isReadOnly());
    EXPECT_TRUE(Pane()->document()->firstBlock().layout()->formats().isEmpty()); // the section plain too
}

TEST_F(StringEditor, NextPreviousAndReplaceWaitForAFirstConfirmedSearchText) {
    Open(kTable);
    for (const char* name : {"actSearchNext", "actSearchPrev", "actSearchReplace"})
        EXPECT_FALSE(Action(name)->isEnabled()) << name;
    EXPECT_TRUE(Action("actFileOpen")->isEnabled());
    EXPECT_TRUE(Action("actSearch")->isEnabled());
    Find({.search = ""});
    EXPECT_FALSE(Action("actSearchNext")->isEnabled());
    Find({.search = "foo"});
    for (const char* name : {"actSearchNext", "actSearchPrev", "actSearchReplace"})
        EXPECT_TRUE(Action(name)->isEnabled()) << name;
    Pane()->setReadOnly(true);
    QEventLoop idle; // recomputed when the program waits for input: the first wait ends the loop
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, &idle,
                     &QEventLoop::quit);
    QTimer::singleShot(5000, &idle, &QEventLoop::quit);
    idle.exec();
    EXPECT_FALSE(Action("actSearchReplace")->isEnabled());
    EXPECT_TRUE(Action("actSearchNext")->isEnabled());
}

TEST_F(StringEditor, TheDialogsFirstSearchCoversTheWholeTextThenF3ContinuesFromTheCaret) {
    Open(kTable);
    PutCaret(2, 5);
    Find({.search = "foo"});
    EXPECT_EQ(Selection(), (pw::TextSelection{{1, 2}, {1, 5}})); // from the top, not from the caret
    Action("actSearchNext")->trigger();
    EXPECT_EQ(Selection(), (pw::TextSelection{{1, 10}, {1, 13}}));
    Action("actSearchPrev")->trigger();
    EXPECT_EQ(Selection(), (pw::TextSelection{{1, 5}, {1, 2}}));
    EXPECT_EQ(Status(), "");

    // The remembered direction is the dialog's own: F3 still goes forwards, Shift+F3 backwards.
    Find({.search = "foo", .backwards = true});
    EXPECT_EQ(Selection(), (pw::TextSelection{{2, 5}, {2, 2}})); // from the bottom
    Action("actSearchNext")->trigger();
    EXPECT_EQ(Beeps(), 1); // nothing after the last one
    Action("actSearchPrev")->trigger();
    EXPECT_EQ(Selection(), (pw::TextSelection{{2, 5}, {2, 2}}));
    Action("actSearchPrev")->trigger();
    EXPECT_EQ(Selection(), (pw::TextSelection{{1, 13}, {1, 10}}));

    PutCaret(1, 6);
    Find({.search = "foo", .fromCaret = true});
    EXPECT_EQ(Selection(), (pw::TextSelection{{1, 10}, {1, 13}}));
}

TEST_F(StringEditor, NotFoundBeepsSaysSoAndCollapsesTheSelection) {
    Open(kTable);
    Find({.search = "bar"});
    ASSERT_EQ(Selection(), (pw::TextSelection{{1, 6}, {1, 9}}));
    Action("actSearchNext")->trigger();
    EXPECT_EQ(Beeps(), 1);
    EXPECT_EQ(Status(), "Text not found");
    EXPECT_EQ(Selection(), (pw::TextSelection{{1, 9}, {1, 9}})); // onto its end, forwards

    Pane()->SetSelection({{1, 6}, {1, 9}});
    Find({.search = "absent", .backwards = true});
    EXPECT_EQ(Beeps(), 2);
    EXPECT_EQ(Selection(), (pw::TextSelection{{1, 6}, {1, 6}})); // onto its start, backwards
    EXPECT_EQ(Status(), "Text not found");

    dialogs.onModal = nullptr;
    Action("actSearch")->trigger(); // a new dialog clears the message, even when cancelled
    EXPECT_EQ(Status(), "");
}

TEST_F(StringEditor, ReplaceChangesEveryOccurrenceSilentlyAsOneUndoStep) {
    Open("aaa\r\nx\r\n");
    Find({.search = "x"});
    Replace({.search = "a", .replace = "b"});
    EXPECT_EQ(Text(), "bbb\nx\n");
    EXPECT_TRUE(dialogs.Messages().empty());
    EXPECT_EQ(Beeps(), 0);
    EXPECT_EQ(Status(), "");
    Pane()->setFocus();
    QTest::keyClick(Pane(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Text(), "aaa\nx\n");

    Replace({.search = "absent", .replace = "b"});
    EXPECT_EQ(Beeps(), 1);
    EXPECT_EQ(Status(), "Text not found");
}

TEST_F(StringEditor, AReplaceSearchesInTheBackgroundWithThePaneAndTheReloadLocked) {
    Open(kTable);
    Find({.search = "foo"}); // Replace is offered once something was searched for
    AnswerDialog({.search = "foo", .replace = "baz"});
    Action("actSearchReplace")->trigger();
    // Until its end is delivered, nothing may change the text it searched.
    EXPECT_TRUE(Pane()->isReadOnly());
    EXPECT_FALSE(Action("actFileOpen")->isEnabled());
    EXPECT_EQ(Text(), "[LocAdmin_Strings]\nA=foo bar foo\nB=foo\n");
    WaitForWork();
    EXPECT_EQ(Text(), "[LocAdmin_Strings]\nA=baz bar baz\nB=baz\n");
    EXPECT_FALSE(Pane()->isReadOnly());
    EXPECT_TRUE(Action("actFileOpen")->isEnabled());
}

TEST_F(StringEditor, F3KeepsTheEngineOfTheLastOkThoughTheBoxOpensCleared) {
    Open("a1 b22 c333\r\n");
    Find({.search = "[a-c]\\d+", .regex = true});
    EXPECT_EQ(Pane()->textCursor().selectedText(), "a1");
    Action("actSearchNext")->trigger();
    EXPECT_EQ(Pane()->textCursor().selectedText(), "b22");
    Action("actSearchNext")->trigger();
    EXPECT_EQ(Pane()->textCursor().selectedText(), "c333");
}

TEST_F(StringEditor, ABrokenExpressionIsReportedAndChangesNothing) {
    Open("a(b\r\n");
    Find({.search = "a(b", .regex = true});
    Replace({.search = "a(b", .replace = "x", .regex = true});
    ASSERT_EQ(dialogs.Messages().size(), 2u);
    for (const auto& box : dialogs.Messages()) {
        EXPECT_TRUE(box.text.startsWith("Invalid regular expression \"a(b\"")) << box.text.toStdString();
        EXPECT_EQ(box.icon, pw::MsgIcon::Error);
    }
    EXPECT_EQ(Text(), "a(b\n");
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(StringEditor, CtrlSAsksAndSavesInTheFilesOwnEncodingAndLineEnd) {
    const std::string utf8 = "\xEF\xBB\xBF[LocAdmin_Strings]\nA=\xD0\x9C\xD0\xB5\xD1\x87\n"; // "Меч", LF only
    Open(utf8);
    Pane()->setFocus();
    QTest::keyClick(Pane(), Qt::Key_S, Qt::ControlModifier); // answered No
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    const auto question = dialogs.Messages()[0];
    EXPECT_EQ(question.text, "Сохранить изменения в stringtable.ini?");
    EXPECT_EQ(question.caption, "Редактор строк");
    EXPECT_EQ(question.icon, pw::MsgIcon::Question);
    EXPECT_EQ(question.buttons, pw::MsgButtons::YesNo);
    EXPECT_EQ(ReadBytes(TablePath()), utf8);

    PutCaret(1, 2);
    Pane()->insertPlainText("Ж€");
    dialogs.answers = {pw::MsgAnswer::Yes};
    QTest::keyClick(Pane(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(ReadBytes(TablePath()),
              "\xEF\xBB\xBF[LocAdmin_Strings]\nA=\xD0\x96\xE2\x82\xAC\xD0\x9C\xD0\xB5\xD1\x87\n");
    EXPECT_EQ(dialogs.Messages().size(), 2u); // only the question

    // A second save of the same pane does not take its own write for another writer's.
    dialogs.answers = {pw::MsgAnswer::Yes};
    QTest::keyClick(Pane(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(dialogs.Messages().size(), 3u);
}

TEST_F(StringEditor, An8BitTableIsSavedByteForByte) {
    const std::string bytes = "[LocAdmin_Strings]\r\nA=" + All8BitBytes() + "\r\nB=no final line end";
    Open(bytes);
    dialogs.answers = {pw::MsgAnswer::Yes};
    tab->SaveStringTableText();
    EXPECT_EQ(ReadBytes(TablePath()), bytes);
}

TEST_F(StringEditor, ACharacterThe8BitTableCannotHoldIsRefusedNamingItsLine) {
    Open(kTable);
    PutCaret(2, 2);
    Pane()->insertPlainText("ä"); // typed or pasted
    dialogs.answers = {pw::MsgAnswer::Yes};
    tab->SaveStringTableText();
    ASSERT_EQ(dialogs.Messages().size(), 2u);
    const auto refusal = dialogs.Messages()[1];
    EXPECT_EQ(refusal.text,
              "В строке 3 есть символ «ä» (U+00E4), которого нет в кодировке файла (Windows-1251). "
              "Таблица не сохранена: замените или удалите этот символ.");
    EXPECT_EQ(refusal.caption, "Редактор строк");
    EXPECT_EQ(refusal.icon, pw::MsgIcon::Warning);
    EXPECT_EQ(ReadBytes(TablePath()), kTable);
    EXPECT_EQ(Pane()->textCursor().selectedText(), "ä"); // shown where it is
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(StringEditor, ATableChangedOnDiskIsOnlyOverwrittenWhenTheUserSaysSo) {
    Open(kTable);
    // An entry added by the dialogue tab's ">>>" after the table was read.
    pw::TStringTable(TablePath()).AddTableString("C", "new line", false);
    const std::string withEntry = ReadBytes(TablePath());
    ASSERT_NE(withEntry, kTable);
    PutCaret(1, 0);
    QTest::keyClicks(Pane(), "x");

    dialogs.answers = {pw::MsgAnswer::Yes, pw::MsgAnswer::No};
    tab->SaveStringTableText();
    ASSERT_EQ(dialogs.Messages().size(), 2u);
    const auto warning = dialogs.Messages()[1];
    EXPECT_TRUE(
        warning.text.startsWith(QString::fromStdString("Файл " + TablePath() + " изменился после того")))
        << warning.text.toStdString();
    EXPECT_EQ(warning.caption, "Редактор строк");
    EXPECT_EQ(warning.icon, pw::MsgIcon::Warning);
    // Ctrl+S, Enter, Enter must not throw away the entries added meanwhile.
    EXPECT_EQ(warning.buttons, pw::MsgButtons::YesNoDefaultNo);
    EXPECT_EQ(ReadBytes(TablePath()), withEntry);

    dialogs.answers = {pw::MsgAnswer::Yes, pw::MsgAnswer::Yes};
    tab->SaveStringTableText();
    EXPECT_EQ(ReadBytes(TablePath()), "[LocAdmin_Strings]\r\nxA=foo bar foo\r\nB=foo\r\n");
}

TEST_F(StringEditor, ASaveBeforeTheTextIsInPlaceWritesTheWholeTable) {
    std::string big = "[LocAdmin_Strings]\r\n";
    for (int i = 0; i < 20000; ++i)
        big += "Entry_" + std::to_string(i) + "=\xD2\xE5\xEA\xF1\xF2;\r\n";
    WriteBytes(TablePath(), big);
    OpenWindow(false); // the tab has never been shown
    ASSERT_EQ(Pane()->document()->isEmpty(), true);
    dialogs.answers = {pw::MsgAnswer::Yes};
    tab->SaveStringTableText();
    EXPECT_EQ(ReadBytes(TablePath()), big);
    EXPECT_EQ(Pane()->blockCount(), 20002);
}

TEST_F(StringEditor, ATableThatCouldNotBeReadIsNeverOverwrittenUnasked) {
    OpenWindow(); // no table at start-up: the pane stays empty
    EXPECT_EQ(Text(), "");
    WriteBytes(TablePath(), kTable); // and now there is one
    dialogs.answers = {pw::MsgAnswer::Yes, pw::MsgAnswer::No};
    tab->SaveStringTableText();
    EXPECT_EQ(dialogs.Messages().size(), 2u);
    EXPECT_EQ(ReadBytes(TablePath()), kTable);
}

TEST_F(StringEditor, ReloadAsksThenShowsTheFileAsItIsNow) {
    Open(kTable);
    QTest::keyClicks(Pane(), "edit");
    Action("actFileOpen")->trigger(); // answered No
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    const auto question = dialogs.Messages()[0];
    EXPECT_EQ(question.text, "Обновить таблицу строк? Несохраненные изменения будут потеряны!");
    EXPECT_EQ(question.caption, "Внимание");
    EXPECT_EQ(question.icon, pw::MsgIcon::Question);
    EXPECT_EQ(question.buttons, pw::MsgButtons::YesNo);
    EXPECT_TRUE(Text().startsWith("edit"));

    WriteBytes(TablePath(), "[LocAdmin_Strings]\nZ=1\n");
    dialogs.answers = {pw::MsgAnswer::Yes};
    Action("actFileOpen")->trigger();
    WaitForWork();
    EXPECT_EQ(Text(), "[LocAdmin_Strings]\nZ=1\n");
    EXPECT_EQ(Pane()->LineBreakStyle(), pw::LineBreak::Lf);
    EXPECT_FALSE(Pane()->document()->isUndoAvailable());

    std::remove(TablePath().c_str());
    dialogs.answers = {pw::MsgAnswer::Yes};
    Action("actFileOpen")->trigger();
    ASSERT_EQ(dialogs.Messages().size(), 4u);
    EXPECT_TRUE(
        dialogs.Messages()[3].text.startsWith(QString::fromStdString("Cannot open file \"" + TablePath())));
    EXPECT_EQ(dialogs.Messages()[3].icon, pw::MsgIcon::Error);
    EXPECT_EQ(Text(), "");
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(StringEditor, ReloadReadsThePathOfTheSettingsAtThatMoment) {
    Open(kTable);
    const std::string other = dir.File("other.ini");
    WriteBytes(other, "[LocAdmin_Strings]\r\nOther=1\r\n");
    workspace.configs->StringTablePath = other;
    dialogs.answers = {pw::MsgAnswer::Yes};
    Action("actFileOpen")->trigger();
    WaitForWork();
    EXPECT_EQ(Text(), "[LocAdmin_Strings]\nOther=1\n");
}

} // namespace
} // namespace pwtest
