// info-read / info-write / quest-read / quest-write through the built command line.

#include "CliRunner.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <cstdlib>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace pwtest {
namespace {

TEST(InfoCommands, WriteCreatesTheFileInTheEditorsLayout) {
    TempDir dir;
    const std::string out = dir.File("Foo_info_G3_World_01.info");
    const CliResult r = RunCli({"info-write", out, "Name=Foo", "SortID=-1", "Owner=Diego", "GoldCost=0x10",
                                "Permanent=true", "Folder=  "});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(ReadBytes(out), "[Info]\r\nName=Foo\r\nSortID=\r\nOwner=Diego\r\nInfoGiven=False\r\n"
                              "ConditionType=0\r\nInfoType=0\r\nGoldCost=16\r\nClearChildren=False\r\n"
                              "Permanent=True\r\n");
}

TEST(InfoCommands, ReadPrintsAll31FieldsInFileOrderInUtf8OrWithRawAsTheFileHoldsThem) {
    TempDir dir;
    const std::string file = dir.File("a.info");
    WriteBytes(file,
               "[Info]\r\nInfoScript_Texts=T1;T2\r\nName=" + Ansi("Диалог") +
                   "\r\nSortID=00\r\nPermanent=-1\r\nTeachSkill=Perk_Axe_1\r\nTeachSkillValue=0x1F\r\n");
    const std::string rest =
        "\nSortID=-1\nOwner=\nInfoGiven=False\nParent=\nQuest=\nConditionType=0\n"
        "InfoType=0\nGoldCost=0\nCondOwnerNearEntity=\nFolder=\nCondPlayerKnows=\n"
        "CondItemContainer=\nCondItems=\nCondItemAmounts=\nCondSecondaryNPC=\n"
        "CondSecondaryNPCstates=\nTeachSkillIsPerc=False\nTeachSkill=Perk_Axe_1\n"
        "TeachSkillIndex=0\nTeachSkillValue=31\nTeachAttrib=\nTeachAttribValue=0\n"
        "ClearChildren=False\nPermanent=True\nInfoScript_Commands=\nInfoScript_Entities1=\n"
        "InfoScript_Entities2=\nInfoScript_IDs1=\nInfoScript_IDs2=\nInfoScript_Texts=T1;T2\n";
    CliResult r = RunCli({"info-read", file});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "Name=Диалог" + rest);
    r = RunCli({"--raw", "info-read", file});
    EXPECT_EQ(r.out, "Name=" + Ansi("Диалог") + rest);
}

TEST(InfoCommands, WriteFromAnotherFileKeepsItsFieldsAndAppliesAssignmentsInOrder) {
    TempDir dir;
    const std::string in = dir.File("in.info");
    const std::string out = dir.File("out.info");
    ASSERT_EQ(RunCli({"info-write", in, "Name=A", "Owner=Gorn", "Quest=Q1"}).code, 0);
    const CliResult r = RunCli({"info-write", out, "--from", in, "Name=B", "Quest=x=y", "Quest=Квест=2"});
    ASSERT_EQ(r.code, 0) << r.err;
    const std::string text = RunCli({"info-read", out}).out;
    EXPECT_NE(text.find("Name=B\n"), std::string::npos);
    EXPECT_NE(text.find("Owner=Gorn\n"), std::string::npos);
    EXPECT_NE(text.find("\nQuest=Квест=2\n"), std::string::npos);
    EXPECT_NE(ReadBytes(out).find("\r\nQuest=" + Ansi("Квест=2") + "\r\n"), std::string::npos);
}

TEST(InfoCommands, BadAssignmentsAreUsageErrorsAndWriteNothing) {
    TempDir dir;
    const std::string out = dir.File("out.info");
    struct Case {
        std::string arg, message;
    };
    for (const Case& c :
         {Case{"Colour=red", "unknown key \"Colour\" for info-write"},
          Case{"GoldCost=abc", "'abc' is not a valid integer value"},
          Case{"Permanent=yes", "'yes' is not a valid boolean value"},
          Case{"Name", "expected Key=Value, got \"Name\""},
          Case{"Имя=1", "unknown key \"Имя\" for info-write"},
          Case{"Owner=Diego\r\n[Forged]", "the value of Owner must not contain a line break"}}) {
        const CliResult r = RunCli({"info-write", out, "Name=A", c.arg});
        EXPECT_EQ(r.code, 2) << c.arg;
        EXPECT_EQ(r.err.rfind(c.message + "\nusage: plotwright-cli", 0), 0u) << r.err;
        EXPECT_FALSE(Exists(out));
    }
    EXPECT_EQ(RunCli({"info-write", out, "--from"}).code, 2);
    EXPECT_EQ(RunCli({"info-read"}).code, 2);
    EXPECT_EQ(RunCli({"info-read", "a", "b"}).code, 2);
}

