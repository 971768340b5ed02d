#include "core/library/ValueSpans.h"

#include "core/data/Cp1251.h"
#include "core/data/ProfileIni.h"
#include "core/data/StrUtilsEx.h"

#include <algorithm>
#include <optional>

namespace pw {
namespace {

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

TextSpan Trimmed(std::string_view text, TextSpan span) {
    while (span.begin < span.end && IsBlank(text[span.begin]))
        ++span.begin;
    while (span.end > span.begin && IsBlank(text[span.end - 1]))
        --span.end;
    return span;
}

bool IsBreak(char c) {
    return c == '\r' || c == '\n';
}

// Whether only blanks stand between the start of pos's line and pos.
bool FirstOnLine(std::string_view text, std::size_t pos) {
    for (; pos > 0 && !IsBreak(text[pos - 1]); --pos)
        if (!IsBlank(text[pos - 1]))
            return false;
    return true;
}

std::size_t LineStart(std::string_view text, std::size_t pos) {
    while (pos > 0 && !IsBreak(text[pos - 1]))
        --pos;
    return pos;
}

// Where pos's line ends: at its line break, or at the end of the text.
std::size_t LineEnd(std::string_view text, std::size_t pos) {
    return std::min(text.find_first_of("\r\n", pos), text.size());
}

// The number of the line that starts at lineStart, counting lines as the profile layer cuts them: at CR LF,
// CR or LF.
std::size_t LineNumber(std::string_view text, std::size_t lineStart) {
    const std::string_view before = text.substr(0, lineStart);
    std::size_t breaks = static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n'));
    for (std::size_t cr = before.find('\r'); cr != std::string_view::npos; cr = before.find('\r', cr + 1))
        if (cr + 1 == text.size() || text[cr + 1] != '\n')
            ++breaks;
    return breaks + 1;
}

bool HeaderNames(std::string_view text, TextSpan line, std::string_view section) {
    std::string_view inside = text.substr(line.begin + 1, line.end - line.begin - 1);
    inside = inside.substr(0, inside.find(']'));
    return AsciiEqualNoCase(TrimView(inside), TrimView(section));
}

// Where the first section header's line at or after from starts (a "[" first on its line), or npos.
std::size_t NextHeader(std::string_view text, std::size_t from) {
    for (std::size_t at = text.find('[', from); at != std::string_view::npos; at = text.find('[', at + 1))
        if (FirstOnLine(text, at))
            return LineStart(text, at);
    return std::string_view::npos;
}

// The lines of the first section named section, from the line after its header to the next header's line
// (or the end of the text); std::nullopt when the text has none.
std::optional<TextSpan> SectionOf(std::string_view text, std::string_view section) {
    for (std::size_t header = NextHeader(text, 0); header != std::string_view::npos;) {
        const std::size_t end = LineEnd(text, header);
        if (HeaderNames(text, Trimmed(text, {header, end}), section))
            return TextSpan{end, std::min(NextHeader(text, end), text.size())};
        header = NextHeader(text, end);
    }
    return std::nullopt;
}

// The value after the "=" at eq, as a read takes it.
void TakeValue(std::string_view text, TextSpan line, std::size_t eq, KeyLine& found) {
    TextSpan value = Trimmed(text, {eq + 1, line.end});
    const std::size_t size = value.end - value.begin;
    if (size >= 2 && (text[value.begin] == '"' || text[value.begin] == '\'') &&
        text[value.end - 1] == text[value.begin]) {
        ++value.begin;
        --value.end;
    }
    found.cut = value.end - value.begin > kProfileValueLimit;
    if (found.cut)
        value.end = value.begin + kProfileValueLimit;
    found.value = value;
}

// The first line of the lines [lines.begin, lines.end) of text whose name is key: the key at a line's
// start, then blanks and "=".
std::optional<KeyLine> FindKeyLine(std::string_view text, TextSpan lines, std::string_view key) {
    const std::string_view within = text.substr(0, lines.end);
    for (std::size_t at = FindNoCase(within, key, lines.begin); at != std::string_view::npos;
         at = FindNoCase(within, key, at + 1)) {
        std::size_t eq = at + key.size();
        while (eq < within.size() && IsBlank(within[eq]) && !IsBreak(within[eq]))
            ++eq;
        if (eq == within.size() || within[eq] != '=' || !FirstOnLine(within, at))
            continue;
        KeyLine line;
        line.number = LineNumber(text, LineStart(text, at));
        line.name = {at, at + key.size()};
        TakeValue(text, Trimmed(text, {at, LineEnd(text, eq)}), eq, line);
        return line;
    }
    return std::nullopt;
}

// Whether key can name an entry: a name with "=" ends before it, and a line that starts with ";" or "["
// is no entry's.
bool IsFindable(std::string_view key) {
    return !key.empty() && key.find('=') == std::string_view::npos && key.front() != ';' &&
           key.front() != '[';
}

} // namespace

std::string UnitsAsCp1251(std::string_view utf16le) {
    std::string units(utf16le.size() / 2, '\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
        const auto lo = static_cast<unsigned char>(utf16le[2 * i]);
        const auto hi = static_cast<unsigned char>(utf16le[2 * i + 1]);
        units[i] = UnicodeToCp1251(static_cast<char32_t>(lo | (hi << 8)));
    }
    return units;
}

FileText::FileText(std::string_view bytes)
    : mBytes(bytes), mWide(bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
    if (mWide)
        mUnits = UnitsAsCp1251(bytes.substr(2));
}

std::vector<std::optional<KeyLine>> FindKeyLines(std::string_view text, std::string_view section,
                                                 const std::vector<std::string>& keys) {
    KeyLineSearch search{std::string(section), keys};
    search.Feed(text, 0);
    return search.Found();
}

KeyLineSearch::KeyLineSearch(std::string section, std::vector<std::string> keys)
    : mSection(std::move(section)), mKeys(std::move(keys)), mFound(mKeys.size()), mLeft(mKeys.size()) {
    for (std::string& key : mKeys) {
        key = Trim(key);
        if (!IsFindable(key))
            --mLeft;
    }
}

bool KeyLineSearch::Feed(std::string_view part, std::size_t offset) {
    if (mState == State::Over || mLeft == 0)
        return false;
    std::optional<TextSpan> lines;
    if (mState == State::Before)
        lines = SectionOf(part, mSection);
    else
        lines = TextSpan{0, std::min(NextHeader(part, 0), part.size())};
    if (lines) {
        mState = lines->end < part.size() ? State::Over : State::In;
        for (std::size_t k = 0; k < mKeys.size(); ++k) {
            if (mFound[k] || !IsFindable(mKeys[k]))
                continue;
            mFound[k] = FindKeyLine(part, *lines, mKeys[k]);
            if (!mFound[k])
                continue;
            --mLeft;
            KeyLine& line = *mFound[k];
            line.number += mLines;
            for (TextSpan* span : {&line.name, &line.value}) {
                span->begin += offset;
                span->end += offset;
            }
        }
    }
    mLines += LineNumber(part, part.size()) - 1;
    return mState != State::Over && mLeft > 0;
}

std::vector<TextSpan> ElementSpans(std::string_view text, TextSpan value, std::string_view separators) {
    std::vector<TextSpan> elements;
    std::size_t start = value.begin;
    for (std::size_t i = value.begin; i <= value.end; ++i) {
        if (i < value.end && separators.find(text[i]) == std::string_view::npos)
            continue;
        elements.push_back(Trimmed(text, {start, i}));
        start = i + 1;
    }
    return elements;
}

} // namespace pw
