#include "gui/library/LibraryIndexService.h"

#include "TempDir.h"
#include "TestText.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <thread>

namespace {

using namespace pw;
using Names = std::vector<std::string>;

void WriteInfo(const std::string& path, const std::string& keys) {
    pwtest::WriteBytes(path, pwtest::Ansi("[Info]\r\n" + keys));
}

TEST(LibraryIndexService, CompletionNamesAreSortedOnceEachAndEventsComeFromBothPlaces) {
    // Separate folders, so that the first spelling met does not hang on the order the system lists files.
    pwtest::TempDir infos, more, quests;
    WriteInfo(infos.File("a.info"), "Name=b_Talk\r\nOwner=Diego\r\nCondPlayerKnows=Knows_Gorn\r\n"
                                    "InfoScript_Commands=Say;setgameevent\r\nInfoScript_IDs1=;Met_Diego\r\n");
    WriteInfo(more.File("b.info"), "Name=A_Talk\r\nOwner=DIEGO\r\nCondPlayerKnows= met_diego \r\n");
    pwtest::WriteBytes(quests.File("q.quest"), "[Quest]\r\nName=Q_Two\r\n");
    pwtest::WriteBytes(quests.File("r.quest"), "[Quest]\r\nName=q_one\r\n");
    pwtest::WriteBytes(quests.File("s.quest"), "[Quest]\r\nName=Q_ONE\r\n");

    pwtest::WriteBytes(quests.File("stringtable.ini"),
                       "[LocAdmin_Strings]\r\nb_Talk_01=x\r\nA_Talk_01=y\r\n");

    const auto snapshot = BuildLibrarySnapshot(
        {infos.Path(), more.Path(), quests.Path(), infos.File("missing")}, quests.File("stringtable.ini"));
    EXPECT_EQ(snapshot->index.Entries().size(), 5u);
    EXPECT_EQ(snapshot->dialogueNames, (Names{"A_Talk", "b_Talk"}));
    ASSERT_EQ(snapshot->questNames.size(), 2u); // q_one and Q_ONE are one name
    EXPECT_EQ(snapshot->questNames[1], "Q_Two");
    EXPECT_EQ(snapshot->owners, (Names{"Diego"}));
    EXPECT_EQ(snapshot->events, (Names{"Knows_Gorn", "Met_Diego"}));
    EXPECT_EQ(snapshot->tableIds, (Names{"A_Talk_01", "b_Talk_01"}));
}

TEST(LibraryIndexService, BuildsAfterTheEventLoopRunsAndARebuildSeesNewFiles) {
    pwtest::TempDir infos;
    WriteInfo(infos.File("a.info"), "Name=First\r\n");
    LibraryIndexService service;
    QSignalSpy rebuilt(&service, &LibraryIndexService::Rebuilt);
    service.Open({infos.Path()});
    EXPECT_EQ(service.Current(), nullptr); // the window that opened it shows first
    EXPECT_TRUE(rebuilt.wait(5000));
    ASSERT_NE(service.Current(), nullptr);
    EXPECT_EQ(service.Current()->dialogueNames, (Names{"First"}));

    // The same folders again start nothing; a rebuild asked during a build is served after it.
    service.Open({infos.Path()});
    EXPECT_FALSE(service.Building());
    WriteInfo(infos.File("b.info"), "Name=Second\r\n");
    service.Rebuild();
    service.Rebuild();
    service.WaitUntilBuilt();
    EXPECT_EQ(service.Current()->dialogueNames, (Names{"First", "Second"}));
    QCoreApplication::processEvents();
    EXPECT_EQ(rebuilt.count(), 2);
}

TEST(LibraryIndexService, AWaitOffTheWindowsThreadEndsWithTheBuildOrWhenToldToStop) {
    pwtest::TempDir infos;
    WriteInfo(infos.File("a.info"), "Name=First\r\n");
    LibraryIndexService service;
    service.Open({infos.Path()}); // asked for: it starts once the event loop runs
    EXPECT_FALSE(service.WaitForBuild([](std::size_t, std::size_t) { return false; }));
    std::atomic<bool> ended = false;
    bool built = false;
    std::thread waiter([&] {
        built = service.WaitForBuild([](std::size_t, std::size_t) { return true; });
        ended = true;
    });
    QTRY_VERIFY_WITH_TIMEOUT(ended, 10000); // this thread's event loop runs the build meanwhile
    waiter.join();
    EXPECT_TRUE(built);
    ASSERT_NE(service.Current(), nullptr);
    EXPECT_EQ(service.Current()->dialogueNames, (Names{"First"}));
}

} // namespace
