#include "gui/screenshot/ScreenShot.h"

#include "gui/common/UserDialogs.h"
#include "gui/screenshot/PrintScreenKey.h"
#include "gui/screenshot/ScrView.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace pw {

namespace {

// The application-wide key watch of one window, owned by that window. One key combination reaches the
// watches of all windows and only one captures: with two editor windows open, the one in use.
class CaptureKeyWatch : public QObject {
public:
    CaptureKeyWatch(QWidget* window, TScreenShot* shot) : QObject(window), mWindow(window), mShot(shot) {
        All().push_back(this);
        qApp->installEventFilter(this);
    }
    ~CaptureKeyWatch() override {
        qApp->removeEventFilter(this);
        std::erase(All(), this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::WindowActivate && watched == mWindow) {
            std::erase(All(), this);
            All().insert(All().begin(), this);
        }
        if (mKey.IsTrigger(watched, event) && InUse() == this && mShot)
            mShot->Capture();
        return false; // the key goes on to its normal processing
    }

private:
    // Every watch, the one of the window activated last first.
    static std::vector<CaptureKeyWatch*>& All() {
        static std::vector<CaptureKeyWatch*> watches;
        return watches;
    }
    // The active window's watch; while none of the windows is active (the viewer or a dialog is), the
    // one of the window activated last.
    static CaptureKeyWatch* InUse() {
        for (CaptureKeyWatch* watch : All())
            if (watch->mWindow->isActiveWindow())
                return watch;
        return All().front();
    }

    QWidget* mWindow;
    QPointer<TScreenShot> mShot;
    PrintScreenKey mKey;
};

} // namespace

TScreenShot::TScreenShot(QObject* owner) : QObject(owner) {
    mWaterMark.SetFont(MarkFont(QStringLiteral("Tahoma"), 19, true));
    mTimeStamp.SetFont(MarkFont(QStringLiteral("Tahoma"), 15, false));
    for (TWaterMark* mark : {&mWaterMark, &mTimeStamp}) {
        mark->SetFontColor(QColor(255, 255, 255));
        mark->SetCircuitColor(QColor(253, 38, 9));
    }
    auto* window = qobject_cast<QWidget*>(owner);
    if (window && window->isWindow()) {
        mTarget = window;
        new CaptureKeyWatch(window, this);
    }
}

void TScreenShot::Capture() {
    if (!mTarget || !mTarget->isWindow()) {
        Dialogs().Message(nullptr, QStringLiteral("Cannot make a screenshot"),
                          QStringLiteral("Something is bad"), MsgIcon::Warning, MsgButtons::Ok);
        return;
    }
    mPicture = Grab();
    DrawWaterMark(mPicture, mWaterMark);
    if (!mShowAfterMake)
        return;
    TScrViewFrm& viewer = TScrViewFrm::Shared();
    viewer.ShowPicture(mPicture);
    if (!viewer.isVisible())
        Dialogs().RunModal(&viewer);
}

QImage TScreenShot::Grab() const {
    QWidget& window = *mTarget;
    const QPixmap inside = window.grab();
    QPixmap picture = inside;
    if (!mClientOnly) {
        // The frame belongs to the desktop, so it comes from the screen; the inside is the window's own
        // drawing, whatever covers it on the screen. Where the screen cannot be read the inside is all.
        const QRect frame = window.frameGeometry();
        QScreen* screen = window.screen();
        const QPoint onScreen = frame.topLeft() - screen->geometry().topLeft();
        QPixmap whole = screen->grabWindow(0, onScreen.x(), onScreen.y(), frame.width(), frame.height());
        if (!whole.isNull() && whole.deviceIndependentSize().toSize() == frame.size()) {
            QPainter painter(&whole);
            painter.drawPixmap(window.geometry().topLeft() - frame.topLeft(), inside);
            painter.end();
            picture = whole;
        }
    }
    QImage image = picture.toImage().convertToFormat(QImage::Format_RGB888);
    image.setDevicePixelRatio(1); // the mark is measured in the picture's own pixels
    return image;
}

} // namespace pw
