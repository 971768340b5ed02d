#include "text_pane/TextPane.h"

#include <QPaintEvent>
#include <QPainter>
#include <QTextBlock>

namespace pw {

// The strip left of the text that shows the line numbers; the pane paints it.
class LineNumberGutter : public QWidget {
public:
    explicit LineNumberGutter(TextPane* pane) : QWidget(pane), mPane(pane) {}

    QSize sizeHint() const override { return {mPane->GutterWidth(), 0}; }

protected:
    void paintEvent(QPaintEvent* event) override { mPane->PaintGutter(event); }

private:
    TextPane* mPane;
};

namespace {

constexpr int kGutterPadding = 4;

QFont PaneFont() {
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(13);
    return font;
}

} // namespace

TextPane::TextPane(QWidget* parent) : QPlainTextEdit(parent), mGutter(new LineNumberGutter(this)) {
    setFont(PaneFont());
    setLineWrapMode(QPlainTextEdit::NoWrap);
    connect(this, &QPlainTextEdit::blockCountChanged, this, &TextPane::UpdateGutterWidth);
    connect(this, &QPlainTextEdit::updateRequest, this, &TextPane::UpdateGutter);
    UpdateGutterWidth();
}

void TextPane::LoadFromFile(const std::string& path) {
    LoadedText loaded = LoadTextFile(path);
    setPlainText(loaded.text);
    mEncoding = loaded.encoding;
    mLineBreak = loaded.lineBreak;
}

int TextPane::GutterWidth() const {
    int digits = 1;
    for (int lines = qMax(1, blockCount()); lines >= 10; lines /= 10)
        ++digits;
    return 2 * kGutterPadding + fontMetrics().horizontalAdvance(u'9') * digits;
}

void TextPane::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    const QRect area = contentsRect();
    mGutter->setGeometry(QRect(area.left(), area.top(), GutterWidth(), area.height()));
}

void TextPane::UpdateGutterWidth() {
    setViewportMargins(GutterWidth(), 0, 0, 0);
}

void TextPane::UpdateGutter(const QRect& rect, int dy) {
    if (dy != 0)
        mGutter->scroll(0, dy);
    else
        mGutter->update(0, rect.y(), mGutter->width(), rect.height());
    if (rect.contains(viewport()->rect()))
        UpdateGutterWidth();
}

void TextPane::PaintGutter(QPaintEvent* event) {
    QPainter painter(mGutter);
    painter.setFont(font());
    painter.fillRect(event->rect(), palette().color(QPalette::Window));
    painter.setPen(palette().color(QPalette::PlaceholderText));
    const int width = mGutter->width() - kGutterPadding;
    const int lineHeight = fontMetrics().height();
    QTextBlock block = firstVisibleBlock();
    int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
    while (block.isValid() && top <= event->rect().bottom()) {
        const int bottom = top + qRound(blockBoundingRect(block).height());
        if (block.isVisible() && bottom >= event->rect().top())
            painter.drawText(0, top, width, lineHeight, Qt::AlignRight,
                             QString::number(block.blockNumber() + 1));
        block = block.next();
        top = bottom;
    }
}

} // namespace pw
