#include "gui/app/SettingsPath.h"

#include "TempDir.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

TEST(SettingsFilePath, SitsBesideTheExecutableNamedAfterIt) {
    pwtest::TempDir dir;
    const QString folder = QString::fromStdString(dir.Path());
    const QString fallback = QString::fromStdString(dir.File("config"));
    const QString beside = QDir::toNativeSeparators(folder + "/plotwright.inf");
    EXPECT_EQ(pw::SettingsFilePath(folder + "/plotwright", fallback), beside);
    EXPECT_EQ(pw::SettingsFilePath(folder + "/plotwright.exe", fallback), beside);
    EXPECT_FALSE(QDir(fallback).exists()); // nothing is created while the program's folder will do
}

TEST(SettingsFilePath, FallsBackToTheConfigurationFolderWhenTheProgramFolderIsUnusable) {
    pwtest::TempDir dir;
    const QString fallback = QString::fromStdString(dir.File("config/plotwright"));
    const QString executable = QString::fromStdString(dir.File("gone/plotwright"));
    EXPECT_EQ(pw::SettingsFilePath(executable, fallback),
              QDir::toNativeSeparators(fallback + "/plotwright.inf"));
    EXPECT_TRUE(QDir(fallback).exists());
}

} // namespace
