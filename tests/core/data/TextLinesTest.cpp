// A file's lines read in blocks must be the lines of the whole text, wherever the blocks end.

#include "core/data/Cp1251.h"
#include "core/data/TextLines.h"

#include "TempDir.h"

#include <gtest/gtest.h>

using namespace pw;
using Lines = std::vector<std::string>;
using namespace std::string_literals;

namespace {

Lines ReadInBlocks(const std::string& path, std::size_t blockSize, bool* utf8 = nullptr) {
    TextLineReader reader(blockSize);
    EXPECT_TRUE(reader.Open(path));
    Lines lines;
    EXPECT_TRUE(reader.ReadLines([&lines](std::string_view line) { lines.emplace_back(line); }));
    if (utf8)
        *utf8 = reader.Utf8Lines();
    return lines;
}

} // namespace

TEST(TextLines, EveryKindOfLineEndEndsOneLineWhereverABlockEnds) {
    struct Case {
        std::string text;
        Lines lines;
    };
    const Case cases[] = {
        {"", {}},
        {"one", {"one"}},
        {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"a\r\n", {"a"}},
        {"\r\n\r\n", {"", ""}},
        {"\n\r", {"", ""}}, // LF then CR: two line ends
        {"a\r\r\nb\n\n", {"a", "", "b", ""}},
        {"long line of text\r\nx", {"long line of text", "x"}},
        {"\xFF", {"\xFF"}}, // one byte is no byte-order mark
    };
    pwtest::TempDir dir;
    for (const Case& c : cases) {
        const std::string path = dir.File("t");
        pwtest::WriteBytes(path, c.text);
        for (std::size_t block : {1u, 2u, 3u, 5u, 64u * 1024u}) {
            bool wide = true;
            EXPECT_EQ(ReadInBlocks(path, block, &wide), c.lines) << "block " << block << ": " << c.text;
            EXPECT_FALSE(wide);
        }
        Lines inMemory;
        ForEachTextLine(c.text, [&inMemory](std::string_view line) { inMemory.emplace_back(line); });
        EXPECT_EQ(inMemory, c.lines) << c.text;
    }
}

TEST(TextLines, AUtf16FileIsReadAsUtf8WithPairsKeptTogetherAcrossBlocks) {
    pwtest::TempDir dir;
    const std::string path = dir.File("t");
    // "Ключ=😀;" CR LF "中" LF, then a lone surrogate and an odd last byte.
    pwtest::WriteBytes(path, "\xFF\xFE"s + *Utf8ToUtf16Le("Ключ=😀;\r\n中\n") +
                                 "\x3D\xD8"
                                 "A\0"
                                 "Z"s);
    for (std::size_t block : {1u, 2u, 3u, 4u, 7u, 4096u}) {
        bool wide = false;
        EXPECT_EQ(ReadInBlocks(path, block, &wide), (Lines{"Ключ=😀;", "中",
                                                           "\xEF\xBF\xBD"
                                                           "A"}))
            << "block " << block;
        EXPECT_TRUE(wide);
    }
}

TEST(TextLines, WhatIsNoRegularFileIsRefusedWithAReason) {
    pwtest::TempDir dir;
    TextLineReader reader;
    std::string reason;
    EXPECT_FALSE(reader.Open(dir.File("missing"), &reason));
    EXPECT_EQ(reason, pwtest::SystemReason(pwtest::Reason::Missing));
    EXPECT_FALSE(reader.Open(dir.Path(), &reason));
    EXPECT_FALSE(reason.empty());
}
