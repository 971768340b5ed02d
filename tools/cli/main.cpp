// plotwright-cli: reads and writes dialogue and quest files, INI values and string-table entries
// from the command line, with the same data layer as the editor.

#include "CliSupport.h"
#include "InfoCommands.h"
#include "RecordCommands.h"
#include "SearchCommand.h"
#include "TableCommands.h"

#include "data/Platform.h"

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

int Run(int argc, char** argv) {
    using namespace pw::cli;
    if (argc < 2) {
        PrintUsage();
        return kExitUsage;
    }
    const auto found = Commands().find(argv[1]);
    if (found == Commands().end()) {
        WriteErrLine("unknown command \"" + MessageToUtf8(argv[1]) + "\"");
        PrintUsage();
        return kExitUsage;
    }
    try {
        const int code = found->second(Args(argv + 2, argv + argc));
        // Output that never arrived (a full disk, a closed pipe) must not pass for success.
        if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
            WriteErrLine("Unable to write to standard output");
            return kExitFileError;
        }
        return code;
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
