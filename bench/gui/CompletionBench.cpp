// Completion in a shown line edit over the string table's IDs at the real game's size (about 100,000):
// one keystroke, from the key to the drop-down shown with its entries.

#include "GenLibrary.h"

#include "core/data/Cp1251.h"
#include "core/data/StringTable.h"
#include "gui/library/NameCompleter.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>

namespace {

std::shared_ptr<const std::vector<std::string>> SortedTableIds() {
    const std::string table = (std::filesystem::path(pwbench::BenchLibrary()) / "stringtable.ini").string();
    auto ids = std::make_shared<std::vector<std::string>>(pw::ListTableIds(table));
    std::sort(ids->begin(), ids->end(),
              [](const std::string& a, const std::string& b) { return pw::AsciiLessNoCase(a, b); });
    return ids;
}

// Each iteration types the next letter of an ID (starting again with its first letter after six).
void BM_CompletionKeystroke(benchmark::State& state) {
    const auto ids = SortedTableIds();
    QLineEdit edit;
    auto* completer = new pw::NameCompleter(&edit, [ids] { return ids; });
    edit.resize(300, 24);
    edit.show();
    edit.activateWindow();
    edit.setFocus();
    QApplication::processEvents();
    const QString id = QString::fromStdString((*ids)[ids->size() / 2]).toLower();
    int typed = 0;
    for (auto _ : state) {
        if (typed == 6) {
            state.PauseTiming();
            edit.clear();
            typed = 0;
            state.ResumeTiming();
        }
        QTest::keyClick(&edit, id.at(typed++).toLatin1());
        QApplication::processEvents();
        if (!completer->popup()->isVisible())
            state.SkipWithError("nothing offered");
    }
    state.counters["ids"] = static_cast<double>(ids->size());
}
BENCHMARK(BM_CompletionKeystroke)->Unit(benchmark::kMillisecond);

} // namespace
