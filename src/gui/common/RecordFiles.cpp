#include "gui/common/RecordFiles.h"

#include "gui/common/Cp1251Text.h"
#include "gui/common/UserDialogs.h"

namespace pw {

void ShowCannotOpenFile(QWidget* owner, const std::string& path) {
    Dialogs().Message(owner, QStringLiteral("Не удалось открыть файл %1").arg(FromNativePath(path)),
                      QStringLiteral("Ошибка"), MsgIcon::Error, MsgButtons::Ok);
}

void ShowNotRecordFile(QWidget* owner, const std::string& path, const std::string& why) {
    Dialogs().Message(owner, QString::fromStdString(why) + QStringLiteral("\r\n") + FromNativePath(path),
                      QStringLiteral("Ошибка"), MsgIcon::Error, MsgButtons::Ok);
}

} // namespace pw
