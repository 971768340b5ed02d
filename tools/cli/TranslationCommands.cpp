#include "TranslationCommands.h"

#include "JsonLine.h"

#include "core/data/Cp1251.h"
#include "core/data/FileIO.h"
#include "core/data/Version.h"
#include "core/strings/LanguageTable.h"
#include "core/strings/Translations.h"

#include <ctime>
#include <optional>

namespace pw::cli {
namespace {

// Without --verbose the empty translations of an import are listed for this many messages, then summed up.
constexpr std::size_t kListedEmpty = 20;

// The file name of a path, as a translators' file names its table.
std::string FileNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// An ID (UTF-8) as the command line prints it: with --raw in Windows-1251.
std::string Printed(const std::string& id, const TextForm& form) {
    return form.Raw() ? Utf8ToCp1251(id) : id;
}

// A language option's argument as the command line spells it (UTF-8; with --raw Windows-1251).
std::string LanguageArgument(const std::string& given, const TextForm& form) {
    return form.Raw() ? Cp1251ToUtf8(given) : given;
}

void RequireLanguages(const LanguageTable& table, const std::string& path) {
    if (table.Layout().SingleLanguage())
        ThrowRefused(SingleLanguageMessage(path));
}

// The language a table's columns call given; refused when it has none such.
const TableLanguage& LanguageOf(const LanguageTable& table, const std::string& given,
                                const std::string& path) {
    if (const TableLanguage* language = table.Layout().languages.Find(given))
        return *language;
    ThrowRefused(MissingLanguageMessage(path, given, table.Layout().languages));
}

const TableLanguage& EnglishOf(const LanguageTable& table, const std::string& path) {
    if (const TableLanguage* english = table.Layout().languages.English())
        return *english;
    ThrowRefused("В таблице " + path + " нет английского столбца, с которым сравниваются тексты.");
}

// The value of an option that takes one, or empty.
std::string OptionValue(const CommandArgs& parsed, std::string_view name) {
    std::string value;
    for (const auto& [option, given] : parsed.options)
        if (option == name)
            value = given;
    return value;
}

// "-o FILE" is the short form of "--output FILE".
Args WithLongOutput(Args args) {
    for (std::string& arg : args) {
        if (arg == "--")
            break;
        if (arg == "-o")
            arg = "--output";
    }
    return args;
}

// The moment of an export, as PO headers write dates.
std::string PoDate() {
    const std::time_t now = std::time(nullptr);
    char text[32] = "";
    if (const std::tm* utc = std::gmtime(&now))
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M+0000", utc);
    return text;
}

// What an import or copy did not take, on standard error: each message, except that empty translations
// are summed up after the first few unless every one is asked for.
void ListSkipped(const std::vector<Skipped>& skipped, bool verbose, const TextForm& form) {
    std::size_t empty = 0;
    for (const Skipped& skip : skipped) {
        if (skip.reason == SkipReason::EmptyTranslation && !verbose && ++empty > kListedEmpty)
            continue;
        WriteErrLine("не записано: " + Printed(skip.id, form) + " — " + SkipReasonText(skip.reason));
    }
    if (empty > kListedEmpty)
        WriteErrLine("… и ещё " + std::to_string(empty - kListedEmpty) + ": " +
                     SkipReasonText(SkipReason::EmptyTranslation));
}

// Writes plan into the table at path in one locked read-modify-write, the plan made by plan from the
// table as it is under the lock. Returns the plan made.
template <class MakePlan> TranslationPlan WritePlan(const std::string& path, bool dryRun, MakePlan makePlan) {
    std::optional<LanguageTable> table;
    TranslationPlan plan;
    std::string reason;
    const bool written = UpdateFileAtomic(
        path,
        [&](const std::optional<std::string>& current) -> std::optional<FilePieces> {
            table.emplace(current.value_or(std::string()));
            plan = makePlan(*table);
            if (!plan.refusal.empty())
                ThrowRefused(plan.refusal);
            if (dryRun || plan.edits.empty())
                return std::nullopt;
            return table->Pieces(plan.edits);
        },
        &reason);
    if (!written)
        throw CliFailure(kExitFileError, UnableToWriteMessage(path, reason));
    return plan;
}

void PrintOutcome(const TranslationPlan& plan, bool dryRun, const std::string& what) {
    std::string line = what + ": " + std::to_string(plan.edits.size()) +
                       ", уже совпадали: " + std::to_string(plan.unchanged) + ".";
    if (plan.edits.empty())
        line += " Ничего не изменилось: таблица не записана.";
    else if (dryRun)
        line += " (--dry-run: таблица не записана.)";
    WriteErrLine(line);
}

std::string StatusJson(const std::string& path, const TableLanguage& language, const LanguageCounts& counts) {
    const auto count = [&counts](CellState state) { return counts.states[static_cast<std::size_t>(state)]; };
    return OneLine(Json{{"table", JsonText(path)},
                        {"language", JsonText(language.header)},
                        {"code", language.code},
                        {"column", language.column},
                        {"translated", count(CellState::Translated)},
                        {"missing", count(CellState::Missing)},
                        {"placeholder", count(CellState::Placeholder)},
                        {"same_as_english", count(CellState::SameAsEnglish)},
                        {"total", counts.Total()}});
}

std::string StatusLine(const std::string& path, const TableLanguage& language, const LanguageCounts& counts) {
    const auto count = [&counts](CellState state) {
        return std::to_string(counts.states[static_cast<std::size_t>(state)]);
    };
    return path + ": " + language.code + " (" + std::to_string(language.column) + ", " + language.name +
           "): переведено " + count(CellState::Translated) + " из " + std::to_string(counts.Total()) + " (" +
           std::to_string(counts.Percent()) + " %), пусто " + count(CellState::Missing) + ", заглушки " +
           count(CellState::Placeholder) + ", как в английском " + count(CellState::SameAsEnglish) + "\n";
}

} // namespace

int TranslationStatus(const Args& args, const TextForm&) {
    const CommandArgs parsed = ParseArgs(args, {{"--format", true}});
    const std::string format = parsed.Has("--format") ? OptionValue(parsed, "--format") : "text";
    if (format != "text" && format != "json")
        ThrowUsage("--format takes text or json");
    if (parsed.operands.empty())
        ThrowUsage("translation-status takes TABLE... [--format text|json]");
    std::string out;
    std::string json;
    for (const std::string& path : parsed.operands) {
        RequireExistingFile(path);
        const TableCounts table = CountTableLanguages(path);
        if (table.layout.SingleLanguage()) {
            WriteErrLine(SingleLanguageMessage(path));
            continue;
        }
        const std::vector<LanguageCounts>& counts = table.counts;
        for (const TableLanguage& language : table.layout.languages.All()) {
            const LanguageCounts& of = counts[static_cast<std::size_t>(language.column - 1)];
            if (format == "json")
                json += std::string(json.empty() ? "\n  " : ",\n  ") + StatusJson(path, language, of);
            else
                out += StatusLine(path, language, of);
        }
    }
    WriteOut(format == "json" ? "[" + json + (json.empty() ? "]\n" : "\n]\n") : out);
    return kExitOk;
}

int TranslationExport(const Args& args, const TextForm& form) {
    const CommandArgs parsed = ParseArgs(
        WithLongOutput(args),
        {{"--lang", true}, {"--source", true}, {"--only-missing"}, {"--format", true}, {"--output", true}});
    const Args& a = parsed.operands;
    if (a.size() != 1 || !parsed.Has("--lang"))
        ThrowUsage("translation-export takes TABLE --lang L [--source S] [--only-missing] [--format po|csv] "
                   "[-o FILE]");
    const std::string format = parsed.Has("--format") ? OptionValue(parsed, "--format") : "po";
    if (format != "po" && format != "csv")
        ThrowUsage("--format takes po or csv");
    RequireExistingFile(a[0]);
    const LanguageTable table = LanguageTable::Read(a[0]);
    RequireLanguages(table, a[0]);
    ExportOptions options;
    options.target = &LanguageOf(table, LanguageArgument(OptionValue(parsed, "--lang"), form), a[0]);
    options.source = parsed.Has("--source")
                         ? &LanguageOf(table, LanguageArgument(OptionValue(parsed, "--source"), form), a[0])
                         : &EnglishOf(table, a[0]);
    if (options.source == options.target)
        ThrowRefused("Язык перевода и исходный язык совпадают: " + options.target->code + ".");
    options.onlyMissing = parsed.Has("--only-missing");
    options.format = format == "po" ? ExportFormat::Po : ExportFormat::Csv;
    options.tableName = FileNameOf(a[0]);
    options.date = PoDate();
    options.generator = std::string("plotwright-cli ") + kProgramVersion;
    const ExportedTranslations exported = ExportTranslations(table, options);
    const std::string& text = exported.text;
    if (exported.withoutSource > 0)
        WriteErrLine("Пропущено записей без исходного текста (" + options.source->code +
                     "): " + std::to_string(exported.withoutSource));
    const std::string output = OptionValue(parsed, "--output");
    if (output.empty()) {
        WriteOut(text);
        return kExitOk;
    }
    RequireRegularIfPresent(output);
    std::string reason;
    if (!WriteFileAtomic(output, text, &reason))
        throw CliFailure(kExitFileError, UnableToWriteMessage(output, reason));
    return kExitOk;
}

int TranslationImport(const Args& args, const TextForm& form) {
    const CommandArgs parsed = ParseArgs(args, {{"--lang", true}, {"--dry-run"}, {"--verbose"}});
    const Args& a = parsed.operands;
    if (a.size() != 2)
        ThrowUsage("translation-import takes TABLE FILE [--lang L] [--dry-run]");
    RequireExistingFile(a[0]);
    RequireExistingFile(a[1]);
    std::string error;
    const std::optional<TranslationFile> file = ReadTranslationFile(*ReadWholeFile(a[1]), &error);
    if (!file)
        ThrowRefused(a[1] + ": " + error);
    const std::string language =
        parsed.Has("--lang") ? LanguageArgument(OptionValue(parsed, "--lang"), form) : file->language;
    if (language.empty())
        ThrowUsage("translation-import needs --lang L: " + a[1] + " names no language");
    const bool dryRun = parsed.Has("--dry-run");
    const TranslationPlan plan = WritePlan(a[0], dryRun, [&](const LanguageTable& table) {
        RequireLanguages(table, a[0]);
        const TableLanguage& target = LanguageOf(table, language, a[0]);
        const TableLanguage& source = file->sourceLanguage.empty()
                                          ? EnglishOf(table, a[0])
                                          : LanguageOf(table, file->sourceLanguage, a[0]);
        if (&source == &target)
            ThrowRefused("Язык перевода и исходный язык совпадают: " + target.code + ".");
        return PlanImport(table, target, source, file->units);
    });
    ListSkipped(plan.skipped, parsed.Has("--verbose"), form);
    PrintOutcome(plan, dryRun, "Записано переводов");
    return kExitOk;
}

int TranslationCopy(const Args& args, const TextForm& form) {
    const CommandArgs parsed = ParseArgs(args, {{"--lang", true}, {"--dry-run"}});
    const Args& a = parsed.operands;
    if (a.size() != 2 || !parsed.Has("--lang"))
        ThrowUsage("translation-copy takes TABLE FROM --lang L [--dry-run]");
    RequireExistingFile(a[0]);
    RequireExistingFile(a[1]);
    const std::string language = LanguageArgument(OptionValue(parsed, "--lang"), form);
    const LanguageTable from = LanguageTable::Read(a[1]);
    RequireLanguages(from, a[1]);
    const TableLanguage& fromLanguage = LanguageOf(from, language, a[1]);
    const bool dryRun = parsed.Has("--dry-run");
    const TranslationPlan plan = WritePlan(a[0], dryRun, [&](const LanguageTable& into) {
        RequireLanguages(into, a[0]);
        return PlanCopy(into, LanguageOf(into, language, a[0]), from, fromLanguage);
    });
    for (const std::string& id : plan.missingIds)
        WriteErrLine("нет в " + a[0] + ": " + Printed(id, form));
    if (plan.emptySources > 0)
        WriteErrLine("Без текста в " + a[1] + " (не скопировано): " + std::to_string(plan.emptySources));
    PrintOutcome(plan, dryRun, "Скопировано переводов");
    return kExitOk;
}

int TableDiff(const Args& args, const TextForm& form) {
    const CommandArgs parsed = ParseArgs(args, {{"--lang", true}});
    const Args& a = parsed.operands;
    if (a.size() != 2)
        ThrowUsage("table-diff takes OLD NEW [--lang L]");
    RequireExistingFile(a[0]);
    RequireExistingFile(a[1]);
    const LanguageTable oldTable = LanguageTable::Read(a[0]);
    const LanguageTable newTable = LanguageTable::Read(a[1]);
    const TableLanguage* oldLanguage = nullptr;
    const TableLanguage* newLanguage = nullptr;
    if (parsed.Has("--lang")) {
        const std::string language = LanguageArgument(OptionValue(parsed, "--lang"), form);
        RequireLanguages(oldTable, a[0]);
        RequireLanguages(newTable, a[1]);
        oldLanguage = &LanguageOf(oldTable, language, a[0]);
        newLanguage = &LanguageOf(newTable, language, a[1]);
    }
    const TableDifference difference = DiffTables(oldTable, newTable, EnglishOf(oldTable, a[0]),
                                                  EnglishOf(newTable, a[1]), oldLanguage, newLanguage);
    std::string out;
    const auto list = [&](const std::vector<std::string>& ids, const std::string& mark) {
        for (const std::string& id : ids)
            out += mark + Printed(id, form) + "\n";
    };
    list(difference.added, "+");
    list(difference.removed, "-");
    list(difference.changed, "~");
    list(difference.stale, "stale ");
    WriteOut(out);
    return kExitOk;
}

} // namespace pw::cli
