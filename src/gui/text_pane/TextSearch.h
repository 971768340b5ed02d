#pragma once
// The text panes' find and replace, as logic over the text's lines: the plain-text engine (match case,
// whole words) and the regular-expression engine (QRegularExpression; match case only). It knows no
// widget, so it works the same on a pane's document and on a list of strings.

#include "core/data/Progress.h"

#include <QString>
#include <QStringView>

#include <algorithm>
#include <compare>
#include <optional>
#include <vector>

namespace pw {

// A place in the text: a line and a column in it (UTF-16 units), both from 0.
struct TextPoint {
    qsizetype line = 0;
    qsizetype column = 0;
    auto operator<=>(const TextPoint&) const = default;
};

// A selection: the anchor stays where it began, the caret is where it ends. Equal ends: no selection.
struct TextSelection {
    TextPoint anchor;
    TextPoint caret;
    TextPoint Start() const { return std::min(anchor, caret); }
    TextPoint End() const { return std::max(anchor, caret); }
    bool IsEmpty() const { return anchor == caret; }
    bool operator==(const TextSelection&) const = default;
};

// The lines of a text, without their line ends. There is always at least one line.
class TextLines {
public:
    virtual ~TextLines() = default;
    virtual qsizetype LineCount() const = 0;
    virtual QStringView Line(qsizetype index) const = 0;
};

struct SearchOptions {
    bool replaceAll = false; // replace every occurrence instead of selecting the next one
    bool backwards = false;  // towards the start of the text
    bool matchCase = false;  // else letter case is ignored, in every script
    bool wholeScope = false; // from the scope's start (its end, backwards) instead of from the caret
    bool selectionOnly = false;
    bool wholeWords = false;        // plain text only: bounded by characters other than letters, digits, '_'
    bool regularExpression = false; // the pattern is a QRegularExpression
};

// Why the engine cannot use pattern (a regular expression that does not compile); empty when it can.
QString SearchPatternError(const QString& pattern, const SearchOptions& options);

// The occurrence a find selects, the caret at its end (forwards) or its start (backwards); std::nullopt
// when there is none in the searched part of the scope, or the pattern is empty or unusable. The scope is
// the selection when selectionOnly is set and there is one, else the whole text. Without wholeScope the
// search starts at the caret; in the whole text it starts past the current selection, so the occurrence
// found last is not found again when the direction changes. Occurrences lie within one line and are never
// empty.
std::optional<TextSelection> FindText(const TextLines& lines, const TextSelection& current,
                                      const QString& pattern, const SearchOptions& options);

// One change of a line: the columns [from, to) become text.
struct LineEdit {
    qsizetype line = 0;
    qsizetype from = 0;
    qsizetype to = 0;
    QString text;
    bool operator==(const LineEdit&) const = default;
};

struct ReplaceOutcome {
    int count = 0;               // occurrences replaced
    std::vector<LineEdit> edits; // at most one per line, in line order
    TextPoint caret; // after the edits: the end of the last replacement (forwards), the start (backwards)
};

// Every occurrence from where a find would start to the end of the scope in the search direction,
// replaced by replacement (in a regular expression's, \0 to \9 stand for its captures and \\ for a
// backslash). Occurrences do not overlap; a regular expression may also match empty text. Nothing is
// changed here: the edits say what to change. An empty or unusable pattern replaces nothing. progress is
// told of the lines searched every few thousand; when it says stop, nothing is replaced.
ReplaceOutcome ReplaceAllText(const TextLines& lines, const TextSelection& current, const QString& pattern,
                              const QString& replacement, const SearchOptions& options,
                              const ProgressHook& progress = {});

} // namespace pw
