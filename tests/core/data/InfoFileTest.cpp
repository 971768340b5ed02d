#include "core/data/G3Infos.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

using namespace pw;
using pwtest::ReadBytes;
using pwtest::WriteBytes;

namespace {

TInfo ReadBack(const std::string& path) {
    TInfo info;
    info.ReadFromFile(path);
    return info;
}

TInfo SampleInfo() {
    TInfo info;
    info.Name = "Diego_Hello";
    info.SortID = -1;
    info.Owner = "Diego";
    info.ConditionType = 3;
    info.InfoType = 3;
    info.Folder = "Myrtana/Ardea_City/";
    info.InfoScript_Commands = "Say;End";
    info.InfoScript_Entities1 = "owner;";
    info.InfoScript_Texts = "DIEGO_01;";
    return info;
}

} // namespace

TEST(InfoFile, NewFileHasTheKeysInOrderWithCrLf) {
    pwtest::TempDir dir;
    const std::string path = dir.File("a.info");
    TInfo info = SampleInfo();
    info.TeachSkill = "Perk_Axe_1";
    info.TeachSkillIndex = 2;
    info.TeachAttrib = "STR";
    info.TeachAttribValue = 5;
    info.Permanent = true;
    info.WriteToFile(path);
    EXPECT_EQ(ReadBytes(path),
              "[Info]\r\nName=Diego_Hello\r\nSortID=\r\nOwner=Diego\r\nInfoGiven=False\r\n"
              "ConditionType=3\r\nInfoType=3\r\nGoldCost=0\r\nFolder=Myrtana/Ardea_City/\r\n"
              "TeachSkillIsPerc=False\r\nTeachSkill=Perk_Axe_1\r\nTeachSkillIndex=2\r\n"
              "TeachSkillValue=0\r\nTeachAttrib=STR\r\nTeachAttribValue=5\r\nClearChildren=False\r\n"
              "Permanent=True\r\nInfoScript_Commands=Say;End\r\nInfoScript_Entities1=owner;\r\n"
              "InfoScript_Texts=DIEGO_01;\r\n");
    const TInfo back = ReadBack(path);
    EXPECT_EQ(back.Name, "Diego_Hello");
    EXPECT_EQ(back.SortID, -1);
    EXPECT_EQ(back.TeachSkillIndex, 2);
    EXPECT_TRUE(back.Permanent);
    EXPECT_EQ(back.InfoScript_Entities1, "owner;");
}

TEST(InfoFile, SortIdRules) {
    pwtest::TempDir dir;
    const std::string path = dir.File("s.info");
    TInfo info = SampleInfo();
    info.SortID = 0;
    info.WriteToFile(path);
    EXPECT_NE(ReadBytes(path).find("\r\nSortID=0\r\n"), std::string::npos);
    EXPECT_EQ(ReadBack(path).SortID, 0);
    for (const auto& [raw, expected] : std::vector<std::pair<std::string, int>>{{"SortID=00", -1},
                                                                                {"SortID=abc", -1},
                                                                                {"SortID=", -1},
                                                                                {"SortID=0x10", 16},
                                                                                {"SortID=-7", -7}}) {
        WriteBytes(path, "[Info]\r\n" + raw + "\r\n");
        EXPECT_EQ(ReadBack(path).SortID, expected) << raw;
    }
    EXPECT_EQ(ReadBack(dir.File("missing.info")).SortID, -1);
}

TEST(InfoFile, TeachSkillAndAttribLinesLeftOutWhenEmpty) {
    pwtest::TempDir dir;
    const std::string path = dir.File("t.info");
    TInfo info = SampleInfo();
    info.TeachSkillIsPerc = true;
    info.TeachSkillIndex = 4;
    info.TeachSkillValue = 9;
    info.TeachAttribValue = 3;
    info.WriteToFile(path);
    const std::string bytes = ReadBytes(path);
    for (const char* key :
         {"TeachSkillIsPerc", "TeachSkill=", "TeachSkillIndex", "TeachSkillValue", "TeachAttrib"})
        EXPECT_EQ(bytes.find(key), std::string::npos) << key;
    const TInfo back = ReadBack(path);
    EXPECT_FALSE(back.TeachSkillIsPerc);
    EXPECT_EQ(back.TeachSkillIndex, 0);
    EXPECT_EQ(back.TeachSkillValue, 0);
    EXPECT_EQ(back.TeachAttribValue, 0);

    // A TeachSkill of blanks is not empty to the skill keys: they stay, and only its own line goes.
    // TeachAttrib of blanks counts as empty and takes its value along.
    info.TeachSkill = "  ";
    info.TeachAttrib = " ";
    const std::string blanks = dir.File("blanks.info");
    info.WriteToFile(blanks);
    EXPECT_NE(ReadBytes(blanks).find("\r\nFolder=Myrtana/Ardea_City/\r\nTeachSkillIsPerc=True\r\n"
                                     "TeachSkillIndex=4\r\nTeachSkillValue=9\r\nClearChildren=False\r\n"),
              std::string::npos)
        << ReadBytes(blanks);
}

