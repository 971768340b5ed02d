#include "InfoPipeline.h"

#include "CliSupport.h"

namespace pw::cli {

InfoRun LoadAndPrepare(const std::string& path) {
    TInfo info;
    RecordReadReport read;
    info.ReadFromFile(path, &read);
    InfoRun run{std::move(read), LoadInfoModel(info), {}, MisalignedScriptWarning(info)};
    run.compiled = PrepareCompile(run.loaded.model);
    return run;
}

InfoRun LoadAndCheck(std::string_view bytes) {
    TInfo info;
    RecordReadReport read;
    info.ReadFromText(bytes, &read);
    InfoRun run{std::move(read), LoadInfoModel(info), {}, MisalignedScriptWarning(info)};
    run.compiled = CheckInfoCompile(run.loaded.model);
    return run;
}

CompileOutcome PrepareCompile(const InfoEditorModel& model) {
    CompileOutcome compiled = CheckInfoHeader(model);
    // The output path is the caller's; the settings only shape a path that is not used.
    PrepareInfo(model, CompileSettings{false, {}, "."}, compiled);
    return compiled;
}

void RefuseNonsense(const RecordReadReport& read) {
    if (!read.notRecord.empty())
        throw CliFailure(kExitRefused, read.notRecord);
    for (const UnreadNumber& number : read.unreadNumbers)
        WriteErrLine("warning: " + UnreadNumberMessage(number));
}

} // namespace pw::cli
