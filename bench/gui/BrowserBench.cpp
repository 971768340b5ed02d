// The library browser over the game-sized library: the index built as the window builds it (with the
// resident memory it adds), a keystroke in the filter line until the tree shows its result, and a jump's
// look-up of a name with the re-read of the file it lands on.

#include "GenLibrary.h"
#include "QtBench.h"

#include "core/data/Configs.h"
#include "gui/app/MainForm.h"
#include "gui/common/Workspace.h"
#include "gui/library/LibraryBrowser.h"
#include "gui/library/LibraryIndexService.h"

#include <QLineEdit>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

namespace {

std::vector<std::string> BenchFolders() {
    const std::filesystem::path root = pwbench::BenchLibrary();
    return {(root / "Infos").string(), (root / "Quests").string()};
}

void BM_IndexAsTheWindowBuildsIt(benchmark::State& state) {
    const double before = pwbench::ResidentMegabytes();
    std::shared_ptr<const pw::LibrarySnapshot> snapshot;
    for (auto _ : state) {
        snapshot.reset();
        snapshot = pw::BuildLibrarySnapshot(BenchFolders(), pwbench::BenchLibrary() + "/stringtable.ini");
    }
    state.counters["added_rss_mb"] = pwbench::ResidentMegabytes() - before;
    state.counters["entries"] = static_cast<double>(snapshot->index.Entries().size());
    state.counters["table_ids"] = static_cast<double>(snapshot->tableIds.size());
}
BENCHMARK(BM_IndexAsTheWindowBuildsIt)->Unit(benchmark::kMillisecond)->Iterations(3);

// One browser on the built index for every filter benchmark.
pw::LibraryBrowser& Browser() {
    static pw::Workspace workspace(std::make_unique<pw::TConfigs>(std::string()), ".");
    static std::unique_ptr<pw::LibraryBrowser> browser = [] {
        workspace.libraryIndex = std::make_shared<pw::LibraryIndexService>();
        workspace.libraryIndex->Open(BenchFolders());
        workspace.libraryIndex->WaitUntilBuilt();
        return std::make_unique<pw::LibraryBrowser>(workspace);
    }();
    return *browser;
}

void BM_FilterKeystroke(benchmark::State& state, const char* filter) {
    pw::LibraryBrowser& browser = Browser();
    for (auto _ : state) {
        state.PauseTiming();
        browser.SetFilter(QString());
        state.ResumeTiming();
        browser.SetFilter(QString::fromUtf8(filter));
    }
}
BENCHMARK_CAPTURE(BM_FilterKeystroke, owner, "owner:Lester")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FilterKeystroke, word, "Diego")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FilterKeystroke, uses_quest, "uses:Q_Ardea_17")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FilterKeystroke, command, "command:RunQuest")->Unit(benchmark::kMillisecond);

// A jump's look-up: the name in the index, and the file it lands on read again to see it still holds it.
void BM_JumpLookUp(benchmark::State& state) {
    static const std::shared_ptr<const pw::LibrarySnapshot> snapshot = pw::BuildLibrarySnapshot(BenchFolders());
    const pw::LibraryIndex& index = snapshot->index;
    const std::string name(index[index.Entries().size() / 2].Name());
    for (auto _ : state) {
        const std::vector<std::size_t>& named = index.Dialogues(name);
        const pw::LibraryIndex check({index[named.front()].path});
        benchmark::DoNotOptimize(check[0].Name());
    }
}
BENCHMARK(BM_JumpLookUp)->Unit(benchmark::kMicrosecond);

// A whole jump in the main window on the game-sized library: the look-up, the re-read, and the dialogue
// loaded into its tab, alternating between two dialogues so that each jump loads a file.
void BM_JumpInTheWindow(benchmark::State& state) {
    const std::string folder = pwbench::BenchLibrary();
    const std::unique_ptr<pw::Workspace> owned = pwbench::WorkspaceOver(folder, "plotwright-bench-jump.inf");
    pw::Workspace& workspace = *owned;
    pw::TForm1 form(workspace);
    workspace.libraryIndex->WaitUntilBuilt();
    const pw::LibraryIndex& index = workspace.libraryIndex->Current()->index;
    const std::string names[2] = {std::string(index[10].Name()), std::string(index[index.Entries().size() / 2].Name())};
    int next = 0;
    for (auto _ : state) {
        form.FollowJump({pw::Jump::Kind::Dialogue, names[next]});
        next = 1 - next;
    }
}
BENCHMARK(BM_JumpInTheWindow)->Unit(benchmark::kMillisecond);

} // namespace
