// The whole main window on the demo library and on the game-sized one (20,000 dialogues, 3,000 quests,
// a 30 MB string table): how long until the window is shown and answers input, how long the string
// editor's tab takes to show the table, and the resident memory of the program with the table in the
// tab and after a replace of 140,000 occurrences in it.

#include "GenLibrary.h"
#include "QtBench.h"

#include "gui/app/MainForm.h"
#include "gui/common/Workspace.h"
#include "gui/text_pane/TextPane.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QTabWidget>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

namespace fs = std::filesystem;

namespace {

// A workspace whose settings point at the library in folder.
std::unique_ptr<pw::Workspace> WorkspaceFor(const std::string& folder) {
    return pwbench::WorkspaceOver(folder, "plotwright-bench-startup.inf");
}

std::string LibraryOf(int which) {
    return which == 0 ? std::string(PLOTWRIGHT_DEMO_DIR) : pwbench::BenchLibrary();
}

// Runs the event loop until an event posted now has been handled: the window answers input.
void UntilAnswering() {
    bool answered = false;
    QTimer::singleShot(0, [&answered] { answered = true; });
    while (!answered)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// From creating the main window to its being shown and answering (0: demo library, 1: game-sized).
void BM_StartUpUntilAnswering(benchmark::State& state) {
    const std::string folder = LibraryOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto workspace = WorkspaceFor(folder);
        state.ResumeTiming();
        auto form = std::make_unique<pw::TForm1>(*workspace);
        form->show();
        UntilAnswering();
        state.PauseTiming();
        form.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUpUntilAnswering)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("game")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

pw::TextPane& StringTabPane(pw::TForm1& form) {
    return *form.findChild<pw::TextPane*>("SynMemText");
}

// Switching to the string editor's tab right after start-up until it shows the game-sized table.
void BM_ShowTheStringTab(benchmark::State& state) {
    const std::string folder = pwbench::BenchLibrary();
    for (auto _ : state) {
        state.PauseTiming();
        auto workspace = WorkspaceFor(folder);
        auto form = std::make_unique<pw::TForm1>(*workspace);
        form->show();
        UntilAnswering();
        state.ResumeTiming();
        form->findChild<QTabWidget*>("PgCtrl")->setCurrentIndex(2);
        UntilAnswering();
        state.PauseTiming();
        if (StringTabPane(*form).blockCount() < 100000)
            state.SkipWithError("the table is not in the pane");
        form.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ShowTheStringTab)->Unit(benchmark::kMillisecond)->Iterations(3);

// The resident memory of the whole program: the window on the game-sized library with the table in
// its tab, then after replacing "king" by "queen" everywhere in it (the time is the replace's).
void BM_ProgramMemoryWithTheTable(benchmark::State& state) {
    auto workspace = WorkspaceFor(pwbench::BenchLibrary());
    auto form = std::make_unique<pw::TForm1>(*workspace);
    form->show();
    form->findChild<QTabWidget*>("PgCtrl")->setCurrentIndex(2);
    UntilAnswering();
    state.counters["loaded_rss_mb"] = pwbench::ResidentMegabytes();
    pw::SearchOptions options;
    options.replaceAll = true;
    options.wholeScope = true;
    for (auto _ : state) {
        const int replaced = StringTabPane(*form).SearchReplace("king", "queen", options);
        UntilAnswering();
        state.counters["replaced"] = replaced;
    }
    state.counters["replaced_rss_mb"] = pwbench::ResidentMegabytes();
}
BENCHMARK(BM_ProgramMemoryWithTheTable)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
