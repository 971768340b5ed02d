#include "InfoCommands.h"
#include "InfoPipeline.h"

namespace pw::cli {

int Recompile(const Args& args) {
    if (args.size() != 2)
        ThrowUsage("recompile takes IN OUT");
    RequireExistingFile(args[0]);
    const InfoRun run = LoadAndPrepare(args[0]);
    // The editor shows these as notices and goes on loading; so does the command.
    for (const LoadNotice& notice : run.loaded.notices)
        WriteErrLine("warning: " + MessageToUtf8(notice.text));
    if (run.compiled.Failed())
        ThrowRefused(run.compiled.message);
    TInfo info = run.compiled.info;
    info.WriteToFile(args[1]);
    return kExitOk;
}

} // namespace pw::cli
