#include "gui/text_pane/TextSearch.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <optional>
#include <random>

using pw::SearchOptions;
using pw::TextPoint;
using pw::TextSelection;

namespace {

class StringLines : public pw::TextLines {
public:
    explicit StringLines(QStringList lines) : mLines(std::move(lines)) {}
    qsizetype LineCount() const override { return mLines.size(); }
    QStringView Line(qsizetype index) const override { return mLines[index]; }

    // The text after the edits, lines joined by '\n'.
    QString Edited(const std::vector<pw::LineEdit>& edits) const {
        QStringList lines = mLines;
        for (const pw::LineEdit& edit : edits)
            lines[edit.line].replace(edit.from, edit.to - edit.from, edit.text);
        return lines.join(u'\n');
    }

private:
    QStringList mLines;
};

TextSelection Caret(qsizetype line, qsizetype column) {
    return {{line, column}, {line, column}};
}
TextSelection Selected(TextPoint anchor, TextPoint caret) {
    return {anchor, caret};
}

struct Options {
    bool backwards = false, matchCase = false, wholeScope = false, selectionOnly = false, wholeWords = false,
         regex = false;
    SearchOptions Get(bool replace = false) const {
        return {replace, backwards, matchCase, wholeScope, selectionOnly, wholeWords, regex};
    }
};

std::string Show(const std::optional<TextSelection>& s) {
    if (!s)
        return "none";
    return std::to_string(s->anchor.line) + ":" + std::to_string(s->anchor.column) + "->" +
           std::to_string(s->caret.line) + ":" + std::to_string(s->caret.column);
}

struct FindCase {
    const char* what;
    QStringList lines;
    TextSelection current;
    QString pattern;
    Options options;
    std::optional<TextSelection> expected;
};

TEST(FindText, FollowsTheRulesOfScopeDirectionCaseAndWords) {
    const Options forward;
    const Options back{.backwards = true};
    const Options whole{.wholeScope = true};
    const Options wholeBack{.backwards = true, .wholeScope = true};
    const FindCase cases[] = {
        {"forward from the caret selects with the caret at the end",
         {"abc abc"},
         Caret(0, 0),
         "abc",
         forward,
         Selected({0, 0}, {0, 3})},
        {"the next find starts at the caret",
         {"abc abc"},
         Selected({0, 0}, {0, 3}),
         "abc",
         forward,
         Selected({0, 4}, {0, 7})},
        {"nothing after the last", {"abc abc"}, Caret(0, 7), "abc", forward, std::nullopt},
        {"whole scope starts at the top wherever the caret is",
         {"abc abc"},
         Caret(0, 5),
         "abc",
         whole,
         Selected({0, 0}, {0, 3})},
        {"backwards selects with the caret at the start",
         {"abc abc"},
         Caret(0, 7),
         "abc",
         back,
         Selected({0, 7}, {0, 4})},
        {"backwards whole scope starts at the bottom",
         {"abc abc", "x"},
         Caret(0, 0),
         "abc",
         wholeBack,
         Selected({0, 7}, {0, 4})},
        {"turning back does not find the selected occurrence again",
         {"abc abc"},
         Selected({0, 4}, {0, 7}),
         "abc",
         back,
         Selected({0, 3}, {0, 0})},
        {"turning forward does not either",
         {"abc abc"},
         Selected({0, 3}, {0, 0}),
         "abc",
         forward,
         Selected({0, 4}, {0, 7})},
        {"later lines", {"x", "y abc", "abc"}, Caret(0, 1), "abc", forward, Selected({1, 2}, {1, 5})},
        {"earlier lines, the nearest first",
         {"abc", "y abc", "x"},
         Caret(2, 0),
         "abc",
         back,
         Selected({1, 5}, {1, 2})},
        {"backwards takes the occurrence that starts last",
         {"aaaa"},
         Caret(0, 4),
         "aa",
         back,
         Selected({0, 4}, {0, 2})},
        {"no occurrence across a line end", {"ab", "cd"}, Caret(0, 0), "b.c", {.regex = true}, std::nullopt},
        {"letter case is ignored in Cyrillic",
         {"ну ПРИВЕТ"},
         Caret(0, 0),
         "привет",
         forward,
         Selected({0, 3}, {0, 9})},
        {"match case",
         {"ПРИВЕТ привет"},
         Caret(0, 0),
         "привет",
         {.matchCase = true},
         Selected({0, 7}, {0, 13})},
        {"match case finds nothing else",
         {"ПРИВЕТ"},
         Caret(0, 0),
         "привет",
         {.matchCase = true},
         std::nullopt},
        {"whole words skip parts of words",
         {"foo_bar foo1 foo"},
         Caret(0, 0),
         "foo",
         {.wholeWords = true},
         Selected({0, 13}, {0, 16})},
        {"whole words in Cyrillic",
         {"фуфу фу"},
         Caret(0, 0),
         "фу",
         {.wholeWords = true},
         Selected({0, 5}, {0, 7})},
        {"punctuation bounds a word",
         {"(foo)"},
         Caret(0, 0),
         "foo",
         {.wholeWords = true},
         Selected({0, 1}, {0, 4})},
        {"whole words backwards",
         {"foo foox"},
         Caret(0, 8),
         "foo",
         {.backwards = true, .wholeWords = true},
         Selected({0, 3}, {0, 0})},
        {"a regular expression",
         {"xa12 a3"},
         Caret(0, 0),
         "a\\d+",
         {.regex = true},
         Selected({0, 1}, {0, 4})},
        {"a regular expression ignores whole words",
         {"foo"},
         Caret(0, 0),
         "oo",
         {.wholeWords = true, .regex = true},
         Selected({0, 1}, {0, 3})},
        {"a regular expression ignores Cyrillic case",
         {"ПРИВЕТ"},
         Caret(0, 0),
         "прив[а-я]+",
         {.regex = true},
         Selected({0, 0}, {0, 6})},
        {"a regular expression honours match case",
         {"ПРИВЕТ"},
         Caret(0, 0),
         "прив",
         {.matchCase = true, .regex = true},
         std::nullopt},
        {"a regular expression sees the whole line before the caret",
         {"ab ab"},
         Caret(0, 2),
         "(?<=b )a",
         {.regex = true},
         Selected({0, 3}, {0, 4})},
        {"empty matches are never selected", {"abc"}, Caret(0, 0), "x*", {.regex = true}, std::nullopt},
        {"an empty text finds nothing", {"abc"}, Caret(0, 0), "", forward, std::nullopt},
        {"a broken expression finds nothing", {"a(b"}, Caret(0, 0), "a(b", {.regex = true}, std::nullopt},
        {"selection only, whole scope",
         {"foo foo foo"},
         Selected({0, 4}, {0, 11}),
         "foo",
         {.wholeScope = true, .selectionOnly = true},
         Selected({0, 4}, {0, 7})},
        {"selection only starts at the caret inside it",
         {"foo foo foo"},
         Selected({0, 11}, {0, 4}),
         "foo",
         {.selectionOnly = true},
         Selected({0, 4}, {0, 7})},
        {"selection only, nothing beyond its end",
         {"foo foo foo"},
         Selected({0, 4}, {0, 11}),
         "foo",
         {.selectionOnly = true},
         std::nullopt},
        {"selection only, backwards from the caret at its end",
         {"foo foo foo"},
         Selected({0, 4}, {0, 11}),
         "foo",
         {.backwards = true, .selectionOnly = true},
         Selected({0, 11}, {0, 8})},
        {"selection only without a selection means the whole text",
         {"foo foo"},
         Caret(0, 1),
         "foo",
         {.wholeScope = true, .selectionOnly = true},
         Selected({0, 0}, {0, 3})},
        {"an occurrence must fit inside the selection",
         {"foo foo"},
         Selected({0, 0}, {0, 2}),
         "foo",
         {.wholeScope = true, .selectionOnly = true},
         std::nullopt},
        {"a caret beyond the text counts as its end",
         {"ab"},
         Caret(5, 9),
         "ab",
         back,
         Selected({0, 2}, {0, 0})},
    };
    for (const FindCase& c : cases) {
        const StringLines lines(c.lines);
        EXPECT_EQ(Show(pw::FindText(lines, c.current, c.pattern, c.options.Get())), Show(c.expected))
            << c.what;
    }
}

TEST(FindText, BrokenExpressionsAreReported) {
    EXPECT_FALSE(pw::SearchPatternError("a(b", Options{.regex = true}.Get()).isEmpty());
    EXPECT_TRUE(pw::SearchPatternError("a(b", Options{}.Get()).isEmpty()); // plain text is never broken
    EXPECT_TRUE(pw::SearchPatternError("a(b)", Options{.regex = true}.Get()).isEmpty());
}

struct ReplaceCase {
    const char* what;
    QStringList lines;
    TextSelection current;
    QString pattern;
    QString replacement;
    Options options;
    QString expectedText;
    int expectedCount;
    TextPoint expectedCaret;
};

TEST(ReplaceAllText, ReplacesFromTheStartToTheEndOfTheScope) {
    const Options whole{.wholeScope = true};
    const ReplaceCase cases[] = {
        {"every occurrence in the line", {"aaa"}, Caret(0, 1), "a", "b", whole, "bbb", 3, {0, 3}},
        {"from the caret forwards", {"a a a"}, Caret(0, 2), "a", "b", {}, "a b b", 2, {0, 5}},
        {"from the caret backwards",
         {"a a a"},
         Caret(0, 2),
         "a",
         "b",
         {.backwards = true},
         "b a a",
         1,
         {0, 0}},
        {"backwards the caret ends at the earliest",
         {"xa", "a"},
         Caret(1, 1),
         "a",
         "bb",
         {.backwards = true},
         "xbb\nbb",
         2,
         {0, 1}},
        {"over several lines, the caret after the last",
         {"ab", "no", "ab ab"},
         Caret(0, 0),
         "ab",
         "X",
         whole,
         "X\nno\nX X",
         3,
         {2, 3}},
        {"a longer replacement holding the text", {"aa"}, Caret(0, 0), "a", "aa", whole, "aaaa", 2, {0, 4}},
        {"case ignored in Cyrillic",
         {"Меч меч МЕЧ"},
         Caret(0, 0),
         "меч",
         "нож",
         whole,
         "нож нож нож",
         3,
         {0, 11}},
        {"whole words only",
         {"cat catalog cat"},
         Caret(0, 0),
         "cat",
         "dog",
         {.wholeScope = true, .wholeWords = true},
         "dog catalog dog",
         2,
         {0, 15}},
        {"selection only",
         {"aaa aaa"},
         Selected({0, 1}, {0, 5}),
         "a",
         "b",
         {.wholeScope = true, .selectionOnly = true},
         "abb baa",
         3,
         {0, 5}},
        {"captures of an expression",
         {"key=12"},
         Caret(0, 0),
         "(\\w+)=(\\d+)",
         "\\2=\\1 \\\\",
         {.wholeScope = true, .regex = true},
         "12=key \\",
         1,
         {0, 8}},
        {"an expression may match empty text",
         {"ab"},
         Caret(0, 0),
         "x*",
         "-",
         {.wholeScope = true, .regex = true},
         "-a-b-",
         3,
         {0, 5}},
        {"line starts",
         {"a", "b"},
         Caret(0, 0),
         "^",
         "> ",
         {.wholeScope = true, .regex = true},
         "> a\n> b",
         2,
         {1, 2}},
        {"absent text", {"abc"}, Caret(0, 0), "x", "y", whole, "abc", 0, {0, 0}},
        {"an empty text replaces nothing", {"abc"}, Caret(0, 0), "", "y", whole, "abc", 0, {0, 0}},
    };
    for (const ReplaceCase& c : cases) {
        const StringLines lines(c.lines);
        const pw::ReplaceOutcome outcome =
            pw::ReplaceAllText(lines, c.current, c.pattern, c.replacement, c.options.Get(true));
        EXPECT_EQ(lines.Edited(outcome.edits), c.expectedText) << c.what;
        EXPECT_EQ(outcome.count, c.expectedCount) << c.what;
        if (outcome.count > 0) {
            EXPECT_EQ(outcome.caret, c.expectedCaret) << c.what;
        }
    }
}

TEST(ReplaceAllText, ChangesOnlyTheSpanBetweenTheFirstAndLastOccurrenceOfEachLine) {
    const StringLines lines({"xx a yy a zz", "none"});
    const pw::ReplaceOutcome outcome =
        pw::ReplaceAllText(lines, Caret(0, 0), "a", "b", Options{.wholeScope = true}.Get(true));
    ASSERT_EQ(outcome.edits.size(), 1u);
    EXPECT_EQ(outcome.edits[0], (pw::LineEdit{0, 3, 9, "b yy b"}));
}

TEST(ReplaceAllText, ToldOfItsProgressItStopsWhenToldAndThenReplacesNothing) {
    QStringList many;
    for (int i = 0; i < 10000; ++i)
        many << QStringLiteral("a");
    const StringLines lines(many);
    std::vector<std::pair<std::size_t, std::size_t>> told;
    const auto replace = [&](std::size_t stopAt) {
        told.clear();
        return pw::ReplaceAllText(lines, Caret(0, 0), "a", "b", Options{.wholeScope = true}.Get(true),
                                  [&](std::size_t done, std::size_t total) {
                                      told.emplace_back(done, total);
                                      return done < stopAt;
                                  });
    };
    EXPECT_EQ(replace(10000).count, 10000);
    EXPECT_EQ(told,
              (std::vector<std::pair<std::size_t, std::size_t>>{{0, 10000}, {4096, 10000}, {8192, 10000}}));
    const pw::ReplaceOutcome stopped = replace(4096);
    EXPECT_EQ(stopped.count, 0);
    EXPECT_TRUE(stopped.edits.empty());
}

// A slow and obvious search to hold the engine's fast paths against.
struct Reference {
    const QStringList& lines;
    QString pattern;
    Options options;

