#include "gui/string_editor/ToolImages.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace pw {

namespace {

constexpr int kSize = 16;

QIcon Draw(const std::function<void(QPainter&)>& paint) {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    paint(painter);
    painter.end();
    return QIcon(pixmap);
}

void Folder(QPainter& painter) {
    QPainterPath folder;
    folder.moveTo(1.5, 3.5);
    folder.lineTo(6, 3.5);
    folder.lineTo(7.5, 5);
    folder.lineTo(14.5, 5);
    folder.lineTo(14.5, 13.5);
    folder.lineTo(1.5, 13.5);
    folder.closeSubpath();
    painter.setPen(QColor(150, 110, 20));
    painter.setBrush(QColor(250, 210, 100));
    painter.drawPath(folder);
    painter.setBrush(QColor(255, 230, 150));
    painter.drawRect(QRectF(1.5, 7, 13, 6.5));
}

void Magnifier(QPainter& painter, double left = 0) {
    painter.setPen(QPen(QColor(60, 60, 70), 1.6));
    painter.setBrush(QColor(200, 225, 250));
    painter.drawEllipse(QRectF(left + 1.5, 1.5, 8, 8));
    painter.setPen(QPen(QColor(90, 60, 30), 2.4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(left + 8.5, 8.5), QPointF(left + 12, 12));
}

// A small arrow at the bottom, pointing right (1) or left (-1).
void Arrow(QPainter& painter, int direction) {
    const double tip = direction > 0 ? 15 : 1;
    const double tail = direction > 0 ? 7 : 9;
    painter.setPen(QPen(QColor(20, 110, 40), 1.6, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(tail, 13.5), QPointF(tip, 13.5));
    painter.drawLine(QPointF(tip, 13.5), QPointF(tip - 3 * direction, 10.5));
}

void Find(QPainter& painter) {
    Magnifier(painter, 1.5);
}

void FindNext(QPainter& painter) {
    Magnifier(painter);
    Arrow(painter, 1);
}

void FindPrevious(QPainter& painter) {
    Magnifier(painter, 3);
    Arrow(painter, -1);
}

// Text "A" turning into "B".
void Replace(QPainter& painter) {
    QFont font(QStringLiteral("Tahoma"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(9);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(60, 60, 70));
    painter.drawText(QRectF(0, 0, 8, 9), Qt::AlignCenter, QStringLiteral("A"));
    painter.setPen(QColor(20, 70, 160));
    painter.drawText(QRectF(8, 7, 8, 9), Qt::AlignCenter, QStringLiteral("B"));
    painter.setPen(QPen(QColor(20, 110, 40), 1.4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(3.5, 11), QPointF(3.5, 13.5));
    painter.drawLine(QPointF(3.5, 13.5), QPointF(7, 13.5));
    painter.drawLine(QPointF(7, 13.5), QPointF(5.5, 12));
}

} // namespace

QList<QIcon> MakeToolImages() {
    return {Draw(Folder), Draw(Find), Draw(FindNext), Draw(FindPrevious), Draw(Replace)};
}

} // namespace pw
