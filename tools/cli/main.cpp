// plotwright-cli: reads and writes dialogue and quest files, INI values and string-table entries
// from the command line, with the same data layer as the editor.

#include "CliSupport.h"
#include "Help.h"
#include "InfoCommands.h"
#include "LibraryCommands.h"
#include "RecordCommands.h"
#include "SearchCommand.h"
#include "TableCommands.h"
#include "TextForm.h"

#include "core/data/Platform.h"
#include "core/data/Version.h"

#include <csignal>
#include <cstdio>
#include <exception>
#include <map>
#include <optional>

namespace {

using Command = int (*)(const pw::cli::Args&, const pw::cli::TextForm&);

// An interrupt in the middle of a write removes the write's named temporary, then ends the program as
// the signal would have.
extern "C" void OnInterrupt(int signalNumber) {
    pw::platform::RemovePendingTemporary();
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

// A signal that the caller has the program ignore stays ignored: nohup starts it so for a hang-up, and a
// script's background job for an interrupt.
void RemoveTemporariesOnSignal(int signalNumber) {
    if (std::signal(signalNumber, SIG_IGN) != SIG_IGN)
        std::signal(signalNumber, OnInterrupt);
}

void RemoveTemporariesOnInterrupt() {
    for (int signalNumber : {SIGINT, SIGTERM})
        RemoveTemporariesOnSignal(signalNumber);
#ifdef SIGHUP
    RemoveTemporariesOnSignal(SIGHUP);
#endif
}

const std::map<std::string_view, Command>& Commands() {
    static const std::map<std::string_view, Command> commands = {
        {"info-read", pw::cli::InfoRead},
        {"info-write", pw::cli::InfoWrite},
        {"quest-read", pw::cli::QuestRead},
        {"quest-write", pw::cli::QuestWrite},
        {"ini-get", pw::cli::IniGet},
        {"ini-set", pw::cli::IniSet},
        {"string-get", pw::cli::StringGet},
        {"string-add", pw::cli::StringAdd},
        {"recompile", pw::cli::Recompile},
        {"import-conversation", pw::cli::ImportConversation},
        {"search", pw::cli::Search},
        {"check", pw::cli::Check},
        {"list", pw::cli::List},
        {"tree", pw::cli::Tree},
        {"unused-strings", pw::cli::UnusedStrings},
        {"rename", pw::cli::Rename},
        {"lsp", pw::cli::Lsp},
    };
    return commands;
}

// Output that never arrived (a full disk, a closed pipe) must not pass for success.
int Finish(int code) {
    if (const std::optional<std::string> reason = pw::cli::OutputProblem()) {
        pw::cli::WriteErrLine("Unable to write to standard output. " + *reason);
        return pw::cli::kExitFileError;
    }
    return code;
}

int Run(pw::cli::Args args) {
    using namespace pw::cli;
    // The options before COMMAND; "--" ends them.
    bool raw = false;
    std::size_t at = 0;
    for (; at < args.size() && args[at].size() > 1 && args[at].compare(0, 2, "--") == 0; ++at) {
        const std::string& option = args[at];
        if (option == "--") {
            ++at;
            break;
        }
        if (option == "--help") {
            PrintHelp();
            return Finish(kExitOk);
        }
        if (option == "--version") {
            WriteOut(std::string("plotwright-cli ") + pw::kProgramVersion + "\n");
            return Finish(kExitOk);
        }
        if (option != "--raw") {
            WriteErrLine("unknown option \"" + option + "\"");
            PrintUsage();
            return kExitUsage;
        }
        raw = true;
    }
    if (at >= args.size()) {
        PrintUsage();
        return kExitUsage;
    }
    if (raw)
        for (std::string& arg : args)
            arg = pw::platform::RawArgument(arg);
    const std::string& name = args[at];
    const auto found = Commands().find(name);
    if (found == Commands().end()) {
        WriteErrLine("unknown command \"" + name + "\"");
        PrintUsage();
        return kExitUsage;
    }
    const Args rest(args.begin() + static_cast<std::ptrdiff_t>(at) + 1, args.end());
    if (rest.size() == 1 && rest[0] == "--help") {
        PrintCommandHelp(name);
        return Finish(kExitOk);
    }
    try {
        return Finish(found->second(rest, TextForm(raw)));
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
    pw::platform::PrepareStandardStreams();
    return Run(pw::platform::CommandLineArguments(argc, argv));
}
