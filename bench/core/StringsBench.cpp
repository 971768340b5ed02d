// The languages of the game-sized string table: every language's counts, one language exported for
// translators, a PO file of 1,000 changed translations imported, and one cell written as the translations
// window writes it.

#include "GenLibrary.h"

#include "core/data/FileIO.h"
#include "core/strings/CellWrite.h"
#include "core/strings/LanguageTable.h"
#include "core/strings/Translations.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

std::string Table(const char* name) {
    return (fs::path(pwbench::BenchLibrary()) / name).string();
}

// A copy of a table to write into, beside the library, made once.
std::string Copy(const char* name) {
    const fs::path copy = fs::path(pwbench::BenchLibrary()) / (std::string("written_") + name);
    fs::copy_file(Table(name), copy, fs::copy_options::overwrite_existing);
    return copy.string();
}

void BM_TranslationStatus(benchmark::State& state, const char* name) {
    const std::string path = Table(name);
    for (auto _ : state)
        benchmark::DoNotOptimize(pw::CountTableLanguages(path));
}
BENCHMARK_CAPTURE(BM_TranslationStatus, Cp1251, "stringtable.ini")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TranslationStatus, Utf16, "stringtable_utf16.ini")->Unit(benchmark::kMillisecond);

// Russian exported from English as translation-export makes it: the table read, the PO file's text made.
void BM_TranslationExport(benchmark::State& state, const char* name) {
    const std::string path = Table(name);
    std::size_t messages = 0;
    for (auto _ : state) {
        const pw::LanguageTable table = pw::LanguageTable::Read(path);
        const pw::TableLanguages& languages = table.Layout().languages;
        pw::ExportOptions options;
        options.source = languages.Find("en");
        options.target = languages.Find("ru");
        options.tableName = "stringtable.ini";
        const pw::ExportedTranslations exported = pw::ExportTranslations(table, options);
        benchmark::DoNotOptimize(exported.text.data());
        messages = exported.messages;
    }
    state.counters["messages"] = static_cast<double>(messages);
}
BENCHMARK_CAPTURE(BM_TranslationExport, Cp1251, "stringtable.ini")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TranslationExport, Utf16, "stringtable_utf16.ini")->Unit(benchmark::kMillisecond);

// A PO file's text whose 1,000 messages from the middle of the table have new translations; every other
// message carries the table's own.
std::string PoWithChanges(const std::string& path) {
    const pw::LanguageTable table = pw::LanguageTable::Read(path);
    const pw::TableLanguages& languages = table.Layout().languages;
    pw::ExportOptions options;
    options.source = languages.Find("en");
    options.target = languages.Find("ru");
    std::string text = pw::ExportTranslations(table, options).text;
    std::optional<pw::PoFile> po = pw::ReadPo(text, nullptr);
    const std::size_t first = po->messages.size() / 2;
    for (std::size_t i = first; i < first + 1000 && i < po->messages.size(); ++i)
        po->messages[i].str = "Новый перевод " + std::to_string(i);
    return pw::WritePo(*po);
}

// The import as translation-import makes it: the PO file read, the table read and written once under
// its lock. Every run writes the same 1,000 cells into a fresh copy.
void BM_TranslationImport(benchmark::State& state, const char* name) {
    const std::string po = PoWithChanges(Table(name));
    std::size_t written = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::string path = Copy(name);
        state.ResumeTiming();
        const std::optional<pw::TranslationFile> file = pw::ReadTranslationFile(po, nullptr);
        std::optional<pw::LanguageTable> table;
        pw::TranslationPlan plan;
        std::string reason;
        const bool ok = pw::UpdateFileAtomic(
            path,
            [&](const std::optional<std::string>& current) -> std::optional<pw::FilePieces> {
                table.emplace(*current);
                const pw::TableLanguages& languages = table->Layout().languages;
                plan = pw::PlanImport(*table, *languages.Find("ru"), *languages.Find("en"), file->units);
                return table->Pieces(plan.edits);
            },
            &reason);
        if (!ok)
            throw std::runtime_error(reason);
        written = plan.edits.size();
    }
    state.counters["written"] = static_cast<double>(written);
}
BENCHMARK_CAPTURE(BM_TranslationImport, Cp1251, "stringtable.ini")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TranslationImport, Utf16, "stringtable_utf16.ini")->Unit(benchmark::kMillisecond);

// One cell of an entry near the table's end written as the translations window writes it after an edit,
// the entry checked against the value the window read.
void BM_TableCellWrite(benchmark::State& state, const char* name) {
    const std::string path = Copy(name);
    const pw::LanguageTable table = pw::LanguageTable::Read(path);
    const std::size_t entry = table.Size() - 10;
    pw::CellWrite write;
    write.id = std::string(table.Id(entry));
    write.field = table.Layout().languages.Find("ru")->TextField();
    write.fieldCount = table.Layout().fieldCount;
    write.replaceFilled = true;
    std::string value = table.Value(entry);
    int round = 0;
    for (auto _ : state) {
        write.text = "Правка " + std::to_string(++round);
        write.expectedValue = std::optional<std::string>(value);
        const pw::CellWriteResult result = pw::WriteTableCell(path, write);
        if (result.status != pw::CellWriteStatus::Written)
            state.SkipWithError("the cell was not written");
        value = *result.value;
    }
}
BENCHMARK_CAPTURE(BM_TableCellWrite, Cp1251, "stringtable.ini")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TableCellWrite, Utf16, "stringtable_utf16.ini")->Unit(benchmark::kMillisecond);

} // namespace
