#include "gui/text_pane/TextSearch.h"

#include <QRegularExpression>

#include <array>
#include <functional>
#include <memory>

namespace pw {

namespace {

struct Match {
    qsizetype start = 0;
    qsizetype end = 0;
};

bool IsWordCharacter(char32_t c) {
    return QChar::isLetter(c) || QChar::isDigit(c) || c == U'_';
}

char32_t CodePointBefore(QStringView line, qsizetype column) {
    const QChar low = line[column - 1];
    if (low.isLowSurrogate() && column >= 2 && line[column - 2].isHighSurrogate())
        return QChar::surrogateToUcs4(line[column - 2], low);
    return low.unicode();
}

char32_t CodePointAt(QStringView line, qsizetype column) {
    const QChar high = line[column];
    if (high.isHighSurrogate() && column + 1 < line.size() && line[column + 1].isLowSurrogate())
        return QChar::surrogateToUcs4(high, line[column + 1]);
    return high.unicode();
}

bool IsWholeWord(QStringView line, qsizetype start, qsizetype end) {
    return (start == 0 || !IsWordCharacter(CodePointBefore(line, start))) &&
           (end == line.size() || !IsWordCharacter(CodePointAt(line, end)));
}

// Finds the occurrences of one pattern within one line.
class Matcher {
public:
    virtual ~Matcher() = default;

    // The leftmost non-empty occurrence that starts at or after from and ends at or before to.
    virtual std::optional<Match> Next(QStringView line, qsizetype from, qsizetype to) const = 0;

    // Every occurrence within [from, to), left to right and without overlap, with its replacement.
    virtual void ForEachReplacement(QStringView line, qsizetype from, qsizetype to,
                                    const QString& replacement,
                                    const std::function<void(Match, const QString&)>& take) const = 0;

