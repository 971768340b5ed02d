#pragma once
// The wait cursor over the whole program while a step that can take a moment runs.

#include <QCursor>
#include <QGuiApplication>

namespace pw {

class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace pw