TEST(InfoFile, ValuesAreTrimmedAndBlankOnesLeftOut) {
    pwtest::TempDir dir;
    const std::string path = dir.File("b.info");
    TInfo info = SampleInfo();
    info.Parent = "  Gorn_Start  ";
    info.Quest = "   ";
    info.WriteToFile(path);
    const std::string bytes = ReadBytes(path);
    EXPECT_EQ(bytes.find("Quest="), std::string::npos);
    const TInfo back = ReadBack(path);
    EXPECT_EQ(back.Parent, "Gorn_Start");
    EXPECT_EQ(back.Quest, "");
}

TEST(InfoFile, BooleansReadInTheirForms) {
    pwtest::TempDir dir;
    const std::string path = dir.File("bool.info");
    for (const auto& [raw, expected] : std::vector<std::pair<std::string, bool>>{{"True", true},
                                                                                 {"TRUE", true},
                                                                                 {"1", true},
                                                                                 {"-1", true},
                                                                                 {"0x1", true},
                                                                                 {"False", false},
                                                                                 {"0", false},
                                                                                 {"no", false},
                                                                                 {"", false}}) {
        WriteBytes(path, "[Info]\r\nPermanent=" + raw + "\r\n");
        EXPECT_EQ(ReadBack(path).Permanent, expected) << raw;
    }
}

TEST(InfoFile, ReaderUsesTheLastSectionAndLastDuplicateKey) {
    pwtest::TempDir dir;
    const std::string path = dir.File("dup.info");
    WriteBytes(path,
               "Name=Outside\r\n[info]\r\nName=First\r\n[Other]\r\nName=Other\r\n[INFO]\r\n ; comment\r\n"
               "  name  =  Second = part  \r\nNAME=Third=x\r\nGoldCost=0x1F\r\nConditionType=abc\r\n");
    const TInfo info = ReadBack(path);
    EXPECT_EQ(info.Name, "Third=x");
    EXPECT_EQ(info.GoldCost, 31);
    EXPECT_EQ(info.ConditionType, 0);
}

TEST(InfoFile, ByteOrderMarkHidesTheSection) {
    pwtest::TempDir dir;
    const std::string path = dir.File("bom.info");
    WriteBytes(path, "\xEF\xBB\xBF[Info]\r\nName=X\r\nSortID=5\r\n");
    const TInfo info = ReadBack(path);
    EXPECT_EQ(info.Name, "");
    EXPECT_EQ(info.SortID, -1);
}

TEST(InfoFile, MergeKeepsOtherSectionsAndKeysAndDropsCommentsAndEmptyValues) {
    pwtest::TempDir dir;
    const std::string path = dir.File("merge.info");
    WriteBytes(path,
               "; header comment\r\n[Extra]\r\nKeep=1\r\nEmpty=\r\n\r\n[Info]\r\nCustom=yes\r\nOwner=Old\r\n"
               "Name=Old\r\nblank=  \r\nno equals line\r\n");
    TInfo info;
    info.Name = "New";
    info.Owner = "Gorn";
    info.SortID = 12;
    info.WriteToFile(path);
    EXPECT_EQ(ReadBytes(path), "[Extra]\r\nKeep=1\r\n[Info]\r\nCustom=yes\r\nOwner=Gorn\r\nName=New\r\n"
                               "SortID=12\r\nInfoGiven=False\r\nConditionType=0\r\nInfoType=0\r\n"
                               "GoldCost=0\r\nClearChildren=False\r\nPermanent=False\r\n");
}

