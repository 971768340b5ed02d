#pragma once
// The rows of the translations window: every entry of a table with its value, shown as the texts of a
// source and a target language, narrowed by a part of the ID or texts and by the target cell's state.
// Texts are UTF-8.

#include "core/strings/LanguageTable.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace pw {

// Which target cells the grid shows.
enum class StateFilter { All, Missing, Placeholder, SameAsEnglish };

class TranslationGrid {
public:
    // The entries of table, in its order.
    explicit TranslationGrid(const LanguageTable& table);
    TranslationGrid(const TranslationGrid&) = delete; // the languages shown point into the layout
    TranslationGrid& operator=(const TranslationGrid&) = delete;

    const TableLayout& Layout() const { return mLayout; }
    std::size_t Size() const { return mRows.size(); }
    const std::string& Id(std::size_t row) const { return mRows[row].id; }
    const std::string& Value(std::size_t row) const { return mRows[row].value; }
    std::size_t Line(std::size_t row) const { return mRows[row].line; }
    // The row's value after a write, or as the file holds it now.
    void SetValue(std::size_t row, std::string value);

    // The languages shown; both of Layout().languages.
    void SetLanguages(const TableLanguage& source, const TableLanguage& target);
    const TableLanguage& Source() const { return *mSource; }
    const TableLanguage& Target() const { return *mTarget; }
    std::string_view SourceText(std::size_t row) const { return FieldOf(row, mSource->TextField()); }
    std::string_view TargetText(std::size_t row) const { return FieldOf(row, mTarget->TextField()); }
    CellState TargetState(std::size_t row) const;

    // The rows, in table order, whose ID, source or target text holds part (A-Z folded; an empty part is
    // held by every row) and whose target cell is in the state filter asks for.
    std::vector<std::size_t> Filter(std::string_view part, StateFilter filter) const;

    // Every column's counts over the rows as they are now.
    std::vector<LanguageCounts> Counts() const;

private:
    struct Row {
        std::string id;
        std::string value;
        std::size_t line;
    };
    std::string_view FieldOf(std::size_t row, std::size_t field) const;

    TableLayout mLayout;
    std::vector<Row> mRows;
    const TableLanguage* mSource = nullptr;
    const TableLanguage* mTarget = nullptr;
};

} // namespace pw
