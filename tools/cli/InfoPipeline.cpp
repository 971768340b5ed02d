#include "InfoPipeline.h"

namespace pw::cli {

InfoRun LoadAndPrepare(const std::string& path) {
    TInfo info;
    RecordReadReport read;
    info.ReadFromFile(path, &read);
    InfoRun run{std::move(read), LoadInfoModel(info), {}, MisalignedScriptWarning(info)};
    run.compiled = CheckInfoHeader(run.loaded.model);
    // The output path is the caller's; the settings only shape a path that is not used.
    PrepareInfo(run.loaded.model, CompileSettings{false, {}, "."}, run.compiled);
    return run;
}

} // namespace pw::cli
