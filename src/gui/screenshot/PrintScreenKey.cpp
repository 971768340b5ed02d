#include "gui/screenshot/PrintScreenKey.h"

#include <QKeyEvent>
#include <QObject>

namespace pw {

ShiftSide ShiftSideOf(quint32 nativeScanCode, quint32 nativeVirtualKey) {
#if defined(Q_OS_WIN)
    // The message's virtual key is VK_SHIFT for both keys; the scan code tells them apart (0x2A left,
    // 0x36 right), and a translated event may carry VK_RSHIFT itself.
    constexpr quint32 kRightScanCode = 0x36;
    constexpr quint32 kRightVirtualKey = 0xA1; // VK_RSHIFT
#elif defined(Q_OS_MACOS)
    constexpr quint32 kRightScanCode = 0;
    constexpr quint32 kRightVirtualKey = 0x3C; // kVK_RightShift
#else
    // X11 and Wayland: the key code (the kernel's KEY_RIGHTSHIFT 54 plus 8; the left one is 50) and the
    // key symbol.
    constexpr quint32 kRightScanCode = 62;
    constexpr quint32 kRightVirtualKey = 0xFFE2; // XK_Shift_R
#endif
    const bool right =
        (kRightScanCode != 0 && nativeScanCode == kRightScanCode) || nativeVirtualKey == kRightVirtualKey;
    return right ? ShiftSide::Right : ShiftSide::Left;
}

bool PrintScreenKey::IsTrigger(const QObject* receiver, const QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::ApplicationStateChange &&
        static_cast<const QApplicationStateChangeEvent*>(event)->applicationState() !=
            Qt::ApplicationActive) {
        mLeftShiftDown = false; // a Shift released in another program is never seen here
        return false;
    }
    if ((type != QEvent::KeyPress && type != QEvent::KeyRelease) || !receiver->isWindowType())
        return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    if (key->key() == Qt::Key_Shift) {
        if (ShiftSideOf(key->nativeScanCode(), key->nativeVirtualKey()) == ShiftSide::Left)
            mLeftShiftDown = type == QEvent::KeyPress;
        return false;
    }
    if (type != QEvent::KeyRelease || key->key() != Qt::Key_Print || key->isAutoRepeat())
        return false;
    if (!key->modifiers().testFlag(Qt::ShiftModifier)) {
        // No Shift is down: its release went to another program while ours was in the background.
        mLeftShiftDown = false;
        return false;
    }
    return mLeftShiftDown;
}

} // namespace pw
