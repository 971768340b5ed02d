// One QApplication for the whole test run, as the widgets need it.

#include <QApplication>

#include <gtest/gtest.h>

namespace {

class QtAppEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "plotwright-test";
        static char* argv[] = {name, nullptr};
        mApp = new QApplication(argc, argv);
    }
    void TearDown() override { delete mApp; }

private:
    QApplication* mApp = nullptr;
};

[[maybe_unused]] ::testing::Environment* const gQtApp =
    ::testing::AddGlobalTestEnvironment(new QtAppEnvironment);

} // namespace
