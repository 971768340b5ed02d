#pragma once
// The general error display. Failures deep inside an operation throw std::exception with the program's
// error text; every slot that can fail runs its body through RunGuarded, which catches the exception
// and shows its text through the dialogs service, so no exception crosses Qt's event loop.

#include <functional>

class QWidget;

namespace pw {

// Runs body; on an exception shows its message (caption: the program's name, error icon) and returns
// false. Exception texts are UTF-8.
bool RunGuarded(QWidget* owner, const std::function<void()>& body);

} // namespace pw
