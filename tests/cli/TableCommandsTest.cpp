// ini-get / ini-set / string-get / string-add through the built command line.

#include "CliRunner.h"
#include "TempDir.h"

#include "core/data/Cp1251.h"

#include <gtest/gtest.h>

namespace pwtest {
namespace {

TEST(IniCommands, GetFollowsTheProfileRules) {
    TempDir dir;
    const std::string file = dir.File("a.ini");
    WriteBytes(file, "[Sec]\r\nKey =  \"quoted value\" \r\nkey=second\r\nEmpty=\r\n[sec]\r\nOther=x\r\n");
    EXPECT_EQ(RunCli({"ini-get", file, "SEC", "KEY"}).out, "quoted value\n");
    EXPECT_EQ(RunCli({"ini-get", file, "Sec", "Other", "dflt"}).out, "dflt\n");
    EXPECT_EQ(RunCli({"ini-get", file, "Sec", "Empty", "dflt"}).out, "\n");
    const CliResult missing = RunCli({"ini-get", dir.File("none.ini"), "Sec", "Key"});
    EXPECT_EQ(missing.code, 0);
    EXPECT_EQ(missing.out, "\n");
    EXPECT_EQ(RunCli({"ini-get", file, "Sec"}).code, 2);
}

TEST(IniCommands, SetUpdatesInPlaceAppendsAndReportsWriteFailures) {
    TempDir dir;
    const std::string file = dir.File("a.ini");
    WriteBytes(file, "; c\r\n[Sec]\r\nA=1\r\nB=2\r\n");
    ASSERT_EQ(RunCli({"ini-set", file, "sec", "a", Ansi("один")}).code, 0); // an 8-bit file takes bytes
    ASSERT_EQ(RunCli({"ini-set", file, "Sec", "C", "3"}).code, 0);
    ASSERT_EQ(RunCli({"ini-set", file, "New", "D", "4"}).code, 0);
    EXPECT_EQ(ReadBytes(file), "; c\r\n[Sec]\r\nA=" + Ansi("один") + "\r\nB=2\r\nC=3\r\n[New]\r\nD=4\r\n");

    const std::string missingFolder = dir.File("none/a.ini");
    const CliResult r = RunCli({"ini-set", missingFolder, "S", "K", "V"});
    EXPECT_EQ(r.code, 4);
    EXPECT_EQ(r.err, "Unable to write to " + missingFolder + ". " + SystemReason(Reason::Missing) + "\n");
    EXPECT_EQ(RunCli({"ini-set", file, "S", "K"}).code, 2);
    const std::string before = ReadBytes(file);
    const CliResult forged = RunCli({"ini-set", file, "Sec", "A", "1\n[Forged]"});
    EXPECT_EQ(forged.code, 2);
    EXPECT_EQ(forged.err.rfind("VALUE must not contain a line break\nusage:", 0), 0u) << forged.err;
    EXPECT_EQ(ReadBytes(file), before);
}

std::string Table(const std::string& entries) {
    return "[LocAdmin_Languages]\r\nLanguage0=Russian\r\n\r\n[LocAdmin_Strings]\r\n" + entries;
}

TEST(StringGet, ShowsWhatTheHintFieldWouldShowAndAMissingIdExitsWith1) {
    TempDir dir;
    const std::string table = dir.File("stringtable.ini");
    WriteBytes(table, Table("Hello_01=" + Ansi("Привет;Diego;Hello;Diego;") + "\r\nBlank=\r\n<EMPTY>=x\r\n"));
    EXPECT_EQ(RunCli({"string-get", table, "hello_01"}).out, "Привет;Diego;Hello;Diego;\n");
    EXPECT_EQ(RunCli({"--raw", "string-get", table, "hello_01"}).out,
              Ansi("Привет;Diego;Hello;Diego;") + "\n");
    const CliResult missing = RunCli({"string-get", table, "Missing"});
    EXPECT_EQ(missing.code, 1);
    EXPECT_EQ(missing.out, "<dialog not found>\n");
    EXPECT_EQ(missing.err, "");
    EXPECT_EQ(RunCli({"string-get", table, "Blank"}).code, 0);
    EXPECT_EQ(RunCli({"string-get", table, "Blank"}).out, "\n");
    EXPECT_EQ(RunCli({"string-get", table, "<EMPTY>"}).out, "\n");
    EXPECT_EQ(RunCli({"string-get", table, "  "}).out, "\n");
    // Only the exact placeholder counts as no ID; another letter case is an ordinary ID.
    EXPECT_EQ(RunCli({"string-get", table, "<empty>"}).out, "x\n");
}

TEST(StringGet, ReadsUtf16TablesWholeOrWithRawAsWindows1251AndRefusesAMissingTable) {
    TempDir dir;
    const std::string table = dir.File("stringtable.ini");
    WriteBytes(table, Utf16LeFileFromUtf8(pw::Cp1251ToUtf8(Table("")) + "Id_1=Меч;Miecz żelazny;\r\n"));
    const CliResult r = RunCli({"string-get", table, "Id_1"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "Меч;Miecz żelazny;\n");
    EXPECT_EQ(RunCli({"--raw", "string-get", table, "Id_1"}).out, Ansi("Меч;Miecz ?elazny;") + "\n");

    const std::string missing = dir.File("none.ini");
    const CliResult m = RunCli({"string-get", missing, "Id_1"});
    EXPECT_EQ(m.code, 4);
    EXPECT_EQ(m.err, "Cannot open file \"" + missing + "\". No such file or directory\n");
    EXPECT_EQ(m.out, "");
    const CliResult folder = RunCli({"string-get", dir.Path(), "Id_1"});
    EXPECT_EQ(folder.code, 4);
    EXPECT_EQ(folder.err, "Cannot open file \"" + dir.Path() + "\". Is a directory\n");
}

TEST(StringAdd, AppendsANewEntryEndedBySemicolon) {
    TempDir dir;
    const std::string table = dir.File("stringtable.ini");
    WriteBytes(table, Table("A=1;\r\n") + "[Other]\r\nZ=9\r\n");
    ASSERT_EQ(RunCli({"string-add", table, " New_01 ", "Текст"}).code, 0);
    ASSERT_EQ(RunCli({"string-add", table, "New_02", "abc;"}).code, 0);
    EXPECT_EQ(ReadBytes(table),
              Table("A=1;\r\nNew_01=" + Ansi("Текст") + ";\r\nNew_02=abc;\r\n") + "[Other]\r\nZ=9\r\n");
}

TEST(StringAdd, RefusesADuplicateWithBothValuesUnlessReplacing) {
    TempDir dir;
    const std::string table = dir.File("stringtable.ini");
    const std::string before = Table("Old_01=" + Ansi("Старое;") + "\r\nB=2;\r\nEmptyOne=\r\n");
    WriteBytes(table, before);
    const CliResult r = RunCli({"string-add", table, "OLD_01", "Новое"});
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(r.err, "Запись с аналогичным ID уже существует.\nСуществующая запись: Старое;\n"
                     "Новая запись: Новое\n");
    EXPECT_EQ(ReadBytes(table), before);

    ASSERT_EQ(RunCli({"string-add", table, "Old_01", "Новое", "--replace"}).code, 0);
    ASSERT_EQ(RunCli({"string-add", table, "EmptyOne", "x"}).code, 0);
    EXPECT_EQ(ReadBytes(table), Table("Old_01=" + Ansi("Новое;") + "\r\nB=2;\r\nEmptyOne=x;\r\n"));
}

TEST(StringAdd, RefusesABlankIdAndReportsWriteFailures) {
    TempDir dir;
    const std::string table = dir.File("stringtable.ini");
    WriteBytes(table, Table(""));
    const CliResult r = RunCli({"string-add", table, " \t", "text"});
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(r.err, "Идентификатор строки не задан\n");
    EXPECT_EQ(ReadBytes(table), Table(""));

    const std::string missingFolder = dir.File("none/stringtable.ini");
    const CliResult w = RunCli({"string-add", missingFolder, "Id", "text"});
    EXPECT_EQ(w.code, 4);
    EXPECT_EQ(w.err, "Unable to write to " + missingFolder + ". " + SystemReason(Reason::Missing) + "\n");
    EXPECT_EQ(RunCli({"string-add", table, "Id"}).code, 2);
    const CliResult twoLines = RunCli({"string-add", table, "Id", "one\r\ntwo"});
    EXPECT_EQ(twoLines.code, 2);
    EXPECT_EQ(twoLines.err.rfind("TEXT must not contain a line break\n", 0), 0u) << twoLines.err;
    EXPECT_EQ(ReadBytes(table), Table(""));
}

// A table saved as UTF-8, with its mark or without, stays UTF-8: its text is read whole, an entry is added
// in UTF-8, and check lints it.
TEST(Utf8Table, StringGetStringAddAndCheckTakeItsText) {
    TempDir dir;
    const std::string table = dir.File("stringtable.ini");
    for (const std::string mark : {"", "\xEF\xBB\xBF"}) {
        const std::string before = mark + "[LocAdmin_Strings]\r\nDiego_01=Привет;\r\nDIEGO_01=Пока;\r\n";
        WriteBytes(table, before);
        EXPECT_EQ(RunCli({"string-get", table, "diego_01"}).out, "Привет;\n");
        EXPECT_EQ(RunCli({"--raw", "string-get", table, "diego_01"}).out, Ansi("Привет;") + "\n");
        ASSERT_EQ(RunCli({"string-add", table, "Diego_02", "Żółw"}).code, 0);
        ASSERT_EQ(RunCli({"--raw", "string-add", table, "Diego_03", Ansi("Ещё")}).code, 0);
        EXPECT_EQ(ReadBytes(table), before + "Diego_02=Żółw;\r\nDiego_03=Ещё;\r\n");
        const CliResult lint = RunCli({"check", "--stringtable", table});
        EXPECT_EQ(lint.out, table + ":3: warning: ID DIEGO_01 уже встречался в строке 2; читается только "
                                    "первая запись.\nФайлов: 1, ошибок: 0, предупреждений: 1\n");
    }
}

} // namespace
} // namespace pwtest
