// recompile, search and check through the built command line, on the demo library and on small
// libraries made for each case.

#include "CliRunner.h"
#include "TempDir.h"

#include "core/data/Cp1251.h"
#include "core/data/Library.h"

#include <gtest/gtest.h>

namespace pwtest {
namespace {

std::string Info(const std::string& name, const std::string& owner, const std::string& extra = "") {
    return "[Info]\r\nName=" + name + "\r\nSortID=\r\nOwner=" + owner + "\r\n" + extra;
}

TEST(Recompile, EveryDemoDialogueAndQuestComesBackByteForByte) {
    TempDir dir;
    for (const auto& [folder, count] : {std::pair{"Infos", 12u}, std::pair{"Quests", 3u}}) {
        std::vector<std::string> files;
        pw::ScanLibraryFolder(DemoPath(folder), files);
        ASSERT_EQ(files.size(), count) << folder;
        for (const std::string& file : files) {
            const std::string out = dir.File(file.substr(file.rfind('/') + 1));
            const CliResult r = RunCli({"recompile", file, out});
            ASSERT_EQ(r.code, 0) << file << r.err;
            EXPECT_EQ(r.err, "");
            EXPECT_EQ(ReadBytes(out), ReadBytes(file)) << file;
        }
    }
}

TEST(Recompile, PrintsLoadNoticesAsWarningsAndGoesOn) {
    TempDir dir;
    const std::string in = dir.File("in.info");
    WriteBytes(in, Info("A", "Diego",
                        "TeachSkill=Perk_Unknown\r\nCondItemContainer=Nobody\r\nCondItems=X\r\n"
                        "CondSecondaryNPC=Gorn;Milten\r\nCondSecondaryNPCstates=0;abc\r\n"));
    const CliResult r = RunCli({"recompile", in, dir.File("out.info")});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "warning: Навык Perk_Unknown отсутствует в базе.\n"
                     "warning: Персонаж Nobody отсутствует в базе.\n"
                     "warning: Грубая ошибка в списке персонажей\n");
    const std::string out = ReadBytes(dir.File("out.info"));
    EXPECT_NE(out.find("TeachSkill=Perk_Unknown\r\n"), std::string::npos);
    EXPECT_NE(out.find("CondSecondaryNPCstates=0;-1\r\n"), std::string::npos);
}

TEST(Recompile, RefusesWhatTheCompileButtonRefusesWithoutWriting) {
    TempDir dir;
    struct Case {
        std::string file, message;
    };
    const Case cases[] = {
        {Info("A", ""), "Не указан владелец диалога!"},
        {Info(" ", "Diego"), "Не задано имя диалога!"},
        {Info("A", "Diego", "InfoScript_Commands=Say\r\nInfoScript_Entities1=hero\r\n"),
         "Первым аргументом метода Say должен быть 'player', 'npc' или 'owner'."},
        {Info("A", "Diego", "CondItems=ItMi_Gold\r\n"),
         "Список предметов имеет записи, но персонаж-держатель не указан."},
        {Info("A", "Diego", "InfoScript_Commands=Say;<EMPTY>;End\r\nInfoScript_Entities1=player;;\r\n"),
         "Строка 2 списка команд не заполнена: укажите метод или удалите строку."},
    };
    for (const Case& c : cases) {
        const std::string in = dir.File("in.info");
        const std::string out = dir.File("out.info");
        WriteBytes(in, Ansi(c.file));
        const CliResult r = RunCli({"recompile", in, out});
        EXPECT_EQ(r.code, 3) << c.message;
        EXPECT_EQ(r.err, c.message + "\n");
        EXPECT_FALSE(Exists(out));
    }
}

TEST(Recompile, FileErrorsExitWith4) {
    TempDir dir;
    std::vector<std::string> demoFiles;
    pw::ScanLibraryFolder(DemoPath("Infos"), demoFiles);
    const std::string demo = demoFiles.front();
    const CliResult r = RunCli({"recompile", demo, dir.File("none/out.info")});
    EXPECT_EQ(r.code, 4);
    EXPECT_EQ(r.err.rfind("Cannot create file \"" + dir.File("none/out.info") + "\". ", 0), 0u) << r.err;
    EXPECT_EQ(RunCli({"recompile", dir.File("missing.info"), dir.File("out.info")}).code, 4);
    EXPECT_FALSE(Exists(dir.File("out.info")));
    EXPECT_EQ(RunCli({"recompile", demo}).code, 2);
}

// The expected paths in the order the library scan lists them.
std::vector<std::string> InScanOrder(const std::vector<std::string>& roots,
                                     const std::vector<std::string>& names) {
    std::vector<std::string> files, wanted;
    for (const std::string& root : roots)
        pw::ScanLibraryFolder(root, files);
    for (const std::string& file : files) {
        for (const std::string& name : names) {
            if (file.size() >= name.size() && file.compare(file.size() - name.size(), name.size(), name) == 0)
                wanted.push_back(file);
        }
    }
    return wanted;
}

std::string Lines(const std::vector<std::string>& paths) {
    std::string text;
    for (const std::string& path : paths)
        text += path + "\n";
    return text;
}

TEST(Search, ListsMatchingDialoguesInLibraryOrderWithTheCountOnStandardError) {
    const std::string root = DemoPath("Infos");
    CliResult r = RunCli({"search", "info", "diego", root});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, Lines(InScanOrder({root}, {"Diego_Ardea_Greeting_info_G3_World_01.info",
                                                "Diego_Ardea_Smugglers_info_G3_World_01.info",
                                                "Diego_Ardea_SmugglersDone_info_G3_World_01.info"})));
    EXPECT_EQ(r.err, "Результатов -  3 \n");