    // The occurrence nearest to `to`: the one that starts last among those Next can find.
    std::optional<Match> Last(QStringView line, qsizetype from, qsizetype to) const {
        std::optional<Match> found;
        for (std::optional<Match> match = Next(line, from, to); match;
             match = Next(line, match->start + 1, to))
            found = match;
        return found;
    }
};

// Every UTF-16 unit but the surrogates, as (case fold, unit) pairs ordered by fold: the units that match
// one another when letter case is ignored stand together.
const std::vector<std::pair<char16_t, char16_t>>& FoldTable() {
    static const std::vector<std::pair<char16_t, char16_t>> table = [] {
        std::vector<std::pair<char16_t, char16_t>> pairs;
        for (char32_t unit = 0; unit <= 0xFFFF; ++unit) {
            const char32_t folded = QChar::toCaseFolded(unit);
            if (!QChar::isSurrogate(unit) && folded <= 0xFFFF)
                pairs.emplace_back(static_cast<char16_t>(folded), static_cast<char16_t>(unit));
        }
        std::sort(pairs.begin(), pairs.end());
        return pairs;
    }();
    return table;
}

// The units that match unit: itself, and when case is ignored every unit with the same case fold.
std::vector<char16_t> MatchingUnits(char16_t unit, bool matchCase) {
    if (matchCase)
        return {unit};
    const auto& table = FoldTable();
    const char16_t folded = static_cast<char16_t>(QChar::toCaseFolded(char32_t(unit)));
    const auto [first, last] =
        std::equal_range(table.begin(), table.end(), std::pair<char16_t, char16_t>(folded, 0),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<char16_t> units;
    for (auto it = first; it != last; ++it)
        units.push_back(it->second);
    return units;
}

class PlainMatcher final : public Matcher {
public:
    // sample: some lines of the text searched, to see which character of the needle is rarest there.
    PlainMatcher(const QString& needle, bool matchCase, bool wholeWords,
                 const std::vector<QStringView>& sample)
        : mNeedle(needle), mCase(matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive),
          mWholeWords(wholeWords) {
        ChooseAnchor(sample);
    }

    std::optional<Match> Next(QStringView line, qsizetype from, qsizetype to) const override {
        const qsizetype last = to - mNeedle.size(); // the last column an occurrence can start at
        if (mAnchorUnits.empty()) {
            for (qsizetype at = from; at <= last; ++at) {
                at = line.indexOf(mNeedle, at, mCase);
                if (at < 0 || at > last)
                    break;
                if (Accepts(line, at))
                    return Match{at, at + mNeedle.size()};
            }
            return std::nullopt;
        }
        std::array<qsizetype, kMaxAnchorUnits> next;
        next.fill(-2); // -2: not looked for yet, -1: none left
        for (qsizetype at = from; at <= last;) {
            qsizetype anchor = -1;
            for (std::size_t k = 0; k < mAnchorUnits.size(); ++k) {
                if (next[k] != -1 && next[k] < at + mAnchor) {
                    next[k] = line.indexOf(QChar(mAnchorUnits[k]), at + mAnchor);
                    if (next[k] > last + mAnchor)
                        next[k] = -1;
                }
                if (next[k] >= 0 && (anchor < 0 || next[k] < anchor))
                    anchor = next[k];
            }
            if (anchor < 0)
                break;
            const qsizetype start = anchor - mAnchor;
            if (line.mid(start, mNeedle.size()).compare(mNeedle, mCase) == 0 && Accepts(line, start))
                return Match{start, start + mNeedle.size()};
            at = start + 1;
        }
        return std::nullopt;
    }

    void ForEachReplacement(QStringView line, qsizetype from, qsizetype to, const QString& replacement,
                            const std::function<void(Match, const QString&)>& take) const override {
        for (std::optional<Match> match = Next(line, from, to); match; match = Next(line, match->end, to))
            take(*match, replacement);
    }

private:
    static constexpr std::size_t kMaxAnchorUnits = 8;
    static constexpr qsizetype kMaxAnchorsTried = 32;

    // An occurrence is looked for only where one character of the needle, the anchor, stands; scanning
    // for the few units that match it is much faster than comparing at every column. The anchor is the
    // character that is rarest in the sample ("_" or a digit of an ID rather than a common letter).
    void ChooseAnchor(const std::vector<QStringView>& sample) {
        qsizetype fewest = -1;
        for (qsizetype i = 0; i < std::min(mNeedle.size(), kMaxAnchorsTried); ++i) {
            if (mNeedle[i].isSurrogate())
                continue;
            std::vector<char16_t> units = MatchingUnits(mNeedle[i].unicode(), mCase == Qt::CaseSensitive);
            if (units.size() > kMaxAnchorUnits)
                continue;
            qsizetype seen = 0;
            for (const QStringView line : sample)
                for (const char16_t unit : units)
                    seen += line.count(QChar(unit));
            if (fewest < 0 || seen < fewest) {
                fewest = seen;
                mAnchor = i;
                mAnchorUnits = std::move(units);
            }
        }
    }

    bool Accepts(QStringView line, qsizetype start) const {
        return !mWholeWords || IsWholeWord(line, start, start + mNeedle.size());
    }

    QString mNeedle;
    Qt::CaseSensitivity mCase;
    bool mWholeWords;
    qsizetype mAnchor = 0;              // index in the needle
    std::vector<char16_t> mAnchorUnits; // empty: no usable anchor, a plain scan instead
};

class RegexMatcher final : public Matcher {
public:
    explicit RegexMatcher(QRegularExpression expression) : mExpression(std::move(expression)) {}

    std::optional<Match> Next(QStringView line, qsizetype from, qsizetype to) const override {
        for (qsizetype offset = from; offset < to;) {
            const QRegularExpressionMatch match = mExpression.match(line, offset);
            if (!match.hasMatch() || match.capturedStart() >= to)
                break;
            const Match found{match.capturedStart(), match.capturedEnd()};
            if (found.end > found.start && found.end <= to)
                return found;
            offset = found.start + 1; // an empty match, or one running past `to`: a later start may fit
        }
        return std::nullopt;
    }

    void ForEachReplacement(QStringView line, qsizetype from, qsizetype to, const QString& replacement,
                            const std::function<void(Match, const QString&)>& take) const override {
        const bool literal = !replacement.contains(u'\\');
        QRegularExpressionMatchIterator matches = mExpression.globalMatch(line, from);
        while (matches.hasNext()) {
            const QRegularExpressionMatch match = matches.next();
            if (match.capturedEnd() > to)
                break;
            take({match.capturedStart(), match.capturedEnd()},
                 literal ? replacement : Expand(replacement, match));
        }
    }

private:
    // The replacement with \0 to \9 taken from the captures and \\ made one backslash.
    static QString Expand(const QString& replacement, const QRegularExpressionMatch& match) {
        QString result;
        for (qsizetype i = 0; i < replacement.size(); ++i) {
            const QChar ch = replacement[i];
            if (ch == u'\\' && i + 1 < replacement.size()) {
                const QChar next = replacement[i + 1];
                if (next >= u'0' && next <= u'9') {
                    result += match.capturedView(next.unicode() - u'0');
                    ++i;
                    continue;
                }
                if (next == u'\\') {
                    result += next;
                    ++i;
                    continue;
                }
            }
            result += ch;
        }
        return result;
    }

    QRegularExpression mExpression;
};

QRegularExpression ExpressionOf(const QString& pattern, const SearchOptions& options) {
    QRegularExpression::PatternOptions flags = QRegularExpression::UseUnicodePropertiesOption;
    if (!options.matchCase)
        flags |= QRegularExpression::CaseInsensitiveOption;
    return QRegularExpression(pattern, flags);
}

TextPoint Clamp(const TextLines& lines, TextPoint point) {
    point.line = std::clamp<qsizetype>(point.line, 0, lines.LineCount() - 1);
    point.column = std::clamp<qsizetype>(point.column, 0, lines.Line(point.line).size());
    return point;
}

// The part of the text a search covers: from where it starts to the end of the scope in its direction.
struct Range {
    TextPoint from;
    TextPoint to;
};

Range SearchedRange(const TextLines& lines, const TextSelection& current, const SearchOptions& options) {
    const TextSelection selection{Clamp(lines, current.anchor), Clamp(lines, current.caret)};
    const bool inSelection = options.selectionOnly && !selection.IsEmpty();
    const qsizetype lastLine = lines.LineCount() - 1;
    const Range scope = inSelection ? Range{selection.Start(), selection.End()}
                                    : Range{{0, 0}, {lastLine, lines.Line(lastLine).size()}};
    if (options.wholeScope)
        return scope;
    const TextPoint origin = inSelection         ? selection.caret
                             : options.backwards ? selection.Start()
                                                 : selection.End();
    return options.backwards ? Range{scope.from, origin} : Range{origin, scope.to};
}

// Columns [lo, hi) of line `index` that lie within range.
std::pair<qsizetype, qsizetype> ColumnsIn(const Range& range, qsizetype index, QStringView line) {
    return {index == range.from.line ? range.from.column : 0,
            index == range.to.line ? range.to.column : line.size()};
}

// Some lines of the text where a search of range begins.
std::vector<QStringView> SampleLines(const TextLines& lines, const Range& range, bool backwards) {
    constexpr qsizetype kSampleLines = 64;
    qsizetype first = backwards ? range.to.line - kSampleLines + 1 : range.from.line;
    first = std::clamp<qsizetype>(first, 0, std::max<qsizetype>(0, lines.LineCount() - kSampleLines));
    std::vector<QStringView> sample;
    for (qsizetype i = first; i < std::min(lines.LineCount(), first + kSampleLines); ++i)
        sample.push_back(lines.Line(i));
    return sample;
}

// The engine for pattern searching range of lines, or nullptr when nothing can be searched for.
std::unique_ptr<Matcher> MakeMatcher(const QString& pattern, const SearchOptions& options,
                                     const TextLines& lines, const Range& range) {
    if (pattern.isEmpty())
        return nullptr;
    if (!options.regularExpression)
        return std::make_unique<PlainMatcher>(pattern, options.matchCase, options.wholeWords,
                                              SampleLines(lines, range, options.backwards));
    QRegularExpression expression = ExpressionOf(pattern, options);
    if (!expression.isValid())
        return nullptr;
    return std::make_unique<RegexMatcher>(std::move(expression));
}

} // namespace

QString SearchPatternError(const QString& pattern, const SearchOptions& options) {
    if (!options.regularExpression || pattern.isEmpty())
        return {};
    const QRegularExpression expression = ExpressionOf(pattern, options);
    return expression.isValid() ? QString() : expression.errorString();
}

std::optional<TextSelection> FindText(const TextLines& lines, const TextSelection& current,
                                      const QString& pattern, const SearchOptions& options) {
    const Range range = SearchedRange(lines, current, options);
    const std::unique_ptr<Matcher> matcher = MakeMatcher(pattern, options, lines, range);
    if (!matcher)
        return std::nullopt;
    if (!options.backwards) {
        for (qsizetype index = range.from.line; index <= range.to.line; ++index) {
            const QStringView line = lines.Line(index);
            const auto [lo, hi] = ColumnsIn(range, index, line);
            if (const std::optional<Match> match = matcher->Next(line, lo, hi))
                return TextSelection{{index, match->start}, {index, match->end}};
        }
    } else {
        for (qsizetype index = range.to.line; index >= range.from.line; --index) {
            const QStringView line = lines.Line(index);
            const auto [lo, hi] = ColumnsIn(range, index, line);
            if (const std::optional<Match> match = matcher->Last(line, lo, hi))
                return TextSelection{{index, match->end}, {index, match->start}};
        }
    }
    return std::nullopt;
}

ReplaceOutcome ReplaceAllText(const TextLines& lines, const TextSelection& current, const QString& pattern,
                              const QString& replacement, const SearchOptions& options,
                              const ProgressHook& progress) {
    // How many lines are searched between two reports.
    constexpr qsizetype kReportLines = 4096;
    ReplaceOutcome outcome;
    const Range range = SearchedRange(lines, current, options);
    const std::unique_ptr<Matcher> matcher = MakeMatcher(pattern, options, lines, range);
    if (!matcher)
        return outcome;
    const auto total = static_cast<std::size_t>(range.to.line - range.from.line + 1);
    for (qsizetype index = range.from.line; index <= range.to.line; ++index) {
        if ((index - range.from.line) % kReportLines == 0 &&
            !GoOn(progress, static_cast<std::size_t>(index - range.from.line), total))
            return {};
        const QStringView line = lines.Line(index);
        const auto [lo, hi] = ColumnsIn(range, index, line);
        LineEdit edit{index, -1, -1, {}};
        matcher->ForEachReplacement(line, lo, hi, replacement, [&](Match match, const QString& text) {
            if (edit.from < 0)
                edit.from = match.start;
            else
                edit.text += line.mid(edit.to, match.start - edit.to);
            edit.text += text;
            edit.to = match.end;
            ++outcome.count;
        });
        if (edit.from >= 0)
            outcome.edits.push_back(std::move(edit));
    }
    if (!outcome.edits.empty()) {
        const LineEdit& last = options.backwards ? outcome.edits.front() : outcome.edits.back();
        outcome.caret = {last.line, options.backwards ? last.from : last.from + last.text.size()};
    }
    return outcome;
}

} // namespace pw
