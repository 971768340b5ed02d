// The text pane on the string table of the real game's size (30 MB, about 100,000 entries, in
// Windows-1251 and in UTF-16LE): loading it into a pane, saving it, finding and replacing in it, and the
// INI colouring of a long dialogue pane. The resident memory after each step is reported as rss_mb.

#include "GenLibrary.h"
#include "QtBench.h"

#include "core/data/FileIO.h"
#include "gui/text_pane/TextFile.h"
#include "gui/text_pane/TextPane.h"

#include <QApplication>
#include <QTextBlock>
#include <QTextCursor>
#include <QThread>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

namespace fs = std::filesystem;

namespace {

std::string TablePath(bool utf16) {
    static const std::string dir = pwbench::BenchLibrary();
    return (fs::path(dir) / (utf16 ? "stringtable_utf16.ini" : "stringtable.ini")).string();
}

std::unique_ptr<pw::TextPane> ShownPane() {
    auto pane = std::make_unique<pw::TextPane>();
    pane->resize(900, 800);
    pane->show();
    QApplication::processEvents();
    return pane;
}

// Reading the file, decoding it, putting it into a document and showing that in a visible pane, until
// the pane has drawn: the string editor's reload, all on one thread.
void BM_LoadTableIntoPane(benchmark::State& state) {
    const std::string path = TablePath(state.range(0) == 1);
    for (auto _ : state) {
        state.PauseTiming();
        auto pane = ShownPane();
        state.ResumeTiming();
        pane->ShowPreparedText(pw::PrepareText(pw::LoadTextFile(path), QThread::currentThread()));
        QApplication::processEvents();
        state.counters["rss_mb"] = pwbench::ResidentMegabytes();
        state.PauseTiming();
        pane.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoadTableIntoPane)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("utf16")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// Taking the text from the pane, encoding it, comparing the file with what was read and writing it.
void BM_SaveTableFromPane(benchmark::State& state) {
    const std::string path = TablePath(state.range(0) == 1);
    const std::string target = (fs::temp_directory_path() / "plotwright-bench-save.ini").string();
    fs::copy_file(path, target, fs::copy_options::overwrite_existing);
    auto pane = ShownPane();
    pane->LoadFromFile(target);
    for (auto _ : state) {
        const pw::EncodedText encoded =
            pw::EncodeTextFile(pane->PlainText(), pane->Encoding(), pane->LineBreakStyle());
        if (pw::SaveTextFile(target, encoded.bytes, pane->Source(), false) != pw::SaveResult::Written)
            state.SkipWithError("the file was taken as changed");
    }
    fs::remove(target);
}
BENCHMARK(BM_SaveTableFromPane)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("utf16")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

struct LoadedPane {
    LoadedPane() : pane(ShownPane()) { pane->LoadFromFile(TablePath(false)); }
    std::unique_ptr<pw::TextPane> pane;
};

pw::TextPane& Table() {
    static LoadedPane loaded;
    return *loaded.pane;
}

// A find that runs through the whole table from the top: a text that is absent, or only in the last line.
void FindThroughTheTable(benchmark::State& state, const QString& text, bool matchCase, bool regex,
                         int expected) {
    pw::TextPane& pane = Table();
    pw::SearchOptions options;
    options.wholeScope = true;
    options.matchCase = matchCase;
    options.regularExpression = regex;
    for (auto _ : state) {
        pane.moveCursor(QTextCursor::Start);
        if (pane.SearchReplace(text, {}, options) != expected)
            state.SkipWithError("unexpected result");
    }
}
void BM_FindAbsentText(benchmark::State& state) {
    FindThroughTheTable(state, "Мордор", false, false, 0);
}
BENCHMARK(BM_FindAbsentText)->Unit(benchmark::kMillisecond);
void BM_FindAbsentTextMatchCase(benchmark::State& state) {
    FindThroughTheTable(state, "Мордор", true, false, 0);
}
BENCHMARK(BM_FindAbsentTextMatchCase)->Unit(benchmark::kMillisecond);
void BM_FindTheLastEntry(benchmark::State& state) {
    pw::TextPane& pane = Table();
    const QString last = pane.document()->lastBlock().previous().text().section(u'=', 0, 0);
    FindThroughTheTable(state, last, false, false, 1);
}
BENCHMARK(BM_FindTheLastEntry)->Unit(benchmark::kMillisecond);
void BM_FindAbsentRegex(benchmark::State& state) {
    FindThroughTheTable(state, "Мор[дт]ор", false, true, 0);
}
BENCHMARK(BM_FindAbsentRegex)->Unit(benchmark::kMillisecond);

// F3 after F3: the next occurrence of a common word from wherever the last one left the caret.
void BM_FindNextOccurrence(benchmark::State& state) {
    pw::TextPane& pane = Table();
    pane.moveCursor(QTextCursor::Start);
    pw::SearchOptions options;
    for (auto _ : state)
        if (pane.SearchReplace("золото", {}, options) == 0)
            pane.moveCursor(QTextCursor::Start);
}
BENCHMARK(BM_FindNextOccurrence)->Unit(benchmark::kMicrosecond);

// Replacing a word that occurs about 140,000 times, as one undo step, in a freshly loaded table.
void BM_ReplaceAllInTable(benchmark::State& state) {
    pw::SearchOptions options;
    options.replaceAll = true;
    options.wholeScope = true;
    for (auto _ : state) {
        state.PauseTiming();
        auto pane = ShownPane();
        pane->LoadFromFile(TablePath(false));
        QApplication::processEvents();
        state.ResumeTiming();
        const int count = pane->SearchReplace("king", "queen", options);
        QApplication::processEvents();
        state.counters["replaced"] = count;
        state.counters["rss_mb"] = pwbench::ResidentMegabytes();
        state.PauseTiming();
        pane.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ReplaceAllInTable)->Unit(benchmark::kMillisecond)->Iterations(3);

// A dialogue file of 1,000 lines shown in a pane with INI colouring (1) and without (0).
void BM_ShowLongDialogue(benchmark::State& state) {
    QString text = "[Info]\n; a long dialogue\n";
    for (int i = 0; i < 1000; ++i)
        text += QStringLiteral("InfoScript_Texts%1=\"LONG_DIALOGUE_%1\";Say;owner;12.5;-1\n").arg(i);
    auto pane = ShownPane();
    if (state.range(0) == 1)
        pane->ColourAsIni();
    for (auto _ : state) {
        pane->setPlainText(text);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_ShowLongDialogue)->Arg(0)->Arg(1)->ArgName("coloured")->Unit(benchmark::kMillisecond);

} // namespace
