// The editor's logic over the whole benchmark library: the library search, the dialogue tab's load and
// compile checks of every dialogue (the work of plotwright-cli check), the library index with the choice
// plotwright-cli list makes from it, the string table's IDs that completion offers, and the plan of a
// rename.

#include "GenLibrary.h"

#include "core/data/Cp1251.h"
#include "core/data/G3Infos.h"
#include "core/data/Library.h"
#include "core/data/StringTable.h"
#include "core/dialogue/InfoEditorModel.h"
#include "core/library/LibraryIndex.h"
#include "core/library/LibraryQuery.h"
#include "core/library/LibraryRename.h"
#include "core/library/LibrarySearch.h"
#include "core/library/NameCompletion.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace {

std::vector<std::string> ScanBenchLibrary(std::initializer_list<const char*> folders) {
    std::vector<std::string> list;
    for (const char* folder : folders)
        pw::ScanLibraryFolder((std::filesystem::path(pwbench::BenchLibrary()) / folder).string(), list);
    return list;
}

const std::vector<std::string>& InfoFiles() {
    static const std::vector<std::string> files = ScanBenchLibrary({"Infos"});
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

// Every dialogue and quest, as tree and later the browser read them.
void BM_LibraryIndex(benchmark::State& state) {
    static const std::vector<std::string> files = ScanBenchLibrary({"Infos", "Quests"});
    std::size_t failures = 0;
    for (auto _ : state)
        failures = pw::LibraryIndex(files).Failures().size();
    state.counters["files"] = static_cast<double>(files.size());
    state.counters["failures"] = static_cast<double>(failures);
}
BENCHMARK(BM_LibraryIndex)->Unit(benchmark::kMillisecond);

// list --owner: an index narrowed to the query, then the choice.
void BM_ListOwner(benchmark::State& state) {
    const pw::LibraryQuery query = pw::LibraryQuery().Where(pw::DialogueField::Owner, "Lester");
    std::size_t found = 0;
    for (auto _ : state)
        found = query.Select(pw::LibraryIndex(InfoFiles(), query)).size();
    state.counters["found"] = static_cast<double>(found);
}
BENCHMARK(BM_ListOwner)->Unit(benchmark::kMillisecond);

std::string BenchTable(const char* name) {
    return (std::filesystem::path(pwbench::BenchLibrary()) / name).string();
}

// The IDs gathered from the 30 MB table by the index's background build.
void ListIds(benchmark::State& state, const char* table) {
    std::size_t ids = 0;
    for (auto _ : state)
        ids = pw::ListTableIds(BenchTable(table)).size();
    state.counters["ids"] = static_cast<double>(ids);
}
BENCHMARK_CAPTURE(ListIds, cp1251, "stringtable.ini")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ListIds, utf16, "stringtable_utf16.ini")->Unit(benchmark::kMillisecond);

// One keystroke's look-up in a Texts cell: the first 100 of the table's IDs that begin with what is typed
// (the start of an ID of its own, in small letters), over all of them, sorted as the build sorts them.
void CompleteTableId(benchmark::State& state, std::size_t typed) {
    static const std::vector<std::string> ids = [] {
        std::vector<std::string> list = pw::ListTableIds(BenchTable("stringtable.ini"));
        std::sort(list.begin(), list.end(),
                  [](const std::string& a, const std::string& b) { return pw::AsciiLessNoCase(a, b); });
        return list;
    }();
    std::vector<std::string> prefixes;
    for (std::size_t i = 0; i < ids.size(); i += 997) {
        std::string prefix = ids[i].substr(0, typed);
        std::transform(prefix.begin(), prefix.end(), prefix.begin(),
                       [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
        prefixes.push_back(std::move(prefix));
    }
    std::size_t offered = 0;
    std::size_t next = 0;
    for (auto _ : state) {
        offered += pw::NamesStartingWith(ids, prefixes[next]).size();
        next = (next + 1) % prefixes.size();
    }
    state.counters["ids"] = static_cast<double>(ids.size());
    state.counters["offered"] =
        benchmark::Counter(static_cast<double>(offered), benchmark::Counter::kAvgIterations);
}
BENCHMARK_CAPTURE(CompleteTableId, one_letter, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(CompleteTableId, six_letters, 6)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(CompleteTableId, whole_id, 200)->Unit(benchmark::kMicrosecond);

// The scan of both trees that every command over the library starts with.
void BM_ScanLibrary(benchmark::State& state) {
    std::size_t files = 0;
    for (auto _ : state)
        files = ScanBenchLibrary({"Infos", "Quests"}).size();
    state.counters["files"] = static_cast<double>(files);
}
BENCHMARK(BM_ScanLibrary)->Unit(benchmark::kMillisecond);

// rename --dry-run of the quest the most dialogues name: the index narrowed to the old and the new name,
// then the plan, which reads the files that may name the quest again.
void BM_RenamePlan(benchmark::State& state) {
    static const std::vector<std::string> files = ScanBenchLibrary({"Infos", "Quests"});
    pw::RenameRequest request;
    request.oldName = "Faring_City_Quest_2236";
    request.newName = "Renamed_Quest";
    std::size_t changed = 0;
    for (auto _ : state)
        changed =
            pw::PlanRename(pw::LibraryIndex(files, {request.oldName, request.newName}), request).files.size();
    state.counters["files"] = static_cast<double>(changed);
}
BENCHMARK(BM_RenamePlan)->Unit(benchmark::kMillisecond);

} // namespace
