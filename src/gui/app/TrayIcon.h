#pragma once
// The program's icon in the desktop's notification area and its menu TrayPop. A left click or
// "Показать главное окно" brings the window back; minimising the window takes it off the task bar, so
// that only the tray icon remains. That happens only where the desktop shows tray icons: elsewhere the
// window keeps its task-bar entry, its last way back.

#include <QObject>
#include <QSystemTrayIcon>

#include <functional>

class QIcon;
class QMenu;
class QWidget;

namespace pw {

class TrayIcon : public QObject {
    Q_OBJECT
public:
    // Owned by window and shown at once. showAbout and confirmExit run "О программе" and "Выход".
    TrayIcon(QWidget* window, const QIcon& icon, std::function<void()> showAbout,
             std::function<void()> confirmExit);

    // Replaces the question whether the desktop shows tray icons, asked at each minimising (Qt's answer
    // by default), to stand in for a desktop with or without a tray.
    void SetTrayProbe(std::function<bool()> probe);

    // Restores the window from the minimised or hidden state and brings it to the front.
    void RestoreWindow();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void JvTrayIcon1Click(QSystemTrayIcon::ActivationReason reason);

    QWidget* mWindow;
    QSystemTrayIcon* JvTrayIcon1 = nullptr;
    QMenu* TrayPop = nullptr;
    std::function<bool()> mTrayShown;
};

} // namespace pw
