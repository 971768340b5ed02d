// list and tree through the built command line, on a small library made for the tests.

#include "CliRunner.h"
#include "TempDir.h"

#include "core/data/Library.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <set>

namespace pwtest {
namespace {

// A library of four dialogues and a quest below Infos/, and a string table beside it (Windows-1251).
class LibraryCommands : public testing::Test {
protected:
    void SetUp() override {
        Add("a/Hello.info",
            "Name=Diego_Hello\r\nOwner=Diego\r\nQuest=Q1\r\nInfoScript_Commands=Give;Say;SetGameEvent\r\n"
            "InfoScript_IDs1=ItMi_Gold;;Met_Diego\r\nInfoScript_Texts=;Hello_0;\r\n");
        Add("a/Trade.info",
            "Name=Diego_Trade\r\nOwner=diego\r\nParent=diego_hello\r\nCondPlayerKnows=Met_Diego\r\n"
            "InfoScript_Commands=Give\r\n");
        Add("b/Lost.info", "Name=Diego_Lost\r\nOwner=Diego\r\nParent=Gone\r\nInfoScript_Commands=Say\r\n"
                           "InfoScript_Texts=Lost_0\r\n");
        Add("b/Gorn.info",
            "Name=Gorn_\"Hi\"\r\nOwner=Горн\r\nInfoScript_Commands=Say\r\nInfoScript_Texts=Gorn_0\r\n");
        WriteBytes(mDir.File("Infos/b/q.quest"), "[Quest]\r\nName=Q1\r\nOwner=Diego\r\n");
        WriteBytes(
            mDir.File("stringtable.ini"),
            Ansi("[LocAdmin_Strings]\r\nHello_0=Эй, \"друг\"!;Diego;Hey;Diego;\r\nGorn_0=Да\\нет;Gorn;\r\n"));
    }
    void Add(const std::string& file, const std::string& utf8Keys) {
        WriteBytes(mDir.File("Infos/" + file), Ansi("[Info]\r\n" + utf8Keys));
    }
    std::string Root() const { return mDir.File("Infos"); }
    // The list line of a file of the library: its path as the scan of the root makes it, then the values.
    std::string Line(const std::string& file, const std::string& values) const {
        std::vector<std::string> files;
        pw::ScanLibraryFolder(Root(), files);
        for (const std::string& path : files)
            if (path.ends_with(file))
                return path + "\t" + values + "\n";
        return "no " + file;
    }
    // The lines of the files in the order the scan lists them.
    std::string Lines(const std::map<std::string, std::string>& valuesByFile) const {
        std::vector<std::string> files;
        pw::ScanLibraryFolder(Root(), files);
        std::string lines;
        for (const std::string& path : files)
            for (const auto& [file, values] : valuesByFile)
                if (path.ends_with(file))
                    lines += Line(file, values);
        return lines;
    }

