// What the record readers say besides the fields: files that are no record files, and numbers that
// read as 0 or -1 because the reader cannot take them.

#include "core/data/G3Infos.h"
#include "core/data/G3Quests.h"
#include "core/data/ReadReport.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <stdexcept>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace pw;
using pwtest::WriteBytes;
using namespace std::string_literals;

namespace {

template <class Record> RecordReadReport ReportOf(const std::string& bytes, Record* record = nullptr) {
    pwtest::TempDir dir;
    const std::string path = dir.File("file");
    WriteBytes(path, bytes);
    Record read;
    RecordReadReport report;
    read.ReadFromFile(path, &report);
    if (record)
        *record = read;
    return report;
}

const std::string kWideInfo = "\xFF\xFE[\0I\0n\0f\0o\0]\0\r\0\n\0"s;
const std::string kWideQuest = "\xFF\xFE[\0Q\0u\0e\0s\0t\0]\0\r\0\n\0N\0a\0m\0e\0=\0Q\0\r\0\n\0"s;

} // namespace

TEST(ReadReport, FilesThatAreNoRecordFilesSayWhy) {
    struct Case {
        std::string bytes, dialogue, quest; // the reasons after "Файл не является диалогом/квестом: "
    };
    const Case cases[] = {
        {"", "файл пуст", "файл пуст"},
        {"\x7F"
         "ELF\x02\x01\x01\0\0\0[Info]\0"s,
         "двоичный файл", "двоичный файл"},
        {"\xEF\xBB\xBF[Info]\r\n[Quest]\r\nName=A\r\n", "текст в кодировке UTF-8, а не Windows-1251",
         "текст в кодировке UTF-8, а не Windows-1251"},
        {kWideInfo, "текст в кодировке UTF-16, а не Windows-1251", "нет раздела [Quest]"},
        {kWideQuest, "текст в кодировке UTF-16, а не Windows-1251", ""},
        {"\xFE\xFF\0[\0Q"s, "текст в кодировке UTF-16, а не Windows-1251",
         "текст в кодировке UTF-16, а не Windows-1251"},
        {"Name=A\r\nOwner=Diego\r\n", "нет раздела [Info]", "нет раздела [Quest]"},
        {"[Infos]\r\n[ Quest ]\r\n", "нет раздела [Info]", ""},
        {"  [info]  \r\n[QUEST]", "", ""},
        // A stray zero byte inside a readable file is the reader's business, not a binary file.
        {"[Info]\r\nName=A\0B\r\n[Quest]\r\n"s, "", ""},
    };
    for (const Case& c : cases) {
        const std::string dialogue = ReportOf<TInfo>(c.bytes).notRecord;
        const std::string quest = ReportOf<TQuest>(c.bytes).notRecord;
        EXPECT_EQ(dialogue, c.dialogue.empty() ? "" : "Файл не является диалогом: " + c.dialogue) << c.bytes;
        EXPECT_EQ(quest, c.quest.empty() ? "" : "Файл не является квестом: " + c.quest) << c.bytes;
    }
}

TEST(ReadReport, AMissingFileIsNoNonsenseAndAnUnreadableOneThrowsForAReport) {
    pwtest::TempDir dir;
    RecordReadReport report;
    TQuest quest;
    quest.ReadFromFile(dir.File("missing.quest"), &report);
    TInfo info;
    info.ReadFromFile(dir.File("missing.info"), &report);
    EXPECT_EQ(report.notRecord, "");
    EXPECT_TRUE(report.unreadNumbers.empty());
    EXPECT_EQ(quest.JobSuccess, -1);

#ifdef _WIN32
    GTEST_SKIP() << "a file no one may read is made with POSIX permission bits";
#else
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    const std::string locked = dir.File("locked.quest");
    WriteBytes(locked, "[Quest]\r\nType=3\r\n");
    chmod(locked.c_str(), 0);
    EXPECT_THROW(quest.ReadFromFile(locked, &report), std::runtime_error);
    quest.ReadFromFile(locked); // without a report the editor's way: defaults
    EXPECT_EQ(quest.Type, 0);
#endif
}

