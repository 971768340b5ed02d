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
    int mArgc = 1;
    char mName[16] = "plotwright-test";
    char* mArgv[2] = {mName, nullptr};
    std::unique_ptr<QApplication> mApp;
};

[[maybe_unused]] const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new QtAppEnvironment);

} // namespace
