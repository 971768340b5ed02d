#include "gui/app/TrayIcon.h"

#include <QEvent>
#include <QIcon>
#include <QMenu>
#include <QTimer>
#include <QWidget>

namespace pw {

TrayIcon::TrayIcon(QWidget* window, const QIcon& icon, std::function<void()> showAbout,
                   std::function<void()> confirmExit)
    : QObject(window), mWindow(window), mTrayShown(&QSystemTrayIcon::isSystemTrayAvailable) {
    setObjectName(QStringLiteral("TrayIcon"));
    TrayPop = new QMenu(window);
    TrayPop->setObjectName(QStringLiteral("TrayPop"));
    QAction* show = TrayPop->addAction(QStringLiteral("Показать главное окно"));
    show->setObjectName(QStringLiteral("N30"));
    connect(show, &QAction::triggered, this, &TrayIcon::RestoreWindow);
    TrayPop->addSeparator()->setObjectName(QStringLiteral("N31"));
    QAction* about = TrayPop->addAction(QStringLiteral("О программе"));
    about->setObjectName(QStringLiteral("N32"));
    connect(about, &QAction::triggered, this, std::move(showAbout));
    TrayPop->addSeparator()->setObjectName(QStringLiteral("N34"));
    QAction* exit = TrayPop->addAction(QStringLiteral("Выход"));
    exit->setObjectName(QStringLiteral("N33"));
    connect(exit, &QAction::triggered, this, std::move(confirmExit));

    JvTrayIcon1 = new QSystemTrayIcon(icon, this);
    JvTrayIcon1->setObjectName(QStringLiteral("JvTrayIcon1"));
    JvTrayIcon1->setContextMenu(TrayPop); // the right button opens it, the tray's own doing
    connect(JvTrayIcon1, &QSystemTrayIcon::activated, this, &TrayIcon::JvTrayIcon1Click);
    JvTrayIcon1->show();
    window->installEventFilter(this);
}

void TrayIcon::SetTrayProbe(std::function<bool()> probe) {
    mTrayShown = std::move(probe);
}

void TrayIcon::RestoreWindow() {
    mWindow->showNormal();
    mWindow->raise();
    mWindow->activateWindow();
}

void TrayIcon::JvTrayIcon1Click(QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
        RestoreWindow();
}

bool TrayIcon::eventFilter(QObject* watched, QEvent* event) {
    if (watched == mWindow && event->type() == QEvent::WindowStateChange && mWindow->isMinimized() &&
        mTrayShown()) {
        // After the window manager has finished minimising; hiding takes it off the task bar.
        QTimer::singleShot(0, mWindow, [window = mWindow] {
            if (window->isMinimized())
                window->hide();
        });
    }
    return QObject::eventFilter(watched, event);
}

} // namespace pw
