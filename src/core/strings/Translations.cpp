#include "core/strings/Translations.h"

#include "core/data/Cp1251.h"
#include "core/data/StrUtilsEx.h"
#include "core/strings/CsvFile.h"

#include <algorithm>

namespace pw {
namespace {

bool HasText(CellState state) {
    return state == CellState::Translated || state == CellState::SameAsEnglish;
}

// The cells of one value, and their states as the table's columns judge them.
class ValueCells {
public:
    ValueCells(std::string value, const TableLanguages& languages)
        : mValue(std::move(value)), mFields(SplitFields(mValue)), mEnglish(languages.English()) {}
    ValueCells(const ValueCells&) = delete; // the fields point into the value
    ValueCells& operator=(const ValueCells&) = delete;

    std::string_view Text(const TableLanguage& language) const { return Field(language.TextField()); }
    std::string_view Field(std::size_t field) const {
        return field < mFields.size() ? mFields[field] : std::string_view();
    }
    CellState State(const TableLanguage& language) const {
        const TableLanguage* english = mEnglish;
        const auto cell = [this](std::size_t field) {
            return field < mFields.size() ? std::optional<std::string_view>(mFields[field]) : std::nullopt;
        };
        return StateOfCell(cell(language.TextField()), english ? cell(english->TextField()) : std::nullopt,
                           english == &language);
    }

private:
    std::string mValue;
    std::vector<std::string_view> mFields;
    const TableLanguage* mEnglish;
};

std::vector<std::string> CommentsOf(const ValueCells& cells, const TableLanguages& languages,
                                    const ExportOptions& options) {
    std::vector<std::string> comments;
    for (const TableLanguage& language : languages.All())
        if (&language != options.source && &language != options.target && HasText(cells.State(language)))
            comments.push_back(language.code + ": " + std::string(cells.Text(language)));
    for (const TableLanguage& language : languages.All())
        if (const std::string_view second = TrimView(cells.Field(language.TextField() + 1)); !second.empty())
            comments.push_back(language.code + " (второе поле): " + std::string(second));
    return comments;
}

// Line breaks a translator typed become the table's own two characters "\n".
std::string TableLineBreaks(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            out += "\\n";
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

// Why the table's encoding cannot hold text, naming the first such character.
std::string UnheldText(const std::string& id, std::string_view text, const LanguageTable& table) {
    std::string what = "есть символ, которого нет в кодировке таблицы";
    if (const std::optional<std::u32string> decoded = DecodeUtf8(text))
        if (const std::optional<LackingCharacter> lacking = FirstCp1251Lacks(*decoded))
            what = "есть символ «" + lacking->utf8 + "» (" + lacking->codePoint +
                   "), которого нет в кодировке таблицы";
    return "ID " + id + ": в переводе " + what + " (" + std::string(EncodingName(table.Codec().Encoding())) +
           "). Ничего не записано.";
}

// Adds the edit of one cell to plan, or refuses the plan; false once refused.
bool AddCellEdit(TranslationPlan& plan, const LanguageTable& table, std::size_t entry,
                 const TableLanguage& language, const std::string& text) {
    const std::string id(table.Id(entry));
    if (const std::optional<std::string> problem = CellTextProblem(text)) {
        plan.refusal = "ID " + id + ": " + *problem + " Ничего не записано.";
        return false;
    }
    if (table.FieldText(entry, language.TextField()) == text) {
        ++plan.unchanged;
        return true;
    }
    std::optional<ByteEdit> edit = table.FieldEdit(entry, language.TextField(), text);
    if (!edit) {
        plan.refusal = UnheldText(id, text, table);
        return false;
    }
    plan.edits.push_back(std::move(*edit));
    return true;
}

void SortEdits(TranslationPlan& plan) {
    std::sort(plan.edits.begin(), plan.edits.end(),
              [](const ByteEdit& a, const ByteEdit& b) { return a.pos < b.pos; });
}

bool IsTrue(std::string_view text) {
    text = TrimView(text);
    return AsciiEqualNoCase(text, "true") || AsciiEqualNoCase(text, "yes") ||
           AsciiEqualNoCase(text, "fuzzy") || text == "1";
}

std::optional<TranslationFile> FromCsv(const std::vector<CsvRow>& rows, std::string* error) {
    const CsvRow& header = rows.front();
    const auto column = [&header](std::string_view name) -> std::optional<std::size_t> {
        for (std::size_t i = 0; i < header.size(); ++i)
            if (AsciiEqualNoCase(TrimView(header[i]), name))
                return i;
        return std::nullopt;
    };
    const std::optional<std::size_t> source = column("source"), target = column("target"),
                                     context = column("context"), id = column("id"), fuzzy = column("fuzzy");
    if (!source || !target || (!context && !id)) {
        if (error)
            *error = "В CSV-файле нет столбцов source, target и context (или id).";
        return std::nullopt;
    }
    TranslationFile file;
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const CsvRow& row = rows[r];
        const auto cell = [&row](std::optional<std::size_t> at) {
            return at && *at < row.size() ? row[*at] : std::string();
        };
        TranslationUnit unit;
        unit.id = cell(context).empty() ? cell(id) : cell(context);
        unit.source = cell(source);
        unit.target = cell(target);
        unit.fuzzy = IsTrue(cell(fuzzy));
        unit.fileLine = r + 1;
        file.units.push_back(std::move(unit));
    }
    return file;
}

std::optional<TranslationFile> FromPo(PoFile&& po, std::string* error) {
    TranslationFile file;
    file.language = po.HeaderField("Language").value_or(std::string());
    std::replace(file.language.begin(), file.language.end(), '_', '-');
    file.sourceLanguage = po.HeaderField("X-Source-Language").value_or(std::string());
    for (PoMessage& message : po.messages) {
        if (!message.context) {
            if (error)
                *error = "PO-файл, строка " + std::to_string(message.line) +
                         ": у сообщения нет msgctxt, где стоит ID записи таблицы.";
            return std::nullopt;
        }
        file.units.push_back({std::move(*message.context),
                              std::move(message.id),
                              std::move(message.str),
                              {},
                              0,
                              message.Fuzzy(),
                              message.line});
    }
    return file;
}

// The header fields of an export's PO file.
std::vector<std::pair<std::string, std::string>> PoHeader(const ExportOptions& options) {
    std::string language = options.target->code;
    std::replace(language.begin(), language.end(), '-', '_');
    return {{"Project-Id-Version", options.tableName},
            {"Report-Msgid-Bugs-To", ""},
            {"POT-Creation-Date", options.date},
            {"PO-Revision-Date", options.date},
            {"Last-Translator", ""},
            {"Language-Team", options.target->header},
            {"Language", language},
            {"MIME-Version", "1.0"},
            {"Content-Type", "text/plain; charset=UTF-8"},
            {"Content-Transfer-Encoding", "8bit"},
            {"X-Source-Language", options.source->code},
            {"X-Generator", options.generator}};
}

std::string CsvLineOf(const TranslationUnit& unit, const std::string& tableName) {
    std::string comments;
    for (const std::string& comment : unit.comments)
        comments.append(comments.empty() ? "" : "\n").append(comment);
    return CsvLine({tableName + ":" + std::to_string(unit.line), unit.source, unit.target, unit.id, "",
                    unit.id, "", comments});
}

void AppendUnit(std::string& out, const TranslationUnit& unit, const ExportOptions& options,
                PoMessage& message) {
    if (options.format == ExportFormat::Csv) {
        out += CsvLineOf(unit, options.tableName);
        return;
    }
    message.extractedComments = unit.comments;
    message.references.assign(1, options.tableName + ":" + std::to_string(unit.line));
    message.context = unit.id;
    message.id = unit.source;
    message.str = unit.target;
    AppendPoMessage(out, message);
}

} // namespace

ExportedTranslations ExportTranslations(const LanguageTable& table, const ExportOptions& options) {
    const TableLanguages& languages = table.Layout().languages;
    ExportedTranslations result;
    result.text.reserve(table.Bytes().size() + table.Bytes().size() / 2);
    result.text = options.format == ExportFormat::Po ? PoHeaderText(PoHeader(options))
                                                     : CsvLine(TranslationCsvColumns());
    TranslationUnit unit; // its texts' storage serves every entry
    PoMessage message;
    for (std::size_t i = 0; i < table.Size(); ++i) {
        const ValueCells cells(table.Value(i), languages);
        if (!HasText(cells.State(*options.source))) {
            ++result.withoutSource;
            continue;
        }
        const bool targetFilled = HasText(cells.State(*options.target));
        if (options.onlyMissing && targetFilled)
            continue;
        unit.id = table.Id(i);
        unit.source = cells.Text(*options.source);
        unit.target = targetFilled ? cells.Text(*options.target) : std::string_view();
        unit.comments = CommentsOf(cells, languages, options);
        unit.line = table.Entry(i).line;
        AppendUnit(result.text, unit, options, message);
        ++result.messages;
    }
    return result;
}

std::optional<TranslationFile> ReadTranslationFile(std::string_view text, std::string* error) {
    std::string_view start = text.substr(0, 3) == "\xEF\xBB\xBF" ? text.substr(3) : text;
    if (AsciiEqualNoCase(start.substr(0, 9), "location,")) {
        const std::optional<std::vector<CsvRow>> rows = ReadCsv(text, error);
        return rows ? FromCsv(*rows, error) : std::nullopt;
    }
    std::optional<PoFile> po = ReadPo(text, error);
    return po ? FromPo(std::move(*po), error) : std::nullopt;
}

std::string SkipReasonText(SkipReason reason) {
    switch (reason) {
    case SkipReason::RemovedId:
        return "такого ID в таблице больше нет";
    case SkipReason::Stale:
        return "исходный текст в таблице изменился после выгрузки";
    case SkipReason::Fuzzy:
        return "перевод помечен как неточный (fuzzy)";
    case SkipReason::EmptyTranslation:
        return "пустой перевод";
    case SkipReason::Repeated:
        return "ID встречается в файле не в первый раз";
    }
    return {};
}

TranslationPlan PlanImport(const LanguageTable& table, const TableLanguage& target,
                           const TableLanguage& source, const std::vector<TranslationUnit>& units) {
    TranslationPlan plan;
    std::vector<bool> seen(table.Size(), false); // the entries a message of the file was for
    for (const TranslationUnit& unit : units) {
        const std::optional<std::size_t> entry = table.Find(unit.id);
        const auto skip = [&](SkipReason reason) { plan.skipped.push_back({unit.id, reason}); };
        if (!entry) {
            skip(SkipReason::RemovedId);
            continue;
        }
        if (seen[*entry]) {
            skip(SkipReason::Repeated);
            continue;
        }
        seen[*entry] = true;
        if (table.FieldText(*entry, source.TextField()).value_or(std::string()) != unit.source) {
            skip(SkipReason::Stale);
            continue;
        }
        if (unit.fuzzy) {
            skip(SkipReason::Fuzzy);
            continue;
        }
        const std::string text = TableLineBreaks(unit.target);
        if (text.empty()) {
            skip(SkipReason::EmptyTranslation);
            continue;
        }
        if (!AddCellEdit(plan, table, *entry, target, text))
            return plan;
    }
    SortEdits(plan);
    return plan;
}

TranslationPlan PlanCopy(const LanguageTable& into, const TableLanguage& intoLanguage,
                         const LanguageTable& from, const TableLanguage& fromLanguage) {
    TranslationPlan plan;
    const TableLanguages& languages = from.Layout().languages;
    for (std::size_t i = 0; i < from.Size(); ++i) {
        const std::optional<std::size_t> entry = into.Find(from.Id(i));
        if (!entry) {
            plan.missingIds.emplace_back(from.Id(i));
            continue;
        }
        const ValueCells cells(from.Value(i), languages);
        if (!HasText(cells.State(fromLanguage))) {
            ++plan.emptySources;
            continue;
        }
        if (!AddCellEdit(plan, into, *entry, intoLanguage, std::string(cells.Text(fromLanguage))))
            return plan;
    }
    SortEdits(plan);
    return plan;
}

TableDifference DiffTables(const LanguageTable& oldTable, const LanguageTable& newTable,
                           const TableLanguage& oldEnglish, const TableLanguage& newEnglish,
                           const TableLanguage* oldLanguage, const TableLanguage* newLanguage) {
    TableDifference difference;
    const auto cell = [](const std::string& value, const TableLanguage& language) {
        return TrimView(FieldOf(value, language.TextField()).value_or(std::string_view()));
    };
    for (std::size_t n = 0; n < newTable.Size(); ++n) {
        const std::string id(newTable.Id(n));
        const std::optional<std::size_t> o = oldTable.Find(id);
        if (!o) {
            difference.added.push_back(id);
            continue;
        }
        const std::string oldValue = oldTable.Value(*o), newValue = newTable.Value(n);
        if (cell(oldValue, oldEnglish) == cell(newValue, newEnglish))
            continue;
        difference.changed.push_back(id);
        if (oldLanguage && newLanguage && cell(oldValue, *oldLanguage) == cell(newValue, *newLanguage) &&
            HasText(StateOf(newValue, *newLanguage, newTable.Layout().languages)))
            difference.stale.push_back(id);
    }
    for (std::size_t o = 0; o < oldTable.Size(); ++o)
        if (!newTable.Find(oldTable.Id(o)))
            difference.removed.emplace_back(oldTable.Id(o));
    return difference;
}

} // namespace pw
