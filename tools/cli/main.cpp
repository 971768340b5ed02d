// plotwright-cli: reads and writes dialogue and quest files, INI values and string-table entries
// from the command line, with the same data layer as the editor.

#include "CliSupport.h"
#include "Help.h"
#include "InfoCommands.h"
#include "RecordCommands.h"
#include "SearchCommand.h"
#include "TableCommands.h"

#include "data/Platform.h"
#include "data/Version.h"

#include <csignal>
#include <cstdio>
#include <exception>
#include <map>

namespace {

using Command = int (*)(const pw::cli::Args&);

// An interrupt in the middle of a write removes the write's named temporary, then ends the program as
// the signal would have.
extern "C" void OnInterrupt(int signalNumber) {
    pw::platform::RemovePendingTemporary();
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

void RemoveTemporariesOnInterrupt() {
    for (int signalNumber : {SIGINT, SIGTERM})
        std::signal(signalNumber, OnInterrupt);
#ifdef SIGHUP
    std::signal(SIGHUP, OnInterrupt);
#endif
}

const std::map<std::string_view, Command>& Commands() {
    static const std::map<std::string_view, Command> commands = {
        {"info-read", pw::cli::InfoRead},   {"info-write", pw::cli::InfoWrite},
        {"quest-read", pw::cli::QuestRead}, {"quest-write", pw::cli::QuestWrite},
        {"ini-get", pw::cli::IniGet},       {"ini-set", pw::cli::IniSet},
        {"string-get", pw::cli::StringGet}, {"string-add", pw::cli::StringAdd},
        {"recompile", pw::cli::Recompile},  {"search", pw::cli::Search},
        {"check", pw::cli::Check},
    };
    return commands;
}

// Output that never arrived (a full disk, a closed pipe) must not pass for success.
int Finish(int code) {
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        pw::cli::WriteErrLine("Unable to write to standard output");
        return pw::cli::kExitFileError;
    }
    return code;
}

int Run(int argc, char** argv) {
    using namespace pw::cli;
    if (argc < 2) {
        PrintUsage();
        return kExitUsage;
    }
    const std::string_view first = argv[1];
    if (first == "--help") {
        PrintHelp();
        return Finish(kExitOk);
    }
    if (first == "--version") {
        WriteOut(std::string("plotwright-cli ") + pw::kProgramVersion + "\n");
        return Finish(kExitOk);
    }
    const auto found = Commands().find(first);
    if (found == Commands().end()) {
        WriteErrLine("unknown command \"" + MessageToUtf8(first) + "\"");
        PrintUsage();
        return kExitUsage;
    }
    if (argc == 3 && std::string_view(argv[2]) == "--help") {
        PrintCommandHelp(first);
        return Finish(kExitOk);
    }
    try {
        return Finish(found->second(Args(argv + 2, argv + argc)));
    } catch (const CliFailure& failure) {
        WriteErrLine(failure.what());
        if (failure.Code() == kExitUsage)
            PrintUsage();
        return failure.Code();
    } catch (const std::exception& e) {
        // The data layer throws only for files it cannot open, create or write.
        WriteErrLine(e.what());
        return kExitFileError;
    }
}

} // namespace

int main(int argc, char** argv) {
    RemoveTemporariesOnInterrupt();
    return Run(argc, argv);
}
