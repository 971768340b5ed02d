#include "core/strings/TableLanguages.h"

#include "core/data/Cp1251.h"
#include "core/data/StrUtilsEx.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace pw {
namespace {

// A language a header may name, with the names and tags it goes by (A-Z folded).
struct KnownLanguage {
    std::string_view code;
    std::string_view russian;
    std::string_view english;
    std::array<std::string_view, 5> aliases;
};

constexpr std::array<KnownLanguage, 15> kKnown = {{
    {"en", "Английский", "English", {"ENG", "EN"}},
    {"it", "Итальянский", "Italian", {"ITA", "IT"}},
    {"fr", "Французский", "French", {"FRA", "FR"}},
    {"de", "Немецкий", "German", {"DEU", "GER", "DE", "Deutsch"}},
    {"es", "Испанский", "Spanish", {"ESP", "SP", "ES", "Espanol"}},
    {"cs", "Чешский", "Czech", {"CZE", "CZ", "CS"}},
    {"hu", "Венгерский", "Hungarian", {"HUN", "HU"}},
    {"pl", "Польский", "Polish", {"POL", "PL"}},
    {"ru", "Русский", "Russian", {"RUS", "RU"}},
    {"ja", "Японский", "Japanese", {"JPN", "JP", "JA"}},
    {"zh-TW", "Китайский (традиционный)", "Traditional Chinese", {"TRC", "CHT", "Chinese", "zh-TW", "ZH"}},
    {"zh-CN", "Китайский (упрощённый)", "Simplified Chinese", {"SCH", "CHS", "zh-CN"}},
    {"pt", "Португальский", "Portuguese", {"POR", "PT"}},
    {"tr", "Турецкий", "Turkish", {"TUR", "TR"}},
    {"uk", "Украинский", "Ukrainian", {"UKR", "UK", "UA"}},
}};

// The game's columns, in its order.
constexpr std::array<std::string_view, 10> kGameCodes = {"en", "it", "fr", "de", "es",
                                                         "cs", "hu", "pl", "ru", "ja"};

// The tags an untranslated cell holds in place of a text.
constexpr std::array<std::string_view, 25> kPlaceholderTags = {
    "EN", "ENG", "IT", "ITA", "FR", "FRA", "DE", "DEU", "GER", "SP", "ES", "ESP", "CZ",
    "CS", "CZE", "HU", "HUN", "PL", "POL", "RU", "RUS", "TRC", "JA", "JP", "ZH"};

const KnownLanguage* KnownByName(std::string_view name) {
    for (const KnownLanguage& known : kKnown) {
        if (AsciiEqualNoCase(name, known.code) || AsciiEqualNoCase(name, known.english))
            return &known;
        for (std::string_view alias : known.aliases)
            if (!alias.empty() && AsciiEqualNoCase(name, alias))
                return &known;
    }
    return nullptr;
}

// A column the header names: a known language by its code, else the name itself as code and name.
TableLanguage LanguageNamed(std::string_view header, int column) {
    if (const KnownLanguage* known = KnownByName(header))
        return {std::string(known->code), std::string(known->russian), std::string(header), column};
    std::string code;
    for (char c : header)
        code += c == ' ' ? '-' : (c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c);
    return {code, std::string(header), std::string(header), column};
}

// A column number "1".."99".
std::optional<int> ColumnNumber(std::string_view given) {
    if (given.empty() || given.size() > 2 ||
        !std::all_of(given.begin(), given.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return std::stoi(std::string(given));
}

} // namespace

TableLanguages::TableLanguages() {
    for (std::size_t i = 0; i < kGameCodes.size(); ++i) {
        const KnownLanguage& known = *KnownByName(kGameCodes[i]);
        mLanguages.push_back({std::string(known.code), std::string(known.russian), std::string(known.english),
                              static_cast<int>(i + 1)});
    }
    FindEnglish();
}

void TableLanguages::FindEnglish() {
    const TableLanguage* english = Find("en");
    mEnglish = english ? static_cast<int>(english - mLanguages.data()) : -1;
}

TableLanguages TableLanguages::FromHeader(std::string_view languages) {
    std::vector<std::string_view> names = SplitFields(languages);
    while (!names.empty() && TrimView(names.back()).empty())
        names.pop_back();
    TableLanguages table;
    if (names.empty())
        return table;
    table.mLanguages.clear();
    for (std::size_t i = 0; i < names.size(); ++i)
        table.mLanguages.push_back(LanguageNamed(TrimView(names[i]), static_cast<int>(i + 1)));
    table.FindEnglish();
    return table;
}

const TableLanguage* TableLanguages::Find(std::string_view text) const {
    std::string given(TrimView(text));
    std::replace(given.begin(), given.end(), '_', '-'); // "zh_TW" as gettext spells it
    if (const std::optional<int> column = ColumnNumber(given))
        return *column >= 1 && *column <= static_cast<int>(mLanguages.size()) ? &mLanguages[*column - 1]
                                                                              : nullptr;
    for (const TableLanguage& language : mLanguages)
        if (AsciiEqualNoCase(given, language.code) || AsciiEqualNoCase(given, language.header) ||
            given == language.name)
            return &language;
    // Another name of a known language: "Russian" or "RUS" for the column a header calls "Русский".
    if (const KnownLanguage* known = KnownByName(given))
        for (const TableLanguage& language : mLanguages)
            if (language.code == known->code)
                return &language;
    return nullptr;
}

std::vector<std::string_view> SplitFields(std::string_view value) {
    std::vector<std::string_view> fields;
    SplitFields(value, fields);
    return fields;
}

void SplitFields(std::string_view value, std::vector<std::string_view>& fields) {
    fields.clear();
    for (;;) {
        const std::size_t semicolon = value.find(';');
        fields.push_back(value.substr(0, semicolon));
        if (semicolon == std::string_view::npos)
            return;
        value.remove_prefix(semicolon + 1);
    }
}

std::optional<std::string_view> FieldOf(std::string_view value, std::size_t field) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < field; ++i) {
        const void* semicolon = std::memchr(value.data() + start, ';', value.size() - start);
        if (!semicolon)
            return std::nullopt;
        start = static_cast<std::size_t>(static_cast<const char*>(semicolon) - value.data()) + 1;
    }
    const std::size_t end = value.find(';', start);
    return value.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

std::size_t FieldCount(std::string_view value) {
    return static_cast<std::size_t>(std::count(value.begin(), value.end(), ';')) + 1;
}

bool IsPlaceholder(std::string_view cell) {
    if (cell == "-")
        return true;
    if (cell.size() > 7) // "[ ENG ]" at most: a longer cell is a text
        return false;
    if (cell.size() >= 2 &&
        ((cell.front() == '[' && cell.back() == ']') || (cell.front() == '(' && cell.back() == ')')))
        cell = TrimView(cell.substr(1, cell.size() - 2));
    return std::any_of(kPlaceholderTags.begin(), kPlaceholderTags.end(),
                       [cell](std::string_view tag) { return AsciiEqualNoCase(cell, tag); });
}

CellState StateOfCell(std::optional<std::string_view> cell, std::optional<std::string_view> english,
                      bool isEnglish) {
    const std::string_view text = cell ? TrimView(*cell) : std::string_view();
    if (text.empty())
        return CellState::Missing;
    if (IsPlaceholder(text))
        return CellState::Placeholder;
    if (!isEnglish && english && text == TrimView(*english))
        return CellState::SameAsEnglish;
    return CellState::Translated;
}

CellState StateOf(std::string_view value, const TableLanguage& language, const TableLanguages& languages) {
    const TableLanguage* english = languages.English();
    const std::optional<std::string_view> englishCell =
        english ? FieldOf(value, english->TextField()) : std::nullopt;
    return StateOfCell(FieldOf(value, language.TextField()), englishCell, english == &language);
}

std::string WithField(std::string_view value, std::size_t field, std::string_view text,
                      std::size_t fieldCount) {
    const std::size_t count = FieldCount(value);
    if (field >= count) {
        const std::size_t total = std::max(fieldCount, field + 1);
        std::string longer(value);
        longer.append(field - count + 1, ';');
        longer.append(text);
        longer.append(total - 1 - field, ';');
        return longer;
    }
    std::size_t start = 0;
    for (std::size_t i = 0; i < field; ++i)
        start = value.find(';', start) + 1;
    const std::size_t end = std::min(value.find(';', start), value.size());
    std::string changed(value.substr(0, start));
    changed.append(text);
    changed.append(value.substr(end));
    return changed;
}

std::optional<std::string> CellTextProblem(std::string_view text) {
    if (text.find(';') != std::string_view::npos)
        return std::string("В тексте есть \";\": он разделяет поля значения, а перевод занимает одно поле.");
    if (text.find_first_of("\r\n") != std::string_view::npos)
        return std::string("В тексте есть перевод строки: запись таблицы занимает одну строку.");
    return std::nullopt;
}

} // namespace pw
