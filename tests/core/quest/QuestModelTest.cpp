// The quest editor's logic without a window: loading a record into the editor's texts, the compile's
// stages and the files they write, and finding a quest of the library by its name.

#include "core/data/Cp1251.h"
#include "core/quest/QuestEditorModel.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using namespace pw;
using pwtest::Exists;
using pwtest::ReadBytes;
using pwtest::TempDir;
using pwtest::WriteBytes;

const char* const kSuffix = "_quest_G3_World_01.quest";

TQuest ReadQuest(const std::string& path) {
    TQuest quest;
    quest.ReadFromFile(path);
    return quest;
}

QuestEditorModel Named(const std::string& name) {
    QuestEditorModel model;
    model.QuestNameEd = name;
    return model;
}

TEST(LoadQuestModel, FillsEveryFieldFromTheRecord) {
    TempDir dir;
    WriteBytes(dir.File("q.quest"), Utf8ToCp1251("[Quest]\r\nName=Ратник\r\nType=7\r\nFinishedQuests=A;B\r\n"
                                                 "LogTopic=T_01\r\nLogText=T_02\r\nExperiencePoints=0x10\r\n"
                                                 "PoliticalSuccess=-3\r\nEnclaveSuccess=Nowhere\r\n"
                                                 "JobSuccess=\r\nJobSuccessAmount=4\r\nFolder=Own/\r\n"
                                                 "DeliveryEntities=It_A;It_B\r\nRunningTimeDays=2\r\n"
                                                 "AttribSuccess=STR\r\nAttribSuccessAmount=abc\r\n"));
    const QuestEditorModel m = LoadQuestModel(ReadQuest(dir.File("q.quest")));
    EXPECT_EQ(Cp1251ToUtf8(m.QuestNameEd), "Ратник");
    EXPECT_EQ(m.QuestTypeCMB, 7);
    EXPECT_EQ(m.QuestFinishedQuestsEd, "A;B");
    EXPECT_EQ(m.QuestLogTopicEd, "T_01");
    EXPECT_EQ(m.QuestLogTextEd, "T_02");
    EXPECT_EQ(m.QuestExperiencePointsEd, "16");
    EXPECT_EQ(m.QuestPoliticalSuccessEd, "-3");
    EXPECT_EQ(m.QuestPoliticalSuccessAmountEd, "0"); // missing
    EXPECT_EQ(m.QuestEnclaveSuccessCMB, "Nowhere");  // not in the list: shown as typed
    EXPECT_EQ(m.QuestJobSuccessEd, "-1");            // empty in the file means none
    EXPECT_EQ(m.QuestJobSuccessAmountEd, "4");
    EXPECT_EQ(m.QuestFolderCMB, "Own/");
    EXPECT_EQ(m.QuestDeliveryEntitiesEd, "It_A;It_B");
    EXPECT_EQ(m.QuestRunningTimeDaysEd, "2");
    EXPECT_EQ(m.QuestAttribSuccessEd, "STR");
    EXPECT_EQ(m.QuestAttribSuccessAmountEd, "0"); // not a number: the reader's 0
}

TEST(LoadQuestModel, TypeOutsideTheListSelectsNoItemAndCompilesAsMinusOne) {
    for (std::int32_t type : {-1, 12, 100}) {
        TQuest quest;
        quest.Name = "Q";
        quest.Type = type;
        const QuestEditorModel model = LoadQuestModel(quest);
        EXPECT_EQ(model.QuestTypeCMB, -1) << type;
        EXPECT_EQ(FillQuestRecord(model).quest.Type, -1) << type;
    }
    TQuest last;
    last.Type = 11;
    EXPECT_EQ(LoadQuestModel(last).QuestTypeCMB, 11);
}

