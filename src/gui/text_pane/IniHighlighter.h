#pragma once
// INI colouring of a text pane's document: comments in green italics, section headers in bold, every
// other token in the pane's own colours.

#include <QSyntaxHighlighter>
#include <QTextCharFormat>

class QTextDocument;

namespace pw {

class IniHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
public:
    // Colours document from now on; the document owns the highlighter.
    explicit IniHighlighter(QTextDocument* document);

protected:
    void highlightBlock(const QString& text) override;

private:
    QTextCharFormat mComment;
    QTextCharFormat mSection;
};

} // namespace pw
