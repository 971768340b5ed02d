#include "gui/text_pane/IniTokenizer.h"

namespace pw {

namespace {

bool IsAsciiLetter(char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

bool IsAsciiDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// Reads one line; each rule starts at `at`, decides the token's kind and moves `at` past it.
class LineCutter {
public:
    explicit LineCutter(QStringView line) : mLine(line) {}

    std::vector<IniToken> Cut() {
        std::vector<IniToken> tokens;
        while (mAt < mLine.size()) {
            const qsizetype start = mAt;
            const IniTokenKind kind = Rule();
            tokens.push_back({kind, start, mAt - start});
        }
        tokens.push_back({IniTokenKind::EndOfLine, mLine.size(), 0});
        return tokens;
    }

private:
    char16_t At(qsizetype i) const { return i < mLine.size() ? mLine[i].unicode() : u'\0'; }
    bool AtEnd() const { return mAt >= mLine.size(); }

    IniTokenKind Rule() {
        const char16_t c = At(mAt);
        const bool lineStart = mAt == 0;
        switch (c) {
        case u'\n':
            ++mAt;
            return IniTokenKind::Space;
        case u'\r':
            mAt += At(mAt + 1) == u'\n' ? 2 : 1;
            return IniTokenKind::Space;
        case u'"':
        case u'\'':
            return QuotedString(c);
        case u';':
            if (lineStart) {
                mAt = mLine.size();
                return IniTokenKind::Comment;
            }
            ++mAt;
            return IniTokenKind::Text;
        case u'=':
            ++mAt;
            return IniTokenKind::Symbol;
        case u'[':
            if (lineStart)
                return Section();
            ++mAt;
            return IniTokenKind::Text;
        default:
            break;
        }
        if (c >= 1 && c <= 32)
            return Blanks();
        if (lineStart)
            return Key();
        if (IsAsciiDigit(c))
            return Number();
        return Text();
    }

    IniTokenKind Blanks() {
        do
            ++mAt;
        while (!AtEnd() && At(mAt) >= 1 && At(mAt) <= 32);
        return IniTokenKind::Space;
    }

    IniTokenKind Key() {
        while (!AtEnd() && At(mAt) != u'=' && At(mAt) != u'\r' && At(mAt) != u'\n')
            ++mAt;
        return IniTokenKind::Key;
    }

    IniTokenKind Section() {
        while (!AtEnd() && At(mAt) != u']')
            ++mAt;
        if (!AtEnd())
            ++mAt; // the closing bracket belongs to the section
        return IniTokenKind::Section;
    }

    IniTokenKind Number() {
        do
            ++mAt;
        while (IsAsciiDigit(At(mAt)) || At(mAt) == u'.' || At(mAt) == u'E' || At(mAt) == u'e');
        if (IsAsciiLetter(At(mAt)))
            return Text(); // "12ab" is one text token
        return IniTokenKind::Number;
    }

    // The first character whatever it is, then every following Latin letter or digit.
    IniTokenKind Text() {
        do
            ++mAt;
        while (IsAsciiLetter(At(mAt)) || IsAsciiDigit(At(mAt)));
        return IniTokenKind::Text;
    }

    // From the opening quote up to and including the next one of the same kind, or to the end of the
    // line; three quotes in a row open the string with the first two stepped over.
    IniTokenKind QuotedString(char16_t quote) {
        if (At(mAt + 1) == quote && At(mAt + 2) == quote)
            mAt += 2;
        ++mAt;
        while (!AtEnd() && At(mAt) != quote && At(mAt) != u'\r' && At(mAt) != u'\n')
            ++mAt;
        if (!AtEnd() && At(mAt) == quote)
            ++mAt;
        return IniTokenKind::String;
    }

    QStringView mLine;
    qsizetype mAt = 0;
};

} // namespace

std::vector<IniToken> TokenizeIniLine(QStringView line) {
    return LineCutter(line).Cut();
}

} // namespace pw
