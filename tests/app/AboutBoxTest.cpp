#include "app/AboutBox.h"

#include "data/Version.h"

#include <QAbstractButton>
#include <QLabel>

#include <gtest/gtest.h>

namespace {

TEST(AboutBox, IsASmallToolWindowWithoutButtons) {
    pw::TAboutBox about;
    EXPECT_EQ(about.windowTitle(), "About");
    EXPECT_EQ(about.size(), QSize(298, 87));
    EXPECT_EQ(about.windowFlags() & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_TRUE(about.findChildren<QAbstractButton*>().isEmpty());
}

TEST(AboutBox, ShowsTheProgramsVersion) {
    pw::TAboutBox about;
    QStringList texts;
    for (const QLabel* label : about.findChildren<QLabel*>())
        texts << label->text();
    EXPECT_TRUE(texts.join('\n').contains(QString::fromLatin1(pw::kProgramVersion)))
        << texts.join('\n').toStdString();
}

} // namespace
