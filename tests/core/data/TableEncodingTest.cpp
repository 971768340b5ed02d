// The one rule every reader and writer of the string table tells its encoding by, and a UTF-8 table read
// and written through each of them.

#include "core/data/StringTable.h"
#include "core/data/TableEncoding.h"

#include "TempDir.h"
#include "TestText.h"

#include <gtest/gtest.h>

using namespace pw;
using pwtest::Ansi;
using pwtest::ReadBytes;
using pwtest::WriteBytes;

namespace {

TEST(TableEncoding, IsToldByTheMarkElseByUtf8BeyondAsciiInEveryByte) {
    const struct {
        std::string bytes;
        TextEncoding encoding;
    } cases[] = {
        {"\xFF\xFE[\0", TextEncoding::Utf16LeBom},
        {"\xEF\xBB\xBF[S]\r\nA=x\r\n", TextEncoding::Utf8Bom},
        {"\xEF\xBB\xBF" + Ansi("Ключ"), TextEncoding::Utf8Bom}, // the mark decides
        {"[S]\r\nA=Привет\r\n", TextEncoding::Utf8},
        {"A=\xF0\x9F\x98\x80", TextEncoding::Utf8},
        {"[S]\r\nA=plain\r\n", TextEncoding::Ansi}, // ASCII reads the same either way
        {"", TextEncoding::Ansi},
        {Ansi("[S]\r\nA=Привет\r\n"), TextEncoding::Ansi},
        {"A=Привет\r\nB=" + Ansi("Пока"), TextEncoding::Ansi}, // one Windows-1251 line spoils it
        {"A=\xC0\x80", TextEncoding::Ansi},                    // an overlong form
        {"A=\xED\xA0\x80", TextEncoding::Ansi},                // a surrogate
        {"A=\xF4\x90\x80\x80", TextEncoding::Ansi},            // past U+10FFFF
        {"A=Пр\xD0", TextEncoding::Ansi},                      // cut off at the end
        {"\xFE\xFF\0[", TextEncoding::Ansi},                   // no table reader takes UTF-16BE
    };
    pwtest::TempDir dir;
    for (const auto& c : cases) {
        EXPECT_EQ(DetectTableEncoding(c.bytes), c.encoding) << c.bytes;
        WriteBytes(dir.File("t.ini"), c.bytes);
        EXPECT_EQ(DetectTableEncodingOfFile(dir.File("t.ini")), c.encoding) << c.bytes;
    }
    EXPECT_EQ(DetectTableEncodingOfFile(dir.File("missing.ini")), TextEncoding::Ansi);
}

// A file is read in blocks: a character cut by a block's end is whole, and a bad byte far behind the first
// block still counts.
TEST(TableEncoding, AFileIsToldByAllOfItsBlocks) {
    pwtest::TempDir dir;
    std::string text = "[LocAdmin_Strings]\r\n";
    while (text.size() < 600 * 1024)
        text += "Line_" + std::to_string(text.size()) + "=Привет, путник;\r\n";
    const TStringTable table(dir.File("t.ini"));
    WriteBytes(dir.File("t.ini"), text);
    EXPECT_EQ(DetectTableEncodingOfFile(dir.File("t.ini")), TextEncoding::Utf8);
    EXPECT_EQ(table.FindTableString("Line_20"), Ansi("Привет, путник;"));
    // A lookup that finds its entry early still tells the encoding by the whole file.
    WriteBytes(dir.File("t.ini"), text + "Last=" + Ansi("Пока") + "\r\n");
    EXPECT_EQ(DetectTableEncodingOfFile(dir.File("t.ini")), TextEncoding::Ansi);
    EXPECT_EQ(table.FindTableString("Line_20"), "Привет, путник;"); // its bytes, as Windows-1251
    EXPECT_EQ(table.FindTableString("Last"), Ansi("Пока"));
}

// A table saved as UTF-8, with its mark or without: every reader takes its text, every writer adds in UTF-8
// and keeps every other byte.
TEST(Utf8Table, IsReadAndWrittenInUtf8ByEveryReaderAndWriter) {
    pwtest::TempDir dir;
    const std::string path = dir.File("st.ini");
    for (const std::string mark : {"", "\xEF\xBB\xBF"}) {
        SCOPED_TRACE(mark.empty() ? "without a mark" : "with a mark");
        const std::string before = mark + "[LocAdmin_Strings]\r\nDiego_01=Привет, путник;\r\nИд_01=x;\r\n";
        WriteBytes(path, before);
        const TStringTable table(path);
        EXPECT_EQ(table.LookupTableString("diego_01"), Ansi("Привет, путник;"));
        EXPECT_EQ(table.FindTableString("Diego_01", ProfileForm::Utf8), "Привет, путник;");
        EXPECT_EQ(table.FindTableString(Ansi("Ид_01")), "x;");
        EXPECT_EQ(table.FindTableStrings({"DIEGO_01", "None"}),
                  (std::vector<std::optional<std::string>>{Ansi("Привет, путник;"), std::nullopt}));

        ASSERT_EQ(table.AddTableString("Diego_02", Ansi("Пока"), false).status,
                  TStringTable::AddStatus::Written);
        // A text Windows-1251 lacks fits a UTF-8 table.
        ASSERT_EQ(table.AddTableString("Diego_03", "Żółw", false, ProfileForm::Utf8).status,
                  TStringTable::AddStatus::Written);
        EXPECT_EQ(table.AppendTableStrings({{"Diego_04", Ansi("Ещё;")}, {"Diego_05", "b;"}}), std::nullopt);
        const std::string added =
            before + "Diego_02=Пока;\r\nDiego_03=Żółw;\r\nDiego_04=Ещё;\r\nDiego_05=b;\r\n";
        EXPECT_EQ(ReadBytes(path), added);
        EXPECT_EQ(ListTableIds(path), (std::vector<std::string>{"Diego_01", Ansi("Ид_01"), "Diego_02",
                                                                "Diego_03", "Diego_04", "Diego_05"}));

        // Taken back while as written; one changed meanwhile stays.
        WriteBytes(path, before + "Diego_04=Ещё;\r\nDiego_05=changed;\r\n");
        EXPECT_EQ(table.TakeBackTableStrings({{"Diego_04", Ansi("Ещё;")}, {"Diego_05", "b;"}}),
                  std::vector<std::string>{"Diego_05"});
        EXPECT_EQ(ReadBytes(path), before + "Diego_05=changed;\r\n");
    }
}

} // namespace
