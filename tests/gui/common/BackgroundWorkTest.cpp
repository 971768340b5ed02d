// Long work off the GUI thread: its end comes back on the GUI thread, the progress dialog shows only for
// work that lasts, and Cancel stops the work at a safe point.

#include "gui/common/BackgroundWork.h"

#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <optional>
#include <stdexcept>
#include <thread>

namespace pw {
namespace {

TEST(BackgroundWork, ShortWorkEndsOnTheGuiThreadWithoutADialog) {
    QWidget window;
    BackgroundWork work(&window);
    std::optional<WorkEnd> end;
    QThread* endThread = nullptr;
    std::atomic<QThread*> workThread = nullptr;
    work.Start(
        QStringLiteral("Короткая работа"),
        [&](const ProgressHook& hook) {
            workThread = QThread::currentThread();
            hook(1, 1);
        },
        [&](const WorkEnd& e) {
            end = e;
            endThread = QThread::currentThread();
        });
    work.Wait();
    ASSERT_TRUE(end);
    EXPECT_FALSE(end->stopped);
    EXPECT_FALSE(end->failure);
    EXPECT_EQ(endThread, window.thread());
    EXPECT_NE(workThread.load(), window.thread());
    EXPECT_EQ(window.findChild<QProgressDialog*>(), nullptr);
}

TEST(BackgroundWork, LongWorkShowsItsProgressAndCancelStopsItAtASafePoint) {
    QWidget window;
    BackgroundWork work(&window);
    std::atomic<int> stoppedAt = -1;
    std::optional<WorkEnd> end;
    work.Start(
        QStringLiteral("Длинная работа"),
        [&](const ProgressHook& hook) {
            // Half way, then it waits there for the stop.
            for (int step = 0;; step = std::min(step + 1, 500)) {
                if (!hook(step, 1000)) {
                    stoppedAt = step;
                    return;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
        },
        [&](const WorkEnd& e) { end = e; }, QStringLiteral("Шагов: %1 из %2"));
    EXPECT_EQ(work.Dialog(), nullptr); // not at once
    QTRY_VERIFY_WITH_TIMEOUT(work.Dialog() && work.Dialog()->isVisible() && work.Dialog()->value() == 500, 5000);
    QTRY_COMPARE(work.Dialog()->labelText(), QStringLiteral("Длинная работа\nШагов: 500 из 1000"));
    EXPECT_EQ(work.Dialog()->windowModality(), Qt::NonModal);
    QPushButton* cancel = work.Dialog()->findChild<QPushButton*>();
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(cancel->text(), QStringLiteral("Отмена"));
    QTest::mouseClick(cancel, Qt::LeftButton);
    ASSERT_NE(work.Dialog(), nullptr); // still there until the work has stopped, saying so
    EXPECT_TRUE(work.Dialog()->labelText().endsWith(QStringLiteral("\nОстанавливается…")));
    work.Wait();
    ASSERT_TRUE(end);
    EXPECT_TRUE(end->stopped);
    EXPECT_GE(stoppedAt.load(), 500);
    EXPECT_EQ(work.Dialog(), nullptr);
}

TEST(BackgroundWork, AFailureComesBackToBeShown) {
    QWidget window;
    BackgroundWork work(&window);
    std::optional<WorkEnd> end;
    work.Start(
        QStringLiteral("Работа"), [](const ProgressHook&) { throw std::runtime_error("Unable to write to x"); },
        [&](const WorkEnd& e) { end = e; });
    EXPECT_THROW(work.Start(QString(), [](const ProgressHook&) {}, [](const WorkEnd&) {}), std::logic_error);
    work.Wait();
    ASSERT_TRUE(end);
    EXPECT_FALSE(end->stopped);
    try {
        end->RethrowFailure();
        ADD_FAILURE() << "no failure";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "Unable to write to x");
    }
}

} // namespace
} // namespace pw
