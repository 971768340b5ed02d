#include "core/data/Configs.h"
#include "core/data/G3Quests.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace pw;
using pwtest::ReadBytes;
using pwtest::WriteBytes;

TEST(QuestFile, NewFileHoldsAllKeysAndOptionalIntegersAsEmpty) {
    pwtest::TempDir dir;
    const std::string path = dir.File("q.quest");
    TQuest quest;
    quest.Name = "Ardea_Rats";
    quest.Type = 2;
    quest.JobSuccess = -1;
    quest.JobSuccessAmount = 0;
    quest.LogTopic = "\"QUEST_TOPIC\"";
    quest.DeliveryEntities = "  Diego  ";
    quest.WriteToFile(path);
    EXPECT_EQ(
        ReadBytes(path),
        "[Quest]\r\nName=Ardea_Rats\r\nType=2\r\nFinishedQuests=\r\nLogTopic=\"QUEST_TOPIC\"\r\nLogText=\r\n"
        "ExperiencePoints=0\r\nPoliticalSuccess=0\r\nPoliticalSuccessAmount=0\r\nEnclaveSuccess=\r\n"
        "EnclaveSuccessAmount=0\r\nJobSuccess=\r\nJobSuccessAmount=0\r\nFolder=\r\nDeliveryEntities=  Diego  "
        "\r\n"
        "DeliveryAmounts=\r\nDeliveryCounter=\r\nDestinationEntity=\r\nRunningTimeYears=0\r\nRunningTimeDays="
        "0\r\n"
        "RunningTimeHours=0\r\nAttribSuccess=\r\nAttribSuccessAmount=0\r\n");
    TQuest back;
    back.ReadFromFile(path);
    EXPECT_EQ(back.JobSuccess, -1);
    EXPECT_EQ(back.JobSuccessAmount, 0);
    EXPECT_EQ(back.LogTopic, "QUEST_TOPIC");
    EXPECT_EQ(back.DeliveryEntities, "Diego");
    EXPECT_EQ(back.FinishedQuests, "");
}

TEST(QuestFile, MissingKeysReadAsTheirDefaults) {
    pwtest::TempDir dir;
    const std::string path = dir.File("m.quest");
    WriteBytes(path, "[Quest]\r\nExperiencePoints=0x10\r\nType=abc\r\n");
    TQuest quest;
    quest.ReadFromFile(path);
    EXPECT_EQ(quest.JobSuccess, -1);
    EXPECT_EQ(quest.JobSuccessAmount, -1);
    EXPECT_EQ(quest.ExperiencePoints, 16);
    EXPECT_EQ(quest.Type, 0);
    EXPECT_EQ(quest.RunningTimeDays, 0);
    TQuest none;
    none.ReadFromFile(dir.File("none.quest"));
    EXPECT_EQ(none.JobSuccess, -1);
}

TEST(QuestFile, RewriteKeepsOtherLinesAndAFailedWriteKeepsTheOldFile) {
    pwtest::TempDir dir;
    const std::string path = dir.File("r.quest");
    WriteBytes(path, "; made by hand\r\n[Quest]\r\nType=1\r\nCustom=keep\r\nName=Old\r\n[Notes]\r\na=b\r\n");
    TQuest quest;
    quest.Name = "New";
    quest.WriteToFile(path);
    const std::string bytes = ReadBytes(path);
    EXPECT_EQ(bytes.rfind(
                  "; made by hand\r\n[Quest]\r\nType=0\r\nCustom=keep\r\nName=New\r\nFinishedQuests=\r\n", 0),
              0u);
    EXPECT_NE(bytes.find("AttribSuccessAmount=0\r\n[Notes]\r\na=b\r\n"), std::string::npos);

    const std::string folder = dir.File("folder.quest");
    WriteBytes(folder + "/x", "x");
    try {
        quest.WriteToFile(folder);
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + folder + ". Is a directory");
    }
    EXPECT_THROW(quest.WriteToFile(dir.File("no/such.quest")), std::runtime_error);
    EXPECT_EQ(ReadBytes(path), bytes);
}

TEST(QuestFile, FieldTextAccess) {
    TQuest quest;
    EXPECT_EQ(QuestFileKeys().size(), 22u);
    EXPECT_TRUE(SetQuestFieldText(quest, "JobSuccess", ""));
    EXPECT_EQ(QuestFieldText(quest, "JobSuccess"), "");
    EXPECT_TRUE(SetQuestFieldText(quest, "Type", "4"));
    EXPECT_EQ(QuestFieldText(quest, "Type"), "4");
    EXPECT_THROW(SetQuestFieldText(quest, "Type", ""), std::runtime_error);
    EXPECT_FALSE(SetQuestFieldText(quest, "Nope", "1"));
}

TEST(Settings, DefaultsAndTmpFilesRules) {
    pwtest::TempDir dir;
    const std::string path = dir.File("plotwright.inf");
    TConfigs none(path);
    EXPECT_TRUE(none.PathsMissing);
    EXPECT_TRUE(none.TmpFiles);
    for (const auto& [raw, expected] : std::vector<std::pair<std::string, bool>>{{"TmpFiles=True", true},
                                                                                 {"TmpFiles=0", false},
                                                                                 {"TmpFiles=", true},
                                                                                 {"TmpFiles=1", true},
                                                                                 {"TmpFiles=00", false},
                                                                                 {"TmpFiles= 0 ", false}}) {
        WriteBytes(path, "[configs]\r\nQuests=/q\r\nInfos=/i\r\nstringtable=/s.ini\r\n" + raw + "\r\n");
        TConfigs configs(path);
        EXPECT_EQ(configs.TmpFiles, expected) << raw;
        EXPECT_FALSE(configs.PathsMissing);
    }
    WriteBytes(path, "[CONFIGS]\r\nquests=/q\r\nInfos=\r\nstringtable=/s.ini\r\n");
    TConfigs oneMissing(path);
    EXPECT_TRUE(oneMissing.PathsMissing);
    EXPECT_EQ(oneMissing.QuestsPath, "/q");
}

TEST(Settings, SaveWritesTheFourKeys) {
    pwtest::TempDir dir;
    const std::string path = dir.File("plotwright.inf");
    TConfigs configs(path);
    configs.InfosPath = "/game/Infos";
    configs.QuestsPath = "/game/Quests";
    configs.StringTablePath = "/game/stringtable.ini";
    configs.TmpFiles = false;
    configs.Save();
    EXPECT_EQ(ReadBytes(path), "[configs]\r\nQuests=/game/Quests\r\nInfos=/game/Infos\r\n"
                               "stringtable=/game/stringtable.ini\r\nTmpFiles=0\r\n");
    EXPECT_TRUE(configs.PathsMissing); // only loading recomputes it
    TConfigs reloaded(path);
    EXPECT_FALSE(reloaded.PathsMissing);
    EXPECT_FALSE(reloaded.TmpFiles);

    TConfigs broken(dir.File("missing/plotwright.inf"));
    EXPECT_THROW(broken.Save(), std::runtime_error);
}
