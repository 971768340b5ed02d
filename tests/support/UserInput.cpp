#include "UserInput.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>
#include <QtTest/qtestspontaneevent.h>

#include <gtest/gtest.h>

namespace pwtest {

void TurnWheel(QWidget* widget, int notches) {
    QWidget* window = widget->window();
    const QPoint centre = widget->rect().center();
    QWheelEvent event(widget->mapTo(window, centre), widget->mapToGlobal(centre), QPoint(),
                      QPoint(0, -120 * notches), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    // Sent as QTest sends its mouse and key events: spontaneous, as from the platform.
    QSpontaneKeyEvent::setSpontaneous(&event);
    qApp->notify(window->windowHandle(), &event);
}

std::unique_ptr<QWidget> ActivateAnotherWindow() {
    auto elsewhere = std::make_unique<QWidget>();
    elsewhere->show();
    elsewhere->activateWindow();
    if (!QTest::qWaitForWindowActive(elsewhere.get()))
        ADD_FAILURE() << "another window could not take the activation";
    QCoreApplication::processEvents();
    return elsewhere;
}

void PressShiftPrintScreen(QWidget& window, quint32 shift) {
    const quint32 printScreen = 107;
    const auto send = [&window](QEvent::Type type, int key, Qt::KeyboardModifiers modifiers,
                                quint32 scanCode) {
        QKeyEvent event(type, key, modifiers, scanCode, 0, 0);
        QCoreApplication::sendEvent(window.windowHandle(), &event);
    };
    send(QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier, shift);
    send(QEvent::KeyPress, Qt::Key_Print, Qt::ShiftModifier, printScreen);
    send(QEvent::KeyRelease, Qt::Key_Print, Qt::ShiftModifier, printScreen);
    send(QEvent::KeyRelease, Qt::Key_Shift, Qt::NoModifier, shift);
}

} // namespace pwtest
