#include "core/strings/CellWrite.h"
#include "core/strings/LanguageTable.h"

#include "core/data/FileIO.h"
#include "TempDir.h"
#include "TestText.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace pw;
using pwtest::Ansi;
using pwtest::ReadBytes;
using pwtest::Utf16LeFileFromUtf8;
using pwtest::WriteBytes;

namespace {

// A value in the game's layout: the texts of the ten languages, each followed by its empty second field.
std::string GameValue(const std::vector<std::string>& texts) {
    std::string value;
    for (std::size_t i = 0; i < 10; ++i)
        value += (i < texts.size() ? texts[i] : std::string()) + ";" + (i < 9 ? ";" : "");
    return value;
}

const std::string kHeader = "[LocAdmin_Languages]\r\nLanguages=English;Italian;French;German;Spanish;Czech;"
                            "Hungarian;Polish;Russian;TRC\r\nCurrentLanguage=Russian\r\n\r\n";

std::string TableText() {
    return "[LocAdmin_Strings]\r\n"
           "A_01=" +
           GameValue({"Hello", "IT", "Hello", "Hallo", "", "", "", "", "Привет"}) +
           "\r\n"
           "; a comment=line\r\n"
           "  B_01 = " +
           GameValue({"Bye", "-", "", "Tschuess"}) +
           "  \r\n"
           "a_01=repeated;\r\n"
           "=no id;\r\n"
           "SHORT=Only English;\r\n"
           "[Other]\r\nC_01=elsewhere;\r\n"
           "[LocAdmin_Strings]\r\nD_01=second section;\r\n";
}

// The encodings a table is kept in besides Windows-1251, and the bytes of its text (UTF-8) in each.
enum class Form { Utf16, Utf8, Utf8Bom };
constexpr Form kUnicodeForms[] = {Form::Utf16, Form::Utf8, Form::Utf8Bom};
std::string Bytes(const std::string& utf8, Form form) {
    if (form == Form::Utf16)
        return Utf16LeFileFromUtf8(utf8);
    return (form == Form::Utf8Bom ? "\xEF\xBB\xBF" : "") + utf8;
}

// A write of text into field of id, in a table of twenty fields a value.
CellWrite Cell(std::string id, std::size_t field, std::string text, bool replaceFilled = false) {
    CellWrite write;
    write.id = std::move(id);
    write.field = field;
    write.text = std::move(text);
    write.fieldCount = 20;
    write.replaceFilled = replaceFilled;
    return write;
}

} // namespace

TEST(LanguageTable, EntriesAreTheFirstSectionsIdsAsTheGameReadsThem) {
    const LanguageTable table(Ansi(TableText()));
    ASSERT_EQ(table.Size(), 3u);
    EXPECT_EQ(table.Id(0), "A_01");
    EXPECT_EQ(table.Id(1), "B_01");
    EXPECT_EQ(table.Id(2), "SHORT");
    EXPECT_EQ(table.Entry(1).line, 4u);
    EXPECT_EQ(table.Value(1), GameValue({"Bye", "-", "", "Tschuess"}));
    EXPECT_EQ(table.Find(" a_01 "), 0u);
    EXPECT_EQ(table.Find("C_01"), std::nullopt);
    EXPECT_EQ(table.Find("D_01"), std::nullopt);
    EXPECT_EQ(table.Codec().Encoding(), TextEncoding::Ansi);
}

TEST(LanguageTable, ColumnsFromTheHeaderOrTheGamesOrder) {
    const LanguageTable named(Ansi(kHeader + TableText()));
    EXPECT_TRUE(named.Layout().headerNamed);
    EXPECT_EQ(named.Layout().languages.All()[9].code, "zh-TW");
    EXPECT_EQ(named.Layout().fieldCount, 20u);
    EXPECT_FALSE(named.Layout().SingleLanguage());
    const LanguageTable plain(Ansi(TableText()));
    EXPECT_FALSE(plain.Layout().headerNamed);
    EXPECT_EQ(plain.Layout().languages.All()[9].code, "ja");
}

TEST(LanguageTable, OneOrTwoFieldsAValueMakeASingleLanguageTable) {
    EXPECT_TRUE(
        LanguageTable("[LocAdmin_Strings]\r\nA=Hello;\r\nB=Bye;\r\nC=x;;;\r\n").Layout().SingleLanguage());
    EXPECT_TRUE(LanguageTable("[LocAdmin_Strings]\r\nA=Hello\r\nB=Bye\r\n").Layout().SingleLanguage());
    EXPECT_FALSE(LanguageTable("[LocAdmin_Strings]\r\nA=Hello;;Ciao;\r\n").Layout().SingleLanguage());
    EXPECT_TRUE(LanguageTable("").Layout().SingleLanguage());
}

