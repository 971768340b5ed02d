#include "UserInput.h"

#include <QApplication>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>
#include <QtTest/qtestspontaneevent.h>

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

} // namespace pwtest
