#include "gui/screenshot/WaterMark.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPen>

#include <algorithm>

namespace pw {

namespace {

// The font's size value read as pixels, whichever unit the font was given in.
int EmSize(const QFont& font) {
    return std::max(1, font.pointSize() > 0 ? font.pointSize() : font.pixelSize());
}

QColor Opaque(QColor color) {
    color.setAlpha(255);
    return color;
}

// The corner's top-left for a mark of the given size: flush with the picture's edges.
QPointF CornerOf(TMarkPos position, const QSizeF& picture, const QSizeF& mark) {
    const bool right = position == wpTopRight || position == wpBottomRight;
    const bool bottom = position == wpBottomLeft || position == wpBottomRight;
    return {right ? picture.width() - mark.width() : 0.0, bottom ? picture.height() - mark.height() : 0.0};
}

} // namespace

TWaterMark::TWaterMark()
    : mFont(MarkFont(QStringLiteral("Arial"), 8, false)), mFontColor(Qt::red), mCircuitColor(Qt::black) {}

QFont MarkFont(const QString& family, int size, bool bold) {
    QFont font(family, size, bold ? QFont::Bold : QFont::Normal);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QRectF DrawWaterMark(QImage& picture, const TWaterMark& mark) {
    QFont font = mark.Font();
    font.setBold(true);
    font.setPixelSize(EmSize(mark.Font()));
    QPainterPath path;
    path.addText(0, 0, font, mark.Text());
    if (path.isEmpty())
        return {};

    const int width = mark.CircuitWidth();
    const QPen pen(Opaque(mark.CircuitColor()), width, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin);
    // The outline reaches half its width beyond the letters; the mark is placed by those outer bounds
    // so that no part of it falls off the picture.
    const QRectF bounds =
        width > 0 ? QPainterPathStroker(pen).createStroke(path).boundingRect() : path.boundingRect();
    const QRectF rect(CornerOf(mark.Position(), picture.size(), bounds.size()), bounds.size());
    path.translate(rect.topLeft() - bounds.topLeft());

    QPainter painter(&picture);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    // Stroke first, then fill: the fill covers the outline's inner half, so the letters keep their shape.
    if (width > 0)
        painter.strokePath(path, pen);
    painter.fillPath(path, Opaque(mark.FontColor()));
    return rect;
}

} // namespace pw
