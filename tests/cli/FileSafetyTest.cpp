// What the command line does with files that are not what they should be, and with entries that could
// never be read back.

#include "CliRunner.h"
#include "TempDir.h"

#include "core/data/FileIO.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace pwtest {
namespace {

// What is no regular file though a name leads to it: a FIFO on POSIX systems; on Windows the names
// kept for devices in every folder, in any letter case and with any extension.
std::vector<std::string> SpecialFiles(const TempDir& dir) {
#ifdef _WIN32
    return {dir.File("CON"), dir.File("nul.info"), dir.File("Com1.quest"), dir.File("lpt9.ini")};
#else
    const std::string fifo = dir.File("pipe.info");
    EXPECT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    return {fifo};
#endif
}

bool IsStillSpecial(const std::string& path) {
#ifdef _WIN32
    (void)path;
    return true; // nothing can be made at a device's name
#else
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISFIFO(st.st_mode);
#endif
}

void ExpectRefused(const TempDir& dir, const std::string& special) {
    const std::string cannotOpen =
        "Cannot open file \"" + pw::ExpandFileName(special) + "\". Not a regular file\n";
    const std::vector<std::vector<std::string>> reads = {
        {"info-read", special},
        {"quest-read", special},
        {"string-get", special, "ID"},
        {"ini-get", special, "S", "K"},
        {"info-write", dir.File("o.info"), "--from", special},
        {"recompile", special, dir.File("o.info")},
    };
    for (const auto& args : reads) {
        const CliResult r = RunCli(args);
        EXPECT_EQ(r.code, 4) << args[0] << " " << special;
        EXPECT_EQ(r.err, cannotOpen) << args[0] << " " << special;
    }
    const struct {
        std::vector<std::string> args;
        std::string message;
    } writes[] = {
        {{"info-write", special, "Name=A"},
         "Cannot create file \"" + pw::ExpandFileName(special) + "\". Not a regular file\n"},
        {{"quest-write", special, "Name=A"}, "Unable to write to " + special + ". Not a regular file\n"},
        {{"ini-set", special, "S", "K", "V"}, "Unable to write to " + special + ". Not a regular file\n"},
        {{"string-add", special, "ID", "text"}, "Unable to write to " + special + ". Not a regular file\n"},
    };
    for (const auto& w : writes) {
        const CliResult r = RunCli(w.args);
        EXPECT_EQ(r.code, 4) << w.args[0] << " " << special;
        EXPECT_EQ(r.err, w.message) << w.args[0] << " " << special;
    }
    EXPECT_TRUE(IsStillSpecial(special));
    EXPECT_FALSE(Exists(dir.File("o.info")));
}

TEST(SpecialFiles, AreRefusedAsInputAndAsTargetWithoutWaiting) {
    TempDir dir;
    for (const std::string& special : SpecialFiles(dir))
        ExpectRefused(dir, special);
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
