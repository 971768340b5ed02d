#include "core/library/BrowserFilter.h"
#include "core/library/BrowserTree.h"

#include "TempDir.h"
#include "TestText.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using namespace pw;
using Names = std::vector<std::string>;

// A small library: dialogues of two characters with a conversation tree, a missing parent and a circle,
// quests waiting for each other, and a file that cannot be read.
class BrowserLibrary : public testing::Test {
protected:
    BrowserLibrary() {
        Dialogue("Diego_Start", "Owner=Diego\r\nQuest=Q_Ardea\r\nInfoScript_Commands=Say;RunQuest\r\n"
                                "InfoScript_Entities1=owner;\r\nInfoScript_IDs1=;q_ardea\r\n"
                                "InfoScript_Texts=Diego_Start_01;\r\n");
        Dialogue("Diego_More", "Owner=diego\r\nParent=DIEGO_START\r\nCondPlayerKnows=Met_Diego\r\n");
        Dialogue("Gorn_Reply", "Owner=Gorn\r\nParent=Diego_More\r\nInfoScript_Commands=SetGameEvent\r\n"
                               "InfoScript_IDs1=Gorn_Met\r\n");
        Dialogue("Gorn_Lost", "Owner=Gorn\r\nParent=No_Such_Talk\r\n");
        Dialogue("Loop_A", "Owner=Gorn\r\nParent=Loop_B\r\n");
        Dialogue("Loop_B", "Owner=Gorn\r\nParent=Loop_A\r\n");
        Quest("Q_Ardea", "FinishedQuests=\r\nLogTopic=Q_Ardea_Topic\r\n");
        Quest("Q_Later", "FinishedQuests=Q_Unknown, q_ardea\r\n");
        std::filesystem::create_directory(pwtest::FsPath(mDir.File("Myrtana")));
        pwtest::WriteBytes(mDir.File("Myrtana/broken.info"), std::string("\0\1\2binary", 9));
        mFiles.push_back(mDir.File("Myrtana/broken.info"));
        mIndex = LibraryIndex(mFiles);
    }
    void Dialogue(const std::string& name, const std::string& keys) {
        pwtest::WriteBytes(mDir.File(name + ".info"), "[Info]\r\nName=" + name + "\r\n" + keys);
        mFiles.push_back(mDir.File(name + ".info"));
    }
    void Quest(const std::string& name, const std::string& keys) {
        pwtest::WriteBytes(mDir.File(name + ".quest"), "[Quest]\r\nName=" + name + "\r\n" + keys);
        mFiles.push_back(mDir.File(name + ".quest"));
    }
    // What the filter keeps: names of dialogues and quests, file names of unread files, in library order.
    Names Kept(const std::string& filter) {
        const std::vector<unsigned char> kept = BrowserFilter(filter).Select(mIndex);
        Names names;
        for (std::size_t i = 0; i < kept.size(); ++i)
            if (kept[i])
                names.emplace_back(mIndex[i].Read()
                                       ? std::string(mIndex[i].Name())
                                       : pwtest::Utf8Path(pwtest::FsPath(mIndex[i].path).filename()));
        return names;
    }
    // The tree as indented lines: a node's label or name, then its children two spaces in; marks after "!".
    std::string Drawn(const BrowserTree& tree, const std::vector<unsigned char>* keep = nullptr) {
        std::string out;
        std::function<void(std::size_t, int)> draw = [&](std::size_t node, int depth) {
            if (keep && !(*keep)[node])
                return;
            const BrowserNode& n = tree.nodes[node];
            out +=
                std::string(2 * depth, ' ') + (n.entry == BrowserNode::kNone ? n.label
                                               : mIndex[n.entry].Read() ? std::string(mIndex[n.entry].Name())
                                                                        : "unread");
            if (!n.missingParent.empty())
                out += " !missing " + n.missingParent;
            if (n.inCircle)
                out += " !circle";
            out += "\n";
            for (std::size_t child : n.children)
                draw(child, depth + 1);
        };
        for (std::size_t root : tree.roots)
            draw(root, 0);
        return out;
    }

    pwtest::TempDir mDir;
    std::vector<std::string> mFiles;
    LibraryIndex mIndex;
};

TEST_F(BrowserLibrary, TheTreeNestsConversationsAcrossCharactersAndMarksWhatHasNoPlace) {
    const BrowserTree tree = BuildBrowserTree(mIndex, "Quests", "Unread", "(nobody)");
    EXPECT_EQ(Drawn(tree), "Diego\n"
                           "  Diego_Start\n"
                           "    Diego_More\n"
                           "      Gorn_Reply\n"
                           "Gorn\n"
                           "  Gorn_Lost !missing No_Such_Talk\n"
                           "  Loop_A !circle\n"
                           "    Loop_B\n"
                           "Quests\n"
                           "  Q_Ardea\n"
                           "    Q_Later\n"
                           "Unread\n"
                           "  unread\n");
    // A filter keeps what matches and the path to it, nothing beside it.
    const std::vector<unsigned char> kept = KeptNodes(tree, BrowserFilter("owner:gorn reply").Select(mIndex));
    EXPECT_EQ(Drawn(tree, &kept), "Diego\n  Diego_Start\n    Diego_More\n      Gorn_Reply\n");
}

TEST_F(BrowserLibrary, FieldsCompareWholeValuesAndWordsAndFoldersAreContained) {
    EXPECT_EQ(Kept("owner:DIEGO"), (Names{"Diego_Start", "Diego_More"}));
    EXPECT_EQ(Kept("owner:Die"), Names{});
    EXPECT_EQ(Kept("quest:q_ardea"), (Names{"Diego_Start", "Q_Ardea"}));
    EXPECT_EQ(Kept("parent:diego_start"), Names{"Diego_More"});
    EXPECT_EQ(Kept("event:gorn_met"), Names{"Gorn_Reply"});
    EXPECT_EQ(Kept("event:Met_Diego"), Names{"Diego_More"});
    EXPECT_EQ(Kept("command:runquest"), Names{"Diego_Start"});
    EXPECT_EQ(Kept("string:diego_start_01"), Names{"Diego_Start"});
    EXPECT_EQ(Kept("string:Q_Ardea_Topic"), Names{"Q_Ardea"});
    EXPECT_EQ(Kept("loop"), (Names{"Loop_A", "Loop_B"}));
    EXPECT_EQ(Kept("folder:myrtana/"), Names{"broken.info"});
    EXPECT_EQ(Kept("OWNER:gorn loop_b"), Names{"Loop_B"}); // AND, field names in any case
    EXPECT_EQ(Kept("owner: start"), Names{"Diego_Start"}); // a field being typed asks for nothing yet
    EXPECT_EQ(Kept(""), Kept("owner:"));
    EXPECT_EQ(Kept("").size(), mFiles.size());
}

TEST_F(BrowserLibrary, UsesFindsEveryPlaceThatNamesIt) {
    // A quest: a dialogue's Quest, a quest command's IDs1, another quest's FinishedQuests.
    EXPECT_EQ(Kept("uses:Q_ARDEA"), (Names{"Diego_Start", "Q_Later"}));
    EXPECT_EQ(Kept("uses:Diego_More"), Names{"Gorn_Reply"});
    EXPECT_EQ(Kept("uses:Gorn_Met"), Names{"Gorn_Reply"});
    EXPECT_EQ(Kept("uses:Q_Ardea_Topic"), Names{"Q_Ardea"});
    EXPECT_EQ(Kept("uses:Diego_Start_01"), Names{"Diego_Start"});
    EXPECT_EQ(Kept("uses:Diego"), Names{}); // an owner is no reference
}

} // namespace
