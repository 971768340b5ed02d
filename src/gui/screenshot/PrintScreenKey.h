#pragma once
// The key combination that takes a screenshot: Print Screen released while the left Shift key is down.

#include <QtGlobal>

class QEvent;
class QObject;

namespace pw {

enum class ShiftSide { Left, Right };

// Which Shift key a key event names, told apart by the platform's native codes. A Shift key whose
// codes name neither side (a platform that reports none) counts as the left one.
ShiftSide ShiftSideOf(quint32 nativeScanCode, quint32 nativeVirtualKey);

// Follows the left Shift key through the application's key events and recognises each release of
// Print Screen made while it is down. It looks at a key event only where it enters a window of the
// application: from there one keystroke travels on through several widgets, and is counted once.
class PrintScreenKey {
public:
    // Shown every event an application-wide filter sees; true for the release that takes a screenshot.
    bool IsTrigger(const QObject* receiver, const QEvent* event);

private:
    bool mLeftShiftDown = false;
};

} // namespace pw
