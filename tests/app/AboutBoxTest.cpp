#include "app/AboutBox.h"

#include <QAbstractButton>

#include <gtest/gtest.h>

namespace {

TEST(AboutBox, IsASmallToolWindowWithoutButtons) {
    pw::TAboutBox about;
    EXPECT_EQ(about.windowTitle(), "About");
    EXPECT_EQ(about.size(), QSize(298, 87));
    EXPECT_EQ(about.windowFlags() & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_TRUE(about.findChildren<QAbstractButton*>().isEmpty());
}

} // namespace