TEST(LanguageTable, CountsEveryLanguagesCellsByState) {
    pwtest::TempDir dir;
    WriteBytes(dir.File("st.ini"), Ansi(kHeader + TableText()));
    const TableCounts table = CountTableLanguages(dir.File("st.ini"));
    EXPECT_EQ(table.layout.fieldCount, 20u);
    EXPECT_EQ(table.layout.languages.All()[9].code, "zh-TW");
    const std::vector<LanguageCounts>& counts = table.counts;
    ASSERT_EQ(counts.size(), 10u);
    const auto states = [&](std::size_t column) {
        return std::vector<std::size_t>(counts[column - 1].states.begin(), counts[column - 1].states.end());
    };
    // missing, placeholder, same as English, translated
    EXPECT_EQ(states(1), (std::vector<std::size_t>{0, 0, 0, 3}));
    EXPECT_EQ(states(2), (std::vector<std::size_t>{1, 2, 0, 0}));
    EXPECT_EQ(states(3), (std::vector<std::size_t>{2, 0, 1, 0}));
    EXPECT_EQ(states(9), (std::vector<std::size_t>{2, 0, 0, 1}));
    EXPECT_EQ(counts[8].Percent(), 33);
    EXPECT_EQ(counts[0].Percent(), 100);
}

TEST(LanguageTable, AUtf16OrUtf8TableIsReadInItsUnitsAndTextsCrossInUtf8) {
    const std::string text = kHeader + "[LocAdmin_Strings]\r\nZ_01=" +
                             GameValue({"Hi", "", "", "", "", "Ahoj, světe", "", "Cześć", "Привет", "你好"}) +
                             "\r\n";
    const TextEncoding encodings[] = {TextEncoding::Utf16LeBom, TextEncoding::Utf8, TextEncoding::Utf8Bom};
    pwtest::TempDir dir;
    for (const Form form : kUnicodeForms) {
        const LanguageTable table(Bytes(text, form));
        ASSERT_EQ(table.Size(), 1u);
        EXPECT_EQ(table.Codec().Encoding(), encodings[static_cast<int>(form)]);
        EXPECT_EQ(table.Id(0), "Z_01");
        std::string buffer;
        EXPECT_EQ(FieldOf(table.ValueText(0, buffer), 18), "你好");
        EXPECT_EQ(table.FieldText(0, 16), "Привет");
        EXPECT_EQ(table.Layout().languages.All()[9].code, "zh-TW");
        WriteBytes(dir.File("st.ini"), Bytes(text, form));
        EXPECT_EQ(CountTableLanguages(dir.File("st.ini")).counts[9].Translated(), 1u);
    }
    EXPECT_THROW(CountTableLanguages(dir.File("none.ini")), std::runtime_error);
}

TEST(LanguageTable, AFieldEditChangesOnlyThatFieldsBytes) {
    for (const bool wide : {false, true}) {
        const std::string text = kHeader + TableText();
        const std::string bytes = wide ? Utf16LeFileFromUtf8(text) : Ansi(text);
        const LanguageTable table(bytes);
        const std::optional<ByteEdit> edit = table.FieldEdit(0, 16, "Здравствуй");
        ASSERT_TRUE(edit);
        const std::vector<ByteEdit> edits = {*edit};
        std::string changed;
        for (std::string_view piece : table.Pieces(edits))
            changed += piece;
        std::string expected = text;
        expected.replace(expected.find("Привет"), std::string("Привет").size(), "Здравствуй");
        EXPECT_EQ(changed, wide ? Utf16LeFileFromUtf8(expected) : Ansi(expected)) << wide;
        // A short value grows to the table's twenty fields.
        const std::vector<ByteEdit> lengthened = {*table.FieldEdit(2, 16, "Только")};
        std::string longer;
        for (std::string_view piece : table.Pieces(lengthened))
            longer += piece;
        expected = text;
        expected.replace(expected.find("Only English;"), 13,
                         "Only English;" + std::string(15, ';') + "Только;;;");
        EXPECT_EQ(longer, wide ? Utf16LeFileFromUtf8(expected) : Ansi(expected)) << wide;
    }
    EXPECT_EQ(LanguageTable(Ansi(TableText())).FieldEdit(0, 14, "Cześć"), std::nullopt);
}

