#include "InfoPipeline.h"

namespace pw::cli {

InfoRun LoadAndPrepare(const std::string& path) {
    TInfo info;
    info.ReadFromFile(path);
    InfoRun run{LoadInfoModel(info), {}};
    // The output path is the caller's; the settings only shape a path that is not used.
    run.compiled = PrepareInfo(run.loaded.model, CompileSettings{false, {}, "."});
    return run;
}

} // namespace pw::cli
