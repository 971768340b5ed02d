// The data layer over a library at the real game's scale: library scan, string-table lookup and append,
// dialogue read and write.

#include "GenLibrary.h"

#include "core/data/FileIO.h"
#include "core/data/G3Infos.h"
#include "core/data/Library.h"
#include "core/data/StringTable.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string& Lib() {
    static const std::string dir = pwbench::BenchLibrary();
    return dir;
}

std::string LibFile(const std::string& name) {
    return (fs::path(Lib()) / name).string();
}

// The IDs of the first, the middle and the last entry of the 8-bit table, found once.
struct TableIds {
    std::string first, middle, last;
};

const TableIds& Ids() {
    static const TableIds ids = [] {
        const std::string text = *pw::ReadWholeFile(LibFile("stringtable.ini"));
        std::vector<std::string> all;
        std::size_t pos = text.find("[LocAdmin_Strings]");
        pos = text.find('\n', pos) + 1;
        while (pos < text.size()) {
            const std::size_t eq = text.find('=', pos);
            const std::size_t end = text.find('\n', pos);
            if (eq != std::string::npos && eq < end)
                all.push_back(text.substr(pos, eq - pos));
            pos = end == std::string::npos ? text.size() : end + 1;
        }
        if (all.empty())
            throw std::runtime_error("the benchmark table has no entries");
        return TableIds{all.front(), all[all.size() / 2], all.back()};
    }();
    return ids;
}

void BM_ScanLibrary(benchmark::State& state) {
    std::size_t files = 0;
    for (auto _ : state) {
        std::vector<std::string> infos, quests;
        pw::ScanLibraryFolder(LibFile("Infos"), infos);
        pw::ScanLibraryFolder(LibFile("Quests"), quests);
        files = infos.size() + quests.size();
        benchmark::DoNotOptimize(files);
    }
    state.counters["files"] = static_cast<double>(files);
}
BENCHMARK(BM_ScanLibrary)->Unit(benchmark::kMillisecond);

void Lookup(benchmark::State& state, const char* table, int which) {
    const TableIds& ids = Ids();
    const std::string id = which == 0   ? ids.first
                           : which == 1 ? ids.middle
                           : which == 2 ? ids.last
                                        : "No_Such_Id";
    const pw::TStringTable strings(LibFile(table));
    for (auto _ : state)
        benchmark::DoNotOptimize(strings.LookupTableString(id));
    if (strings.LookupTableString(id) == pw::kDialogNotFound && which != 3)
        state.SkipWithError("a present ID was not found");
}
BENCHMARK_CAPTURE(Lookup, first_cp1251, "stringtable.ini", 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Lookup, middle_cp1251, "stringtable.ini", 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Lookup, last_cp1251, "stringtable.ini", 2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Lookup, missing_cp1251, "stringtable.ini", 3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Lookup, first_utf16, "stringtable_utf16.ini", 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Lookup, middle_utf16, "stringtable_utf16.ini", 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Lookup, last_utf16, "stringtable_utf16.ini", 2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Lookup, missing_utf16, "stringtable_utf16.ini", 3)->Unit(benchmark::kMillisecond);

// The last entry of each table shape: the lookup that reads the whole file.
void LookupShape(benchmark::State& state, const char* shape) {
    const std::string path = LibFile(std::string("shapes/") + shape + ".ini");
    const std::string text = *pw::ReadWholeFile(path);
    const std::size_t lastLine = text.rfind('\n', text.size() - 2) + 1;
    const std::string id = text.substr(lastLine, text.find('=', lastLine) - lastLine);
    const pw::TStringTable strings(path);
    for (auto _ : state)
        benchmark::DoNotOptimize(strings.LookupTableString(id));
    if (strings.LookupTableString(id) == pw::kDialogNotFound)
        state.SkipWithError("the last ID was not found");
}
BENCHMARK_CAPTURE(LookupShape, mixed, "mixed")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LookupShape, prefix, "prefix")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LookupShape, long_values, "long")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LookupShape, short_lines, "short")->Unit(benchmark::kMillisecond);

