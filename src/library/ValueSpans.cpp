#include "library/ValueSpans.h"

#include "data/Cp1251.h"
#include "data/ProfileIni.h"
#include "data/StrUtilsEx.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

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

std::string_view Of(std::string_view text, TextSpan span) {
    return text.substr(span.begin, span.end - span.begin);
}

// The lines of a text, each without its line break (CR LF, CR or LF), as the profile layer cuts them. The
// next CR and LF are remembered, so a pass over a large table searches each byte about once.
class Lines {
public:
    explicit Lines(std::string_view text) : mText(text) {}

    // The next line, trimmed; false after the last one.
    bool Next(TextSpan& line) {
        if (mPos >= mText.size())
            return false;
        const std::size_t end = NextBreak();
        line = Trimmed(mText, {mPos, end});
        mPos = end;
        if (mPos < mText.size() && mText[mPos++] == '\r' && mPos < mText.size() && mText[mPos] == '\n')
            ++mPos;
        ++mNumber;
        return true;
    }
    std::size_t Number() const { return mNumber; }

private:
    std::size_t Find(char c) const {
        const void* hit = std::memchr(mText.data() + mPos, c, mText.size() - mPos);
        return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - mText.data()) : mText.size();
    }
    std::size_t NextBreak() {
        if (mCr == kUnknown || mCr < mPos)
            mCr = Find('\r');
        if (mLf == kUnknown || mLf < mPos)
            mLf = Find('\n');
        return std::min(mCr, mLf);
    }

    static constexpr std::size_t kUnknown = static_cast<std::size_t>(-1);
    std::string_view mText;
    std::size_t mPos = 0;
    std::size_t mNumber = 0;
    std::size_t mCr = kUnknown;
    std::size_t mLf = kUnknown;
};

bool IsHeader(std::string_view text, TextSpan line) {
    return line.begin < line.end && text[line.begin] == '[';
}

bool HeaderNames(std::string_view text, TextSpan line, std::string_view section) {
    std::string_view inside = text.substr(line.begin + 1, line.end - line.begin - 1);
    inside = inside.substr(0, inside.find(']'));
    return AsciiEqualNoCase(TrimView(inside), TrimView(section));
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

} // namespace

FileText::FileText(std::string_view bytes)
    : mBytes(bytes), mWide(bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
    if (!mWide)
        return;
    mUnits.resize((bytes.size() - 2) / 2);
    for (std::size_t i = 0; i < mUnits.size(); ++i) {
        const auto lo = static_cast<unsigned char>(bytes[2 + 2 * i]);
        const auto hi = static_cast<unsigned char>(bytes[3 + 2 * i]);
        mUnits[i] = UnicodeToCp1251(static_cast<char32_t>(lo | (hi << 8)));
    }
}

std::string FileText::Encode(std::string_view cp1251) const {
    return mWide ? Cp1251ToUtf16Le(cp1251) : std::string(cp1251);
}

std::vector<std::optional<KeyLine>> FindKeyLines(std::string_view text, std::string_view section,
                                                 const std::vector<std::string>& keys) {
    std::vector<std::optional<KeyLine>> found(keys.size());
    std::unordered_map<std::string_view, std::size_t, FoldedHash, FoldedEqual> numbers;
    for (std::size_t k = 0; k < keys.size(); ++k)
        numbers.try_emplace(TrimView(keys[k]), k);
    std::size_t left = numbers.size();
    Lines lines(text);
    bool inSection = false;
    for (TextSpan line; left > 0 && lines.Next(line);) {
        if (IsHeader(text, line)) {
            // Only the first section of the name is searched.
            if (inSection)
                break;
            inSection = HeaderNames(text, line, section);
            continue;
        }
        if (!inSection || line.begin == line.end || text[line.begin] == ';')
            continue;
        const std::size_t eq = Of(text, line).find('=');
        if (eq == std::string_view::npos)
            continue;
        const TextSpan name = Trimmed(text, {line.begin, line.begin + eq});
        const auto number = numbers.find(Of(text, name));
        if (number == numbers.end() || found[number->second])
            continue;
        KeyLine& key = found[number->second].emplace();
        key.number = lines.Number();
        key.name = name;
        TakeValue(text, line, line.begin + eq, key);
        --left;
    }
    // A key given twice gets the line of its first.
    for (std::size_t k = 0; k < keys.size(); ++k)
        found[k] = found[numbers.at(TrimView(keys[k]))];
    return found;
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
