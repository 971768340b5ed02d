// --help, COMMAND --help and --version, as scripts and packagers expect them.

#include "CliRunner.h"

#include "core/data/Version.h"

#include <gtest/gtest.h>

namespace pwtest {
namespace {

const std::vector<std::string> kCommands = {
    "info-read",  "info-write", "quest-read", "quest-write", "ini-get", "ini-set", "string-get",
    "string-add", "recompile",  "import-conversation", "search", "check", "list", "tree", "unused-strings",
    "rename", "translation-status", "translation-export", "translation-import", "translation-copy",
    "table-diff"};

TEST(Help, GoesToStandardOutputWithALinePerOptionAndSucceeds) {
    const CliResult all = RunCli({"--help"});
    EXPECT_EQ(all.code, 0);
    EXPECT_EQ(all.err, "");
    EXPECT_EQ(all.out.rfind("usage: plotwright-cli [OPTION]... COMMAND", 0), 0u);
    for (const std::string option : {"--raw", "--help", "--version", "--"})
        EXPECT_NE(all.out.find("\n  " + option + " "), std::string::npos) << option;
    for (const std::string& command : kCommands) {
        EXPECT_NE(all.out.find("\n  " + command + " "), std::string::npos) << command;
        const CliResult one = RunCli({command, "--help"});
        EXPECT_EQ(one.code, 0) << command;
        EXPECT_EQ(one.err, "") << command;
        EXPECT_EQ(one.out.rfind("usage: plotwright-cli " + command + " ", 0), 0u) << one.out;
    }
    const CliResult check = RunCli({"check", "--help"});
    for (const std::string option :
         {"--stringtable TABLE", "--quests DIR", "--events", "--strict", "--verbose", "--format FORMAT"})
        EXPECT_NE(check.out.find("\n  " + option + " "), std::string::npos) << option;
    EXPECT_NE(RunCli({"string-add", "--help"}).out.find("\n  --replace "), std::string::npos);
    const CliResult import = RunCli({"import-conversation", "--help"});
    for (const std::string option : {"--prefix PREFIX", "--dry-run"})
        EXPECT_NE(import.out.find("\n  " + option + " "), std::string::npos) << option;
    EXPECT_NE(RunCli({"unused-strings", "--help"}).out.find("\n  --prefix PREFIX "), std::string::npos);
    const CliResult rename = RunCli({"rename", "--help"});
    for (const std::string option : {"--stringtable TABLE", "--dry-run", "--with-strings"})
        EXPECT_NE(rename.out.find("\n  " + option + " "), std::string::npos) << option;
    EXPECT_EQ(RunCli({"frobnicate", "--help"}).code, 2);
}

TEST(Help, VersionIsTheProgramsVersion) {
    const CliResult r = RunCli({"--version"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, std::string("plotwright-cli ") + pw::kProgramVersion + "\n");
}

} // namespace
} // namespace pwtest
