// The text panes' find and replace on any text, pattern and options: a find selects a non-empty
// occurrence within one line and within the scope (the selection, when there is one and the search is
// limited to it), a plain one the pattern itself; a replace-all's edits
// lie in their lines in line order, and replacing every occurrence by itself changes nothing.
// Input: one byte of options, the pattern, "\n", the replacement, "\n", the text.

#include "FuzzInput.h"

#include "gui/text_pane/TextSearch.h"

#include <QStringList>

namespace {

class Lines : public pw::TextLines {
public:
    explicit Lines(const QString& text) : mLines(text.split(u'\n')) {}
    qsizetype LineCount() const override { return mLines.size(); }
    QStringView Line(qsizetype index) const override { return mLines[index]; }

private:
    QStringList mLines;
};

QString FromUtf8(std::string_view bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const std::uint8_t bits = data[0];
    pwfuzz::FuzzInput input(data + 1, size - 1);
    const QString pattern = FromUtf8(input.Line());
    const QString replacement = FromUtf8(input.Line());
    const Lines lines(FromUtf8(input.Rest()));
    pw::SearchOptions options;
    options.backwards = bits & 1;
    options.matchCase = bits & 2;
    options.wholeScope = bits & 4;
    options.selectionOnly = bits & 8;
    options.wholeWords = bits & 16;
    options.regularExpression = bits & 32;
    // A caret or selection somewhere in the text, taken from the pattern's length.
    const qsizetype line = pattern.size() % lines.LineCount();
    const qsizetype column = lines.Line(line).size() / 2;
    const pw::TextSelection current{{0, 0}, {line, column}};

    const std::optional<pw::TextSelection> found = pw::FindText(lines, current, pattern, options);
    if (found) {
        const pw::TextPoint start = found->Start();
        const pw::TextPoint end = found->End();
        pwfuzz::Require(start.line == end.line && start.column < end.column &&
                            end.column <= lines.Line(start.line).size(),
                        "an occurrence is not empty and lies within one line");
        if (options.selectionOnly && !current.IsEmpty())
            pwfuzz::Require(current.Start() <= start && end <= current.End(),
                            "a find stays in the selection");
        if (!options.regularExpression)
            pwfuzz::Require(
                lines.Line(start.line)
                        .mid(start.column, end.column - start.column)
                        .compare(pattern, options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive) == 0,
                "a plain find selects the pattern");
    }
    if (!pw::SearchPatternError(pattern, options).isEmpty())
        pwfuzz::Require(!found, "an unusable pattern finds nothing");

    const pw::ReplaceOutcome outcome = pw::ReplaceAllText(lines, current, pattern, replacement, options);
    qsizetype previous = -1;
    for (const pw::LineEdit& edit : outcome.edits) {
        pwfuzz::Require(edit.line > previous && edit.line < lines.LineCount(),
                        "at most one edit a line, in order");
        pwfuzz::Require(0 <= edit.from && edit.from <= edit.to && edit.to <= lines.Line(edit.line).size(),
                        "an edit lies within its line");
        previous = edit.line;
    }
    pwfuzz::Require(outcome.count >= static_cast<int>(outcome.edits.size()), "every edit replaces something");
    if (!options.regularExpression && options.matchCase) {
        const pw::ReplaceOutcome same = pw::ReplaceAllText(lines, current, pattern, pattern, options);
        for (const pw::LineEdit& edit : same.edits)
            pwfuzz::Require(lines.Line(edit.line).mid(edit.from, edit.to - edit.from) == edit.text,
                            "replacing an occurrence by itself changes nothing");
    }
    return 0;
}