    // A text ID is found by a part of it, with its letter case.
    r = RunCli({"search", "info", "Braga_Rebels_0", root});
    EXPECT_EQ(r.out, Lines(InScanOrder({root}, {"Lester_Braga_Rebels_info_G3_World_01.info"})));
    EXPECT_EQ(RunCli({"search", "info", "braga_rebels_0", root}).out, "");
}

TEST(Search, QuestModeAndSeveralRootsInArgumentOrder) {
    TempDir dir;
    WriteBytes(dir.File("a/x.quest"), "[Quest]\r\nName=Other\r\nDestinationEntity=Diego\r\n");
    const std::string demo = DemoPath("Quests");
    const CliResult r = RunCli({"search", "quest", "DIEGO", dir.File("a"), demo});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, Lines({dir.File("a/x.quest")}) +
                         Lines(InScanOrder({demo}, {"Ardea_Smugglers_quest_G3_World_01.quest"})));
    EXPECT_EQ(r.err, "Результатов -  2 \n");
}

TEST(Search, NoMatchIsSuccessButABlankQueryOrMissingRootIsNot) {
    const std::string root = DemoPath("Infos");
    CliResult r = RunCli({"search", "info", "Nobody", root});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "Результатов -  0 \n");
    EXPECT_EQ(RunCli({"search", "info", "  ", root}).code, 2);
    EXPECT_EQ(RunCli({"search", "info", "Результатов -  3", root}).code, 2);
    EXPECT_EQ(RunCli({"search", "npc", "Diego", root}).code, 2);
    r = RunCli({"search", "info", "Diego", root + "/NoSuchFolder"});
    EXPECT_EQ(r.code, 4);
    EXPECT_EQ(r.out, "");
    const std::string file = DemoPath("stringtable.ini");
    r = RunCli({"search", "info", "Diego", file});
    EXPECT_EQ(r.code, 4);
    EXPECT_EQ(r.err, "Cannot open file \"" + file + "\". Not a directory\n");
}

