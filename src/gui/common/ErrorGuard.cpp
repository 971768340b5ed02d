#include "gui/common/ErrorGuard.h"

#include "gui/common/UserDialogs.h"

#include <QString>

#include <exception>

namespace pw {

bool RunGuarded(QWidget* owner, const std::function<void()>& body) {
    try {
        body();
        return true;
    } catch (const std::exception& error) {
        Dialogs().Message(owner, QString::fromUtf8(error.what()), QStringLiteral("plotwright"),
                          MsgIcon::Error, MsgButtons::Ok);
        return false;
    }
}

} // namespace pw
