#include "core/library/LibraryIndex.h"
#include "core/library/LibraryQuery.h"

#include "TempDir.h"
#include "TestText.h"

#include <gtest/gtest.h>

namespace {

using namespace pw;
using pwtest::Ansi;
using Names = std::vector<std::string>;

// A small library in a temporary folder; the index reads the files in the order they were added.
class SmallLibrary : public testing::Test {
protected:
    void Add(const std::string& fileName, const std::string& utf8Text) {
        pwtest::WriteBytes(mDir.File(fileName), Ansi(utf8Text));
        mFiles.push_back(mDir.File(fileName));
    }
    void AddDialogue(const std::string& name, const std::string& utf8Keys) {
        Add(name + ".info", "[Info]\r\nName=" + name + "\r\n" + utf8Keys);
    }
    const LibraryIndex& Index() {
        mIndex = LibraryIndex(mFiles);
        return mIndex;
    }
    // The names of the dialogues query chooses, in library order (UTF-8); an index narrowed to the query
    // must choose the same files.
    Names Chosen(const LibraryQuery& query) {
        const std::vector<std::size_t> chosen = query.Select(Index());
        EXPECT_EQ(query.Select(LibraryIndex(mFiles, query)), chosen);
        Names names;
        for (std::size_t i : chosen)
            names.push_back(Cp1251ToUtf8(mIndex[i].Name()));
        return names;
    }

    static Names Fields(const LibraryEntry& entry, const std::vector<EntryField>& fields) {
        Names values;
        for (EntryField field : fields)
            values.emplace_back(entry.Field(field));
        return values;
    }