TEST(InfoCommands, FileErrorsExitWith4AndTheReadersText) {
    TempDir dir;
    const std::string missingFolder = dir.File("no/such/folder/x.info");
    CliResult r = RunCli({"info-write", missingFolder, "Name=A"});
    EXPECT_EQ(r.code, 4);
    EXPECT_EQ(r.err,
              "Cannot create file \"" + missingFolder + "\". " + SystemReason(Reason::PathMissing) + "\n");
    r = RunCli({"info-write", dir.Path(), "Name=A"});
    EXPECT_EQ(r.code, 4);
    EXPECT_EQ(r.err, "Cannot create file \"" + dir.Path() + "\". Is a directory\n");
    // A relative path is named in full, from the folder the command runs in.
    const std::string here = Utf8Path(std::filesystem::current_path());
    r = RunCli({"info-write", "no-such-folder-here/x.info", "Name=A"});
    EXPECT_EQ(r.code, 4);
    EXPECT_EQ(r.err, "Cannot create file \"" + here + "/no-such-folder-here/x.info\". " +
                         SystemReason(Reason::Missing) + "\n");

    const std::string missing = dir.File("missing.info");
    r = RunCli({"info-read", missing});
    EXPECT_EQ(r.code, 4);
    EXPECT_EQ(r.err, "Cannot open file \"" + missing + "\". No such file or directory\n");
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(RunCli({"info-write", dir.File("o.info"), "--from", missing}).code, 4);
    EXPECT_FALSE(Exists(dir.File("o.info")));
}

// JobSuccess and JobSuccessAmount of -1 ("none") print as the file holds them: empty.
TEST(RecordCommands, ReadingWhatIsNoRecordFileWarnsAndStillPrintsTheFields) {
    TempDir dir;
    WriteBytes(dir.File("a.info"), "\xEF\xBB\xBF[Info]\r\nName=A\r\n");
    CliResult r = RunCli({"info-read", dir.File("a.info")});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.err, "warning: Файл не является диалогом: текст в кодировке UTF-8, а не Windows-1251\n");
    EXPECT_EQ(r.out.rfind("Name=\nSortID=-1\n", 0), 0u);

    WriteBytes(dir.File("a.quest"), "[Quest]\r\nName=Q\r\nType=two\r\n");
    r = RunCli({"quest-read", dir.File("a.quest")});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.err, "warning: Ключ Type: значение \"two\" не является целым числом и читается как 0.\n");
    r = RunCli({"quest-write", dir.File("b.quest"), "--from", dir.File("a.info")});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.err, "warning: Файл не является квестом: текст в кодировке UTF-8, а не Windows-1251\n");
}

