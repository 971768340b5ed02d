#include "core/data/StringTable.h"

#include "core/data/Cp1251.h"
#include "TempDir.h"
#include "TestText.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace pw;
using pwtest::ReadBytes;
using pwtest::Utf16LeFile;
using pwtest::WriteBytes;

namespace {

const std::string kTable = "[LocAdmin_Languages]\r\nRussian=1\r\n[LocAdmin_Strings]\r\nDIEGO_01=Hello;;\r\n"
                           "EMPTY_ID=\r\nLONG=" +
                           std::string(2100, 'L') + "\r\n<EMPTY>=placeholder\r\n";

} // namespace

TEST(StringTable, LookupShowsValueNotFoundOrNothing) {
    pwtest::TempDir dir;
    WriteBytes(dir.File("st.ini"), kTable);
    const TStringTable table(dir.File("st.ini"));
    EXPECT_EQ(table.LookupTableString("DIEGO_01"), "Hello;;");
    EXPECT_EQ(table.LookupTableString("diego_01"), "Hello;;");
    EXPECT_EQ(table.LookupTableString("NOPE"), "<dialog not found>");
    EXPECT_EQ(table.LookupTableString("EMPTY_ID"), "");
    EXPECT_EQ(table.LookupTableString("<EMPTY>"), "");
    EXPECT_EQ(table.LookupTableString("<empty>"), "placeholder");
    EXPECT_EQ(table.LookupTableString(" \t"), "");
    EXPECT_EQ(table.LookupTableString("LONG").size(), 2047u);
    EXPECT_EQ(table.LookupTableString("Russian"), "<dialog not found>");
}

TEST(StringTable, ManyIdsInOneReadingAsOneLookupEach) {
    pwtest::TempDir dir;
    const std::vector<std::string> ids = {"diego_01", "NOPE", "EMPTY_ID", "LONG", "Russian", " DIEGO_01 "};
    for (const std::string& bytes : {kTable, Utf16LeFile(kTable)}) {
        WriteBytes(dir.File("st.ini"), bytes);
        const TStringTable table(dir.File("st.ini"));
        const std::vector<std::optional<std::string>> values = table.FindTableStrings(ids);
        ASSERT_EQ(values.size(), ids.size());
        for (std::size_t i = 0; i < ids.size(); ++i)
            EXPECT_EQ(values[i], table.FindTableString(ids[i])) << ids[i];
    }
    EXPECT_EQ(TStringTable(dir.File("none.ini")).FindTableStrings({"A", "B"}),
              (std::vector<std::optional<std::string>>(2)));
}

TEST(StringTable, AddAppendsOneSemicolonAndIsVisibleAtOnce) {
    pwtest::TempDir dir;
    const std::string path = dir.File("st.ini");
    WriteBytes(path, kTable);
    const TStringTable table(path);
    EXPECT_EQ(table.AddTableString("NEW_1", "abc", false).status, TStringTable::AddStatus::Written);
    EXPECT_EQ(table.AddTableString("  NEW_2 ", "abc;", false).status, TStringTable::AddStatus::Written);
    EXPECT_EQ(table.AddTableString("EMPTY_ID", "filled", false).status, TStringTable::AddStatus::Written);
    EXPECT_EQ(table.LookupTableString("NEW_1"), "abc;");
    EXPECT_EQ(ReadBytes(path),
              "[LocAdmin_Languages]\r\nRussian=1\r\n[LocAdmin_Strings]\r\nDIEGO_01=Hello;;\r\n"
              "EMPTY_ID=filled;\r\nLONG=" +
                  std::string(2100, 'L') + "\r\n<EMPTY>=placeholder\r\nNEW_1=abc;\r\nNEW_2=abc;\r\n");
}

TEST(StringTable, DuplicatesNeedConfirmationAndReplaceInPlace) {
    pwtest::TempDir dir;
    const std::string path = dir.File("st.ini");
    WriteBytes(path, kTable);
    const TStringTable table(path);
    const auto refused = table.AddTableString("diego_01", "Bye", false);
    EXPECT_EQ(refused.status, TStringTable::AddStatus::NeedsConfirmation);
    EXPECT_EQ(refused.existingValue, "Hello;;");
    EXPECT_EQ(ReadBytes(path), kTable);
    EXPECT_EQ(table.AddTableString("diego_01", "Bye", true).status, TStringTable::AddStatus::Written);
    EXPECT_NE(ReadBytes(path).find("[LocAdmin_Strings]\r\nDIEGO_01=Bye;\r\nEMPTY_ID="), std::string::npos);
    EXPECT_EQ(table.AddTableString("  ", "x", true).status, TStringTable::AddStatus::EmptyId);
}

TEST(StringTable, MessagesAndWriteFailure) {
    EXPECT_EQ(EmptyIdMessage(), "Идентификатор строки не задан");
    EXPECT_EQ(DuplicateEntryMessage("old;", "новая"),
              "Запись с аналогичным ID уже существует.\r\nСуществующая запись: old;\r\nНовая запись: новая");
    pwtest::TempDir dir;
    const TStringTable table(dir.File("missing/st.ini"));
    EXPECT_THROW(table.AddTableString("A", "b", false), std::runtime_error);
}

