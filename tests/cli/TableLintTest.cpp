// check --stringtable: the lint of the string table itself, through the built command line.

#include "CliRunner.h"
#include "TempDir.h"

#include "core/data/Cp1251.h"

#include <gtest/gtest.h>

namespace pwtest {
namespace {

// One line of each finding, with every kind of line end; the lines of other sections, blank lines
// and comments are never findings.
const std::string kTable = "[LocAdmin_Languages]\r\n"   // 1
                           "no entry here\r\n"          // 2
                           "[LocAdmin_Strings]\r\n"     // 3
                           "Id_A=a;b;\r\n"              // 4
                           "; a comment, no \"=\"\r\n"  // 5
                           "\r\n"                       // 6
                           "ID_a=c;d;\n"                // 7 repeats 4
                           "Id_B=e;f\r"                 // 8 one ";" and no final one
                           "a line without equals\r\n"  // 9
                           "Id_C=g???h;i;\r\n"          // 10
                           "Id_D=j;k;\r\n"              // 11
                           "  [ locadmin_strings ]\r\n" // 12 the same section again
                           "id_a = ??;;;\r\n";          // 13 repeats 4, three ";"

const char* const kFindings[] = {
    ":7: warning: ID ID_a уже встречался в строке 4; читается только первая запись.",
    ":8: warning: Знаков \";\" в значении: 1, а в большинстве значений таблицы: 2.",
    ":8: warning: Значение не оканчивается на \";\".",
    ":9: warning: Строка без \"=\" не является записью.",
    ":10: warning: Значение содержит \"???\": так выглядит текст, сохранённый в кодировке, которая не "
    "могла его вместить.",
    ":13: warning: ID id_a уже встречался в строке 4; читается только первая запись.",
    ":13: warning: Знаков \";\" в значении: 3, а в большинстве значений таблицы: 2.",
};

std::string Expected(const std::string& table, std::size_t warnings) {
    std::string out;
    for (const char* finding : kFindings)
        out += table + finding + "\n";
    return out + "Файлов: 1, ошибок: 0, предупреждений: " + std::to_string(warnings) + "\n";
}

TEST(TableLint, EachKindOnceALineCountingEveryLineEndInBothEncodings) {
    TempDir dir;
    WriteBytes(dir.File("ansi.ini"), kTable);
    WriteBytes(dir.File("wide.ini"), Utf16LeFile(kTable));
    for (const char* name : {"ansi.ini", "wide.ini"}) {
        const std::string table = dir.File(name);
        const CliResult r = RunCli({"check", "--stringtable", table});
        EXPECT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(r.out, Expected(table, 7)) << name;
        EXPECT_EQ(RunCli({"check", "--strict", "--stringtable", table}).code, 1);
    }
}

TEST(TableLint, NamesAndValuesAreShownInUtf8AndWideCharactersAreNoQuestionMarks) {
    TempDir dir;
    const std::string ansi = "[LocAdmin_Strings]\r\n" + Ansi("Ключ=Да;\r\nКЛЮЧ=Нет;\r\n");
    WriteBytes(dir.File("ansi.ini"), ansi);
    CliResult r = RunCli({"check", "--stringtable", dir.File("ansi.ini")});
    // Only A-Z are folded, as the reader folds them: these IDs differ.
    EXPECT_EQ(r.out, "Файлов: 1, ошибок: 0, предупреждений: 0\n");

    // Characters that Windows-1251 cannot hold, in a UTF-16 table.
    const std::string wide = Utf16LeFile("[LocAdmin_Strings]\r\nA=") +
                             std::string("\x2D\x4E\x87\x65\x1D\x8A", 6) + // three CJK characters
                             pw::Cp1251ToUtf16Le(";\r\nКлюч=x;\r\nключ=y;\r\nkey=z;\r\nKEY=w;\r\n");
    WriteBytes(dir.File("wide.ini"), wide);
    r = RunCli({"check", "--stringtable", dir.File("wide.ini")});
    EXPECT_EQ(r.out, dir.File("wide.ini") +
                         ":6: warning: ID KEY уже встречался в строке 5; читается только первая запись.\n"
                         "Файлов: 1, ошибок: 0, предупреждений: 1\n");
}

TEST(TableLint, TheNormIsTheMostCommonCountAndTheSmallerOnATie) {
    TempDir dir;
    WriteBytes(dir.File("t.ini"), "[LocAdmin_Strings]\r\nA=1;2;\r\nB=1;\r\nC=1;2;\r\nD=1;\r\nE=\r\n");
    const CliResult r = RunCli({"check", "--stringtable", dir.File("t.ini")});
    const std::string t = dir.File("t.ini");
    EXPECT_EQ(r.out,
              t + ":2: warning: Знаков \";\" в значении: 2, а в большинстве значений таблицы: 1.\n" + t +
                  ":4: warning: Знаков \";\" в значении: 2, а в большинстве значений таблицы: 1.\n" + t +
                  ":6: warning: Знаков \";\" в значении: 0, а в большинстве значений таблицы: 1.\n" + t +
                  ":6: warning: Значение не оканчивается на \";\".\n"
                  "Файлов: 1, ошибок: 0, предупреждений: 4\n");
}

TEST(TableLint, TwentyLinesPerKindUnlessVerboseButAllAreCounted) {
    TempDir dir;
    std::string table = "[LocAdmin_Strings]\r\n";
    for (int i = 0; i < 25; ++i)
        table += "Id_" + std::to_string(i) + "=x;y\r\n"; // no final ";"
    for (int i = 0; i < 3; ++i)
        table += "Id_0=x;y;\r\n"; // repeated, and off the norm
    WriteBytes(dir.File("t.ini"), table);
    const std::string t = dir.File("t.ini");

    CliResult r = RunCli({"check", "--stringtable", t});
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find(t + ":21: warning: Значение не оканчивается"), std::string::npos);
    EXPECT_EQ(r.out.find(t + ":22: warning: Значение не оканчивается"), std::string::npos);
    EXPECT_NE(r.out.find(t + ":29: warning: ID Id_0 уже встречался в строке 2"), std::string::npos);
    EXPECT_NE(r.out.find(t + ":29: warning: Знаков \";\" в значении: 2"), std::string::npos);
    EXPECT_NE(r.out.find(t + ": warning: … и ещё 5: значения без \";\" в конце\nФайлов: 1, ошибок: 0, "
                             "предупреждений: 31\n"),
              std::string::npos)
        << r.out;

