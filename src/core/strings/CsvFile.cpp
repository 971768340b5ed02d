#include "core/strings/CsvFile.h"

namespace pw {

const std::vector<std::string>& TranslationCsvColumns() {
    static const std::vector<std::string> columns = {
        "location",          "source", "target", "id", "fuzzy", "context", "translator_comments",
        "developer_comments"};
    return columns;
}

std::string CsvLine(const CsvRow& row) {
    std::string line;
    for (std::size_t i = 0; i < row.size(); ++i) {
        const std::string& field = row[i];
        if (i > 0)
            line += ',';
        const bool quote = field.find_first_of(",\"\r\n") != std::string::npos ||
                           (!field.empty() && (field.front() == ' ' || field.back() == ' '));
        if (!quote) {
            line += field;
            continue;
        }
        line += '"';
        for (char c : field)
            line += c == '"' ? std::string("\"\"") : std::string(1, c);
        line += '"';
    }
    return line + "\r\n";
}

std::optional<std::vector<CsvRow>> ReadCsv(std::string_view text, std::string* error) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    std::vector<CsvRow> rows;
    CsvRow row;
    std::string field;
    std::size_t line = 1;
    std::size_t i = 0;
    const auto endField = [&] {
        row.push_back(std::move(field));
        field.clear();
    };
    while (i < text.size()) {
        if (text[i] == '"' && field.empty()) {
            const std::size_t opened = line;
            for (++i;; ++i) {
                if (i >= text.size()) {
                    if (error)
                        *error = "CSV-файл, строка " + std::to_string(opened) + ": кавычка не закрыта";
                    return std::nullopt;
                }
                if (text[i] == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else if (text[i] == '"') {
                    ++i;
                    break;
                } else {
                    line += text[i] == '\n';
                    field += text[i];
                }
            }
            if (i < text.size() && text[i] != ',' && text[i] != '\r' && text[i] != '\n') {
                if (error)
                    *error = "CSV-файл, строка " + std::to_string(line) + ": текст после закрывающей кавычки";
                return std::nullopt;
            }
            continue;
        }
        const char c = text[i++];
        if (c == ',') {
            endField();
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i < text.size() && text[i] == '\n')
                ++i;
            ++line;
            endField();
            if (!(row.size() == 1 && row[0].empty()))
                rows.push_back(std::move(row));
            row.clear();
        } else {
            field += c;
        }
    }
    if (!field.empty() || !row.empty()) {
        endField();
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace pw
