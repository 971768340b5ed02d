#pragma once
// Translators' CSV files as Weblate and the Translate Toolkit read and write them: a header row naming the
// columns (location, source, target, id, fuzzy, context, translator_comments, developer_comments), then a
// row per message; fields quoted as RFC 4180 quotes them. Texts are UTF-8.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pw {

using CsvRow = std::vector<std::string>;

// The columns of the translators' CSV, in their order.
const std::vector<std::string>& TranslationCsvColumns();

// One row as a line: each field quoted when it holds a comma, a quote, a line break or blanks at an end;
// the line ends in CR LF.
std::string CsvLine(const CsvRow& row);

// The rows of a CSV text (a UTF-8 byte-order mark allowed; CR LF or LF between rows, line breaks inside
// quoted fields kept). Returns std::nullopt and sets *error (UTF-8) for a quote left open or text after a
// closing quote.
std::optional<std::vector<CsvRow>> ReadCsv(std::string_view text, std::string* error);

} // namespace pw
