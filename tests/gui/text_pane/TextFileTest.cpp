#include "gui/text_pane/TextFile.h"

#include "core/data/StringTable.h"
#include "TempDir.h"
#include "TestText.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>
#include <thread>

using pw::DecodeTextFile;
using pw::EncodeTextFile;
using pw::LineBreak;
using pw::TextEncoding;
using pwtest::All8BitBytes;

namespace {

// "Привет" in Windows-1251, UTF-16 and UTF-8.
const std::string kPrivet1251 = "\xCF\xF0\xE8\xE2\xE5\xF2";
const std::string kPrivetUtf16Le = std::string("\x1F\x04\x40\x04\x38\x04\x32\x04\x35\x04\x42\x04", 12);
const std::string kPrivetUtf16Be = std::string("\x04\x1F\x04\x40\x04\x38\x04\x32\x04\x35\x04\x42", 12);
const std::string kPrivetUtf8 = "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82";
const QString kPrivet = QString::fromUtf8("Привет");

// Each ASCII character of text as one UTF-16 unit in the given byte order.
std::string Wide(const std::string& text, bool bigEndian) {
    std::string bytes;
    for (char c : text)
        bytes += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
    return bytes;
}

// As the string table's readers tell it: by the mark, else UTF-8 where all of it is UTF-8 beyond ASCII.
TEST(DecodeTextFile, MarksOrValidUtf8ChooseTheEncoding) {
    const struct {
        std::string bytes;
        TextEncoding encoding;
    } cases[] = {
        {kPrivet1251 + "\r\nx", TextEncoding::Ansi},
        {kPrivetUtf8 + "\r\nx", TextEncoding::Utf8},
        {"\xEF\xBB\xBF" + kPrivetUtf8 + "\r\nx", TextEncoding::Utf8Bom},
        {"\xFF\xFE" + kPrivetUtf16Le + Wide("\r\nx", false), TextEncoding::Utf16LeBom},
        {"\xFE\xFF" + kPrivetUtf16Be + Wide("\r\nx", true), TextEncoding::Utf16BeBom},
    };
    for (const auto& c : cases) {
        const pw::LoadedText loaded = DecodeTextFile(c.bytes);
        EXPECT_EQ(loaded.encoding, c.encoding);
        EXPECT_EQ(loaded.text, kPrivet + "\nx"); // the mark itself is not part of the text
        EXPECT_EQ(loaded.lineBreak, LineBreak::CrLf);
    }
    // A sequence cut off at the end of the file is shown, not dropped.
    EXPECT_EQ(DecodeTextFile("\xEF\xBB\xBF"
                             "a\xD0")
                  .text,
              QString("a") + QChar(QChar::ReplacementCharacter));
    EXPECT_EQ(DecodeTextFile("\xFF\xFE"
                             "a")
                  .text.size(),
              1);
    // One byte that is no UTF-8 makes the whole file Windows-1251, as a table saved so is read.
    const pw::LoadedText mixed = DecodeTextFile(kPrivetUtf8 + "\r\n" + kPrivet1251);
    EXPECT_EQ(mixed.encoding, TextEncoding::Ansi);
    EXPECT_EQ(mixed.text, QString::fromUtf8("РџСЂРёРІРµС‚\nПривет"));
}

TEST(DecodeTextFile, ChoosesTheLineEndToWriteBack) {
    const struct {
        std::string bytes;
        QString text;
        LineBreak lineBreak;
    } cases[] = {
        {"a\r\nb\r\n", "a\nb\n", LineBreak::CrLf},
        {"a\nb\n", "a\nb\n", LineBreak::Lf},
        {"a\rb", "a\nb", LineBreak::Cr},
        {"one line", "one line", LineBreak::CrLf},
        {"", "", LineBreak::CrLf},
        {"a\nb\r\nc", "a\nb\nc", LineBreak::CrLf}, // any CR LF wins, wherever it is
        {"a\r\nb\rc\nd", "a\nb\nc\nd", LineBreak::CrLf},
        {"a\nb\rc", "a\nb\nc", LineBreak::CrLf}, // LF and CR mixed: the program's own line end
        {"a\r\r\nb", "a\n\nb", LineBreak::CrLf},
        {"\xFF\xFE", "", LineBreak::CrLf},
    };
    for (const auto& c : cases) {
        const pw::LoadedText loaded = DecodeTextFile(c.bytes);
        EXPECT_EQ(loaded.text, c.text) << c.bytes;
        EXPECT_EQ(loaded.lineBreak, c.lineBreak) << c.bytes;
    }
}

TEST(EncodeTextFile, FilesWithOneKindOfLineEndComeBackByteForByte) {
    const std::string mark8 = "\xEF\xBB\xBF";
    const std::string markLe = "\xFF\xFE";
    const std::string markBe = "\xFE\xFF";
    const std::string files[] = {
        "[LocAdmin_Strings]\r\nA=" + All8BitBytes() + "\r\nB=x\r\n",
        All8BitBytes(),
        "no final line end\r\nx",
        "a\nb\n",
        "a\rb\r\r",
        "\r\n\r\n",
        "",
        mark8 + kPrivetUtf8 +
            "\r\nB=\xE2\x82\xAC\xF0\x9F\x98\x80\r\n", // a euro sign and a character beyond 16 bits
        kPrivetUtf8 + "\nB=\xE2\x82\xAC\n",           // UTF-8 without a mark stays without one
        mark8,
        markLe + kPrivetUtf16Le + Wide("\r\nx", false),
        markLe + std::string("\x3D\xD8\x00\xDE", 4) + Wide("\n", false),
        markBe + kPrivetUtf16Be + Wide("\rx\r", true),
    };
    for (const std::string& bytes : files) {
        const pw::LoadedText loaded = DecodeTextFile(bytes);
        const pw::EncodedText encoded = EncodeTextFile(loaded.text, loaded.encoding, loaded.lineBreak);
        EXPECT_FALSE(encoded.unencodable);
        EXPECT_EQ(encoded.bytes, bytes);
    }
}

TEST(EncodeTextFile, MixedLineEndsAreWrittenWithTheChosenOne) {
    const struct {
        std::string in;
        std::string out;
    } cases[] = {
        {"a\r\nb\nc\rd", "a\r\nb\r\nc\r\nd"},
        {"a\nb\rc\n", "a\r\nb\r\nc\r\n"},
        {"\xFF\xFE" + Wide("a\nb\r\n", false), "\xFF\xFE" + Wide("a\r\nb\r\n", false)},
    };
    for (const auto& c : cases) {
        const pw::LoadedText loaded = DecodeTextFile(c.in);
        EXPECT_EQ(EncodeTextFile(loaded.text, loaded.encoding, loaded.lineBreak).bytes, c.out);
    }
    // A UTF-16 unit whose high byte is 0x0A is not a line end.
    const QString text = QString(QChar(0x0A0A)) + u'\n' + QChar(0x0D0A);
    EXPECT_EQ(EncodeTextFile(text, TextEncoding::Utf16LeBom, LineBreak::CrLf).bytes,
              std::string("\xFF\xFE\x0A\x0A\x0D\x00\x0A\x00\x0A\x0D", 10));
    EXPECT_EQ(EncodeTextFile(text, TextEncoding::Utf16BeBom, LineBreak::Cr).bytes,
              std::string("\xFE\xFF\x0A\x0A\x00\x0D\x0D\x0A", 8));
}

TEST(EncodeTextFile, RefusesACharacterTheEncodingCannotHold) {
    const QString text = QString::fromUtf8("ok\nПривет\nначало ä конец\nü");
    const pw::EncodedText ansi = EncodeTextFile(text, TextEncoding::Ansi, LineBreak::CrLf);
    EXPECT_TRUE(ansi.bytes.empty());
    ASSERT_TRUE(ansi.unencodable);
    EXPECT_EQ(ansi.unencodable->line, 2);
    EXPECT_EQ(ansi.unencodable->character, U'ä');

    const pw::EncodedText wideChar =
        EncodeTextFile(QString::fromUtf8("a\n\xF0\x9F\x98\x80"), TextEncoding::Ansi, LineBreak::Lf);
    ASSERT_TRUE(wideChar.unencodable);
    EXPECT_EQ(wideChar.unencodable->line, 1);
    EXPECT_EQ(wideChar.unencodable->character, U'😀');

    EXPECT_FALSE(EncodeTextFile(text, TextEncoding::Utf8Bom, LineBreak::CrLf).unencodable);
    // A lone surrogate, even as the very last character, has no form in UTF-8 or Windows-1251.
    const QString loneSurrogate = QString("a\nb") + QChar(0xD83D);
    for (const TextEncoding encoding : {TextEncoding::Utf8Bom, TextEncoding::Ansi}) {
        const pw::EncodedText encoded = EncodeTextFile(loneSurrogate, encoding, LineBreak::CrLf);
        ASSERT_TRUE(encoded.unencodable);
        EXPECT_EQ(encoded.unencodable->line, 1);
        EXPECT_EQ(encoded.unencodable->character, 0xD83Du);
    }
}

class SaveTextFileTest : public ::testing::Test {
protected:
    std::string Path() const { return dir.File("stringtable.ini"); }
    pwtest::TempDir dir;
};

TEST_F(SaveTextFileTest, WritesOverTheFileThatWasRead) {
    pwtest::WriteBytes(Path(), "old");
    EXPECT_EQ(pw::SaveTextFile(Path(), "new", pw::FingerprintOf("old"), false), pw::SaveResult::Written);
    EXPECT_EQ(pwtest::ReadBytes(Path()), "new");
    // A file removed since loses nothing when it is written again.
    std::remove(Path().c_str());
    EXPECT_EQ(pw::SaveTextFile(Path(), "again", pw::FingerprintOf("new"), false), pw::SaveResult::Written);
    EXPECT_EQ(pwtest::ReadBytes(Path()), "again");
}

TEST_F(SaveTextFileTest, LeavesAFileChangedByAnotherWriterAloneUnlessTold) {
    const std::string loaded = "[LocAdmin_Strings]\r\nA=1\r\n";
    const std::string changed[] = {
        loaded + "B=2\r\n",              // an entry added
        "[LocAdmin_Strings]\r\nA=2\r\n", // same size, other content
    };
    for (const std::string& now : changed) {
        pwtest::WriteBytes(Path(), now);
        EXPECT_EQ(pw::SaveTextFile(Path(), "mine", pw::FingerprintOf(loaded), false),
                  pw::SaveResult::ChangedOnDisk);
        EXPECT_EQ(pwtest::ReadBytes(Path()), now);
    }
    // Nothing was read (the file was missing then), but there is a file now.
    EXPECT_EQ(pw::SaveTextFile(Path(), "mine", pw::FileFingerprint{}, false), pw::SaveResult::ChangedOnDisk);
    EXPECT_EQ(pw::SaveTextFile(Path(), "mine", pw::FingerprintOf(loaded), true), pw::SaveResult::Written);
    EXPECT_EQ(pwtest::ReadBytes(Path()), "mine");
}

TEST_F(SaveTextFileTest, AnEntryAddedWhileSavingIsNeverOverwrittenUnasked) {
    // Another writer adds an entry at about the moment of the save: either the save meets it and leaves
    // the file alone, or the entry is added to what the save wrote. It is never lost.
    pwtest::WriteBytes(Path(), "[LocAdmin_Strings]\r\n");
    const pw::TStringTable table(Path());
    for (int round = 0; round < 100; ++round) {
        const std::string loaded = pwtest::ReadBytes(Path());
        const std::string id = "ADDED_" + std::to_string(round);
        std::thread other([&] { table.AddTableString(id, "x", false); });
        pw::SaveTextFile(Path(), loaded + "MINE_" + std::to_string(round) + "=y;\r\n",
                         pw::FingerprintOf(loaded), false);
        other.join();
        ASSERT_EQ(table.LookupTableString(id), "x;") << round;
    }
}

TEST_F(SaveTextFileTest, AFileThatCannotBeWrittenIsReportedAndKept) {
    const std::string path = dir.File("missing/stringtable.ini");
    try {
        pw::SaveTextFile(path, "x", pw::FileFingerprint{}, false);
        FAIL() << "a file in a missing folder cannot be written";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()).rfind("Cannot create file \"" + path + "\". ", 0), 0u)
            << error.what();
    }
    EXPECT_FALSE(pwtest::Exists(path));
}

} // namespace
