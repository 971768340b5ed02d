#include "InfoCommands.h"
#include "InfoPipeline.h"
#include "QuestPipeline.h"

namespace pw::cli {
namespace {

// The quest tab's load and compile: the same record, written to OUT as the tab writes it.
int RecompileQuest(const std::string& in, const std::string& out) {
    QuestRun run = LoadAndFillQuest(in);
    RefuseNonsense(run.read);
    if (run.compiled.Failed())
        throw CliFailure(kExitRefused, run.compiled.message);
    run.compiled.quest.WriteToFile(out);
    return kExitOk;
}

} // namespace

int Recompile(const Args& arguments, const TextForm&) {
    const Args args = ParseArgs(arguments, {}).operands;
    if (args.size() != 2)
        ThrowUsage("recompile takes IN OUT");
    RequireExistingFile(args[0]);
    if (HasExtension(args[0], ".quest"))
        return RecompileQuest(args[0], args[1]);
    const InfoRun run = LoadAndPrepare(args[0]);
    RefuseNonsense(run.read);
    // The editor shows these as notices and goes on loading; so does the command.
    for (const LoadNotice& notice : run.loaded.notices)
        WriteErrLine("warning: " + notice.text);
    if (run.compiled.Failed())
        throw CliFailure(kExitRefused, run.compiled.message);
    TInfo info = run.compiled.info;
    info.WriteToFile(args[1]);
    return kExitOk;
}

} // namespace pw::cli