TEST(InfoFile, FailedWritesLeaveEverythingAsItWas) {
    pwtest::TempDir dir;
    TInfo info = SampleInfo();
    const std::string inMissingFolder = dir.File("nope/x.info");
    try {
        info.WriteToFile(inMissingFolder);
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot create file \"" + inMissingFolder + "\". " + pwtest::SystemReason(pwtest::Reason::Missing));
    }
    EXPECT_FALSE(pwtest::Exists(dir.File("nope")));

    const std::string folder = dir.File("folder.info");
    pwtest::WriteBytes(folder + "/inside", "x");
    // The messages name the path expanded, with its "." and ".." parts resolved.
    const std::string roundabout = dir.File("folder.info/./../folder.info");
    try {
        info.WriteToFile(roundabout);
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create file \"" + folder + "\". Is a directory");
    }
    EXPECT_EQ(ReadBytes(folder + "/inside"), "x");
    try {
        ReadBack(roundabout);
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file \"" + folder + "\". Is a directory");
    }
}

TEST(InfoFile, FieldTextAccess) {
    TInfo info;
    EXPECT_EQ(InfoFileKeys().size(), 31u);
    EXPECT_EQ(InfoFileKeys().front(), "Name");
    EXPECT_EQ(InfoFileKeys().back(), "InfoScript_Texts");
    EXPECT_TRUE(SetInfoFieldText(info, "GoldCost", "25"));
    EXPECT_TRUE(SetInfoFieldText(info, "Permanent", "true"));
    EXPECT_TRUE(SetInfoFieldText(info, "Owner", "a=b"));
    EXPECT_FALSE(SetInfoFieldText(info, "Unknown", "1"));
    EXPECT_THROW(SetInfoFieldText(info, "GoldCost", "lots"), std::runtime_error);
    EXPECT_THROW(SetInfoFieldText(info, "Permanent", "maybe"), std::runtime_error);
    EXPECT_EQ(InfoFieldText(info, "GoldCost"), "25");
    EXPECT_EQ(InfoFieldText(info, "Permanent"), "True");
    EXPECT_EQ(InfoFieldText(info, "Owner"), "a=b");
}

// Every key of the file reaches its own field and back: each text field and number gets a value of its
// own, and each flag is set alone, so two keys sharing a field or a key on the wrong field shows.
TEST(InfoFile, EveryKeyTravelsThroughItsOwnField) {
    pwtest::TempDir dir;
    const std::string path = dir.File("all.info");
    const TInfo blank;
    std::map<std::string_view, std::string> expected;
    std::vector<std::string_view> flags;
    TInfo info;
    for (std::string_view key : InfoFileKeys()) {
        const std::string text = InfoFieldText(blank, key);
        const std::string number = std::to_string(expected.size() + 1);
        if (text == "False")
            flags.push_back(key);
        expected[key] = text == "False" ? text : text == "0" ? number : "V" + number;
        SetInfoFieldText(info, key, expected[key]);
    }
    ASSERT_EQ(flags.size(), 4u);
    for (std::string_view flag : flags) {
        TInfo one = info;
        SetInfoFieldText(one, flag, "True");
        one.WriteToFile(path);
        const TInfo back = ReadBack(path);
        for (std::string_view key : InfoFileKeys())
            EXPECT_EQ(InfoFieldText(back, key), key == flag ? "True" : expected[key]) << key << ", " << flag;
    }
}

TEST(InfoFile, WithoutATaughtSkillEveryIndexLineOfAMergedFileGoes) {
    pwtest::TempDir dir;
    const std::string path = dir.File("twice.info");
    WriteBytes(path, "[Info]\r\nTeachSkillIndex=1\r\nCustom=x\r\nTeachSkillIndex=2\r\n");
    SampleInfo().WriteToFile(path);
    const std::string bytes = ReadBytes(path);
    EXPECT_EQ(bytes.find("TeachSkillIndex"), std::string::npos) << bytes;
    EXPECT_EQ(bytes.rfind("[Info]\r\nCustom=x\r\nName=Diego_Hello\r\n", 0), 0u) << bytes;

    // With a skill the last line takes the value and the first one stays as it was.
    WriteBytes(path, "[Info]\r\nTeachSkillIndex=1\r\nCustom=x\r\nTeachSkillIndex=2\r\n");
    TInfo skilled = SampleInfo();
    skilled.TeachSkill = "Perk_Axe_1";
    skilled.TeachSkillIndex = 7;
    skilled.WriteToFile(path);
    EXPECT_EQ(ReadBytes(path).rfind("[Info]\r\nTeachSkillIndex=1\r\nCustom=x\r\nTeachSkillIndex=7\r\n", 0),
              0u);
}
