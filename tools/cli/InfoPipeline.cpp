#include "InfoPipeline.h"

#include "CliSupport.h"

namespace pw::cli {

namespace {

InfoRun Prepare(const TInfo& info, RecordReadReport read) {
    InfoRun run{std::move(read), LoadInfoModel(info), {}, MisalignedScriptWarning(info)};
    run.compiled = PrepareCompile(run.loaded.model);
    return run;
}

} // namespace

InfoRun LoadAndPrepare(const std::string& path) {
    TInfo info;
    RecordReadReport read;
    info.ReadFromFile(path, &read);
    return Prepare(info, std::move(read));
}

const InfoRun& LoadAndCheck(std::string_view bytes, InfoCheckWork& work) {
    InfoRun& run = work.run;
    work.info.ReadFromBytes(bytes, &run.read);
    LoadInfoModel(work.info, run.loaded);
    run.misaligned = MisalignedScriptWarning(work.info);
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