    pwtest::TempDir mDir;
    std::vector<std::string> mFiles;
    LibraryIndex mIndex;
};

TEST_F(SmallLibrary, FieldsAreReadAsTheLibrarySearchReadsThem) {
    Add("a.info",
        "; a comment\r\n[info]\r\nNAME = \"Diego_Hello\" \r\nname=Second\r\nowner=Диего\r\nQuest=Q1\r\n"
        "Parent=Diego_Start\r\nCondPlayerKnows=Knows_Gorn\r\nInfoScript_Commands=Say;Give\r\n"
        "infoscript_entities1=owner;player\r\nInfoScript_Entities2=;owner\r\nInfoScript_IDs1=;ItMi_Gold\r\n"
        "InfoScript_IDs2=;10\r\nInfoScript_Texts=Diego_Hello_0;\r\n[Quest]\r\nLogText=not mine\r\n");
    Add("b.QUEST", "[Quest]\r\nName=Q1\r\nFinishedQuests=Q0;Q00\r\nLOGTOPIC=Q1_Topic\r\nLogText=Q1_Text\r\n"
                   "Owner=not a quest's\r\n");
    const LibraryEntry& info = Index()[0];
    EXPECT_EQ(info.kind, RecordKind::Dialogue);
    EXPECT_TRUE(info.Read()) << info.failure;
    const Names dialogueFields = Fields(
        info, {EntryField::Name, EntryField::Owner, EntryField::Quest, EntryField::Parent,
               EntryField::CondPlayerKnows, EntryField::InfoScript_Commands, EntryField::InfoScript_Entities1,
               EntryField::InfoScript_Entities2, EntryField::InfoScript_IDs1, EntryField::InfoScript_IDs2,
               EntryField::InfoScript_Texts, EntryField::LogText});
    EXPECT_EQ(dialogueFields,
              (Names{"Diego_Hello", Ansi("Диего"), "Q1", "Diego_Start", "Knows_Gorn", "Say;Give",
                     "owner;player", ";owner", ";ItMi_Gold", ";10", "Diego_Hello_0;", ""}));
    const LibraryEntry& quest = mIndex[1];
    EXPECT_EQ(quest.kind, RecordKind::Quest);
    EXPECT_EQ(Fields(quest, {EntryField::Name, EntryField::FinishedQuests, EntryField::LogTopic,
                             EntryField::LogText, EntryField::Owner}),
              (Names{"Q1", "Q0;Q00", "Q1_Topic", "Q1_Text", ""}));
}

TEST_F(SmallLibrary, FilesThatCannotBeReadKeepTheirPlaceWithTheReason) {
    AddDialogue("Good", "");
    Add("empty.info", "");
    Add("nosection.quest", "[Info]\r\nName=Q\r\n");
    mFiles.push_back(mDir.File("gone.info"));
    mFiles.push_back(mDir.Path()); // a folder where a file was listed
    const LibraryIndex& index = Index();
    ASSERT_EQ(index.Entries().size(), 5u);
    EXPECT_EQ(index.Failures(), (std::vector<std::size_t>{1, 2, 3, 4}));
    EXPECT_EQ(LibraryIndex(mFiles, LibraryQuery().Where(DialogueField::Owner, "x")).Failures(),
              index.Failures());
    EXPECT_EQ(index[1].failure, "Файл не является диалогом: файл пуст");
    EXPECT_EQ(index[2].failure, "Файл не является квестом: нет раздела [Quest]");
    EXPECT_NE(index[3].failure.find("Cannot open file"), std::string::npos);
    EXPECT_NE(index[4].failure.find("Cannot open file"), std::string::npos);
    EXPECT_EQ(index[2].Name(), "");
    EXPECT_EQ(Chosen(LibraryQuery()), (Names{"Good"}));
}

TEST_F(SmallLibrary, NamesAreLookedUpTrimmedWithLatinLettersFolded) {
    AddDialogue("Foo", "");
    Add("foo.quest", "[Quest]\r\nName=FOO\r\n");
    Add("second.info", "[Info]\r\nName=\" foo \"\r\n");
    AddDialogue("Диего", "");
    const LibraryIndex& index = Index();
    EXPECT_EQ(index.Dialogues("  fOO\t"), (std::vector<std::size_t>{0, 2}));
    EXPECT_EQ(index.Quests("foo"), (std::vector<std::size_t>{1}));
    EXPECT_EQ(index.Dialogues(Ansi("Диего")).size(), 1u);
    EXPECT_TRUE(index.Dialogues(Ansi("диего")).empty());
    EXPECT_TRUE(index.Dialogues("").empty());
}

TEST_F(SmallLibrary, EachConditionComparesWholeTrimmedValuesAndConditionsCombine) {
    AddDialogue("Start", "Owner=Diego\r\nQuest=Q1\r\nInfoScript_Commands=Say;SetGameEvent;Give\r\n"
                         "InfoScript_IDs1=;Met_Diego;Knows_Gold\r\nInfoScript_Texts=Start_0;;\r\n");
    AddDialogue("Next",
                "Owner=diego\r\nParent=start\r\nCondPlayerKnows=Met_Diego\r\nInfoScript_Commands=SAY\r\n"
                "InfoScript_Texts=Next_0 Next_1\r\n");
    AddDialogue("Other",
                "Owner=Диего\r\nParent=Next\r\nInfoScript_Commands=GiveXP\r\nInfoScript_IDs1=Met_Diego\r\n");
    Add("quest.quest", "[Quest]\r\nName=Start\r\n");
    pwtest::WriteBytes(mDir.File("wide.info"),
                       pwtest::Utf16LeFile(Ansi("[Info]\r\nName=Wide\r\nOwner=Diego\r\n")));
    mFiles.push_back(mDir.File("wide.info"));
    const struct {
        DialogueField field;
        std::string value; // UTF-8
        Names chosen;
    } cases[] = {
        {DialogueField::Name, " start ", {"Start"}},
        {DialogueField::Name, "Star", {}},
        {DialogueField::Owner, "DIEGO", {"Start", "Next", "Wide"}},
        {DialogueField::Owner, "диего", {}},
        {DialogueField::Quest, "q1", {"Start"}},
        {DialogueField::Quest, "", {"Next", "Other", "Wide"}},
        {DialogueField::Parent, "Start", {"Next"}},
        // Waited for by one, set by another; the IDs1 of a command other than SetGameEvent is no event.
        {DialogueField::Event, "met_diego", {"Start", "Next"}},
        {DialogueField::Event, "Knows_Gold", {}},
        {DialogueField::Command, "say", {"Start", "Next"}},
        {DialogueField::Command, "Give", {"Start"}},
        {DialogueField::String, "start_0", {"Start"}},
        {DialogueField::String, "Next_1", {"Next"}},
        {DialogueField::String, "Start", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Chosen(LibraryQuery().Where(c.field, Ansi(c.value))), c.chosen)
            << static_cast<int>(c.field) << " " << c.value;
    EXPECT_EQ(
        Chosen(LibraryQuery().Where(DialogueField::Owner, "diego").Where(DialogueField::Command, "Say")),
        (Names{"Start", "Next"}));
    EXPECT_EQ(
        Chosen(LibraryQuery().Where(DialogueField::Owner, "diego").Where(DialogueField::Parent, "start")),
        (Names{"Next"}));
    EXPECT_TRUE(
        Chosen(LibraryQuery().Where(DialogueField::Command, "Say").Where(DialogueField::Command, "GiveXP"))
            .empty());
}

TEST_F(SmallLibrary, TheFirstSayRowNamesTheSpokenLine) {
    AddDialogue("A", "InfoScript_Commands=Give;say;Say\r\nInfoScript_Texts=X; A_0 ;A_1\r\n");
    AddDialogue("B", "InfoScript_Commands=Say\r\nInfoScript_Texts=<EMPTY>\r\n");
    AddDialogue("C", "InfoScript_Commands=Give\r\nInfoScript_Texts=C_0\r\n");
    const LibraryIndex& index = Index();
    EXPECT_EQ(FirstSayId(index[0]), "A_0");
    EXPECT_EQ(FirstSayId(index[1]), "");
    EXPECT_EQ(FirstSayId(index[2]), "");
}

} // namespace
