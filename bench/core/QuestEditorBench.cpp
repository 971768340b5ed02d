// The quest editor's logic on the benchmark library: loading one quest into the editor's model,
// compiling the model into a file, and finding a quest by name over the whole quest list (the double
// click on the dialogue tab's quest field).

#include "GenLibrary.h"

#include "core/data/G3Quests.h"
#include "core/data/Library.h"
#include "core/quest/QuestEditorModel.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

const std::vector<std::string>& QuestFiles() {
    static const std::vector<std::string> files = [] {
        std::vector<std::string> list;
        pw::ScanLibraryFolder((fs::path(pwbench::BenchLibrary()) / "Quests").string(), list);
        return list;
    }();
    return files;
}

void BM_LoadQuest(benchmark::State& state) {
    for (auto _ : state) {
        pw::TQuest quest;
        quest.ReadFromFile(QuestFiles().front());
        benchmark::DoNotOptimize(pw::LoadQuestModel(quest));
    }
}
BENCHMARK(BM_LoadQuest)->Unit(benchmark::kMicrosecond);

void BM_CompileQuest(benchmark::State& state) {
    pw::TQuest quest;
    quest.ReadFromFile(QuestFiles().front());
    const pw::QuestEditorModel model = pw::LoadQuestModel(quest);
    const std::string program = (fs::temp_directory_path() / "plotwright-bench-quest").string();
    fs::create_directories(program);
    for (auto _ : state) {
        pw::QuestCompileOutcome outcome = pw::CompileQuest(model, {true, program, ""});
        if (outcome.status != pw::QuestCompileStatus::Written)
            state.SkipWithError(outcome.message.c_str());
        benchmark::DoNotOptimize(outcome);
    }
}
BENCHMARK(BM_CompileQuest)->Unit(benchmark::kMicrosecond);

void FindQuest(benchmark::State& state, bool last) {
    pw::TQuest quest;
    quest.ReadFromFile(QuestFiles().back());
    const std::string name = last ? quest.Name : "No_Such_Quest";
    for (auto _ : state)
        benchmark::DoNotOptimize(pw::FindQuestByName(QuestFiles(), name));
    state.counters["files"] = static_cast<double>(QuestFiles().size());
}
BENCHMARK_CAPTURE(FindQuest, last_in_list, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FindQuest, no_match, false)->Unit(benchmark::kMillisecond);

} // namespace