TEST(FillQuestRecord, TakesTextsUnchangedAndNumbersInDecimalOrHex) {
    QuestEditorModel m = Named("  Foo ");
    m.QuestTypeCMB = 4;
    m.QuestFinishedQuestsEd = " A ; B ";
    m.QuestExperiencePointsEd = " 250";
    m.QuestPoliticalSuccessEd = "$1F";
    m.QuestJobSuccessEd = "0";
    m.QuestRunningTimeHoursEd = "-12";
    const QuestCompileOutcome o = FillQuestRecord(m);
    ASSERT_EQ(o.status, QuestCompileStatus::Ready) << o.message;
    EXPECT_EQ(o.quest.Name, "  Foo ");
    EXPECT_EQ(o.quest.Type, 4);
    EXPECT_EQ(o.quest.FinishedQuests, " A ; B ");
    EXPECT_EQ(o.quest.ExperiencePoints, 250);
    EXPECT_EQ(o.quest.PoliticalSuccess, 31);
    EXPECT_EQ(o.quest.JobSuccess, 0);
    EXPECT_EQ(o.quest.JobSuccessAmount, -1);
    EXPECT_EQ(o.quest.RunningTimeHours, -12);
    EXPECT_EQ(o.quest.EnclaveSuccess, "Ardea");
    EXPECT_EQ(o.quest.Folder, "Myrtana/Ardea_City/");
}

TEST(FillQuestRecord, FirstNumberThatDoesNotConvertStopsBeforeTheNameCheck) {
    struct Case {
        std::string QuestEditorModel::*field;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {&QuestEditorModel::QuestExperiencePointsEd, "12a", "'12a' is not a valid integer value"},
        // An empty JobSuccess is "none" in the file, but an empty field is no number.
        {&QuestEditorModel::QuestJobSuccessEd, "", "'' is not a valid integer value"},
        {&QuestEditorModel::QuestJobSuccessAmountEd, " ", "' ' is not a valid integer value"},
        {&QuestEditorModel::QuestAttribSuccessAmountEd, "пять", "'пять' is not a valid integer value"},
    };
    for (const Case& c : cases) {
        QuestEditorModel m = Named(""); // the empty name comes second
        m.*c.field = Utf8ToCp1251(c.text);
        m.QuestAttribSuccessAmountEd =
            Utf8ToCp1251(c.field == &QuestEditorModel::QuestAttribSuccessAmountEd ? c.text : "also bad");
        const QuestCompileOutcome o = FillQuestRecord(m);
        EXPECT_EQ(o.status, QuestCompileStatus::NotANumber) << c.text;
        EXPECT_TRUE(o.GeneralError());
        EXPECT_EQ(o.message, c.message);
    }
}

TEST(FillQuestRecord, NameChecks) {
    const std::pair<std::string, QuestCompileStatus> cases[] = {
        {"", QuestCompileStatus::NameMissing},
        {"   ", QuestCompileStatus::Ready}, // not trimmed: a name of blanks passes
        {"a/b", QuestCompileStatus::UnsafeName},
        {"a\\b", QuestCompileStatus::UnsafeName},
        {std::string("a\0b", 3), QuestCompileStatus::UnsafeName},
        {".", QuestCompileStatus::UnsafeName},
        {"..", QuestCompileStatus::UnsafeName},
        {"...", QuestCompileStatus::Ready},
    };
    for (const auto& [name, status] : cases) {
        const QuestCompileOutcome o = FillQuestRecord(Named(name));
        EXPECT_EQ(o.status, status) << name;
        EXPECT_FALSE(o.GeneralError());
    }
    EXPECT_EQ(FillQuestRecord(Named("")).message, "Имя квеста не задано");
    EXPECT_EQ(FillQuestRecord(Named("a/b")).message, "Имя квеста не может содержать символы / и \\");
    EXPECT_EQ(FillQuestRecord(Named("..")).message, "Имя квеста не может быть \".\" или \"..\"");
}