    r = RunCli({"check", "--verbose", "--stringtable", t});
    EXPECT_NE(r.out.find(t + ":26: warning: Значение не оканчивается"), std::string::npos);
    EXPECT_EQ(r.out.find("… и ещё"), std::string::npos);
    EXPECT_EQ(r.out.substr(r.out.rfind("Файлов")), "Файлов: 1, ошибок: 0, предупреждений: 31\n");
}

// An ID of a UTF-16 table that Windows-1251 cannot spell is found by no reference: not by one that
// spells its character as "?".
TEST(TableLint, AUtf16IdOutsideTheCodePageIsNoIdForReferences) {
    TempDir dir;
    WriteBytes(dir.File("t.ini"), Utf16LeFileFromUtf8("[LocAdmin_Strings]\r\nTopic_㭟1=x;\r\nText_1=y;\r\n"));
    WriteBytes(dir.File("q.quest"), "[Quest]\r\nName=Q\r\nLogTopic=Topic_?1\r\nLogText=Text_1\r\n");
    const CliResult r = RunCli({"check", "--stringtable", dir.File("t.ini"), dir.File("q.quest")});
    EXPECT_EQ(r.out, dir.File("q.quest") +
                         ":3: warning: ID строки Topic_?1 (LogTopic) отсутствует в таблице строк.\n"
                         "Файлов: 2, ошибок: 0, предупреждений: 1\n");
}

TEST(TableLint, TogetherWithFilesAndWhenTheTableIsMissing) {
    TempDir dir;
    WriteBytes(dir.File("t.ini"), "[LocAdmin_Strings]\r\nTopic=x\r\n");
    WriteBytes(dir.File("q.quest"), "[Quest]\r\nName=Q\r\nLogTopic=Topic\r\nLogText=Text\r\n");
    const CliResult r = RunCli({"check", "--stringtable", dir.File("t.ini"), dir.File("q.quest")});
    EXPECT_EQ(r.out, dir.File("t.ini") + ":2: warning: Значение не оканчивается на \";\".\n" +
                         dir.File("q.quest") +
                         ":4: warning: ID строки Text (LogText) отсутствует в таблице строк.\n"
                         "Файлов: 2, ошибок: 0, предупреждений: 2\n");

    const CliResult missing = RunCli({"check", "--stringtable", dir.File("none.ini")});
    EXPECT_EQ(missing.code, 4);
    EXPECT_EQ(missing.err,
              "Cannot open file \"" + dir.File("none.ini") + "\". " + SystemReason(Reason::Missing) + "\n");
    EXPECT_EQ(RunCli({"check", "--verbose"}).code, 2);
}

} // namespace
} // namespace pwtest