TEST(LanguageTable, TheLayoutOfAFileComesFromItsFirstValues) {
    pwtest::TempDir dir;
    std::string text = "[LocAdmin_Strings]\r\n";
    for (int i = 0; i < 3000; ++i)
        text += "ID_" + std::to_string(i) + "=" + (i < 1000 ? GameValue({"Text"}) : "x;") + "\r\n";
    text += "[LocAdmin_Languages]\r\nLanguages=Russian;English\r\n";
    WriteBytes(dir.File("big.ini"), text);
    const TableLayout layout = ReadTableLayout(dir.File("big.ini"));
    EXPECT_EQ(layout.fieldCount, 20u);
    EXPECT_EQ(layout.languages.All().size(), 2u);
    EXPECT_EQ(ReadTableLayout(dir.File("none.ini")).fieldCount, 1u);
    WriteBytes(dir.File("wide.ini"), Utf16LeFileFromUtf8(kHeader + TableText()));
    EXPECT_EQ(ReadTableLayout(dir.File("wide.ini")).languages.All()[9].code, "zh-TW");
    EXPECT_EQ(ReadTableLayout(dir.File("wide.ini")).fieldCount, 20u);
}

TEST(CellWrite, WritesOneCellOfOneEntryAndNothingElse) {
    pwtest::TempDir dir;
    const std::string path = dir.File("st.ini");
    const std::string text = kHeader + TableText();
    const auto bytes = [](const std::string& utf8, std::size_t form) {
        return form == 0 ? Ansi(utf8) : Bytes(utf8, kUnicodeForms[form - 1]);
    };
    for (std::size_t form = 0; form <= std::size(kUnicodeForms); ++form) {
        WriteBytes(path, bytes(text, form));
        const CellWrite write = Cell("b_01", 16, "Пока");
        const CellWriteResult result = WriteTableCell(path, write);
        EXPECT_EQ(result.status, CellWriteStatus::Written);
        std::string expected = text;
        expected.replace(expected.find("  B_01 = "), 9 + GameValue({"Bye", "-", "", "Tschuess"}).size() + 2,
                         "B_01=" + GameValue({"Bye", "-", "", "Tschuess", "", "", "", "", "Пока"}));
        EXPECT_EQ(ReadBytes(path), bytes(expected, form)) << form;
        EXPECT_EQ(result.value, GameValue({"Bye", "-", "", "Tschuess", "", "", "", "", "Пока"}));
    }
}

TEST(CellWrite, ANewEntryTakesTheTablesFieldCount) {
    pwtest::TempDir dir;
    const std::string path = dir.File("st.ini");
    WriteBytes(path, Ansi(TableText()));
    EXPECT_EQ(WriteTableCell(path, Cell("NEW_01", 16, "Новая")).status, CellWriteStatus::Written);
    const LanguageTable table = LanguageTable::Read(path);
    ASSERT_TRUE(table.Find("NEW_01"));
    EXPECT_EQ(table.Value(*table.Find("NEW_01")), std::string(16, ';') + "Новая;;;");
}

TEST(CellWrite, AFilledCellAsksAChangedEntryAndAnUnheldTextAreLeftAlone) {
    pwtest::TempDir dir;
    const std::string path = dir.File("st.ini");
    const std::string before = Ansi(TableText());
    WriteBytes(path, before);

    const CellWrite ask = Cell("A_01", 16, "Здравствуй");
    const CellWriteResult asked = WriteTableCell(path, ask);
    EXPECT_EQ(asked.status, CellWriteStatus::NeedsConfirmation);
    EXPECT_EQ(asked.existingText, "Привет");

    CellWrite stale = Cell("A_01", 16, "Здравствуй", true);
    stale.expectedValue = std::optional<std::string>("what it was before");
    const CellWriteResult changed = WriteTableCell(path, stale);
    EXPECT_EQ(changed.status, CellWriteStatus::ChangedOnDisk);
    EXPECT_EQ(changed.value, GameValue({"Hello", "IT", "Hello", "Hallo", "", "", "", "", "Привет"}));

    EXPECT_EQ(WriteTableCell(path, Cell("A_01", 14, "Cześć", true)).status, CellWriteStatus::NotInEncoding);
    EXPECT_EQ(WriteTableCell(path, Cell("A_01", 16, "a;b", true)).status, CellWriteStatus::InvalidId);
    EXPECT_EQ(WriteTableCell(path, Cell(" ", 16, "x", true)).status, CellWriteStatus::EmptyId);
    EXPECT_EQ(ReadBytes(path), before);

    CellWrite agreed = stale;
    agreed.expectedValue = std::optional<std::string>(*changed.value);
    EXPECT_EQ(WriteTableCell(path, agreed).status, CellWriteStatus::Written);
    EXPECT_NE(ReadBytes(path).find(Ansi("Здравствуй")), std::string::npos);
}