TEST(QuestCommands, WriteCreatesAll22KeysAndReadGivesThemBack) {
    TempDir dir;
    const std::string out = dir.File("Q_quest_G3_World_01.quest");
    const CliResult r = RunCli({"quest-write", out, "Name=Q", "JobSuccess=-1",
                                "JobSuccessAmount=", "LogTopic=Тема", "ExperiencePoints=$64"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(ReadBytes(out), "[Quest]\r\nName=Q\r\nType=0\r\nFinishedQuests=\r\nLogTopic=" + Ansi("Тема") +
                                  "\r\nLogText=\r\nExperiencePoints=100\r\nPoliticalSuccess=0\r\n"
                                  "PoliticalSuccessAmount=0\r\nEnclaveSuccess=\r\nEnclaveSuccessAmount=0\r\n"
                                  "JobSuccess=\r\nJobSuccessAmount=\r\nFolder=\r\nDeliveryEntities=\r\n"
                                  "DeliveryAmounts=\r\nDeliveryCounter=\r\nDestinationEntity=\r\n"
                                  "RunningTimeYears=0\r\nRunningTimeDays=0\r\nRunningTimeHours=0\r\n"
                                  "AttribSuccess=\r\nAttribSuccessAmount=0\r\n");
    const CliResult read = RunCli({"quest-read", out});
    ASSERT_EQ(read.code, 0) << read.err;
    EXPECT_EQ(read.out, "Name=Q\nType=0\nFinishedQuests=\nLogTopic=Тема"
                        "\nLogText=\nExperiencePoints=100\nPoliticalSuccess=0\nPoliticalSuccessAmount=0\n"
                        "EnclaveSuccess=\nEnclaveSuccessAmount=0\nJobSuccess=\nJobSuccessAmount=\n"
                        "Folder=\nDeliveryEntities=\nDeliveryAmounts=\nDeliveryCounter=\n"
                        "DestinationEntity=\nRunningTimeYears=0\nRunningTimeDays=0\nRunningTimeHours=0\n"
                        "AttribSuccess=\nAttribSuccessAmount=0\n");
}

TEST(QuestCommands, WriteFromKeepsOtherSectionsAndErrorsAreReported) {
    TempDir dir;
    const std::string in = dir.File("in.quest");
    WriteBytes(in, "; note\r\n[Quest]\r\nName=Old\r\nType=3\r\n[Extra]\r\nk=v\r\n");
    ASSERT_EQ(RunCli({"quest-write", in, "--from", in, "Name=New"}).code, 0);
    const std::string text = ReadBytes(in);
    EXPECT_EQ(text.rfind("; note\r\n[Quest]\r\nName=New\r\nType=3\r\n", 0), 0u) << text;
    EXPECT_NE(text.find("[Extra]\r\nk=v\r\n"), std::string::npos);

    const CliResult bad = RunCli({"quest-write", in, "Type=3.5"});
    EXPECT_EQ(bad.code, 2);
    EXPECT_EQ(bad.err.rfind("'3.5' is not a valid integer value\n", 0), 0u) << bad.err;
    EXPECT_EQ(ReadBytes(in), text);

    const std::string missingFolder = dir.File("none/x.quest");
    const CliResult r = RunCli({"quest-write", missingFolder, "Name=A"});
    EXPECT_EQ(r.code, 4);
    EXPECT_EQ(r.err, "Unable to write to " + missingFolder + ". " + SystemReason(Reason::Missing) + "\n");
}

// A full device and signals, as POSIX systems have them.
#ifndef _WIN32
// A string table whose lint, with --verbose, prints a line for each of its 2000 lines: about 170 KB,
// more than a pipe or the output buffer holds.
std::string TableOfLinesWithoutEquals() {
    std::string text = "[LocAdmin_Strings]\r\n";
    for (int i = 0; i < 2000; ++i)
        text += "a line without an equals sign " + std::to_string(i) + "\r\n";
    return text;
}

TEST(CommandLine, OutputThatCannotBeWrittenIsAFileErrorWithTheSystemsReason) {
    const std::string demo = DemoPath("Infos/Varant/Braga/Lester_Braga_Meeting_info_G3_World_01.info");
    const CliResult r = RunCliTo({"info-read", demo}, "/dev/full");
    EXPECT_EQ(r.code, 4);
    EXPECT_EQ(r.err, "Unable to write to standard output. No space left on device\n");
    // Output longer than the buffer fails while it is printed, long before the end.
    TempDir dir;
    const std::string table = dir.File("table.ini");
    WriteBytes(table, TableOfLinesWithoutEquals());
    const CliResult lint = RunCliTo({"check", "--verbose", "--stringtable", table}, "/dev/full");
    EXPECT_EQ(lint.code, 4);
    EXPECT_EQ(lint.err, "Unable to write to standard output. No space left on device\n");
}

// nohup has the program ignore a hang-up, and a script's background job an interrupt; the program must
// not turn that back into being ended by them. The command writes more than a pipe holds, so it is still
// running, waiting for the reader, when the signals come.
TEST(CommandLine, SignalsTheCallerIgnoresStayIgnored) {
    TempDir dir;
    const std::string table = dir.File("table.ini");
    WriteBytes(table, TableOfLinesWithoutEquals());

    int out[2];
    ASSERT_EQ(::pipe(out), 0);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        std::signal(SIGHUP, SIG_IGN);
        std::signal(SIGINT, SIG_IGN);
        ::dup2(out[1], STDOUT_FILENO);
        ::close(out[0]);
        ::close(out[1]);
        const int devNull = ::open("/dev/null", O_WRONLY);
        ::dup2(devNull, STDERR_FILENO);
        ::execl(PLOTWRIGHT_CLI, PLOTWRIGHT_CLI, "check", "--verbose", "--stringtable", table.c_str(),
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(out[1]);
    std::string printed;
    char buffer[4096];
    ssize_t n = ::read(out[0], buffer, sizeof buffer); // the command is past its start-up
    ASSERT_GT(n, 0);
    printed.append(buffer, static_cast<std::size_t>(n));
    ::kill(pid, SIGHUP);
    ::kill(pid, SIGINT);
    while ((n = ::read(out[0], buffer, sizeof buffer)) > 0)
        printed.append(buffer, static_cast<std::size_t>(n));
    ::close(out[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_GT(printed.size(), 2u * 65536u);
    EXPECT_NE(printed.find("предупреждений: 2000"), std::string::npos);
}
#endif

TEST(CommandLine, UnknownOrMissingCommandPrintsUsage) {
    CliResult r = RunCli({});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.err.rfind("usage: plotwright-cli COMMAND", 0), 0u);
    r = RunCli({"frobnicate"});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.err.rfind("unknown command \"frobnicate\"\nusage:", 0), 0u) << r.err;
}

} // namespace
} // namespace pwtest