// A scratch copy of a table beside the library, so the benchmarks never change the library itself.
std::string ScratchCopy(const char* table) {
    const std::string copy = LibFile(std::string("scratch_") + table);
    fs::copy_file(LibFile(table), copy, fs::copy_options::overwrite_existing);
    return copy;
}

// The baseline of the append: copying the whole table once.
void CopyTable(benchmark::State& state, const char* table) {
    const std::string copy = ScratchCopy(table);
    for (auto _ : state)
        fs::copy_file(LibFile(table), copy, fs::copy_options::overwrite_existing);
    fs::remove(copy);
}
BENCHMARK_CAPTURE(CopyTable, cp1251, "stringtable.ini")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CopyTable, utf16, "stringtable_utf16.ini")->Unit(benchmark::kMillisecond);

// The same copy made the way the program writes: read whole, then the atomic write with its flush.
void CopyTableAtomic(benchmark::State& state, const char* table) {
    const std::string copy = ScratchCopy(table);
    for (auto _ : state) {
        const std::string bytes = *pw::ReadWholeFile(LibFile(table));
        if (!pw::WriteFileAtomic(copy, bytes, nullptr))
            state.SkipWithError("the copy could not be written");
    }
    fs::remove(copy);
}
BENCHMARK_CAPTURE(CopyTableAtomic, cp1251, "stringtable.ini")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CopyTableAtomic, utf16, "stringtable_utf16.ini")->Unit(benchmark::kMillisecond);

void AppendEntry(benchmark::State& state, const char* table) {
    const std::string copy = ScratchCopy(table);
    const pw::TStringTable strings(copy);
    for (auto _ : state) {
        const auto result = strings.AddTableString("Bench_New_Entry_01", "Новая строка;PC_Hero;", false);
        if (result.status != pw::TStringTable::AddStatus::Written)
            state.SkipWithError("the append was refused");
        state.PauseTiming();
        fs::copy_file(LibFile(table), copy, fs::copy_options::overwrite_existing);
        state.ResumeTiming();
    }
    fs::remove(copy);
}
BENCHMARK_CAPTURE(AppendEntry, cp1251, "stringtable.ini")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(AppendEntry, utf16, "stringtable_utf16.ini")->Unit(benchmark::kMillisecond);

// A rename's last step: the entry in the middle of the table given a new text. The same text each time,
// so the copy stays as the first write left it.
void ReplaceEntry(benchmark::State& state, const char* table) {
    const std::string copy = ScratchCopy(table);
    const pw::TStringTable strings(copy);
    for (auto _ : state) {
        const auto result = strings.AddTableString(Ids().middle, "Новая строка;PC_Hero;", true);
        if (result.status != pw::TStringTable::AddStatus::Written)
            state.SkipWithError("the replace was refused");
    }
    fs::remove(copy);
}
BENCHMARK_CAPTURE(ReplaceEntry, cp1251, "stringtable.ini")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReplaceEntry, utf16, "stringtable_utf16.ini")->Unit(benchmark::kMillisecond);

// A dialogue with many command rows: the longest file of the first folder scanned.
const std::string& LargeInfo() {
    static const std::string path = [] {
        std::vector<std::string> infos;
        pw::ScanLibraryFolder(LibFile("Infos"), infos);
        std::string best;
        std::uintmax_t bestSize = 0;
        for (std::size_t i = 0; i < infos.size() && i < 500; ++i) {
            const std::uintmax_t size = fs::file_size(infos[i]);
            if (size > bestSize) {
                bestSize = size;
                best = infos[i];
            }
        }
        return best;
    }();
    return path;
}

void BM_InfoRead(benchmark::State& state) {
    for (auto _ : state) {
        pw::TInfo info;
        info.ReadFromFile(LargeInfo());
        benchmark::DoNotOptimize(info.InfoScript_Texts);
    }
}
BENCHMARK(BM_InfoRead)->Unit(benchmark::kMicrosecond);

void BM_InfoWrite(benchmark::State& state) {
    pw::TInfo info;
    info.ReadFromFile(LargeInfo());
    const std::string out = LibFile("scratch_write.info");
    for (auto _ : state)
        info.WriteToFile(out);
    fs::remove(out);
}
BENCHMARK(BM_InfoWrite)->Unit(benchmark::kMicrosecond);

} // namespace
