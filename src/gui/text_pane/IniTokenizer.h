#pragma once
// Cutting one line of INI text into the tokens its colouring draws: comments, sections, keys, values.
// Every line is cut by itself, from its first character; nothing is carried from one line to the next.

#include <QStringView>

#include <vector>

namespace pw {

enum class IniTokenKind { Comment, Text, Section, Key, Number, Space, String, Symbol, EndOfLine };

struct IniToken {
    IniTokenKind kind = IniTokenKind::EndOfLine;
    qsizetype start = 0;
    qsizetype length = 0;
    bool operator==(const IniToken&) const = default;
};

// The tokens of line, left to right and covering it, ended by one empty end-of-line token.
std::vector<IniToken> TokenizeIniLine(QStringView line);

} // namespace pw
