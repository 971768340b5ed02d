#include "gui/screenshot/PrintScreenKey.h"

#include "UserInput.h"

#include <QKeyEvent>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

namespace {

using pwtest::kLeftShift;
using pwtest::kRightShift;

class PrintScreenKeyTest : public ::testing::Test {
protected:
    bool Shift(QEvent::Type type, quint32 scanCode, quint32 virtualKey = 0) {
        QKeyEvent event(type, Qt::Key_Shift, type == QEvent::KeyPress ? Qt::ShiftModifier : Qt::NoModifier,
                        scanCode, virtualKey, 0);
        return key.IsTrigger(&window, &event);
    }
    bool PrintScreenUp(Qt::KeyboardModifiers modifiers, const QObject* receiver = nullptr,
                       bool autoRepeat = false) {
        QKeyEvent event(QEvent::KeyRelease, Qt::Key_Print, modifiers, 107, 0xFF61, 0, QString(), autoRepeat);
        return key.IsTrigger(receiver ? receiver : &window, &event);
    }

    QWindow window;
    pw::PrintScreenKey key;
};

TEST_F(PrintScreenKeyTest, EachReleaseWithTheLeftShiftDownTriggersOnceWhereItEntersAWindow) {
    EXPECT_FALSE(Shift(QEvent::KeyPress, kLeftShift));
    EXPECT_TRUE(PrintScreenUp(Qt::ShiftModifier));
    // The same release travelling on to the widgets of the window is not counted again.
    QWidget widget;
    EXPECT_FALSE(PrintScreenUp(Qt::ShiftModifier, &widget));
    EXPECT_FALSE(PrintScreenUp(Qt::ShiftModifier, &widget));
    // Held keys repeat; only the real release counts.
    EXPECT_FALSE(PrintScreenUp(Qt::ShiftModifier, &window, true));
    EXPECT_TRUE(PrintScreenUp(Qt::ShiftModifier));

    EXPECT_FALSE(Shift(QEvent::KeyRelease, kLeftShift));
    EXPECT_FALSE(PrintScreenUp(Qt::NoModifier));
}

// Which Shift is down is told by the key event's native codes.
TEST_F(PrintScreenKeyTest, OnlyTheLeftShiftTriggers) {
    EXPECT_FALSE(PrintScreenUp(Qt::NoModifier)) << "no Shift";
    struct Case {
        const char* what;
        quint32 scanCode, virtualKey;
        bool triggers;
    };
    const Case cases[] = {
        {"left", kLeftShift, 0, true},
        {"right", kRightShift, 0, false},
        {"a platform that gives no native codes: taken for the left", 0, 0, true},
#if !defined(Q_OS_WIN) && !defined(Q_OS_MACOS)
        {"right, known by its key symbol", 0, 0xFFE2, false},
#endif
    };
    for (const Case& c : cases) {
        key = pw::PrintScreenKey();
        Shift(QEvent::KeyPress, c.scanCode, c.virtualKey);
        EXPECT_EQ(PrintScreenUp(Qt::ShiftModifier), c.triggers) << c.what;
    }
    // Left pressed and let go while the right one stays down.
    key = pw::PrintScreenKey();
    Shift(QEvent::KeyPress, kRightShift);
    Shift(QEvent::KeyPress, kLeftShift);
    Shift(QEvent::KeyRelease, kLeftShift);
    EXPECT_FALSE(PrintScreenUp(Qt::ShiftModifier));
}

TEST_F(PrintScreenKeyTest, ShiftLetGoOutsideTheProgramIsForgotten) {
    // The release went to another program: the next Print Screen reports no Shift.
    Shift(QEvent::KeyPress, kLeftShift);
    EXPECT_FALSE(PrintScreenUp(Qt::NoModifier));
    EXPECT_FALSE(PrintScreenUp(Qt::ShiftModifier));

    // The program went to the background while the Shift was down.
    Shift(QEvent::KeyPress, kLeftShift);
    QApplicationStateChangeEvent inactive(Qt::ApplicationInactive);
    EXPECT_FALSE(key.IsTrigger(&window, &inactive));
    EXPECT_FALSE(PrintScreenUp(Qt::ShiftModifier));
}

} // namespace
