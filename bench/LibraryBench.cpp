// The editor's logic over the whole benchmark library: the library search and the dialogue tab's
// load and compile checks of every dialogue (the work of plotwright-cli check).

#include "GenLibrary.h"

#include "data/G3Infos.h"
#include "data/Library.h"
#include "info_editor/InfoEditorModel.h"
#include "search/LibrarySearch.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

const std::vector<std::string>& InfoFiles() {
    static const std::vector<std::string> files = [] {
        std::vector<std::string> list;
        pw::ScanLibraryFolder((std::filesystem::path(pwbench::BenchLibrary()) / "Infos").string(), list);
        return list;
    }();
    return files;
}

void Search(benchmark::State& state, const char* query) {
    std::size_t found = 0;
    for (auto _ : state)
        found = pw::SearchLibrary(pw::SearchMode::Dialogues, query, InfoFiles()).paths.size();
    state.counters["found"] = static_cast<double>(found);
}
BENCHMARK_CAPTURE(Search, owner, "Diego")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Search, text_id_part, "_Zuben_1999")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Search, nothing, "No_Such_Name")->Unit(benchmark::kMillisecond);

void BM_LoadAndPrepareAll(benchmark::State& state) {
    std::size_t refused = 0;
    for (auto _ : state) {
        refused = 0;
        for (const std::string& file : InfoFiles()) {
            pw::TInfo info;
            info.ReadFromFile(file);
            const pw::LoadedInfo loaded = pw::LoadInfoModel(info);
            pw::CompileOutcome outcome = pw::CheckInfoHeader(loaded.model);
            pw::PrepareInfo(loaded.model, {false, {}, "."}, outcome);
            refused += outcome.Failed() ? 1 : 0;
        }
    }
    state.counters["refused"] = static_cast<double>(refused);
}
BENCHMARK(BM_LoadAndPrepareAll)->Unit(benchmark::kMillisecond);

} // namespace
