// The translations window over the game-sized string table (about 100,000 entries of ten languages):
// opening it with the table read and shown, and one keystroke in its filter line.

#include "GenLibrary.h"

#include "core/data/Configs.h"
#include "gui/app/TranslationsWindow.h"
#include "gui/common/BackgroundWork.h"
#include "gui/common/Workspace.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

// A workspace on the benchmark library's table, with Russian as the language of the lines.
std::unique_ptr<pw::Workspace> TableWorkspace(const char* table) {
    const fs::path lib = pwbench::BenchLibrary();
    auto workspace = std::make_unique<pw::Workspace>(
        std::make_unique<pw::TConfigs>((lib / "translations-bench.inf").string()), lib.string());
    workspace->configs->TextLanguage = "ru";
    workspace->stringTable = std::make_shared<pw::TStringTable>((lib / table).string());
    return workspace;
}

// From the menu's action to the window shown with the table's rows and counts.
void BM_TranslationsOpen(benchmark::State& state, const char* table) {
    const auto workspace = TableWorkspace(table);
    for (auto _ : state) {
        pw::TranslationsWindow window(*workspace, nullptr);
        window.show();
        window.Reload();
        window.findChild<pw::BackgroundWork*>()->Wait();
        QApplication::processEvents();
        if (window.findChild<QTableView*>("TranslationsList")->model()->rowCount() == 0)
            state.SkipWithError("no rows shown");
    }
}
BENCHMARK_CAPTURE(BM_TranslationsOpen, Cp1251, "stringtable.ini")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TranslationsOpen, Utf16, "stringtable_utf16.ini")->Unit(benchmark::kMillisecond);

// Each iteration types the next letter of a word the table's texts hold, then starts again; the rows
// are filtered and the view repainted after each key.
void BM_TranslationsFilterKeystroke(benchmark::State& state) {
    const auto workspace = TableWorkspace("stringtable.ini");
    pw::TranslationsWindow window(*workspace, nullptr);
    window.show();
    window.Reload();
    window.findChild<pw::BackgroundWork*>()->Wait();
    auto* filter = window.findChild<QLineEdit*>("FilterEd");
    auto* list = window.findChild<QTableView*>("TranslationsList");
    QApplication::processEvents();
    const QString word = QStringLiteral("hunter");
    int typed = 0;
    int rows = 0;
    for (auto _ : state) {
        if (typed == word.size()) {
            state.PauseTiming();
            filter->clear();
            QApplication::processEvents();
            typed = 0;
            state.ResumeTiming();
        }
        QTest::keyClick(filter, word.at(typed++).toLatin1());
        list->viewport()->repaint();
        rows = list->model()->rowCount();
    }
    state.counters["rows"] = rows;
}
BENCHMARK(BM_TranslationsFilterKeystroke)->Unit(benchmark::kMillisecond);

} // namespace
