#include "ui_common/PathEntries.h"

#include "ui_common/Cp1251Text.h"

#include <QComboBox>

namespace pw {

void SetPathEntries(QComboBox* box, const std::vector<std::string>& paths) {
    box->clear();
    for (const std::string& path : paths)
        box->addItem(FromNativePath(path), QByteArray::fromStdString(path));
}

std::string PathOfEntry(const QComboBox* box, int index) {
    return box->itemData(index).toByteArray().toStdString();
}

} // namespace pw
