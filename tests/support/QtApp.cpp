// One QApplication for a whole widget test run, created before the first test and destroyed after the last.

#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

namespace {

class QtAppEnvironment : public ::testing::Environment {
public:
    void SetUp() override { mApp = std::make_unique<QApplication>(mArgc, mArgv); }
    void TearDown() override { mApp.reset(); }

private:
    char mName[16] = "plotwright-test";
#ifdef _WIN32
    // Wine hands no QT_* variable to the program, so the offscreen platform is asked for by argument.
    char mPlatform[10] = "-platform";
    char mOffscreen[10] = "offscreen";
    int mArgc = 3;
    char* mArgv[4] = {mName, mPlatform, mOffscreen, nullptr};
#else
    int mArgc = 1;
    char* mArgv[2] = {mName, nullptr};
#endif
    std::unique_ptr<QApplication> mApp;
};

[[maybe_unused]] const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new QtAppEnvironment);

} // namespace