    TempDir mDir;
};

TEST_F(LibraryCommands, ListPrintsTheDialoguesThatMatchEveryOptionInLibraryOrder) {
    CliResult r = RunCli({"list", "--owner", " DIEGO ", Root()});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, Lines({{"Hello.info", "Diego_Hello\tDiego\tQ1\t"},
                            {"Trade.info", "Diego_Trade\tdiego\t\tdiego_hello"},
                            {"Lost.info", "Diego_Lost\tDiego\t\tGone"}}));
    const std::string trade = Line("Trade.info", "Diego_Trade\tdiego\t\tdiego_hello");
    EXPECT_EQ(RunCli({"list", "--event", "met_diego", "--command", "give", Root()}).out,
              Lines({{"Hello.info", "Diego_Hello\tDiego\tQ1\t"},
                     {"Trade.info", "Diego_Trade\tdiego\t\tdiego_hello"}}));
    EXPECT_EQ(RunCli({"list", "--event", "met_diego", "--parent", "Diego_Hello", Root()}).out, trade);
    EXPECT_EQ(RunCli({"list", "--name", "diego_trade", "--quest", "", Root()}).out, trade);
    EXPECT_EQ(RunCli({"list", "--string", "lost_0", Root()}).out,
              Line("Lost.info", "Diego_Lost\tDiego\t\tGone"));
    EXPECT_EQ(RunCli({"list", "--command", "Say", "--owner", "Nobody", Root()}).out, "");
}

TEST_F(LibraryCommands, ListSpeaksUtf8OrWithRawTheFilesBytes) {
    const std::string gorn = Line("Gorn.info", "Gorn_\"Hi\"\tГорн\t\t");
    EXPECT_EQ(RunCli({"list", "--owner", "Горн", Root()}).out, gorn);
    EXPECT_EQ(RunCli({"list", "--owner", "горн", Root()}).out, "");
    EXPECT_EQ(RunCli({"--raw", "list", "--owner", Ansi("Горн"), Root()}).out, Ansi(gorn));
    EXPECT_EQ(RunCli({"list", "--owner", "Ω", Root()}).code, 3);
}

TEST_F(LibraryCommands, UnreadableFilesAreNamedAndAMissingRootIsAFileError) {
    WriteBytes(mDir.File("More/empty.info"), "");
    const CliResult r = RunCli({"list", "--name", "Diego_Lost", Root(), mDir.File("More")});
    EXPECT_EQ(r.code, 4);
    EXPECT_EQ(r.out, Line("Lost.info", "Diego_Lost\tDiego\t\tGone"));
    EXPECT_EQ(r.err, mDir.File("More/empty.info") + ": error: Файл не является диалогом: файл пуст\n");
    EXPECT_EQ(RunCli({"tree", mDir.File("More")}).code, 4);
    EXPECT_EQ(RunCli({"list", mDir.File("None")}).code, 4);
    EXPECT_EQ(RunCli({"list", "--owner", "Diego"}).code, 2);
    EXPECT_EQ(RunCli({"tree", "--stringtable", mDir.File("none.ini"), Root()}).code, 4);
}

// The statements of a graph that tree prints: each node as its label (with ", dashed" for a dashed one)
// and each edge as "parent name -> child name".
struct Graph {
    std::set<std::string> nodes;
    std::set<std::string> edges;
};

Graph ReadGraph(const std::string& dot) {
    Graph graph;
    std::map<std::string, std::string> labels;
    std::size_t start = 0;
    for (std::size_t end; (end = dot.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string line = dot.substr(start, end - start);
        const std::size_t label = line.find(" [label=\"");
        const std::size_t arrow = line.find(" -> ");
        if (label != std::string::npos) {
            const std::size_t close = line.rfind('"');
            const std::string text = line.substr(label + 9, close - label - 9);
            labels[line.substr(0, label)] = text.substr(0, text.find("\\n")); // the name
            graph.nodes.insert(text + (line.find("style=dashed") != std::string::npos ? ", dashed" : ""));
        } else if (arrow != std::string::npos) {
            const std::string child = line.substr(arrow + 4, line.size() - arrow - 5);
            graph.edges.insert(labels[line.substr(0, arrow)] + " -> " + labels[child]);
        }
    }
    return graph;
}

TEST_F(LibraryCommands, TreeDrawsParentsInsideOutsideAndMissingAsGraphvizReadsIt) {
    Add("c/Start.info",
        "Name=Xardas_Start\r\nOwner=Xardas\r\nInfoScript_Commands=Say\r\nInfoScript_Texts=Hello_0\r\n");
    Add("c/Next.info", "Name=Diego_Next\r\nOwner=Diego\r\nParent=XARDAS_START\r\n");
    const CliResult r =
        RunCli({"tree", "--owner", "diego", "--stringtable", mDir.File("stringtable.ini"), Root()});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out.rfind("digraph dialogues {\n", 0), 0u);
    const Graph graph = ReadGraph(r.out);
    EXPECT_EQ(graph.nodes,
              (std::set<std::string>{"Diego_Hello\\nЭй, \\\"друг\\\"!", "Diego_Trade", "Diego_Lost",
                                     "Diego_Next", "Xardas_Start", "Gone, dashed"}))
        << r.out;
    EXPECT_EQ(graph.edges, (std::set<std::string>{"Diego_Hello -> Diego_Trade", "Gone -> Diego_Lost",
                                                  "Xardas_Start -> Diego_Next"}));
    // Quotes and backslashes are escaped; without a table a dialogue is labelled with its name alone.
    EXPECT_EQ(
        ReadGraph(
            RunCli({"tree", "--owner", "Горн", "--stringtable", mDir.File("stringtable.ini"), Root()}).out)
            .nodes,
        (std::set<std::string>{"Gorn_\\\"Hi\\\"\\nДа\\\\нет"}));
    EXPECT_EQ(ReadGraph(RunCli({"tree", "--owner", "Горн", Root()}).out).nodes,
              (std::set<std::string>{"Gorn_\\\"Hi\\\""}));
    EXPECT_EQ(RunCli({"tree", "--owner", "горн", Root()}).out, "digraph dialogues {\nnode [shape=box];\n}\n");

#ifdef _WIN32
    GTEST_SKIP() << "Graphviz's dot is a program of the Linux machine, which the Windows build under Wine "
                    "cannot start";
#else
    const std::string dotFile = mDir.File("tree.dot");
    WriteBytes(dotFile, r.out);
    EXPECT_EQ(std::system(("dot -Tsvg -o " + mDir.File("tree.svg") + " " + dotFile).c_str()), 0);
    EXPECT_NE(ReadBytes(mDir.File("tree.svg")).find("Diego_Trade"), std::string::npos);
#endif
}

// A table whose entries the fixture's library names in every way it can, or not at all: IDs of Say rows
// and of other rows, LogTopic and LogText, each spelt in another letter case or with blanks.
std::string UnusedStringsTable() {
    return "; the library's strings\r\n"          // 1
           "[LocAdmin_Languages]\r\nOld_0=x;\r\n" // 2, 3: no string of the table
           "[LocAdmin_Strings]\r\n"               // 4
           "HELLO_0=x;\r\n"                       // 5: a Say row's
           " Gift_0 =x;\r\n"                      // 6: a Give row's
           "Unused_1=x;\r\n"                      // 7
           "no entry\r\n"                         // 8
           "Topic_Q1=x;\r\nlog_q1=x;\r\n"         // 9, 10: the quest's
           "Привет_1=x;\r\n"                      // 11
           "Unused_2=x;\r\n";                     // 12
}

TEST_F(LibraryCommands, UnusedStringsListsTheTablesEntriesNoDialogueOrQuestNamesWithTheirLines) {
    Add("c/Gift.info",
        "Name=Gift\r\nOwner=Diego\r\nInfoScript_Commands=Give\r\nInfoScript_Texts= gift_0\r\n");
    WriteBytes(mDir.File("Infos/b/q.quest"),
               "[Quest]\r\nName=Q1\r\nLogTopic= topic_q1 \r\nLogText=LOG_Q1\r\n");
    const std::string table = mDir.File("strings.ini");
    WriteBytes(table, Ansi(UnusedStringsTable()));
    CliResult r = RunCli({"unused-strings", table, Root()});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "Unused_1\t7\nПривет_1\t11\nUnused_2\t12\n");
    EXPECT_EQ(r.err, "Неиспользуемых строк: 3 из 7\n");
    r = RunCli({"unused-strings", "--prefix", "unused_", table, Root()});
    EXPECT_EQ(r.out, "Unused_1\t7\nUnused_2\t12\n");
    EXPECT_EQ(r.err, "Неиспользуемых строк: 2 из 2\n");
    EXPECT_EQ(RunCli({"unused-strings", table, Root(), "--prefix", "Привет"}).out, "Привет_1\t11\n");
    EXPECT_EQ(RunCli({"unused-strings", table, Root(), "--prefix", "привет"}).out, ""); // only A-Z fold
    EXPECT_EQ(RunCli({"--raw", "unused-strings", table, Root(), "--prefix", Ansi("Привет")}).out,
              Ansi("Привет_1\t11\n"));

