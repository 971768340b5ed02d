#include "gui/app/TabIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace pw {

namespace {

constexpr int kSize = 16;

QPixmap Paint(int size, const std::function<void(QPainter&)>& paint) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / double(kSize), size / double(kSize));
    paint(painter);
    painter.end();
    return pixmap;
}

QIcon Draw(const std::function<void(QPainter&)>& paint) {
    return QIcon(Paint(kSize, paint));
}

void TextPage(QPainter& painter) {
    painter.setPen(QColor(90, 90, 90));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(2.5, 1.5, 11, 13));
    painter.setPen(QColor(120, 120, 160));
    for (int y = 4; y <= 12; y += 2)
        painter.drawLine(QPointF(4.5, y + 0.5), QPointF(11.5, y + 0.5));
}

void ChangedPage(QPainter& painter) {
    TextPage(painter);
    painter.setPen(QColor(150, 20, 0));
    painter.setBrush(QColor(240, 60, 20));
    painter.drawEllipse(QRectF(8.5, 8.5, 7, 7));
}

void Dialogue(QPainter& painter) {
    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(1.5, 2.5, 13, 9), 3, 3);
    bubble.moveTo(4.5, 11.5);
    bubble.lineTo(3.5, 15);
    bubble.lineTo(8, 11.5);
    painter.setPen(QColor(30, 70, 140));
    painter.setBrush(QColor(170, 205, 250));
    painter.drawPath(bubble.simplified());
}

void Quest(QPainter& painter) {
    painter.setPen(QPen(QColor(80, 60, 30), 1.5));
    painter.drawLine(QPointF(3.5, 1.5), QPointF(3.5, 15));
    QPolygonF flag;
    flag << QPointF(4, 2) << QPointF(14, 5) << QPointF(4, 8.5);
    painter.setPen(QColor(20, 110, 40));
    painter.setBrush(QColor(60, 180, 80));
    painter.drawPolygon(flag);
}

// A dark red tile with a speech bubble, in which the lines of a dialogue stand.
void Program(QPainter& painter) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(130, 30, 20));
    painter.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(2.5, 3, 11, 7.5), 2, 2);
    bubble.moveTo(4.5, 10);
    bubble.lineTo(4, 13.5);
    bubble.lineTo(7.5, 10);
    painter.setBrush(QColor(250, 240, 215));
    painter.drawPath(bubble.simplified());
    painter.setPen(QPen(QColor(130, 30, 20), 1));
    painter.drawLine(QPointF(4.5, 5.5), QPointF(11.5, 5.5));
    painter.drawLine(QPointF(4.5, 8), QPointF(9.5, 8));
}

} // namespace

QList<QIcon> MakeTabImages() {
    return {Draw(TextPage), Draw(ChangedPage), Draw(Dialogue), Draw(Quest)};
}

QIcon MakeProgramIcon() {
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addPixmap(Paint(size, Program));
    return icon;
}

} // namespace pw
