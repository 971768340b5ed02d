// The INI colouring's tokenizer on any line: the tokens cover the line left to right without gaps or
// overlaps, none is empty, and one empty end-of-line token ends them.

#include "FuzzInput.h"

#include "gui/text_pane/IniTokenizer.h"

#include <QList>
#include <QString>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (QStringView line : QStringView(text).split(u'\n')) {
        const std::vector<pw::IniToken> tokens = pw::TokenizeIniLine(line);
        pwfuzz::Require(!tokens.empty() && tokens.back().kind == pw::IniTokenKind::EndOfLine &&
                            tokens.back().length == 0 && tokens.back().start == line.size(),
                        "one empty end-of-line token ends the tokens");
        qsizetype at = 0;
        for (std::size_t i = 0; i + 1 < tokens.size(); ++i) {
            pwfuzz::Require(tokens[i].kind != pw::IniTokenKind::EndOfLine, "end of line only at the end");
            pwfuzz::Require(tokens[i].start == at && tokens[i].length > 0,
                            "tokens cover the line, none empty");
            at += tokens[i].length;
        }
        pwfuzz::Require(at == line.size(), "the tokens reach the line's end");
    }
    return 0;
}
