#include "gui/screenshot/WaterMark.h"

#include "gui/screenshot/ScreenShot.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cmath>

namespace {

QImage Plain(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB888);
    picture.fill(QColor(20, 60, 120));
    return picture;
}

// The smallest rectangle holding every pixel that differs between the two pictures.
QRect ChangedPixels(const QImage& before, const QImage& after) {
    QRect changed;
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x)
            if (before.pixel(x, y) != after.pixel(x, y))
                changed |= QRect(x, y, 1, 1);
    return changed;
}

pw::TWaterMark Mark(const QString& text, pw::TMarkPos position) {
    pw::TWaterMark mark;
    mark.SetText(text);
    mark.SetFont(pw::MarkFont(QStringLiteral("Tahoma"), 19, false));
    mark.SetFontColor(Qt::white);
    mark.SetPosition(position);
    return mark;
}

TEST(WaterMark, SitsFlushInEachCornerAndDrawsOnlyWithinItsRectangle) {
    const QImage before = Plain(400, 300);
    QSizeF firstSize;
    for (pw::TMarkPos position : {pw::wpTopLeft, pw::wpTopRight, pw::wpBottomLeft, pw::wpBottomRight}) {
        SCOPED_TRACE(position);
        QImage picture = before;
        const QRectF rect = pw::DrawWaterMark(picture, Mark(QStringLiteral("Plotwright"), position));
        ASSERT_FALSE(rect.isEmpty());
        if (firstSize.isEmpty())
            firstSize = rect.size();
        EXPECT_EQ(rect.size(), firstSize); // the corner moves the mark, never reshapes it
        const bool right = position == pw::wpTopRight || position == pw::wpBottomRight;
        const bool bottom = position == pw::wpBottomLeft || position == pw::wpBottomRight;
        EXPECT_DOUBLE_EQ(right ? rect.right() : rect.left(), right ? 400.0 : 0.0);
        EXPECT_DOUBLE_EQ(bottom ? rect.bottom() : rect.top(), bottom ? 300.0 : 0.0);

        // What is drawn fills the rectangle and stays inside it, so no part falls off the picture.
        const QRect changed = ChangedPixels(before, picture);
        EXPECT_TRUE(rect.toAlignedRect().contains(changed));
        EXPECT_LE(std::abs(changed.left() - rect.left()), 1.0);
        EXPECT_LE(std::abs(changed.top() - rect.top()), 1.0);
        EXPECT_LE(std::abs(changed.right() + 1 - rect.right()), 1.0);
        EXPECT_LE(std::abs(changed.bottom() + 1 - rect.bottom()), 1.0);
    }
}

TEST(WaterMark, EmptyTextLeavesThePictureUnchanged) {
    const QImage before = Plain(120, 80);
    QImage picture = before;
    EXPECT_TRUE(pw::DrawWaterMark(picture, Mark(QString(), pw::wpBottomRight)).isEmpty());
    EXPECT_EQ(picture, before);
}

TEST(WaterMark, TakerMarkIsWhiteOutlinedInRedAtItsSizeInPixels) {
    pw::TScreenShot shot(nullptr);
    pw::TWaterMark mark = shot.WaterMark();
    mark.SetText(QStringLiteral("Hg"));
    QImage picture(200, 100, QImage::Format_RGB888);
    picture.fill(Qt::black);
    const QRectF rect = pw::DrawWaterMark(picture, mark);

    // The size 19 is the em in pixels: the letters with their outline stand about that high, not the
    // 25 pixels that 19 points would make.
    EXPECT_GT(rect.height(), 15.0);
    EXPECT_LT(rect.height(), 22.0);
    int white = 0;
    int outline = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QColor pixel = picture.pixelColor(x, y);
            white += pixel == QColor(255, 255, 255);
            outline += pixel == QColor(253, 38, 9);
        }
    EXPECT_GT(white, 10);
    EXPECT_GT(outline, 10);
}

} // namespace