TEST(Check, TheDemoLibraryIsClean) {
    const CliResult r = RunCli({"check", "--stringtable", DemoPath("stringtable.ini"), "--quests",
                                DemoPath("Quests"), "--strict", DemoPath("Infos"), DemoPath("Quests")});
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_EQ(r.out, "Файлов: 16, ошибок: 0, предупреждений: 0\n"); // the table, 12 dialogues, 3 quests
}

// A small library with one fault of each kind.
struct FaultyLibrary {
    TempDir dir;
    FaultyLibrary() {
        WriteBytes(dir.File("stringtable.ini"),
                   "[LocAdmin_Languages]\r\nB_2=x\r\n[LocAdmin_Strings]\r\nA_1=x;\r\n");
        WriteBytes(dir.File("Quests/q.quest"), "[Quest]\r\nName=Known_Quest\r\n");
        WriteBytes(
            dir.File("Infos/a/Good.info"),
            Info("Good", "Diego",
                 "Quest=known_quest\r\nInfoScript_Commands=Say;RunQuest\r\nInfoScript_Entities1=owner;\r\n"
                 "InfoScript_IDs1=;KNOWN_QUEST\r\nInfoScript_Texts=a_1;\r\n"));
        WriteBytes(
            dir.File("Infos/a/Refs.info"),
            Info("Refs", "Diego",
                 "Parent=Missing_Parent\r\nQuest=Lost_Quest\r\nInfoScript_Commands=Say;SucceedQuest\r\n"
                 "InfoScript_Entities1=npc;\r\nInfoScript_IDs1=;Gone_Quest\r\nInfoScript_Texts=B_2;\r\n"));
        WriteBytes(
            dir.File("Infos/b/Broken.info"),
            Info("Broken", "Diego", "Parent=good\r\nInfoScript_Commands=GiveXP\r\nInfoScript_IDs1=abc\r\n"));
        WriteBytes(dir.File("Infos/b/Notice.info"), Info("Notice", "Diego", "TeachSkill=Perk_None\r\n"));
        WriteBytes(dir.File("Infos/b/clean.quest"), "[Quest]\r\nName=A_Quest\r\n");
    }
    std::string P(const std::string& rel) const { return dir.File(rel); }
};

TEST(Check, ReportsErrorsAndReferenceWarningsPerFile) {
    FaultyLibrary lib;
    const CliResult r =
        RunCli({"check", "--stringtable", lib.P("stringtable.ini"), "--quests", lib.P("Quests"),
                lib.P("Infos/a/Refs.info"), lib.P("Infos/b"), lib.P("Infos/a/Good.info")});
    EXPECT_EQ(r.code, 1);
    const std::string refs = lib.P("Infos/a/Refs.info");
    // Each with the line of the key it concerns: a row's with the line of the list that holds the element.
    const std::string expectedRefs =
        refs + ":6: warning: Квест Lost_Quest отсутствует среди файлов квестов.\n" + refs +
        ":10: warning: ID строки B_2 отсутствует в таблице строк.\n" + refs +
        ":9: warning: Квест Gone_Quest отсутствует среди файлов квестов.\n" + refs +
        ":5: warning: Родительский диалог Missing_Parent отсутствует среди "
        "проверенных файлов.\n";
    EXPECT_EQ(r.out.rfind(expectedRefs, 0), 0u) << r.out;
    EXPECT_NE(
        r.out.find(lib.P("Infos/b/Broken.info") + ":7: error: Нечисловой аргумент метода GiveXP [abc]\n"),
        std::string::npos);
    EXPECT_NE(r.out.find(lib.P("Infos/b/Notice.info") + ":5: warning: Навык Perk_None отсутствует в базе.\n"),
              std::string::npos);
    EXPECT_EQ(r.out.find("Good.info"), std::string::npos) << "the parent of Broken is found case-blind";
    EXPECT_EQ(r.out.find("clean.quest"), std::string::npos);
    // The table and the quest among the dialogues are checked too.
    EXPECT_EQ(r.out.substr(r.out.rfind("Файлов")), "Файлов: 6, ошибок: 1, предупреждений: 5\n");
}

