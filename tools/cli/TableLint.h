#pragma once
// The lint of a string table itself: lines of section "LocAdmin_Strings" that the game reads wrongly or
// not at all, or whose value looks damaged.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace pw::cli {

enum class TableIssue {
    RepeatedId,       // the ID appeared on an earlier line (A-Z folded); only the first is read
    NoEquals,         // a line without "=", so no entry
    SemicolonCount,   // the value's number of ";" differs from the table's norm
    NoFinalSemicolon, // the value does not end in ";"
    QuestionMarks,    // "???" inside the value: text saved in an encoding that could not hold it
};
inline constexpr std::size_t kTableIssueCount = 5;

struct TableFinding {
    std::size_t line = 0; // counted from 1; CR, LF and CR LF each end one line
    TableIssue issue = TableIssue::NoEquals;
    std::string text; // UTF-8
};

// The findings of a table's bytes (8-bit Windows-1251, or UTF-16LE with a byte-order mark, judged on
// its decoded text), in line order and, within a line, in the order of TableIssue; each kind at most
// once per line. Blank lines and ";" comments are never findings. The norm of ";" is the count that
// most values have, the smaller one on a tie.
std::vector<TableFinding> LintStringTable(std::string_view bytes);

// The closing line for count findings of one kind that were not listed: "… и ещё N: …" (UTF-8).
std::string UnlistedTableFindings(TableIssue issue, std::size_t count);

} // namespace pw::cli
