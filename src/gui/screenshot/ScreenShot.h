#pragma once
// TScreenShot: the screenshot taker that a window owns. Left Shift + Print Screen anywhere in the
// application captures that window into a 24-bit picture, draws the mark on it and shows it in the
// shared viewer.

#include "gui/screenshot/WaterMark.h"

#include <QImage>
#include <QObject>
#include <QPointer>

class QWidget;

namespace pw {

class TScreenShot : public QObject {
    Q_OBJECT
public:
    // When owner is a window, that window is the target and an application-wide key watch, owned by
    // the window, runs Capture on the key combination. Any other owner leaves the component without
    // target and without watch.
    explicit TScreenShot(QObject* owner);

    // The mark drawn on every capture.
    TWaterMark& WaterMark() { return mWaterMark; }
    // A second mark, carried as settings only: no capture draws it.
    TWaterMark& TimeStamp() { return mTimeStamp; }
    // true: the window's inside only; false: the whole window with its frame and caption.
    bool ClientOnly() const { return mClientOnly; }
    void SetClientOnly(bool clientOnly) { mClientOnly = clientOnly; }
    bool ShowAfterMake() const { return mShowAfterMake; }
    void SetShowAfterMake(bool show) { mShowAfterMake = show; }

    // Copies the target into the picture, draws the mark and, with ShowAfterMake, shows the picture in
    // the viewer: modally when the viewer is hidden, so this returns when it is closed; in place when it
    // is already open. Without a target it warns and keeps the previous picture.
    void Capture();
    // The last capture.
    const QImage& Picture() const { return mPicture; }

private:
    QImage Grab() const;

    TWaterMark mWaterMark;
    TWaterMark mTimeStamp;
    bool mClientOnly = true;
    bool mShowAfterMake = true;
    QImage mPicture;
    QPointer<QWidget> mTarget;
};

} // namespace pw
