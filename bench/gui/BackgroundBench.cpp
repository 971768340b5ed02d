// Long work in the window on the game-sized library, measured by how long the window's thread stops
// answering while it runs: the largest lateness of a 10 ms timer on that thread while a rename of 4,000
// files is previewed and applied, while the index is rebuilt with the browser open, and while a jump
// waits for the index; and how soon a rename stops after "Отмена". PLOTWRIGHT_BENCH_LIB names the
// generated library; the rename works on a copy of it in the temporary folder.

#include "GenLibrary.h"
#include "QtBench.h"

#include "gui/app/MainForm.h"
#include "gui/common/BackgroundWork.h"
#include "gui/common/Workspace.h"
#include "gui/library/LibraryBrowser.h"
#include "gui/library/LibraryIndexService.h"
#include "gui/library/RenameDialog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <utility>

namespace {

namespace fs = std::filesystem;

constexpr int kTickMs = 10;
constexpr int kRenamedFiles = 4000;

// Runs the event loop until done() holds, with a 10 ms timer on this thread; returns the largest lateness
// of its ticks in milliseconds, the longest the thread was kept from answering.
double LongestStall(const std::function<bool()>& done) {
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(kTickMs);
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 worst = 0;
    QEventLoop loop;
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        const qint64 now = clock.elapsed();
        worst = std::max(worst, now - last - kTickMs);
        last = now;
        if (done())
            loop.quit();
    });
    clock.start();
    tick.start();
    loop.exec();
    return static_cast<double>(worst);
}

// A copy of the library in which the first 4,000 dialogues name the quest Bench_Quest, made once.
std::string RenameLibrary() {
    static const std::string root = [] {
        const fs::path work = fs::temp_directory_path() / "plotwright-bench-background";
        fs::remove_all(work);
        fs::create_directories(work);
        const fs::path source = pwbench::BenchLibrary();
        for (const char* part : {"Infos", "Quests"})
            fs::copy(source / part, work / part, fs::copy_options::recursive);
        fs::copy(source / "stringtable.ini", work / "stringtable.ini");
        std::vector<fs::path> infos;
        for (const auto& entry : fs::recursive_directory_iterator(work / "Infos"))
            if (entry.path().extension() == ".info")
                infos.push_back(entry.path());
        std::sort(infos.begin(), infos.end());
        infos.resize(std::min<std::size_t>(infos.size(), kRenamedFiles));
        for (const fs::path& path : infos) {
            std::stringstream text;
            text << std::ifstream(path, std::ios::binary).rdbuf();
            std::string bytes = text.str();
            // The first Quest= line is the one read: right after the section's header.
            bytes.insert(bytes.find("\r\n") + 2, "Quest=Bench_Quest\r\n");
            std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
        }
        std::ofstream(work / "Quests" / "Bench_Quest_quest_G3_World_01.quest", std::ios::binary)
            << "[Quest]\r\nName=Bench_Quest\r\n";
        const std::string cache = (work / "cache").string();
        setenv("PLOTWRIGHT_CACHE_DIR", cache.c_str(), 1);
        return work.string();
    }();
    return root;
}

pw::RenameRequest QuestRename(const std::string& root, const std::string& oldName) {
    pw::RenameRequest request;
    request.kind = pw::RenameKind::Quest;
    request.oldName = oldName;
    request.roots = {root + "/Infos", root + "/Quests"};
    request.stringTable = root + "/stringtable.ini";
    return request;
}

// The rename window's preview of a quest's new name, until it shows; the stall while it is made.
double PreviewIn(pw::RenameDialog& dialog, const QString& newName) {
    dialog.findChild<QLineEdit*>(QStringLiteral("NewNameEd"))->setText(newName);
    dialog.findChild<QPushButton*>(QStringLiteral("PreviewBtn"))->click();
    auto* work = dialog.findChild<pw::BackgroundWork*>();
    return LongestStall([work] { return !work->Running(); });
}

// Renames the quest named by 4,000 dialogues through the rename window, to and fro; counters: the longest
// stall of the window's thread during the preview and during the application.
void BM_StallWhileARenameRuns(benchmark::State& state) {
    const std::string root = RenameLibrary();
    const char* names[2] = {"Bench_Quest", "Bench_Renamed"};
    double preview = 0, apply = 0, applyMs = 0;
    int next = 0;
    for (auto _ : state) {
        pw::RenameDialog dialog(nullptr, QuestRename(root, names[next]), {});
        preview = std::max(preview, PreviewIn(dialog, QString::fromLatin1(names[1 - next])));
        QElapsedTimer clock;
        clock.start();
        dialog.findChild<QPushButton*>(QStringLiteral("ApplyBtn"))->click();
        auto* work = dialog.findChild<pw::BackgroundWork*>();
        apply = std::max(apply, LongestStall([work] { return !work->Running(); }));
        applyMs += static_cast<double>(clock.elapsed()) / static_cast<double>(state.max_iterations);
        if (!dialog.Applied() || !dialog.Result().complete || dialog.Result().files.size() < kRenamedFiles)
            state.SkipWithError("the rename did not finish");
        next = 1 - next;
    }
    state.counters["preview_stall_ms"] = preview;
    state.counters["apply_stall_ms"] = apply;
    state.counters["apply_ms"] = applyMs;
}
BENCHMARK(BM_StallWhileARenameRuns)->Iterations(4)->Unit(benchmark::kMillisecond);