TEST(CompileQuest, ScratchFolderIsCreatedAndGetsTheWholeFile) {
    TempDir dir;
    QuestEditorModel m = Named("Foo");
    m.QuestTypeCMB = -1;
    m.QuestLogTopicEd = "Foo_Topic";
    const QuestCompileOutcome o = CompileQuest(m, {true, dir.Path(), dir.File("Quests")});
    ASSERT_EQ(o.status, QuestCompileStatus::Written) << o.message;
    EXPECT_EQ(o.path, dir.File(std::string("_Quests/Foo") + kSuffix));
    EXPECT_EQ(ReadBytes(o.path), "[Quest]\r\nName=Foo\r\nType=-1\r\nFinishedQuests=\r\nLogTopic=Foo_Topic\r\n"
                                 "LogText=\r\nExperiencePoints=0\r\nPoliticalSuccess=0\r\n"
                                 "PoliticalSuccessAmount=0\r\nEnclaveSuccess=Ardea\r\n"
                                 "EnclaveSuccessAmount=0\r\nJobSuccess=\r\nJobSuccessAmount=\r\n"
                                 "Folder=Myrtana/Ardea_City/\r\nDeliveryEntities=\r\nDeliveryAmounts=\r\n"
                                 "DeliveryCounter=\r\nDestinationEntity=\r\nRunningTimeYears=0\r\n"
                                 "RunningTimeDays=0\r\nRunningTimeHours=0\r\nAttribSuccess=\r\n"
                                 "AttribSuccessAmount=0\r\n");
}

TEST(CompileQuest, ACyrillicNameGivesAFileNameInTheFileSystemsEncoding) {
    TempDir dir;
    const QuestEditorModel m = Named(pw::Utf8ToCp1251("Рыбалка"));
    const QuestCompileOutcome o = CompileQuest(m, {true, dir.Path(), ""});
    ASSERT_EQ(o.status, QuestCompileStatus::Written) << o.message;
    EXPECT_EQ(o.path, dir.File(std::string("_Quests/Рыбалка") + kSuffix));
    EXPECT_EQ(ReadBytes(o.path).rfind("[Quest]\r\nName=" + m.QuestNameEd + "\r\n", 0), 0u);
}

TEST(CompileQuest, WithoutScratchFilesTheQuestTreeRootIsUsedWhateverTheFolder) {
    TempDir dir;
    std::filesystem::create_directory(dir.File("Quests"));
    QuestEditorModel m = Named("   ");
    m.QuestFolderCMB = "Nordmar/Outdoor/";
    const QuestCompileOutcome o = CompileQuest(m, {false, dir.Path(), dir.File("Quests")});
    ASSERT_EQ(o.status, QuestCompileStatus::Written) << o.message;
    EXPECT_TRUE(Exists(dir.File(std::string("Quests/   ") + kSuffix)));
    EXPECT_FALSE(Exists(dir.File("_Quests")));
}

TEST(CompileQuest, CompilingAgainWritesOverTheSameKeysAndKeepsTheRest) {
    TempDir dir;
    std::filesystem::create_directory(dir.File("_Quests"));
    const std::string path = dir.File(std::string("_Quests/Foo") + kSuffix);
    WriteBytes(path, "; kept\r\n[Quest]\r\nExtra=1\r\nName=Foo\r\nType=3\r\n[Other]\r\nKey=v\r\n");
    QuestEditorModel m = Named("Foo");
    m.QuestTypeCMB = 5;
    ASSERT_EQ(CompileQuest(m, {true, dir.Path(), ""}).status, QuestCompileStatus::Written);
    const std::string bytes = ReadBytes(path);
    EXPECT_EQ(bytes.rfind("; kept\r\n[Quest]\r\nExtra=1\r\nName=Foo\r\nType=5\r\nFinishedQuests=\r\n", 0), 0u)
        << bytes;
    EXPECT_NE(bytes.find("AttribSuccessAmount=0\r\n[Other]\r\nKey=v\r\n"), std::string::npos) << bytes;
}

