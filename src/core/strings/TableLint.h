#pragma once
// The lint of a string table itself: lines of section "LocAdmin_Strings" that the game reads wrongly or
// not at all, or whose value looks damaged.

#include "core/data/NameSet.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pw {

// The lines of a string table that belong to its strings: those of every section "LocAdmin_Strings"
// (the name trimmed, A-Z folded) that are neither blank nor ";" comments. Fed the table line by line.
class StringsSectionLines {
public:
    // Takes the next line (without its line end); returns it trimmed when it is one of the strings',
    // std::nullopt for any other line.
    std::optional<std::string_view> Next(std::string_view raw);
    // The number of the line last taken, counted from 1.
    std::size_t Number() const { return mNumber; }
    // The strings section that line lies in, counted from 1; 0 before the first.
    int Section() const { return mSection; }

private:
    std::size_t mNumber = 0;
    int mSection = 0;
    bool mInStrings = false;
};

enum class TableFindingKind {
    RepeatedId,       // the ID appeared on an earlier line (A-Z folded); only the first is read
    NoEquals,         // a line without "=", so no entry
    SemicolonCount,   // the value's number of ";" differs from the table's norm
    NoFinalSemicolon, // the value does not end in ";"
    QuestionMarks,    // "???" inside the value: text saved in an encoding that could not hold it
};
inline constexpr std::size_t kTableFindingKinds = 5;

struct TableFinding {
    std::size_t line = 0; // counted from 1; CR, LF and CR LF each end one line
    TableFindingKind kind = TableFindingKind::NoEquals;
    std::string text; // UTF-8
};

using TableFindingSink = std::function<void(TableFinding&&)>;

// Reads the string table at path once, in blocks, and keeps only its IDs: returns the IDs a lookup finds
// (those of the first section "LocAdmin_Strings", as the profile layer finds them; Windows-1251), and
// hands each finding of the lint to onFinding. A table is Windows-1251, UTF-8 or UTF-16LE (see
// DetectTableEncoding), judged on its decoded text. The findings come in line order and, within a line, in
// the order of TableFindingKind; each kind at most once per line. Blank lines and ";" comments are never
// findings. The norm of ";" is the count that most values have, the smaller one on a tie. Throws
// std::runtime_error when the table cannot be read; a missing table is such an error here.
NameSet ReadStringTable(const std::string& path, const TableFindingSink& onFinding,
                        std::size_t blockSize = 256 * 1024);

// The findings of a table's bytes, as ReadStringTable finds them.
std::vector<TableFinding> LintStringTable(std::string_view bytes);

// The closing line for count findings of one kind that were not listed: "… и ещё N: …" (UTF-8).
std::string UnlistedTableFindings(TableFindingKind kind, std::size_t count);

} // namespace pw
