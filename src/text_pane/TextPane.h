#pragma once
// The program's text pane: a plain-text editor in a fixed-pitch font with a line-number gutter.
// Every editor pane of the program (the string table, the raw dialogue and quest files) is one.

#include "text_pane/TextFile.h"

#include <QPlainTextEdit>

#include <string>

namespace pw {

class TextPane : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TextPane(QWidget* parent = nullptr);

    // Shows the whole text of the file at path (native bytes), decoded by its byte-order mark or as
    // Windows-1251. Throws std::runtime_error ("Cannot open file "%s". %s"); the pane keeps its text then.
    void LoadFromFile(const std::string& path);

    // How the last loaded file was encoded and which line ends it used; kept for writing it back.
    TextEncoding Encoding() const { return mEncoding; }
    LineBreak LineBreakStyle() const { return mLineBreak; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class LineNumberGutter;

    int GutterWidth() const;
    void PaintGutter(QPaintEvent* event);
    void UpdateGutterWidth();
    void UpdateGutter(const QRect& rect, int dy);

    QWidget* mGutter = nullptr;
    TextEncoding mEncoding = TextEncoding::Ansi;
    LineBreak mLineBreak = LineBreak::CrLf;
};

} // namespace pw
