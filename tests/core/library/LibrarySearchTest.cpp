#include "core/data/Cp1251.h"
#include "core/library/LibrarySearch.h"
#include "TempDir.h"
#include "TestText.h"

#include <gtest/gtest.h>

namespace {

using namespace pw;
using Paths = std::vector<std::string>;

// A small library of dialogue and quest files in one folder, written in the files' own encoding.
class LibrarySearchTest : public testing::Test {
protected:
    std::string Add(const std::string& name, const std::string& utf8Text) {
        const std::string path = mDir.File(name);
        pwtest::WriteBytes(path, Utf8ToCp1251(utf8Text));
        mFiles.push_back(path);
        return path;
    }
    SearchOutcome Search(SearchMode mode, const std::string& utf8Query) {
        return SearchLibrary(mode, Utf8ToCp1251(utf8Query), mFiles);
    }

    pwtest::TempDir mDir;
    Paths mFiles;
};

TEST_F(LibrarySearchTest, DialoguesMatchWholeNamesFoldingLatinLettersOnly) {
    const std::string foo = Add("foo.info", "[Info]\r\nName=Foo\r\nOwner=Диего\r\nQuest=Q1\r\n");
    const std::string bar = Add("bar.info", "[Info]\r\nName=Bar\r\nOwner=Foo2\r\nQuest=foo\r\n");
    EXPECT_EQ(Search(SearchMode::Dialogues, "foo").paths, (Paths{foo, bar}));
    EXPECT_EQ(Search(SearchMode::Dialogues, "  FOO \t").paths, (Paths{foo, bar}));
    EXPECT_EQ(Search(SearchMode::Dialogues, "Диего").paths, (Paths{foo}));
    EXPECT_TRUE(Search(SearchMode::Dialogues, "диего").paths.empty());
    EXPECT_TRUE(Search(SearchMode::Dialogues, "Fo").paths.empty());
}

TEST_F(LibrarySearchTest, TextIdsAreFoundAsCaseSensitiveSubstrings) {
    const std::string info = Add("a.info", "[Info]\nName=A\nInfoScript_Texts=XYZ_00;ABC_01;\n");
    EXPECT_EQ(Search(SearchMode::Dialogues, "ABC_0").paths, (Paths{info}));
    EXPECT_TRUE(Search(SearchMode::Dialogues, "abc_0").paths.empty());
}

TEST_F(LibrarySearchTest, FilesAreReadThroughTheProfileRules) {
    const std::string quoted = Add("q.info", "[Info]\r\nName=\"Foo\"\r\nName=Other\r\n");
    Add("later.info", "[Info]\r\nName=Other\r\n[Info]\r\nName=Foo\r\n");
    Add("comment.info", "[Info]\r\n;Name=Foo\r\n");
    EXPECT_EQ(Search(SearchMode::Dialogues, "Foo").paths, (Paths{quoted}));
}

TEST_F(LibrarySearchTest, Utf16FilesAreSearchedByTheirConvertedValues) {
    const std::string path = mDir.File("wide.info");
    pwtest::WriteBytes(path, pwtest::Utf16LeFile(Utf8ToCp1251("[Info]\r\nOwner=Диего\r\n")));
    mFiles.push_back(path);
    EXPECT_EQ(Search(SearchMode::Dialogues, "Диего").paths, (Paths{path}));
}

TEST_F(LibrarySearchTest, QuestsMatchWholeEntityLists) {
    const std::string quest =
        Add("a.quest", "[Quest]\r\nName=Q\r\nDeliveryEntities=Gorn;Lee\r\nDestinationEntity=Ardea\r\n");
    Add("b.info", "[Info]\r\nName=Gorn;Lee\r\n");
    EXPECT_EQ(Search(SearchMode::Quests, "gorn;lee").paths, (Paths{quest}));
    EXPECT_TRUE(Search(SearchMode::Quests, "Gorn").paths.empty());
    EXPECT_EQ(Search(SearchMode::Quests, "ARDEA").paths, (Paths{quest}));
    EXPECT_TRUE(Search(SearchMode::Dialogues, "Q").paths.empty()) << "a quest file has no Info section";
}

TEST_F(LibrarySearchTest, AFileMatchingSeveralKeysIsListedOnce) {
    const std::string info =
        Add("a.info", "[Info]\r\nName=X\r\nOwner=X\r\nQuest=X\r\nInfoScript_Texts=X\r\n");
    const SearchOutcome outcome = Search(SearchMode::Dialogues, "X");
    EXPECT_TRUE(outcome.searched);
    EXPECT_EQ(outcome.paths, (Paths{info}));
}

TEST_F(LibrarySearchTest, MissingFilesDoNotMatch) {
    mFiles.push_back(mDir.File("gone.info"));
    const std::string info = Add("a.info", "[Info]\r\nName=X\r\n");
    EXPECT_EQ(Search(SearchMode::Dialogues, "X").paths, (Paths{info}));
}

// The files are read on several threads; the matches still come in the order of the list, each once,
// and a file listed twice is listed twice, as the list holds it.
TEST_F(LibrarySearchTest, ManyFilesComeBackInListOrder) {
    Paths expected;
    for (int i = 0; i < 600; ++i) {
        const bool match = i % 7 == 3 || i > 590;
        const std::string owner = match ? "Diego" : "Gorn";
        const std::string number = std::to_string(i);
        const std::string path =
            Add("f" + number + ".info", "[Info]\r\nName=N" + number + "\r\nOwner=" + owner + "\r\n");
        if (match)
            expected.push_back(path);
    }
    mFiles.push_back(mFiles[3]);
    expected.push_back(mFiles[3]);
    EXPECT_EQ(Search(SearchMode::Dialogues, "Diego").paths, expected);
}

TEST_F(LibrarySearchTest, NoSearchIsToldApartFromNoResults) {
    Add("a.info", "[Info]\r\nName=X\r\n");
    for (const char* query : {"", "   ", "Результатов -  3 ", "мой Результ"}) {
        EXPECT_FALSE(IsSearchQuery(Utf8ToCp1251(query))) << query;
        EXPECT_FALSE(Search(SearchMode::Dialogues, query).searched) << query;
    }
    EXPECT_TRUE(IsSearchQuery(" X "));
    EXPECT_TRUE(IsSearchQuery(Utf8ToCp1251("Резуль"))) << "only the whole mark tells a count";
    EXPECT_FALSE(Search(SearchMode::None, "X").searched);

    const SearchOutcome none = Search(SearchMode::Dialogues, "Nothing");
    EXPECT_TRUE(none.searched);
    EXPECT_TRUE(none.paths.empty());
    EXPECT_TRUE(SearchLibrary(SearchMode::Quests, "X", {}).searched);
}

TEST(SearchTexts, CountAndWaitTexts) {
    EXPECT_EQ(Cp1251ToUtf8(SearchCountText(0)), "Результатов -  0 ");
    EXPECT_EQ(Cp1251ToUtf8(SearchCountText(1234)), "Результатов -  1234 ");
    EXPECT_EQ(Cp1251ToUtf8(SearchWaitText()), "Выполняется поиск, ждите...");
}

} // namespace