TEST(ReadReport, NumbersTheReaderCannotTakeAreNamedWithWhatTheyReadAs) {
    TInfo info;
    const RecordReadReport dialogue = ReportOf<TInfo>("[Info]\r\nSortID=abc\r\nConditionType=+7\r\n"
                                                      "InfoType=4294967296\r\nGoldCost=0x1F\r\n"
                                                      "TeachSkillValue=-0x5\r\nTeachAttribValue=\r\n"
                                                      "TeachSkillIndex= 12 \r\nPermanent=yes\r\n",
                                                      &info);
    ASSERT_EQ(dialogue.unreadNumbers.size(), 4u);
    EXPECT_EQ(UnreadNumberMessage(dialogue.unreadNumbers[0]),
              "Ключ SortID: значение \"abc\" не является целым числом и читается как -1.");
    EXPECT_EQ(UnreadNumberMessage(dialogue.unreadNumbers[1]),
              "Ключ InfoType: значение \"4294967296\" не является целым числом и читается как 0.");
    EXPECT_EQ(dialogue.unreadNumbers[2].key, "TeachSkillValue");
    EXPECT_EQ(dialogue.unreadNumbers[3].key, "TeachAttribValue");
    EXPECT_EQ(dialogue.unreadNumbers[3].text, "");
    EXPECT_EQ(info.SortID, -1);
    EXPECT_EQ(info.InfoType, 0);
    EXPECT_EQ(info.GoldCost, 31);
    EXPECT_EQ(info.ConditionType, 7);
    EXPECT_EQ(info.TeachSkillIndex, 12); // the section model trims values

    // An empty SortID is how the file says none.
    EXPECT_TRUE(ReportOf<TInfo>("[Info]\r\nSortID=\r\n").unreadNumbers.empty());

    const RecordReadReport quest = ReportOf<TQuest>(
        "[Quest]\r\nType=x\r\nJobSuccess=\r\nJobSuccessAmount=\xEF\xFF\xF2\xFC\r\nExperiencePoints=\r\n");
    ASSERT_EQ(quest.unreadNumbers.size(), 3u);
    EXPECT_EQ(quest.unreadNumbers[0].key, "Type");
    EXPECT_EQ(UnreadNumberMessage(quest.unreadNumbers[1]),
              "Ключ ExperiencePoints: значение \"\" не является целым числом и читается как 0.");
    EXPECT_EQ(UnreadNumberMessage(quest.unreadNumbers[2]),
              "Ключ JobSuccessAmount: значение \"пять\" не является целым числом и читается как -1.");
}

// Lines end at CR LF, LF or a lone CR, in any mix, and keep their numbers: a finding points at the line
// a text editor shows. Keys are found in any letter case, a later line of a key winning.
TEST(ReadReport, KeysAndTheirLinesUnderEveryLineEnd) {
    struct Case {
        std::string bytes;
        std::string name, owner;
        std::size_t nameLine, ownerLine;
    };
    const Case cases[] = {
        {"[Info]\r\nName=A\r\nOwner=B\r\n", "A", "B", 2, 3},
        {"[Info]\nName=A\nOwner=B", "A", "B", 2, 3},
        {"[Info]\rName=A\rOwner=B\r", "A", "B", 2, 3},
        {"[Info]\r\n\r\nname=A\n\rOWNER = B \r\r\n", "A", "B", 3, 5},
        // A file of LF alone whose only CR comes last, and one whose only LF does.
        {"[Info]\nName=A\n;x\nOwner=B\r", "A", "B", 2, 4},
        {"[Info]\rName=A\r\rOwner=B\n", "A", "B", 2, 4},
        {"[Info]\r\nName=A\r\nNAME=C\r\nInfoScript_IDs2=x\r\nInfoScript_IDs1=y\r\nOwner=B", "C", "B", 3, 6},
    };
    for (const Case& c : cases) {
        TInfo info;
        const RecordReadReport report = ReportOf<TInfo>(c.bytes, &info);
        EXPECT_EQ(info.Name, c.name) << c.bytes;
        EXPECT_EQ(info.Owner, c.owner) << c.bytes;
        EXPECT_EQ(report.LineOf("Name"), c.nameLine) << c.bytes;
        EXPECT_EQ(report.LineOf("Owner"), c.ownerLine) << c.bytes;
    }
    TInfo info;
    ReportOf<TInfo>("[Info]\r\nInfoScript_IDs2=x\r\ninfoscript_ids1=y\r\n", &info);
    EXPECT_EQ(info.InfoScript_IDs1, "y");
    EXPECT_EQ(info.InfoScript_IDs2, "x");
}

// A record and a report read again for the next file (as a check of a library does) say what reading
// that file alone says: nothing of the earlier file's keys, lines or unread numbers stays behind.
TEST(ReadReport, ReadingAgainIntoTheSameStorageForgetsTheEarlierFile) {
    const std::string first = "[Info]\r\nName=First_Long_Dialogue_Name\r\nSortID=x\r\nGoldCost=ten\r\n"
                              "InfoScript_Texts=A_Long_Text_Id_0;A_Long_Text_Id_1\r\nPermanent=True\r\n";
    const std::string second = "[Info]\r\nOwner=B\r\n";
    TInfo reused;
    RecordReadReport reusedReport;
    reused.ReadFromBytes(first, &reusedReport);
    ASSERT_EQ(reusedReport.unreadNumbers.size(), 2u);
    reused.ReadFromBytes(second, &reusedReport);
    TInfo fresh;
    RecordReadReport freshReport;
    fresh.ReadFromBytes(second, &freshReport);
    EXPECT_EQ(reused.Name, "");
    EXPECT_EQ(reused.InfoScript_Texts, "");
    EXPECT_EQ(reused.SortID, fresh.SortID);
    EXPECT_EQ(reused.GoldCost, 0);
    EXPECT_FALSE(reused.Permanent);
    EXPECT_TRUE(reusedReport.unreadNumbers.empty());
    EXPECT_EQ(reusedReport.keyLines, freshReport.keyLines);
    EXPECT_EQ(reusedReport.LineOf("Name"), 1u) << "the section's line, as for a file without the key";
}
