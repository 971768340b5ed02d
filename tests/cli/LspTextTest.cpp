// The language server's documents: the editor's UTF-8 with UTF-16 positions beside the Windows-1251 text the
// program reads, line for line, and positions in files on disk.

#include "lsp/LspText.h"

#include "TestText.h"

#include <gtest/gtest.h>

namespace {

using pw::lsp::DocumentText;
using pw::lsp::FilePositionOf;
using pw::lsp::Position;
using pwtest::Ansi;

struct PositionCase {
    const char* utf8;   // the document
    Position position;  // in UTF-16 units
    std::size_t offset; // the character of the Windows-1251 text it stands on
};

class DocumentPositions : public testing::TestWithParam<PositionCase> {};

TEST_P(DocumentPositions, MapToTheCharacterAndBack) {
    const PositionCase& c = GetParam();
    const DocumentText text(c.utf8);
    EXPECT_EQ(text.OffsetOf(c.position), c.offset);
    const Position back = text.PositionOf(c.offset);
    EXPECT_EQ(back.line, c.position.line);
    EXPECT_EQ(back.character, c.position.character);
}

INSTANTIATE_TEST_SUITE_P(
    LspText, DocumentPositions,
    testing::Values(PositionCase{"Owner=Диего", {0, 8}, 8}, // Cyrillic: one unit each
                    PositionCase{"a=😀;Diego", {0, 5}, 4},   // a surrogate pair: two units
                    PositionCase{"[Info]\r\nName=Я\rQuest=Q\nParent=P", {3, 2}, 25}, // CR LF, CR and LF
                    PositionCase{"x\xFFy", {0, 2}, 2})); // a byte that is no UTF-8

TEST(LspText, TheWindows1251TextKeepsTheLinesAndOneCharacterEach) {
    const DocumentText text("[Info]\r\nOwner=Диего😀\nName=N");
    EXPECT_EQ(text.Cp1251(), Ansi("[Info]\r\nOwner=Диего") + "?\nName=N");
    ASSERT_EQ(text.LineCount(), 3u);
    EXPECT_EQ(text.Line(1), Ansi("Owner=Диего") + "?");
    // Past the line's end and inside the pair: the line's end and the pair's character.
    EXPECT_EQ(text.OffsetOf({1, 99}), text.LineStart(1) + 12);
    EXPECT_EQ(text.OffsetOf({1, 12}), text.LineStart(1) + 11);
    EXPECT_EQ(text.PositionOf(text.LineStart(1) + 12).character, 13u);
}

TEST(LspText, ALongLineCountsEveryCharacter) {
    std::string line = "InfoScript_Texts=";
    for (int i = 0; i < 5000; ++i)
        line += "Ж";
    const DocumentText text(line + ";Diego_Job_01");
    EXPECT_EQ(text.PositionOf(5018).character, 5018u);
    EXPECT_EQ(text.OffsetOf({0, 5020}), 5020u);
}

TEST(LspText, FilePositionsCountBytesOfAn8BitFileAndUnitsOfAUtf16One) {
    const std::string ansi = Ansi("[A]\r\nИд=Текст\r\nB=1");
    EXPECT_EQ(FilePositionOf(ansi, ansi.find("B=")).line, 2u);
    EXPECT_EQ(FilePositionOf(ansi, ansi.find(Ansi("Текст"))).character, 3u);
    const std::string wide = pwtest::Utf16LeFile(ansi);
    const Position at = FilePositionOf(wide, 2 + 2 * ansi.find(Ansi("Текст")));
    EXPECT_EQ(at.line, 1u);
    EXPECT_EQ(at.character, 3u);
}

} // namespace