TEST(StringTable, Utf16TableStaysUtf16) {
    pwtest::TempDir dir;
    const std::string path = dir.File("st16.ini");
    WriteBytes(path, Utf16LeFile("[LocAdmin_Strings]\r\nA=\xC0;\r\n"));
    const TStringTable table(path);
    EXPECT_EQ(table.LookupTableString("a"), "\xC0;");
    ASSERT_EQ(table.AddTableString("B", "\xC1", false).status, TStringTable::AddStatus::Written);
    EXPECT_EQ(ReadBytes(path), Utf16LeFile("[LocAdmin_Strings]\r\nA=\xC0;\r\nB=\xC1;\r\n"));
}

TEST(StringTable, IdsThatCouldNeverBeFoundAreRefused) {
    pwtest::TempDir dir;
    const std::string path = dir.File("st.ini");
    WriteBytes(path, kTable);
    const TStringTable table(path);
    const struct {
        const char* id;
        const char* message;
    } cases[] = {
        {"A=B", "Идентификатор строки \"A=B\" не может содержать \"=\""},
        {" ;A", "Идентификатор строки \";A\" не может начинаться с \";\""},
        {"[A]", "Идентификатор строки \"[A]\" не может начинаться с \"[\""},
        {"\xC8\xE4=1", "Идентификатор строки \"Ид=1\" не может содержать \"=\""}, // Windows-1251 "Ид"
    };
    for (const auto& c : cases) {
        const auto result = table.AddTableString(c.id, "text", true);
        EXPECT_EQ(result.status, TStringTable::AddStatus::InvalidId) << c.id;
        EXPECT_EQ(result.problem, c.message);
    }
    EXPECT_EQ(ReadBytes(path), kTable);
}

// Completion offers exactly the IDs that a lookup finds: those of the first section of the name, once
// each in their first spelling, in an 8-bit table as in a UTF-16 one.
TEST(StringTable, ListedIdsAreThoseALookupFinds) {
    pwtest::TempDir dir;
    const std::string text = "[LocAdmin_Languages]\r\nRussian=1\r\n [ locadmin_strings ] \r\nB_02=x\r\n"
                             " ; C_01=comment\r\n  a_01 = y \r\nno equals\r\n=blank ID\r\nb_02=repeated\r\n"
                             "D=a=b\n\xC8\xC4_01=Cyrillic\r[Other]\r\nOTHER=1\r\n[LocAdmin_Strings]\r\n"
                             "SECOND=unread\r\n";
    const std::vector<std::string> found = {"B_02", "a_01", "D", "\xC8\xC4_01"};
    WriteBytes(dir.File("st.ini"), text);
    WriteBytes(dir.File("st16.ini"), Utf16LeFile(text));
    for (const char* name : {"st.ini", "st16.ini"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(ListTableIds(dir.File(name)), found);
        const TStringTable table(dir.File(name));
        for (const std::string& id : found)
            EXPECT_TRUE(table.FindTableString(id)) << id;
        for (const char* id : {"C_01", "; C_01", "OTHER", "SECOND", "no equals"})
            EXPECT_FALSE(table.FindTableString(id)) << id;
    }
    // A UTF-16 ID that Windows-1251 cannot spell is asked for by no lookup.
    WriteBytes(dir.File("wide.ini"), pwtest::Utf16LeFileFromUtf8("[LocAdmin_Strings]\r\nŻ_01=x\r\nE=y\r\n"));
    EXPECT_EQ(ListTableIds(dir.File("wide.ini")), std::vector<std::string>{"E"});
    EXPECT_TRUE(ListTableIds(dir.File("missing.ini")).empty());
}

// Several entries go in as one write after the section's last entry; the file's encoding and the lines
// after the section stay, and an ID the table holds (an empty value too) stops the whole write.
TEST(StringTable, AppendWritesAllEntriesOrNone) {
    pwtest::TempDir dir;
    const std::string path = dir.File("st.ini");
    const std::string before = "[LocAdmin_Strings]\r\nA_01=x;\r\nEmpty=\r\n\r\n[Other]\r\nK=v\r\n";
    const std::string after =
        "[LocAdmin_Strings]\r\nA_01=x;\r\nEmpty=\r\nA_02=\xC0;;\r\nA_03=b;;\r\n\r\n[Other]\r\nK=v\r\n";
    for (const auto& [start, end] :
         {std::pair{Utf16LeFile(before), Utf16LeFile(after)}, std::pair{before, after}}) {
        WriteBytes(path, start);
        const TStringTable table(path);
        EXPECT_EQ(table.AppendTableStrings({{"A_02", "\xC0;;"}, {"A_03", "b;;"}}), std::nullopt);
        EXPECT_EQ(ReadBytes(path), end);
    }
    const TStringTable table(path);
    EXPECT_EQ(table.AppendTableStrings({{"A_04", "c;"}, {"empty", "d;"}}), "empty");
    EXPECT_EQ(table.AppendTableStrings({{"a_02", "c;"}}), "a_02");
    EXPECT_EQ(ReadBytes(path), after);
    EXPECT_THROW(table.AppendTableStrings({{"A_04", "c;"}, {"B=1", "d;"}}), std::runtime_error);
    EXPECT_EQ(ReadBytes(path), after);
}
