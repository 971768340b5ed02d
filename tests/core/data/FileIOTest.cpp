#include "core/data/FileIO.h"

#include "core/data/Platform.h"
#include "core/data/ProfileIni.h"
#include "core/data/StringTable.h"
#include "FolderNames.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

using namespace pw;
using pwtest::FolderNames;
using pwtest::ReadBytes;
using pwtest::WriteBytes;

TEST(FileWrite, TemporariesOfKilledWritesAreSweptAndNoneRemain) {
    pwtest::TempDir dir;
    const std::string path = dir.File("stringtable.ini");
    const std::string longName(230, 'n');
    WriteBytes(path, "[S]\r\n");
    for (const char* stale : {"stringtable.ini.~Ab3dE9", "stringtable.ini.~zzzzzz"})
        WriteBytes(dir.File(stale), std::string(1000, 'x'));
    // Files that only look alike stay: other targets, other lengths, other characters.
    for (const char* other : {"stringtable.ini.~Ab3dE", "stringtable.ini.~Ab3dE9x", "stringtable.ini.~Ab-dE9",
                              "stringtable.in.~Ab3dE9", "quest.ini.~Ab3dE9"})
        WriteBytes(dir.File(other), "keep");
    ASSERT_TRUE(ProfileWriteString(path, "S", "k", "v"));
    EXPECT_EQ(FolderNames(dir.Path()),
              (std::vector<std::string>{"quest.ini.~Ab3dE9", "stringtable.in.~Ab3dE9", "stringtable.ini",
                                        "stringtable.ini.~Ab-dE9", "stringtable.ini.~Ab3dE",
                                        "stringtable.ini.~Ab3dE9x"}));

    // A name too long to take the suffix is cut before it, and swept the same way.
    const std::string stale = platform::TemporaryName(longName, "Q1w2E3");
    EXPECT_LE(stale.size(), 255u);
    WriteBytes(dir.File(stale), "x");
    ASSERT_TRUE(WriteFileAtomic(dir.File(longName), "data", nullptr));
    EXPECT_FALSE(pwtest::Exists(dir.File(stale)));
    EXPECT_EQ(ReadBytes(dir.File(longName)), "data");
}

TEST(FileUpdate, ChangeSeesTheCurrentBytesAndMayDeclineOrFail) {
    pwtest::TempDir dir;
    const std::string path = dir.File("f.txt");
    std::optional<std::string> seen = "unset";
    const auto append = [&seen](const std::optional<std::string>& current) -> std::optional<FilePieces> {
        seen = current;
        return FilePieces{current ? std::string_view(*current) : std::string_view(), "+"};
    };
    ASSERT_TRUE(UpdateFileAtomic(path, append, nullptr));
    EXPECT_EQ(seen, std::nullopt);
    ASSERT_TRUE(UpdateFileAtomic(path, append, nullptr));
    EXPECT_EQ(seen, "+");
    EXPECT_EQ(ReadBytes(path), "++");

    const auto decline = [](const std::optional<std::string>&) { return std::optional<FilePieces>(); };
    EXPECT_TRUE(UpdateFileAtomic(path, decline, nullptr));
    const auto fail = [](const std::optional<std::string>&) -> std::optional<FilePieces> {
        throw std::runtime_error("refused");
    };
    EXPECT_THROW(UpdateFileAtomic(path, fail, nullptr), std::runtime_error);
    EXPECT_EQ(ReadBytes(path), "++");

    // A write from inside a change would wait for its own lock for ever; it fails instead.
    std::string innerReason;
    const auto nested = [&](const std::optional<std::string>&) -> std::optional<FilePieces> {
        EXPECT_FALSE(WriteFileAtomic(dir.File("other.txt"), "x", &innerReason));
        return std::nullopt;
    };
    EXPECT_TRUE(UpdateFileAtomic(path, nested, nullptr));
    EXPECT_EQ(innerReason, std::make_error_code(std::errc::resource_deadlock_would_occur).message());
    EXPECT_EQ(FolderNames(dir.Path()), std::vector<std::string>{"f.txt"});
}

TEST(FileUpdate, StreamedChangeWritesAsItReadsAndMayDeclineAfterWriting) {
    pwtest::TempDir dir;
    const std::string path = dir.File("f.txt");
    bool absent = false;
    const auto create = [&absent](BlockReader* current, FileOutput& out) {
        absent = current == nullptr;
        out.Write("ab");
        out.Write("c");
        return true;
    };
    ASSERT_TRUE(UpdateFileStreamed(path, create, nullptr));
    EXPECT_TRUE(absent);
    const auto doubled = [](BlockReader* current, FileOutput& out) {
        while (current->ReadMore()) {
            out.Write(current->Data());
            out.Write(current->Data());
            current->Consume(current->Data().size());
        }
        return true;
    };
    ASSERT_TRUE(UpdateFileStreamed(path, doubled, nullptr));
    EXPECT_EQ(ReadBytes(path), "abcabc");

    // What a declining or failing change wrote goes nowhere.
    const auto decline = [](BlockReader*, FileOutput& out) {
        out.Write("half");
        return false;
    };
    EXPECT_TRUE(UpdateFileStreamed(path, decline, nullptr));
    const auto fail = [](BlockReader*, FileOutput& out) -> bool {
        out.Write("half");
        throw std::runtime_error("refused");
    };
    EXPECT_THROW(UpdateFileStreamed(path, fail, nullptr), std::runtime_error);
    EXPECT_EQ(ReadBytes(path), "abcabc");
    EXPECT_EQ(FolderNames(dir.Path()), std::vector<std::string>{"f.txt"});

    // Nothing written is an empty file, not no write.
    const auto nothing = [](BlockReader*, FileOutput&) { return true; };
    ASSERT_TRUE(UpdateFileStreamed(path, nothing, nullptr));
    EXPECT_EQ(ReadBytes(path), "");
    std::string reason;
    EXPECT_FALSE(UpdateFileStreamed(dir.Path(), create, &reason));
    EXPECT_EQ(reason, std::make_error_code(std::errc::is_a_directory).message());
}

