#pragma once
// The languages of a string table. Every value holds one cell per language: split at every ";", language
// i (from 0) has its text in field 2i and a second field (a stage direction, nearly always empty) in field
// 2i + 1. The columns are named by the table's section "LocAdmin_Languages" (Languages=English;Italian;…)
// or, without it, are the game's ten. Texts here are ASCII-compatible bytes (UTF-8 or Windows-1251):
// every rule looks only at ";", blanks and Latin letters.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pw {

inline constexpr std::string_view kLanguagesSection = "LocAdmin_Languages";
inline constexpr std::string_view kLanguagesKey = "Languages";

struct TableLanguage {
    std::string code;   // "en", "ru", "zh-TW"
    std::string name;   // the window's Russian name, UTF-8: "Русский"
    std::string header; // as the table's header names it (UTF-8), or the game's English name
    int column = 0;     // counted from 1

    // The field that holds the language's text, counted from 0.
    std::size_t TextField() const { return 2 * static_cast<std::size_t>(column - 1); }
};

// The columns of one table.
class TableLanguages {
public:
    // The game's ten: English, Italian, French, German, Spanish, Czech, Hungarian, Polish, Russian, Japanese.
    TableLanguages();
    // The columns a Languages= value names (UTF-8, split at ";", empty names at its end left out); a value
    // that names none gives the game's ten.
    static TableLanguages FromHeader(std::string_view languages);

    const std::vector<TableLanguage>& All() const { return mLanguages; }
    // The language given as its code, its column number, a name the header or the game uses for it
    // ("Russian", "RUS") or its Russian name; A-Z folded. nullptr when the table has none such.
    const TableLanguage* Find(std::string_view given) const;
    // The English column, which other columns are translated from; nullptr when the table has none.
    const TableLanguage* English() const {
        return mEnglish < 0 ? nullptr : &mLanguages[static_cast<std::size_t>(mEnglish)];
    }

private:
    void FindEnglish();

    std::vector<TableLanguage> mLanguages;
    int mEnglish = -1; // asked of every value, so found once
};

// What a language's cell holds, checked in this order.
enum class CellState {
    Missing,       // empty after trimming, or past the value's end
    Placeholder,   // only "-" or a language tag such as "RU", "[ENG]", "TRC"
    SameAsEnglish, // a non-English cell equal to the English one (both trimmed)
    Translated,
};
inline constexpr std::size_t kCellStates = 4;

// The fields of a value: what splitting it at every ";" gives (n ";" give n + 1 fields).
std::vector<std::string_view> SplitFields(std::string_view value);
// The same into fields, whose storage is used again.
void SplitFields(std::string_view value, std::vector<std::string_view>& fields);
// Field number field of value; std::nullopt when the value ends before it.
std::optional<std::string_view> FieldOf(std::string_view value, std::size_t field);
// How many fields a value has.
std::size_t FieldCount(std::string_view value);

// Whether a trimmed cell is only "-" or a language tag, bracketed or not, letter case ignored.
bool IsPlaceholder(std::string_view trimmedCell);
// The state of a cell; english is the English cell of the same value (std::nullopt when the table has no
// English column or the value lacks it), and isEnglish says the cell is that one.
CellState StateOfCell(std::optional<std::string_view> cell, std::optional<std::string_view> english,
                      bool isEnglish);
// The state of language's cell in value.
CellState StateOf(std::string_view value, const TableLanguage& language, const TableLanguages& languages);

// value with field number field set to text and every other field kept. A value that ends before the
// field is first lengthened with empty fields to fieldCount fields, or to just past the field when that
// is more.
std::string WithField(std::string_view value, std::size_t field, std::string_view text,
                      std::size_t fieldCount);

// Why text cannot be a cell, in the program's words (UTF-8), or std::nullopt: a ";" would split it into
// further fields, and a line break would end the entry.
std::optional<std::string> CellTextProblem(std::string_view text);

} // namespace pw
