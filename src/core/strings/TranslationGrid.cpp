#include "core/strings/TranslationGrid.h"

#include "core/data/Cp1251.h"

#include <cassert>

namespace pw {

TranslationGrid::TranslationGrid(const LanguageTable& table) : mLayout(table.Layout()) {
    mRows.reserve(table.Size());
    for (std::size_t i = 0; i < table.Size(); ++i)
        mRows.push_back({std::string(table.Id(i)), table.Value(i), table.Entry(i).line});
    const std::vector<TableLanguage>& all = mLayout.languages.All();
    mSource = &all.front();
    mTarget = &all.back();
}

void TranslationGrid::SetValue(std::size_t row, std::string value) {
    mRows[row].value = std::move(value);
}

void TranslationGrid::SetLanguages(const TableLanguage& source, const TableLanguage& target) {
    assert(&source >= &mLayout.languages.All().front() && &source <= &mLayout.languages.All().back());
    assert(&target >= &mLayout.languages.All().front() && &target <= &mLayout.languages.All().back());
    mSource = &source;
    mTarget = &target;
}

std::string_view TranslationGrid::FieldOf(std::size_t row, std::size_t field) const {
    return pw::FieldOf(mRows[row].value, field).value_or(std::string_view());
}

CellState TranslationGrid::TargetState(std::size_t row) const {
    return StateOf(mRows[row].value, *mTarget, mLayout.languages);
}

std::vector<std::size_t> TranslationGrid::Filter(std::string_view part, StateFilter filter) const {
    std::vector<std::size_t> rows;
    const auto wanted = [filter](CellState state) {
        switch (filter) {
        case StateFilter::All:
            return true;
        case StateFilter::Missing:
            return state == CellState::Missing;
        case StateFilter::Placeholder:
            return state == CellState::Placeholder;
        case StateFilter::SameAsEnglish:
            return state == CellState::SameAsEnglish;
        }
        return false;
    };
    for (std::size_t row = 0; row < mRows.size(); ++row) {
        if (filter != StateFilter::All && !wanted(TargetState(row)))
            continue;
        if (part.empty() || ContainsNoCase(mRows[row].id, part) || ContainsNoCase(SourceText(row), part) ||
            ContainsNoCase(TargetText(row), part))
            rows.push_back(row);
    }
    return rows;
}

std::vector<LanguageCounts> TranslationGrid::Counts() const {
    std::vector<LanguageCounts> counts(mLayout.languages.All().size());
    for (const Row& row : mRows)
        CountCells(row.value, mLayout.languages, counts);
    return counts;
}

} // namespace pw
