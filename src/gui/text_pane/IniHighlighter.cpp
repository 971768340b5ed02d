#include "gui/text_pane/IniHighlighter.h"

#include "gui/text_pane/IniTokenizer.h"

#include <QTextDocument>

namespace pw {

IniHighlighter::IniHighlighter(QTextDocument* document) : QSyntaxHighlighter(document) {
    mComment.setFontItalic(true);
    mComment.setForeground(QColor(0x00, 0x80, 0x00));
    mSection.setFontWeight(QFont::Bold);
    rehighlight();
}

void IniHighlighter::highlightBlock(const QString& text) {
    for (const IniToken& token : TokenizeIniLine(text)) {
        if (token.kind == IniTokenKind::Comment)
            setFormat(static_cast<int>(token.start), static_cast<int>(token.length), mComment);
        else if (token.kind == IniTokenKind::Section)
            setFormat(static_cast<int>(token.start), static_cast<int>(token.length), mSection);
    }
}

} // namespace pw