TEST(CompileQuest, OutputProblemsSayWhatFailedAndLeaveNoFile) {
    TempDir dir;
    // No quest folder set.
    QuestCompileOutcome o = CompileQuest(Named("Foo"), {false, dir.Path(), ""});
    EXPECT_EQ(o.status, QuestCompileStatus::FolderMissing);
    EXPECT_FALSE(o.GeneralError());
    EXPECT_EQ(o.message, "В настройках не указан каталог для квестов (Quests).");

    // The scratch folder's place is taken by a file.
    const std::string program = dir.File("program");
    std::filesystem::create_directory(program);
    WriteBytes(program + "/_Quests", "a file");
    o = CompileQuest(Named("Foo"), {true, program, ""});
    EXPECT_EQ(o.status, QuestCompileStatus::FolderFailed);
    EXPECT_TRUE(o.GeneralError());
    EXPECT_EQ(o.message.rfind("Cannot create file \"" + program + "/_Quests\". ", 0), 0u) << o.message;

    // The quest folder does not exist.
    o = CompileQuest(Named("Foo"), {false, dir.Path(), dir.File("missing")});
    EXPECT_EQ(o.status, QuestCompileStatus::WriteFailed);
    EXPECT_NE(o.message.find(dir.File(std::string("missing/Foo") + kSuffix)), std::string::npos) << o.message;
    EXPECT_FALSE(Exists(dir.File("missing")));

    // A folder stands where the file would go: nothing beside it is left behind either.
    const std::string quests = dir.File("Quests");
    std::filesystem::create_directories(quests + "/Foo" + kSuffix);
    o = CompileQuest(Named("Foo"), {false, dir.Path(), quests});
    EXPECT_EQ(o.status, QuestCompileStatus::WriteFailed);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(quests), {}), 1);
}

TEST(CompileQuest, LoadThenCompileGivesTheFileBack) {
    TempDir dir;
    const std::string original = "[Quest]\r\nName=Foo\r\nType=11\r\nFinishedQuests=A, B\r\nLogTopic=T\r\n"
                                 "LogText=U\r\nExperiencePoints=500\r\nPoliticalSuccess=1\r\n"
                                 "PoliticalSuccessAmount=2\r\nEnclaveSuccess=Lago\r\n"
                                 "EnclaveSuccessAmount=3\r\nJobSuccess=0\r\nJobSuccessAmount=\r\n"
                                 "Folder=World/\r\nDeliveryEntities=It_A;It_B\r\nDeliveryAmounts=1;2\r\n"
                                 "DeliveryCounter=0\r\nDestinationEntity=Diego\r\nRunningTimeYears=1\r\n"
                                 "RunningTimeDays=2\r\nRunningTimeHours=3\r\nAttribSuccess=STR\r\n"
                                 "AttribSuccessAmount=5\r\n";
    WriteBytes(dir.File("in.quest"), original);
    const QuestCompileOutcome o =
        CompileQuest(LoadQuestModel(ReadQuest(dir.File("in.quest"))), {false, dir.Path(), dir.Path()});
    ASSERT_EQ(o.status, QuestCompileStatus::Written) << o.message;
    EXPECT_EQ(ReadBytes(o.path), original);
}

TEST(FindQuestByName, FirstFileWhoseNameEqualsWithOnlyLatinLettersFolded) {
    TempDir dir;
    const auto quest = [&dir](const std::string& file, const std::string& body) {
        WriteBytes(dir.File(file), Utf8ToCp1251(body));
        return dir.File(file);
    };
    const std::vector<std::string> files = {
        dir.File("removed.quest"), // listed, then deleted
        quest("info.info", "[Info]\r\nName=abc\r\n"),
        quest("a.quest", "[Quest]\r\nName=Abc \r\n"),
        quest("b.quest", "[quest]\r\nname=aBC\r\n"),
        quest("c.quest", "[Quest]\r\nName=ABC\r\n"),
        quest("d.quest", "[Quest]\r\nName=Квест\r\n"),
        quest("e.quest", "[Quest]\r\nName=\r\n"),
    };
    EXPECT_EQ(FindQuestByName(files, "ABC"), dir.File("a.quest")); // the value read is trimmed
    EXPECT_EQ(FindQuestByName(files, "abc "), std::nullopt);       // the name is not
    EXPECT_EQ(FindQuestByName({files[3], files[4]}, "ABC"), dir.File("b.quest"));
    EXPECT_EQ(FindQuestByName(files, Utf8ToCp1251("Квест")), dir.File("d.quest"));
    EXPECT_EQ(FindQuestByName(files, Utf8ToCp1251("КВЕСТ")), std::nullopt);
    EXPECT_EQ(FindQuestByName(files, "abd"), std::nullopt);
    // An empty name equals the missing name of the dialogue file before any empty Name.
    EXPECT_EQ(FindQuestByName(files, ""), dir.File("info.info"));
    EXPECT_EQ(FindQuestByName({files[0], files[4], files[6]}, ""), dir.File("e.quest"));
}

} // namespace
