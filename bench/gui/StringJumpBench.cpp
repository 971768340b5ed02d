// The main window on the game-sized library (a 30 MB string table): a jump from the dialogue tab to a
// string ID's line in the string editor, as Ctrl+click makes it, for an ID the table holds (its last
// entry, the longest look-up) and for one it lacks, each until the window has drawn the outcome; and the
// resident memory of the window with its library browser open after one build of the index and after
// further rebuilds (F5 in the browser).

#include "GenLibrary.h"
#include "QtBench.h"

#include "core/data/StringTable.h"
#include "gui/app/MainForm.h"
#include "gui/common/Workspace.h"
#include "gui/library/LibraryBrowser.h"
#include "gui/library/LibraryIndexService.h"

#include <QApplication>
#include <QTabWidget>
#include <QTest>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

namespace {

// The main window over the game-sized library, shown, with the index built and the table's text in the
// string editor.
struct BenchWindow {
    std::unique_ptr<pw::Workspace> workspace;
    std::unique_ptr<pw::TForm1> form;

    BenchWindow() {
        const std::string folder = pwbench::BenchLibrary();
        workspace = pwbench::WorkspaceOver(folder, "plotwright-bench-string-jump.inf");
        form = std::make_unique<pw::TForm1>(*workspace);
        form->show();
        workspace->libraryIndex->WaitUntilBuilt();
        // The table's text, decoded in the background, goes into its pane when the tab first shows.
        Tabs()->setCurrentWidget(form->findChild<QWidget*>(QStringLiteral("TabSheet1")));
        Tabs()->setCurrentWidget(form->findChild<QWidget*>(QStringLiteral("tbInfo")));
        QApplication::processEvents();
    }
    QTabWidget* Tabs() const { return form->findChild<QTabWidget*>(QStringLiteral("PgCtrl")); }
};

// 0: the table's last ID, 1: an ID it lacks. Each jump starts on the dialogue tab.
void BM_StringJump(benchmark::State& state) {
    BenchWindow window;
    const std::string table = pwbench::BenchLibrary() + "/stringtable.ini";
    const std::string id = state.range(0) == 0 ? pw::ListTableIds(table).back() : "NO_SUCH_STRING_01";
    QWidget* dialogues = window.form->findChild<QWidget*>(QStringLiteral("tbInfo"));
    const pw::Jump jump{pw::Jump::Kind::StringEntry, id, pw::Jump::Thing::String};
    window.form->FollowJump(jump); // the table's text is put into the pane on the first one
    for (auto _ : state) {
        state.PauseTiming();
        window.Tabs()->setCurrentWidget(dialogues);
        QApplication::processEvents();
        state.ResumeTiming();
        window.form->FollowJump(jump);
        QApplication::processEvents();
    }
    const bool found = window.Tabs()->currentWidget() != dialogues;
    if (found != (state.range(0) == 0))
        state.SkipWithError("the jump did not end where it should");
}
BENCHMARK(BM_StringJump)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The resident memory after the first build of the index and after state.range(0) presses of F5 in the
// browser, each waited for with its look-up of first lines.
void BM_MemoryAfterRebuilds(benchmark::State& state) {
    for (auto _ : state) {
        BenchWindow window;
        window.form->ShowBrowser();
        auto* browser = window.form->findChild<pw::LibraryBrowser*>();
        browser->WaitForFirstLines();
        QApplication::processEvents();
        const double first = pwbench::ResidentMegabytes();
        for (int press = 0; press < state.range(0); ++press) {
            QTest::keyClick(browser, Qt::Key_F5);
            window.workspace->libraryIndex->WaitUntilBuilt();
            browser->WaitForFirstLines();
            QApplication::processEvents();
        }
        state.counters["first_build_rss_mb"] = first;
        state.counters["after_rebuilds_rss_mb"] = pwbench::ResidentMegabytes();
        state.counters["added_mb"] = pwbench::ResidentMegabytes() - first;
    }
}
BENCHMARK(BM_MemoryAfterRebuilds)->Arg(5)->Arg(20)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
