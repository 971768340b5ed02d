#include "core/data/Library.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace pw;
using pwtest::WriteBytes;

namespace {

std::vector<std::string> Scan(const std::string& folder) {
    std::vector<std::string> list;
    ScanLibraryFolder(folder, list);
    return list;
}

std::vector<std::string> Sorted(std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
}

} // namespace

TEST(LibraryScan, TakesBothExtensionsInAnyCase) {
    pwtest::TempDir dir;
    for (const char* name : {"a.QUEST", "b.quest", "c.Info", "d.txt", "x.info.bak", "noext", ".info"})
        WriteBytes(dir.File(name), "");
    WriteBytes(dir.File("y.info/inner.info"), "");
    const auto list = Sorted(Scan(dir.Path()));
    EXPECT_EQ(list, Sorted({dir.File(".info"), dir.File("a.QUEST"), dir.File("b.quest"), dir.File("c.Info"),
                            dir.File("y.info/inner.info")}));
    // A trailing separator is not doubled.
    EXPECT_EQ(Sorted(Scan(dir.Path() + "/")), list);
}

TEST(LibraryScan, SubfolderFilesComeWhereTheSubfolderWasMet) {
    pwtest::TempDir dir;
    WriteBytes(dir.File("top1.info"), "");
    WriteBytes(dir.File("sub/deep/s2.info"), "");
    WriteBytes(dir.File("sub/s1.info"), "");
    WriteBytes(dir.File("top2.info"), "");
    const auto list = Scan(dir.Path());
    ASSERT_EQ(list.size(), 4u);
    // The files of sub/ are adjacent: nothing from the top level comes between them.
    const auto first = std::find_if(
        list.begin(), list.end(), [](const std::string& p) { return p.find("/sub/") != std::string::npos; });
    ASSERT_NE(first, list.end());
    EXPECT_NE((first + 1)->find("/sub/"), std::string::npos);
}

// The scan that hands its files over as it goes gives runs of one folder each, never empty, which put
// together are the list.
TEST(LibraryScan, RunsHandedOverMakeTheListFolderByFolder) {
    pwtest::TempDir dir;
    for (const char* name : {"top1.info", "sub/deep/s2.info", "sub/s1.quest", "sub/s3.info", "top2.info",
                             "empty/readme.txt", "other/o.info"})
        WriteBytes(dir.File(name), "");
    std::vector<std::vector<std::string>> runs;
    ScanLibraryFolder(dir.Path(), [&runs](std::vector<std::string>&& files) { runs.push_back(files); });
    std::vector<std::string> joined;
    for (const auto& run : runs) {
        ASSERT_FALSE(run.empty());
        const auto folderOf = [](const std::string& file) {
            return file.substr(0, file.find_last_of("/\\"));
        };
        for (const std::string& file : run) {
            EXPECT_EQ(folderOf(file), folderOf(run.front())) << "a run holds one folder's files";
            joined.push_back(file);
        }
    }
    EXPECT_EQ(joined, Scan(dir.Path()));
    EXPECT_EQ(joined.size(), 6u);
}

TEST(LibraryScan, MissingOrEmptyFoldersGiveNothing) {
    pwtest::TempDir dir;
    EXPECT_TRUE(Scan(dir.Path()).empty());
    EXPECT_TRUE(Scan(dir.File("missing")).empty());
    WriteBytes(dir.File("file.info"), "");
    EXPECT_TRUE(Scan(dir.File("file.info")).empty());
}

// Symbolic links, FIFOs and the system's own folders as POSIX systems have them.
#ifndef _WIN32
TEST(LibraryScan, FoldersReachedAgainThroughLinksAreNotScannedTwice) {
    pwtest::TempDir dir;
    WriteBytes(dir.File("sub/a.info"), "");
    WriteBytes(dir.File("outside/b.quest"), "");
    // A link back up would otherwise repeat the tree at every level until the system's link limit.
    ASSERT_EQ(::symlink("..", dir.File("sub/up").c_str()), 0);
    ASSERT_EQ(::symlink(dir.File("outside").c_str(), dir.File("sub/linked").c_str()), 0);
    const auto list = Sorted(Scan(dir.File("sub")));
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0], dir.File("sub/a.info"));
    // "outside" is met through whichever link the system lists first.
    EXPECT_TRUE(list[1] == dir.File("sub/linked/b.quest") || list[1] == dir.File("sub/up/outside/b.quest"))
        << list[1];
}

TEST(LibraryScan, ListsOnlyRegularFilesAndLinksToThem) {
    pwtest::TempDir dir;
    WriteBytes(dir.File("real.info"), "");
    WriteBytes(dir.File("elsewhere/target.txt"), "");
    ASSERT_EQ(::mkfifo(dir.File("pipe.info").c_str(), 0644), 0);
    ASSERT_EQ(::symlink(dir.File("elsewhere/target.txt").c_str(), dir.File("linked.quest").c_str()), 0);
    ASSERT_EQ(::symlink(dir.File("gone.txt").c_str(), dir.File("dangling.info").c_str()), 0);
    ASSERT_EQ(::symlink("/dev/null", dir.File("device.info").c_str()), 0);
    // Links to the system's own folders are not followed: their files are no library and never end.
    ASSERT_EQ(::symlink("/proc", dir.File("proc").c_str()), 0);
    ASSERT_EQ(::symlink("/sys", dir.File("sys").c_str()), 0);
    EXPECT_EQ(Sorted(Scan(dir.Path())), Sorted({dir.File("real.info"), dir.File("linked.quest")}));
}
#endif