// A finding points at the line of the key the reader took (the last of a repeated one); a row's finding at
// its list's line, where two rows saying the same thing are one finding.
TEST(Check, FindingsPointAtTheirKeysLineAndRepeatsOfALineAreOne) {
    TempDir dir;
    const std::string file = dir.File("Twice.info");
    WriteBytes(file,
               "[Info]\r\nName=Twice\r\nOwner=Diego\r\nQuest=Old\r\nInfoScript_Commands=RunQuest;RunQuest;"
               "RunQuest\r\nInfoScript_IDs1=Gone;Gone;Other\r\nQuest=Gone\r\n");
    const CliResult r = RunCli({"check", file});
    EXPECT_EQ(r.out, file + ":7: warning: Квест Gone отсутствует среди файлов квестов.\n" + file +
                         ":6: warning: Квест Gone отсутствует среди файлов квестов.\n" + file +
                         ":6: warning: Квест Other отсутствует среди файлов квестов.\n"
                         "Файлов: 1, ошибок: 0, предупреждений: 3\n");
}

TEST(Check, WarningsFailOnlyWhenStrictAndQuestsAreLookedForAmongTheCheckedFilesToo) {
    FaultyLibrary lib;
    const std::string refs = lib.P("Infos/a/Refs.info");
    CliResult r = RunCli({"check", refs});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, refs + ":6: warning: Квест Lost_Quest отсутствует среди файлов квестов.\n" + refs +
                         ":9: warning: Квест Gone_Quest отсутствует среди файлов квестов.\n" + refs +
                         ":5: warning: Родительский диалог Missing_Parent отсутствует среди проверенных "
                         "файлов.\nФайлов: 1, ошибок: 0, предупреждений: 3\n");
    EXPECT_EQ(RunCli({"check", "--strict", refs}).code, 1);
    // Good names Known_Quest as its Quest and in a RunQuest row: missing when checked alone, found
    // among the checked files as in the quest tree of --quests.
    const std::string good = lib.P("Infos/a/Good.info");
    EXPECT_EQ(RunCli({"check", good}).out,
              good + ":5: warning: Квест known_quest отсутствует среди файлов квестов.\n" + good +
                  ":8: warning: Квест KNOWN_QUEST отсутствует среди файлов квестов.\nФайлов: 1, ошибок: 0, "
                  "предупреждений: 2\n");
    EXPECT_EQ(RunCli({"check", "--strict", good, lib.P("Quests")}).code, 0);
    EXPECT_EQ(RunCli({"check", "--strict", "--quests", lib.P("Quests"), good}).code, 0);
}

TEST(Check, WithEventsTellsWhatCondPlayerKnowsWaitsForThatNoCheckedDialogueSets) {
    TempDir dir;
    WriteBytes(
        dir.File("a/Setter.info"),
        Info("Setter", "Diego",
             "InfoScript_Commands=SetRoutine;setgameevent\r\nInfoScript_IDs1=Not_Set; Met_Diego \r\n"));
    WriteBytes(dir.File("a/Waiter.info"), Info("Waiter", "Diego", "CondPlayerKnows= MET_DIEGO\r\n"));
    WriteBytes(dir.File("b/Lonely.info"), Info("Lonely", "Diego", "CondPlayerKnows=Not_Set\r\n"));
    const std::string lonely = dir.File("b/Lonely.info");
    EXPECT_EQ(RunCli({"check", "--strict", dir.File("a"), lonely}).code, 0);
    const CliResult r = RunCli({"check", "--events", dir.File("a"), lonely});
    EXPECT_EQ(r.out, lonely + ":5: warning: Событие Not_Set не задаётся командой SetGameEvent ни в одном из "
                              "проверенных диалогов.\nФайлов: 3, ошибок: 0, предупреждений: 1\n");
    // The setter must be among the checked files.
    EXPECT_NE(RunCli({"check", "--events", dir.File("a/Waiter.info")}).out.find("Событие MET_DIEGO"),
              std::string::npos);
}

