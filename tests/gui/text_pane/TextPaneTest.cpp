#include "gui/text_pane/TextPane.h"

#include "TempDir.h"
#include "TestText.h"

#include <QFontMetrics>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QThread>

#include <gtest/gtest.h>

#include <future>
#include <random>
#include <stdexcept>

using pw::LineBreak;
using pw::TextEncoding;

namespace {

const QString kPrivet = QString::fromUtf8("Привет");

// The pane's lines as the search sees them, against the document's own blocks.
void ExpectLinesInStep(const pw::TextPane& pane, const char* after) {
    QStringList blocks;
    for (QTextBlock block = pane.document()->begin(); block.isValid(); block = block.next())
        blocks << block.text();
    QStringList lines;
    for (qsizetype i = 0; i < pane.Lines().LineCount(); ++i)
        lines << pane.Lines().Line(i).toString();
    ASSERT_EQ(lines, blocks) << after;
}

pw::SearchOptions Whole(bool replaceAll = false) {
    pw::SearchOptions options;
    options.wholeScope = true;
    options.replaceAll = replaceAll;
    return options;
}

TEST(TextPane, LoadsAFileAndKeepsItsTextWhenTheNextOneIsMissing) {
    pwtest::TempDir dir;
    pwtest::WriteBytes(dir.File("stringtable.ini"), pwtest::Utf16LeFile(pwtest::Ansi("Привет\n")));
    pw::TextPane pane;
    pane.LoadFromFile(dir.File("stringtable.ini"));
    EXPECT_EQ(pane.toPlainText(), kPrivet + "\n");
    EXPECT_EQ(pane.Encoding(), TextEncoding::Utf16LeBom);
    EXPECT_EQ(pane.LineBreakStyle(), LineBreak::Lf);
    EXPECT_EQ(pane.blockCount(), 2);

    const std::string missing = dir.File("missing.ini");
    try {
        pane.LoadFromFile(missing);
        FAIL() << "a missing file must not load";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()).rfind("Cannot open file \"" + missing + "\". ", 0), 0u)
            << error.what();
    }
    EXPECT_EQ(pane.toPlainText(), kPrivet + "\n");
}

TEST(TextPane, UsesAFixedPitchFont) {
    pw::TextPane pane;
    const QFontMetrics metrics(pane.font());
    EXPECT_EQ(metrics.horizontalAdvance(u'i'), metrics.horizontalAdvance(u'W'));
}

// The pane's own text (not a normalised copy of it) is what is written back.
TEST(TextPane, GivesBackEveryCharacterItWasGiven) {
    const std::string files[] = {
        "A=" + pwtest::All8BitBytes() +
            "\r\nB=\xA0non-breaking\xA0spaces\r\n", // 0xA0 must not become a blank
        "\xEF\xBB\xBF"
        "a\xE2\x80\xA8"
        "b\n", // a Unicode line separator inside a line
    };
    for (const std::string& bytes : files) {
        pw::TextPane pane;
        pane.ShowLoadedText(pw::DecodeTextFile(bytes));
        EXPECT_EQ(pw::EncodeTextFile(pane.PlainText(), pane.Encoding(), pane.LineBreakStyle()).bytes, bytes);
    }
}

TEST(TextPane, SearchLinesFollowEveryKindOfEdit) {
    pw::TextPane pane;
    pane.ShowLoadedText(pw::DecodeTextFile("one\r\ntwo\r\nthree\r\n\r\nfive"));
    ExpectLinesInStep(pane, "loading");
    std::mt19937 random(7);
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const QString pieces[] = {"x", "\n", "ab\ncd", "\n\n", "", "Ж"};
    for (int step = 0; step < 400; ++step) {
        QTextCursor cursor(pane.document());
        const int size = pane.document()->characterCount() - 1;
        cursor.setPosition(pick(size + 1));
        cursor.setPosition(pick(size + 1), QTextCursor::KeepAnchor);
        switch (pick(6)) {
        case 0:
        case 1:
            cursor.insertText(pieces[pick(6)]);
            break;
        case 2:
            cursor.removeSelectedText();
            break;
        case 3:
            pane.undo();
            break;
        case 4:
            pane.redo();
            break;
        default:
            pane.setTextCursor(cursor);
            QTest::keyClick(&pane, pick(2) ? Qt::Key_Return : Qt::Key_Backspace);
            break;
        }
        ExpectLinesInStep(pane, ("step " + std::to_string(step)).c_str());
    }
    pane.clear();
    ExpectLinesInStep(pane, "clear");
    pane.setPlainText("a\nb");
    ExpectLinesInStep(pane, "setPlainText");
}