    // A UTF-16 table gives the same lines; an ID the code page cannot spell is named by no record.
    WriteBytes(table, Utf16LeFileFromUtf8(UnusedStringsTable() + "Ωmega=x;\r\n"));
    r = RunCli({"unused-strings", table, Root()});
    EXPECT_EQ(r.out, "Unused_1\t7\nПривет_1\t11\nUnused_2\t12\nΩmega\t13\n");
    EXPECT_EQ(r.err, "Неиспользуемых строк: 4 из 8\n");
    EXPECT_EQ(RunCli({"unused-strings", table, Root(), "--prefix", "Привет"}).out, "Привет_1\t11\n");
}

TEST_F(LibraryCommands, UnusedStringsNeedsATableAndRootsThatCanBeRead) {
    const std::string table = mDir.File("stringtable.ini");
    WriteBytes(mDir.File("More/empty.quest"), "");
    CliResult r = RunCli({"unused-strings", table, Root(), mDir.File("More")});
    EXPECT_EQ(r.code, 4);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "Неиспользуемых строк: 0 из 2\n" + mDir.File("More/empty.quest") +
                         ": error: Файл не является квестом: файл пуст\n");
    r = RunCli({"unused-strings", mDir.File("none.ini"), Root()});
    EXPECT_EQ(r.code, 4);
    EXPECT_EQ(r.err,
              "Cannot open file \"" + mDir.File("none.ini") + "\". " + SystemReason(Reason::Missing) + "\n");
    EXPECT_EQ(RunCli({"unused-strings", table, mDir.File("None")}).code, 4);
    EXPECT_EQ(RunCli({"unused-strings", table}).code, 2);
    EXPECT_EQ(RunCli({"unused-strings", table, Root(), "--prefix"}).code, 2);
}

} // namespace
} // namespace pwtest