// Parents are looked for among every checked file, before or after the child in the order of the paths.
TEST(Check, AParentIsFoundAmongEveryCheckedFile) {
    TempDir dir;
    WriteBytes(dir.File("a/Grandchild.info"), Info("Grandchild", "Diego", "Parent=Child\r\n"));
    WriteBytes(dir.File("b/Root.info"), Info("Root", "Diego"));
    WriteBytes(dir.File("c/Child.info"), Info("Child", "Diego", "Parent= root \r\n"));
    WriteBytes(dir.File("d/Orphan.info"), Info("Orphan", "Diego", "Parent=Nobody\r\n"));
    const std::string orphan = dir.File("d/Orphan.info");
    EXPECT_EQ(RunCli({"check", dir.File("a"), dir.File("b"), dir.File("c"), orphan}).out,
              orphan + ":5: warning: Родительский диалог Nobody отсутствует среди проверенных файлов.\n"
                       "Файлов: 4, ошибок: 0, предупреждений: 1\n");
}

TEST(Check, ReadsAUtf16StringTableOnce) {
    FaultyLibrary lib;
    const std::string table = lib.P("stringtable.ini");
    WriteBytes(table, Utf16LeFile(ReadBytes(table)));
    const CliResult r = RunCli({"check", "--stringtable", table, lib.P("Infos/a")});
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("ID строки B_2 отсутствует"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("a_1"), std::string::npos) << r.out;
}

TEST(Check, WarnsAboutScriptListsThatDoNotPairUp) {
    TempDir dir;
    // As an unfilled row between two commands used to be written: loaded again, the second Say has no
    // speaker, and its arguments sit on a row of their own.
    const std::string shifted = dir.File("Shifted.info");
    WriteBytes(shifted, Info("Shifted", "Diego",
                             "InfoScript_Commands=Say;Say\r\nInfoScript_Entities1=player;;owner\r\n"
                             "InfoScript_Texts=T1;;T2\r\n"));
    WriteBytes(
        dir.File("Paired.info"),
        Info("Paired", "Diego",
             "InfoScript_Commands=Say;End\r\nInfoScript_Entities1=player;\r\nInfoScript_Texts=T1;\r\n"));
    const CliResult r = RunCli({"check", shifted, dir.File("Paired.info")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, shifted +
                         ":6: warning: Списки инфоскрипта содержат разное число разделителей \";\" "
                         "(InfoScript_Commands 1, InfoScript_Entities1 2, InfoScript_Texts 2): команды и их "
                         "аргументы не совпадают по строкам.\n" +
                         shifted +
                         ":6: error: Первым аргументом метода Say должен быть 'player', 'npc' или 'owner'.\n"
                         "Файлов: 2, ошибок: 1, предупреждений: 1\n");
}

TEST(Check, FilesThatAreNoDialoguesAreErrorsAndUnreadableNumbersWarnings) {
    TempDir dir;
    WriteBytes(dir.File("lib/empty.info"), "");
    WriteBytes(dir.File("lib/binary.info"), std::string("\x7F"
                                                        "ELF\0\0\x01[Info]\0",
                                                        13));
    WriteBytes(dir.File("lib/wide.info"), Utf16LeFile(Info("W", "Diego")));
    WriteBytes(dir.File("lib/marked.info"), "\xEF\xBB\xBF" + Info("M", "Diego"));
    WriteBytes(dir.File("lib/notes.info"), "Name=A\r\nOwner=Diego\r\n");
    WriteBytes(dir.File("lib/nothing.quest"), "[Info]\r\nName=Q\r\n");
    WriteBytes(dir.File("lib/numbers.info"),
               "[Info]\r\nName=N\r\nSortID=abc\r\nOwner=Diego\r\nInfoType=4294967296\r\nGoldCost=-0x10\r\n");
    const CliResult r = RunCli({"check", dir.File("lib")});
    EXPECT_EQ(r.code, 1);
    const std::string expected[] = {
        "empty.info: error: Файл не является диалогом: файл пуст",
        "binary.info: error: Файл не является диалогом: двоичный файл",
        "wide.info: error: Файл не является диалогом: текст в кодировке UTF-16, а не Windows-1251",
        "marked.info: error: Файл не является диалогом: текст в кодировке UTF-8, а не Windows-1251",
        "notes.info: error: Файл не является диалогом: нет раздела [Info]",
        "nothing.quest: error: Файл не является квестом: нет раздела [Quest]",
        "numbers.info:3: warning: Ключ SortID: значение \"abc\" не является целым числом и читается как -1.",
        "numbers.info:5: warning: Ключ InfoType: значение \"4294967296\" не является целым числом и читается "
        "как 0.",
        "numbers.info:6: warning: Ключ GoldCost: значение \"-0x10\" не является целым числом и читается как "
        "0.",
    };
    for (const std::string& line : expected)
        EXPECT_NE(r.out.find("/lib/" + line + "\n"), std::string::npos) << line << "\n" << r.out;
    // Nothing else is said about a file that is no dialogue: not the owner, not the name.
    EXPECT_EQ(r.out.substr(r.out.rfind("Файлов")), "Файлов: 7, ошибок: 6, предупреждений: 3\n");
}

TEST(Recompile, RefusesAFileThatIsNoRecordAndSaysWhatReadsAsZero) {
    TempDir dir;
    const std::string out = dir.File("out.info");
    WriteBytes(dir.File("binary.info"), std::string("\0\x01\x02garbage", 10));
    CliResult r = RunCli({"recompile", dir.File("binary.info"), out});
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(r.err, "Файл не является диалогом: двоичный файл\n");
    WriteBytes(dir.File("empty.quest"), "");
    r = RunCli({"recompile", dir.File("empty.quest"), dir.File("out.quest")});
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(r.err, "Файл не является квестом: файл пуст\n");
    EXPECT_FALSE(Exists(out));
    EXPECT_FALSE(Exists(dir.File("out.quest")));

    WriteBytes(dir.File("n.info"), Info("N", "Diego", "InfoType=0x\r\n"));
    r = RunCli({"recompile", dir.File("n.info"), out});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.err, "warning: Ключ InfoType: значение \"0x\" не является целым числом и читается как 0.\n");
    EXPECT_NE(ReadBytes(out).find("InfoType=0\r\n"), std::string::npos);
}