    static bool IsWord(QChar c) { return c.isLetter() || c.isDigit() || c == u'_'; }

    bool MatchesAt(const QString& line, qsizetype at, qsizetype hi) const {
        if (at + pattern.size() > hi)
            return false;
        const Qt::CaseSensitivity cs = options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
        if (QStringView(line).mid(at, pattern.size()).compare(pattern, cs) != 0)
            return false;
        const qsizetype end = at + pattern.size();
        return !options.wholeWords ||
               ((at == 0 || !IsWord(line[at - 1])) && (end == line.size() || !IsWord(line[end])));
    }

    std::optional<TextSelection> Find(TextPoint from, TextPoint to) const {
        std::optional<TextSelection> found;
        for (qsizetype l = from.line; l <= to.line; ++l) {
            const qsizetype lo = l == from.line ? from.column : 0;
            const qsizetype hi = l == to.line ? to.column : lines[l].size();
            for (qsizetype at = lo; at < hi; ++at) {
                if (!MatchesAt(lines[l], at, hi))
                    continue;
                const TextPoint start{l, at}, end{l, at + pattern.size()};
                if (!options.backwards)
                    return TextSelection{start, end};
                found = TextSelection{end, start};
            }
        }
        return found;
    }
};

TEST(FindText, AgreesWithASlowSearchOnRandomTexts) {
    const QString alphabet = QStringLiteral("aAбБ_ 1ǅǆ");
    std::mt19937 random(20240601);
    const auto pick = [&](int n) { return static_cast<qsizetype>(random() % static_cast<unsigned>(n)); };
    const auto randomText = [&](int maxLength) {
        QString text;
        for (qsizetype i = pick(maxLength + 1); i > 0; --i)
            text += alphabet[pick(static_cast<int>(alphabet.size()))];
        return text;
    };
    for (int round = 0; round < 3000; ++round) {
        QStringList lines;
        for (qsizetype i = pick(4) + 1; i > 0; --i)
            lines << randomText(12);
        QString pattern = randomText(3);
        if (pattern.isEmpty())
            pattern = "a";
        const Options options{
            .backwards = pick(2) == 1, .matchCase = pick(2) == 1, .wholeWords = pick(2) == 1};
        const qsizetype line = pick(static_cast<int>(lines.size()));
        const TextSelection caret = Caret(line, pick(static_cast<int>(lines[line].size()) + 1));
        const Reference reference{lines, pattern, options};
        const TextPoint end{lines.size() - 1, lines.back().size()};
        const auto expected =
            options.backwards ? reference.Find({0, 0}, caret.caret) : reference.Find(caret.caret, end);
        const auto found = pw::FindText(StringLines(lines), caret, pattern, options.Get());
        ASSERT_EQ(Show(found), Show(expected))
            << lines.join('|').toStdString() << " / " << pattern.toStdString() << " case "
            << options.matchCase << " words " << options.wholeWords;
    }
}

} // namespace
