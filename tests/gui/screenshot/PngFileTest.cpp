#include "gui/screenshot/PngFile.h"

#include "TempDir.h"

#include <QImage>
#include <QString>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// An odd width, so the rows of the picture in memory are padded beyond their pixels.
QImage Gradient() {
    QImage picture(37, 5, QImage::Format_RGB888);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixelColor(x, y, QColor(x * 7, y * 50, (x * y) % 256));
    return picture;
}

pw::Rgb24Picture View(const QImage& picture) {
    return {picture.constBits(), picture.width(), picture.height(),
            static_cast<std::size_t>(picture.bytesPerLine())};
}

TEST(PngFile, WrittenPictureReadsBackWithTheSameSizeAndPixels) {
    pwtest::TempDir dir;
    const QImage picture = Gradient();
    ASSERT_NE(picture.bytesPerLine(), picture.width() * 3);
    const std::string path = dir.File("shot.png");
    pw::WritePngFile(path, View(picture));

    const std::string bytes = pwtest::ReadBytes(path);
    ASSERT_GT(bytes.size(), 26u);
    EXPECT_EQ(bytes.substr(1, 3), "PNG");
    EXPECT_EQ(bytes[24], 8); // bits per channel
    EXPECT_EQ(bytes[25], 2); // colour type: RGB without alpha
    const QImage read(QString::fromStdString(path));
    ASSERT_FALSE(read.isNull());
    EXPECT_EQ(read.convertToFormat(QImage::Format_RGB888), picture);
}

TEST(PngFile, FailuresNameTheFileAndLeaveItAsItWas) {
    pwtest::TempDir dir;
    const QImage picture = Gradient();
    const std::string missing = dir.File("no/such/folder/shot.png");
    try {
        pw::WritePngFile(missing, View(picture));
        FAIL() << "no error";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()).rfind("Cannot create file \"" + missing + "\". ", 0), 0u)
            << error.what();
    }

    // A picture that cannot be encoded is refused before anything is written.
    const std::string existing = dir.File("old.png");
    pwtest::WriteBytes(existing, "old");
    const QImage empty;
    EXPECT_THROW(pw::WritePngFile(existing, {empty.constBits(), 0, 0, 0}), std::runtime_error);
    EXPECT_EQ(pwtest::ReadBytes(existing), "old");
}

} // namespace
