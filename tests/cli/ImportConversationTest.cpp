// import-conversation through the built command line: the bytes of the dialogue and the table after it,
// a dry run, and refusals that leave both files alone.

#include "CliRunner.h"
#include "TempDir.h"

#include <gtest/gtest.h>

namespace pwtest {
namespace {

// The ";" that end a new entry of the demo table: its values hold ten languages of two fields each.
std::string Semicolons(std::size_t count) {
    return std::string(count, ';');
}

const char* const kGreeting = "Infos/Myrtana/Ardea_City/Diego_Ardea_Greeting_info_G3_World_01.info";

struct Import : ::testing::Test {
    TempDir dir;
    std::string info = dir.File("Diego_Ardea_Greeting_info_G3_World_01.info");
    std::string table = dir.File("stringtable.ini");
    std::string text = dir.File("conversation.txt");
    void SetUp() override {
        WriteBytes(info, ReadBytes(DemoPath(kGreeting)));
        WriteBytes(table, ReadBytes(DemoPath("stringtable.ini")));
    }
    CliResult Run(const std::string& conversation, std::vector<std::string> options = {}) {
        WriteBytes(text, conversation);
        std::vector<std::string> args = {"import-conversation", info, table, text};
        args.insert(args.end(), options.begin(), options.end());
        return RunCli(args);
    }
    // What the table's lint reports.
    std::string Lint() { return RunCli({"check", "--stringtable", table}).out; }
};

TEST_F(Import, RowsGoBeforeTheFinalEndAndEntriesAfterTheTablesLast) {
    const std::string infoBefore = ReadBytes(info);
    const std::string tableBefore = ReadBytes(table);
    const std::string lintBefore = Lint();
    const CliResult r =
        Run("\xEF\xBB\xBF"
            "Diego: Корабль ждёт.\r\n  Скоро отплывём.\r\n\r\nЯ: Я с тобой.\r\nGorn: Я тоже.\r\n"
            "AI_Output(self, other, \"Diego_Ardea_Greeting_02\"); //Тогда в путь.\r\n"
            "AI_Output (other,self,\"Diego_Ardea_Ship\");// Идём.\r\n");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "row 5: Say owner Diego_Ardea_Greeting_04\n"
                     "row 6: Say player Diego_Ardea_Greeting_05\n"
                     "row 7: Say npc Diego_Ardea_Greeting_06\n"
                     "row 8: Say owner Diego_Ardea_Greeting_07\n"
                     "row 9: Say player Diego_Ardea_Ship\n"
                     "Diego_Ardea_Greeting_04=Корабль ждёт. Скоро отплывём." +
                         Semicolons(19) +
                         "\n"
                         "Diego_Ardea_Greeting_05=Я с тобой." +
                         Semicolons(19) +
                         "\n"
                         "Diego_Ardea_Greeting_06=Я тоже." +
                         Semicolons(19) +
                         "\n"
                         "Diego_Ardea_Greeting_07=Тогда в путь." +
                         Semicolons(19) +
                         "\n"
                         "Diego_Ardea_Ship=Идём." +
                         Semicolons(19) + "\n");
    EXPECT_EQ(r.err, "note: строка 6: ID Diego_Ardea_Greeting_02 уже есть в таблице строк, взят ID "
                     "Diego_Ardea_Greeting_07\n");
    EXPECT_EQ(ReadBytes(table),
              tableBefore + Ansi("Diego_Ardea_Greeting_04=Корабль ждёт. Скоро отплывём." + Semicolons(19) +
                                 "\r\n"
                                 "Diego_Ardea_Greeting_05=Я с тобой." +
                                 Semicolons(19) +
                                 "\r\n"
                                 "Diego_Ardea_Greeting_06=Я тоже." +
                                 Semicolons(19) +
                                 "\r\n"
                                 "Diego_Ardea_Greeting_07=Тогда в путь." +
                                 Semicolons(19) +
                                 "\r\n"
                                 "Diego_Ardea_Ship=Идём." +
                                 Semicolons(19) + "\r\n"));
    std::string infoAfter = infoBefore;
    for (const auto& [before, after] : std::vector<std::pair<std::string, std::string>>{
             {"Commands=Say;Say;Say;SetGameEvent;End",
              "Commands=Say;Say;Say;SetGameEvent;Say;Say;Say;Say;Say;End"},
             {"Entities1=owner;player;owner;;",
              "Entities1=owner;player;owner;;owner;player;npc;owner;player;"},
             {"Entities2=;;;;", "Entities2=;;;;;;;;;"},
             {"IDs1=;;;MetDiegoInArdea;", "IDs1=;;;MetDiegoInArdea;;;;;;"},
             {"IDs2=;;;;", "IDs2=;;;;;;;;;"},
             {"Greeting_03;;",
              "Greeting_03;;Diego_Ardea_Greeting_04;Diego_Ardea_Greeting_05;Diego_Ardea_Greeting_06;"
              "Diego_Ardea_Greeting_07;Diego_Ardea_Ship;"}}) {
        const std::size_t at = infoAfter.find(before + "\r\n");
        ASSERT_NE(at, std::string::npos) << before;
        infoAfter.replace(at, before.size(), after);
    }
    EXPECT_EQ(ReadBytes(info), infoAfter);
    EXPECT_EQ(Lint(), lintBefore);
}

// A dry run prints what a run would make and writes nothing.
TEST_F(Import, DryRunWritesNothing) {
    const std::string tableBefore = ReadBytes(table);
    const std::string infoBefore = ReadBytes(info);
    const CliResult dry = Run("Diego: Эй!\nPC_Hero: Что?\n", {"--dry-run", "--prefix", "Diego_Ship"});
    ASSERT_EQ(dry.code, 0) << dry.err;
    EXPECT_EQ(dry.out, "row 5: Say owner Diego_Ship_01\nrow 6: Say player Diego_Ship_02\n"
                       "Diego_Ship_01=Эй!" +
                           Semicolons(19) + "\nDiego_Ship_02=Что?" + Semicolons(19) + "\n");
    EXPECT_EQ(ReadBytes(table), tableBefore);
    EXPECT_EQ(ReadBytes(info), infoBefore);
}

// With a language the texts go into its cells of the new entries; a table of one language has none.
TEST_F(Import, ALanguageTakesTheTexts) {
    const std::string tableBefore = ReadBytes(table);
    const CliResult r = Run("Diego: Эй!\n", {"--lang", "ru", "--prefix", "Diego_Ship"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(ReadBytes(table), tableBefore + Ansi("Diego_Ship_01=" + Semicolons(16) + "Эй!;;;\r\n"));
    EXPECT_EQ(Run("Diego: Эй!\n", {"--lang", "9", "--prefix", "Diego_Ship", "--dry-run"}).out,
              "row 6: Say owner Diego_Ship_02\nDiego_Ship_02=" + Semicolons(16) + "Эй!;;;\n");
    EXPECT_EQ(Run("Diego: Эй!\n", {"--lang", "xx"}).code, 3);
    WriteBytes(table, "[LocAdmin_Strings]\r\nA=Hello;\r\n");
    const CliResult single = Run("Diego: Эй!\n", {"--lang", "ru"});
    EXPECT_EQ(single.code, 3);
    EXPECT_NE(single.err.find("одноязычная"), std::string::npos) << single.err;
    EXPECT_EQ(ReadBytes(table), "[LocAdmin_Strings]\r\nA=Hello;\r\n");
}

TEST_F(Import, RefusalsExitWith3AndWriteNeitherFile) {
    const std::string tableBefore = ReadBytes(table);
    const std::string infoBefore = ReadBytes(info);
    const struct {
        std::string conversation;
        std::vector<std::string> options;
        std::string message;
    } cases[] = {
        {"Diego: Эй;\n", {}, "Строка 1: в тексте есть \";\", а он разделяет поля записи таблицы строк."},
        {"Diego: Эй\n", {"--prefix", "Może"}, "PREFIX: символа «ż» (U+017C) нет в кодировке Windows-1251"},
    };
    for (const auto& c : cases) {
        const CliResult r = Run(c.conversation, c.options);
        EXPECT_EQ(r.code, 3) << c.conversation;
        EXPECT_EQ(r.err, c.message + "\n");
        EXPECT_EQ(r.out, "");
    }
    EXPECT_EQ(ReadBytes(table), tableBefore);
    EXPECT_EQ(ReadBytes(info), infoBefore);

    // The rows the compile would refuse: a dialogue without an owner.
    WriteBytes(info, "[Info]\r\nName=Diego_Ship\r\n");
    const CliResult r = Run("Diego: Эй\n");
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(r.err, "Не указан владелец диалога!\n");
    EXPECT_EQ(ReadBytes(table), tableBefore);
    EXPECT_EQ(ReadBytes(info), "[Info]\r\nName=Diego_Ship\r\n");
}

// A dialogue that cannot be written is found before anything is: the table keeps its bytes, so a run once
// the dialogue can be written adds the entries once.
TEST_F(Import, ADialogueThatCannotBeWrittenLeavesTheTableAlone) {
    const std::string tableBefore = ReadBytes(table);
    const std::string infoBefore = ReadBytes(info);
    {
        const ScopedUnwritable locked(info);
        if (!locked.Made())
            GTEST_SKIP() << "no file here can be made unwritable";
        const CliResult r = Run("Diego: Эй\n");
        EXPECT_EQ(r.code, 4);
        EXPECT_EQ(r.err.rfind("Unable to write to " + info + ". ", 0), 0u) << r.err;
        EXPECT_TRUE(r.err.ends_with("\nНичего не записано.\n")) << r.err;
        EXPECT_EQ(ReadBytes(table), tableBefore);
        EXPECT_EQ(ReadBytes(info), infoBefore);
    }
    ASSERT_EQ(Run("Diego: Эй\n").code, 0);
    EXPECT_EQ(ReadBytes(table), tableBefore + Ansi("Diego_Ardea_Greeting_04=Эй" + Semicolons(19) + "\r\n"));
}

// A table saved as UTF-8 gets the entries in UTF-8.
TEST_F(Import, AUtf8TableGetsItsEntriesInUtf8) {
    const std::string utf8 = "\xEF\xBB\xBF" + pw::Cp1251ToUtf8(ReadBytes(table));
    WriteBytes(table, utf8);
    ASSERT_EQ(Run("Diego: Эй!\n").code, 0);
    EXPECT_EQ(ReadBytes(table), utf8 + "Diego_Ardea_Greeting_04=Эй!" + Semicolons(19) + "\r\n");
}

} // namespace
} // namespace pwtest