// A document filled on another thread, as the string table's is, then taken over by the pane.
TEST(TextPane, TakesOverADocumentPreparedOnAnotherThread) {
    pw::TextPane pane;
    pane.ColourAsIni();
    QThread* const window = pane.thread();
    pw::PreparedText prepared = std::async(std::launch::async, [window] {
                                    return pw::PrepareText(pw::DecodeTextFile("[Info]\nA=1\n; note"), window);
                                }).get();
    pane.ShowPreparedText(std::move(prepared));
    EXPECT_EQ(pane.PlainText(), "[Info]\nA=1\n; note");
    EXPECT_EQ(pane.LineBreakStyle(), LineBreak::Lf);
    EXPECT_EQ(pane.Source(), pw::FingerprintOf("[Info]\nA=1\n; note"));
    EXPECT_FALSE(pane.document()->isUndoAvailable());
    EXPECT_EQ(pane.document()->thread(), window);
    EXPECT_EQ(pane.document()->findBlockByNumber(0).layout()->formats().size(), 1); // still coloured
    ExpectLinesInStep(pane, "taking over");
    pane.setFocus();
    QTest::keyClick(&pane, Qt::Key_X);
    QTest::keyClick(&pane, Qt::Key_Return);
    ExpectLinesInStep(pane, "typing");
    EXPECT_EQ(pane.SearchReplace("1", "2", Whole(true)), 1);
    EXPECT_EQ(pane.PlainText(), "x\n[Info]\nA=2\n; note");
}

TEST(TextPane, FindSelectsAndReplaceAllIsOneUndoStep) {
    pw::TextPane pane;
    pane.ShowLoadedText(pw::DecodeTextFile("aaa\r\nb a\r\n"));
    EXPECT_EQ(pane.SearchReplace("a", {}, Whole()), 1);
    EXPECT_EQ(pane.textCursor().selectedText(), "a");
    EXPECT_EQ(pane.textCursor().position(), 1);

    EXPECT_EQ(pane.SearchReplace("a", "bb", Whole(true)), 4);
    EXPECT_EQ(pane.PlainText(), "bbbbbb\nb bb\n");
    EXPECT_EQ(pane.Selection().caret, (pw::TextPoint{1, 4}));
    EXPECT_FALSE(pane.textCursor().hasSelection());
    ExpectLinesInStep(pane, "replace");
    pane.undo();
    EXPECT_EQ(pane.PlainText(), "aaa\nb a\n");
    ExpectLinesInStep(pane, "undo");
    pane.redo();
    EXPECT_EQ(pane.PlainText(), "bbbbbb\nb bb\n");
    ExpectLinesInStep(pane, "redo");
    EXPECT_EQ(pane.SearchReplace("zz", "y", Whole(true)), 0);
}

TEST(TextPane, AReadOnlyPaneFindsButNeverReplaces) {
    pw::TextPane pane;
    pane.setPlainText("abc");
    pane.setReadOnly(true);
    EXPECT_EQ(pane.SearchReplace("b", {}, Whole()), 1);
    EXPECT_EQ(pane.SearchReplace("b", "x", Whole(true)), 0);
    EXPECT_EQ(pane.PlainText(), "abc");
}

TEST(TextPane, ABrokenExpressionIsReportedAndChangesNothing) {
    pw::TextPane pane;
    pane.setPlainText("a(b");
    pw::SearchOptions options = Whole(true);
    options.regularExpression = true;
    EXPECT_THROW(pane.SearchReplace("a(b", "x", options), std::runtime_error);
    EXPECT_EQ(pane.PlainText(), "a(b");
}

TEST(TextPane, ReportsTypedCharactersWithCtrlSAsCode19) {
    pw::TextPane pane;
    QSignalSpy typed(&pane, &pw::TextPane::KeyPress);
    QTest::keyClick(&pane, Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(&pane, Qt::Key_A);
    ASSERT_EQ(typed.count(), 2);
    EXPECT_EQ(typed[0][0].value<QChar>(), QChar(19));
    EXPECT_EQ(typed[1][0].value<QChar>(), QChar(u'a'));
    EXPECT_EQ(pane.PlainText(), "a");
}

TEST(TextPane, ColoursCommentsAndSectionsOnlyWhenAskedTo) {
    const QString text = "; note\n[Info]\nName=Abc";
    pw::TextPane coloured;
    coloured.ColourAsIni();
    coloured.setPlainText(text);
    pw::TextPane plain;
    plain.setPlainText(text);

    const auto formats = [](const pw::TextPane& pane, int line) {
        return pane.document()->findBlockByNumber(line).layout()->formats();
    };
    const QList<QTextLayout::FormatRange> comment = formats(coloured, 0);
    ASSERT_EQ(comment.size(), 1);
    EXPECT_EQ(comment[0].start, 0);
    EXPECT_EQ(comment[0].length, 6);
    EXPECT_TRUE(comment[0].format.fontItalic());
    EXPECT_EQ(comment[0].format.foreground().color(), QColor(0, 128, 0));
    const QList<QTextLayout::FormatRange> section = formats(coloured, 1);
    ASSERT_EQ(section.size(), 1);
    EXPECT_EQ(section[0].length, 6);
    EXPECT_EQ(section[0].format.fontWeight(), QFont::Bold);
    EXPECT_TRUE(formats(coloured, 2).isEmpty()); // keys and values keep the pane's colours
    for (int line = 0; line < 3; ++line)
        EXPECT_TRUE(formats(plain, line).isEmpty());
}

} // namespace