// A path that names nothing is a file error, not a finding; a folder without records is told.
TEST(Check, MissingInputsAndBadOptions) {
    FaultyLibrary lib;
    const CliResult r = RunCli({"check", lib.P("Infos"), lib.P("nothing.info")});
    EXPECT_EQ(r.code, 4);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "Нет такого файла или папки: " + lib.P("nothing.info") + "\n");
    WriteBytes(lib.P("Empty/notes.txt"), "");
    const CliResult empty = RunCli({"check", lib.P("Empty"), lib.P("Quests")});
    EXPECT_EQ(empty.code, 0);
    EXPECT_EQ(empty.err, "В папке " + lib.P("Empty") + " нет ни диалогов (.info), ни квестов (.quest)\n");
    EXPECT_EQ(RunCli({"check", "--stringtable", lib.P("none.ini"), lib.P("Infos")}).code, 4);
    EXPECT_EQ(RunCli({"check", "--quests", lib.P("NoQuests"), lib.P("Infos")}).code, 4);
    const CliResult notFolder = RunCli({"check", "--quests", lib.P("stringtable.ini"), lib.P("Infos")});
    EXPECT_EQ(notFolder.code, 4);
    EXPECT_EQ(notFolder.err, "Cannot open file \"" + lib.P("stringtable.ini") + "\". Not a directory\n");
    EXPECT_EQ(RunCli({"check", "--stringtable"}).code, 2);
    EXPECT_EQ(RunCli({"check"}).code, 2);
}

} // namespace
} // namespace pwtest