// "Отмена" pressed once the rename has written for a while (its progress dialog shows): the time until it
// has stopped, each file left whole; the rename is then finished as "Повторить" would, and renamed back.
void BM_CancelARename(benchmark::State& state) {
    const std::string root = RenameLibrary();
    double worst = 0;
    for (auto _ : state) {
        pw::RenameDialog dialog(nullptr, QuestRename(root, "Bench_Quest"), {});
        PreviewIn(dialog, QStringLiteral("Bench_Renamed"));
        dialog.findChild<QPushButton*>(QStringLiteral("ApplyBtn"))->click();
        auto* work = dialog.findChild<pw::BackgroundWork*>();
        LongestStall([work] { return work->Dialog() != nullptr || !work->Running(); });
        QElapsedTimer clock;
        clock.start();
        dialog.findChild<QPushButton*>(QStringLiteral("CancelBtn"))->click();
        work->Wait();
        worst = std::max(worst, static_cast<double>(clock.elapsed()));
        if (!dialog.Result().stopped)
            state.SkipWithError("the rename ended before it was stopped");
        state.PauseTiming();
        const std::pair<const char*, const char*> finishAndBack[] = {{"Bench_Quest", "Bench_Renamed"},
                                                                     {"Bench_Renamed", "Bench_Quest"}};
        for (const auto& [from, to] : finishAndBack) {
            pw::RenameDialog again(nullptr, QuestRename(root, from), {});
            PreviewIn(again, QString::fromLatin1(to));
            again.findChild<QPushButton*>(QStringLiteral("ApplyBtn"))->click();
            again.findChild<pw::BackgroundWork*>()->Wait();
        }
        state.ResumeTiming();
    }
    state.counters["cancel_ms"] = worst;
}
BENCHMARK(BM_CancelARename)->Iterations(3)->Unit(benchmark::kMillisecond);

// The main window over the game-sized library with the index built and the browser open.
struct IndexedWindow {
    std::unique_ptr<pw::Workspace> workspace;
    std::unique_ptr<pw::TForm1> form;

    IndexedWindow() {
        const std::string folder = pwbench::BenchLibrary();
        workspace = pwbench::WorkspaceOver(folder, "plotwright-bench-background.inf");
        form = std::make_unique<pw::TForm1>(*workspace);
        form->show();
        workspace->libraryIndex->WaitUntilBuilt();
        form->ShowBrowser()->WaitForFirstLines();
        QApplication::processEvents();
    }
};

// F5: the index rebuilt with the browser showing it; the stall until the browser shows the new build and
// has settled (its first lines looked up).
void BM_StallWhileTheIndexIsRebuilt(benchmark::State& state) {
    IndexedWindow window;
    pw::LibraryIndexService& service = *window.workspace->libraryIndex;
    double worst = 0;
    for (auto _ : state) {
        bool rebuilt = false;
        const QMetaObject::Connection seen =
            QObject::connect(&service, &pw::LibraryIndexService::Rebuilt, [&rebuilt] { rebuilt = true; });
        service.Rebuild();
        QElapsedTimer settle;
        worst = std::max(worst, LongestStall([&] {
                             if (!rebuilt)
                                 return false;
                             if (!settle.isValid())
                                 settle.start();
                             return settle.elapsed() > 500; // the browser's look-up of first lines
                         }));
        QObject::disconnect(seen);
    }
    state.counters["stall_ms"] = worst;
}
BENCHMARK(BM_StallWhileTheIndexIsRebuilt)->Iterations(3)->Unit(benchmark::kMillisecond);

// A jump asked for while the index is rebuilt: the stall until it has landed.
void BM_StallWhileAJumpWaits(benchmark::State& state) {
    IndexedWindow window;
    const pw::LibraryIndex& index = window.workspace->libraryIndex->Current()->index;
    const QString names[2] = {QString::fromLatin1(index[10].Name()),
                              QString::fromLatin1(index[index.Entries().size() / 2].Name())};
    auto* name = window.form->findChild<QLineEdit*>(QStringLiteral("NameEd"));
    double worst = 0;
    int next = 0;
    for (auto _ : state) {
        window.workspace->libraryIndex->Rebuild();
        window.form->FollowJump({pw::Jump::Kind::Dialogue, names[next].toStdString()});
        worst = std::max(worst, LongestStall([&] { return name->text() == names[next]; }));
        next = 1 - next;
    }
    state.counters["stall_ms"] = worst;
}
BENCHMARK(BM_StallWhileAJumpWaits)->Iterations(4)->Unit(benchmark::kMillisecond);

// The same timer with nothing else to do for two seconds: what the machine's own load adds to the figures.
void BM_StallIdle(benchmark::State& state) {
    double worst = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        worst = std::max(worst, LongestStall([&] { return clock.elapsed() > 2000; }));
    }
    state.counters["stall_ms"] = worst;
}
BENCHMARK(BM_StallIdle)->Iterations(2)->Unit(benchmark::kMillisecond);

} // namespace
