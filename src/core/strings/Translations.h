#pragma once
// A language of the string table handed to translators and taken back: the messages of an export (PO or
// CSV), the plan of an import into the table, the copy of a language between two tables and the
// difference between two versions of a table. Plans are made from a table's bytes read once and are
// applied as one write of the table; texts are UTF-8.

#include "core/strings/LanguageTable.h"
#include "core/strings/PoFile.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace pw {

// One message for a translator: an entry's source text and its translation.
struct TranslationUnit {
    std::string id;
    std::string source;
    std::string target;                // empty for a missing cell or a placeholder
    std::vector<std::string> comments; // the other languages' texts and non-empty second fields
    std::size_t line = 0;              // the entry's line in the table
    bool fuzzy = false;                // (read) the translator marked it unsure
    std::size_t fileLine = 0;          // (read) where the message stands in its file
};

enum class ExportFormat { Po, Csv };

struct ExportOptions {
    const TableLanguage* source = nullptr;
    const TableLanguage* target = nullptr;
    bool onlyMissing = false; // only the entries whose target cell is missing or a placeholder
    ExportFormat format = ExportFormat::Po;
    std::string tableName; // the table's file name, as a message's location names it
    std::string date;      // of the PO header: "2024-05-01 12:00+0000"
    std::string generator; // of the PO header: the program and its version
};

struct ExportedTranslations {
    std::string text;              // the PO file (lines end in LF) or the CSV file (CR LF)
    std::size_t messages = 0;      // the entries written
    std::size_t withoutSource = 0; // entries left out: their source cell is missing or a placeholder
};

// The translators' file of table for options: a message per entry in table order, its context the ID,
// its source and target texts (the target empty for a missing cell or a placeholder), the other filled
// languages' texts and the non-empty second fields as comments for the translator, and the entry's line.
// A PO file's header names the target's Language, its X-Source-Language and the charset UTF-8.
ExportedTranslations ExportTranslations(const LanguageTable& table, const ExportOptions& options);

// The units of a translators' file read back. A PO file's language is its header's "Language" (empty when
// it has none) and its source language "X-Source-Language"; a CSV file names neither. Returns std::nullopt
// and sets *error (UTF-8) for a file that is neither.
struct TranslationFile {
    std::vector<TranslationUnit> units;
    std::string language;
    std::string sourceLanguage;
};
std::optional<TranslationFile> ReadTranslationFile(std::string_view text, std::string* error);

// Why a message was not taken into the table.
enum class SkipReason { RemovedId, Stale, Fuzzy, EmptyTranslation, Repeated };
inline constexpr std::size_t kSkipReasons = 5;
std::string SkipReasonText(SkipReason reason); // UTF-8

struct Skipped {
    std::string id;
    SkipReason reason;
};

// What writing translations or a copied language into a table would do.
struct TranslationPlan {
    std::vector<ByteEdit> edits; // sorted by place
    std::size_t unchanged = 0;   // cells that already hold the text
    std::vector<Skipped> skipped;
    std::vector<std::string> missingIds; // (copy) the other table's IDs this one lacks
    std::size_t emptySources = 0;        // (copy) cells of the other table without a text to copy
    // Why nothing may be written (UTF-8, naming the ID), or empty.
    std::string refusal;
};

// The plan of writing units into target's cells: a message is taken when its ID is in the table, its
// source text equals the table's present source cell, it is not fuzzy and its translation is not empty.
// A line break in a translation becomes the two characters "\n"; a ";" or a character the table's
// encoding lacks refuses the whole import.
TranslationPlan PlanImport(const LanguageTable& table, const TableLanguage& target,
                           const TableLanguage& source, const std::vector<TranslationUnit>& units);

// The plan of copying from's cells of fromLanguage into into's cells of intoLanguage for every ID both
// tables hold; from's missing cells and placeholders are not copied.
TranslationPlan PlanCopy(const LanguageTable& into, const TableLanguage& intoLanguage,
                         const LanguageTable& from, const TableLanguage& fromLanguage);

// The difference between two versions of a table, in the order of the new one (removed IDs in the
// order of the old one).
struct TableDifference {
    std::vector<std::string> added;   // in the new table only
    std::vector<std::string> removed; // in the old table only
    std::vector<std::string> changed; // both, the English text changed
    std::vector<std::string> stale;   // of changed, those whose cell of the language stayed as it was
};
// english and language are of each table in turn (old, new); language may be nullptr.
TableDifference DiffTables(const LanguageTable& oldTable, const LanguageTable& newTable,
                           const TableLanguage& oldEnglish, const TableLanguage& newEnglish,
                           const TableLanguage* oldLanguage, const TableLanguage* newLanguage);

} // namespace pw