TEST(FileUpdate, ManyFilesAtOnceEachWrittenOrLeftWholeOnItsOwn) {
    pwtest::TempDir dir;
    std::vector<FileUpdate> updates;
    const auto append = [](const std::optional<std::string>& current) -> std::optional<FilePieces> {
        return FilePieces{current ? std::string_view(*current) : std::string_view(), "+"};
    };
    for (int i = 0; i < 40; ++i) {
        const std::string path = dir.File(std::string(i % 2 ? "a/" : "b/") + std::to_string(i));
        WriteBytes(path, std::to_string(i));
        updates.push_back({path, append});
    }
    updates[7].change = [](const std::optional<std::string>&) { return std::optional<FilePieces>(); };
    ASSERT_TRUE(MakeDirectory(dir.File("a/folder")));
    updates.push_back({dir.File("a/folder"), append});
    const std::vector<std::string> reasons = UpdateFilesAtomic(updates);
    ASSERT_EQ(reasons.size(), 41u);
    for (int i = 0; i < 40; ++i) {
        EXPECT_EQ(reasons[i], "") << i;
        EXPECT_EQ(ReadBytes(updates[i].path), std::to_string(i) + (i == 7 ? "" : "+"));
    }
    EXPECT_EQ(reasons[40], std::make_error_code(std::errc::is_a_directory).message());
    EXPECT_EQ(FolderNames(dir.File("a")).size(), 21u) << "no temporary stays";
}

TEST(FileRename, RenamesWhatTheCheckAcceptsAndNeverReplacesAFile) {
    pwtest::TempDir dir;
    WriteBytes(dir.File("a.info"), "a");
    WriteBytes(dir.File("taken.info"), "t");
    std::optional<std::string> seen;
    const FileCheck accept = [&seen](const std::optional<std::string>& current) {
        seen = current;
        return true;
    };
    std::string reason;
    EXPECT_FALSE(RenameFileAtomic(dir.File("a.info"), "taken.info", accept, &reason));
    EXPECT_EQ(reason, pwtest::SystemReason(pwtest::Reason::Exists));
    EXPECT_TRUE(RenameFileAtomic(
        dir.File("a.info"), "b.info", [](const auto&) { return false; }, nullptr));
    EXPECT_TRUE(RenameFileAtomic(dir.File("a.info"), "b.info", accept, nullptr));
    EXPECT_EQ(seen, "a");
    EXPECT_EQ(FolderNames(dir.Path()), (std::vector<std::string>{"b.info", "taken.info"}));
    EXPECT_EQ(ReadBytes(dir.File("taken.info")), "t");
    EXPECT_TRUE(RemoveFile(dir.File("b.info")));
    EXPECT_TRUE(RemoveFile(dir.File("b.info")));
    EXPECT_EQ(FolderNames(dir.Path()), std::vector<std::string>{"taken.info"});
}

TEST(FileUpdate, ConcurrentReadModifyWritesLoseNothing) {
    pwtest::TempDir dir;
    const std::string path = dir.File("stringtable.ini");
    WriteBytes(path, "[LocAdmin_Strings]\r\n");
    const TStringTable table(path);
    constexpr int kWriters = 4;
    constexpr int kEach = 40;
    std::vector<std::thread> writers;
    for (int w = 0; w < kWriters; ++w)
        writers.emplace_back([&table, w] {
            for (int i = 0; i < kEach; ++i)
                table.AddTableString("ID_" + std::to_string(w) + "_" + std::to_string(i), "t", false);
        });
    for (std::thread& t : writers)
        t.join();
    for (int w = 0; w < kWriters; ++w)
        for (int i = 0; i < kEach; ++i)
            EXPECT_EQ(table.LookupTableString("ID_" + std::to_string(w) + "_" + std::to_string(i)), "t;");

    // Two adds of one new id at once: one is written, the other meets it and asks.
    for (int round = 0; round < 20; ++round) {
        const std::string id = "SAME_" + std::to_string(round);
        std::atomic<int> written{0};
        std::atomic<int> asked{0};
        std::vector<std::thread> pair;
        for (const char* text : {"first", "second"})
            pair.emplace_back([&, text] {
                const auto result = table.AddTableString(id, text, false);
                (result.status == TStringTable::AddStatus::Written ? written : asked)++;
            });
        for (std::thread& t : pair)
            t.join();
        EXPECT_EQ(written.load(), 1);
        EXPECT_EQ(asked.load(), 1);
    }
}
