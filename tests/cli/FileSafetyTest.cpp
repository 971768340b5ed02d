// What the command line does with files that are not what they should be, and with entries that could
// never be read back.

#include "CliRunner.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace pwtest {
namespace {

bool IsFifo(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISFIFO(st.st_mode);
}

TEST(SpecialFiles, AFifoIsRefusedAsInputAndAsTargetWithoutWaiting) {
    TempDir dir;
    const std::string fifo = dir.File("pipe.info");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const std::string demo = DemoPath("stringtable.ini");
    const std::string cannotOpen = "Cannot open file \"" + fifo + "\". Not a regular file\n";
    const std::vector<std::vector<std::string>> reads = {
        {"info-read", fifo},
        {"quest-read", fifo},
        {"string-get", fifo, "ID"},
        {"ini-get", fifo, "S", "K"},
        {"info-write", dir.File("o.info"), "--from", fifo},
        {"recompile", fifo, dir.File("o.info")},
    };
    for (const auto& args : reads) {
        const CliResult r = RunCli(args);
        EXPECT_EQ(r.code, 4) << args[0];
        EXPECT_EQ(r.err, cannotOpen) << args[0];
    }
    const struct {
        std::vector<std::string> args;
        std::string message;
    } writes[] = {
        {{"info-write", fifo, "Name=A"}, "Cannot create file \"" + fifo + "\". Not a regular file\n"},
        {{"quest-write", fifo, "Name=A"}, "Unable to write to " + fifo + ". Not a regular file\n"},
        {{"ini-set", fifo, "S", "K", "V"}, "Unable to write to " + fifo + ". Not a regular file\n"},
        {{"string-add", fifo, "ID", "text"}, "Unable to write to " + fifo + ". Not a regular file\n"},
    };
    for (const auto& w : writes) {
        const CliResult r = RunCli(w.args);
        EXPECT_EQ(r.code, 4) << w.args[0];
        EXPECT_EQ(r.err, w.message) << w.args[0];
    }
    EXPECT_TRUE(IsFifo(fifo));
    EXPECT_FALSE(Exists(dir.File("o.info")));
}

TEST(SpecialFiles, EntriesThatCouldNeverBeReadBackAreRefused) {
    TempDir dir;
    const std::string file = dir.File("a.ini");
    const std::string text = "[S]\r\nk=v\r\n";
    WriteBytes(file, text);
    const CliResult key = RunCli({"ini-set", file, "S", "a=b", "1"});
    EXPECT_EQ(key.code, 3);
    EXPECT_EQ(key.err, "Ключ \"a=b\" не может содержать \"=\"\n");
    const CliResult section = RunCli({"ini-set", file, "S]x", "k", "1"});
    EXPECT_EQ(section.code, 3);
    EXPECT_EQ(section.err, "Имя раздела \"S]x\" не может содержать \"]\"\n");
    EXPECT_EQ(RunCli({"ini-set", file, "S", "", "1"}).code, 3);
    const CliResult id = RunCli({"string-add", file, ";ID", "text"});
    EXPECT_EQ(id.code, 3);
    EXPECT_EQ(id.err, "Идентификатор строки \";ID\" не может начинаться с \";\"\n");
    EXPECT_EQ(ReadBytes(file), text);
}

} // namespace
} // namespace pwtest
