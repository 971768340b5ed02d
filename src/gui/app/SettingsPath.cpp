#include "gui/app/SettingsPath.h"

#include <QDir>
#include <QFileInfo>

namespace pw {

QString SettingsFilePath(const QString& executablePath, const QString& fallbackFolder) {
    const QFileInfo executable(executablePath);
    // The extension is replaced, as for "plotwright.exe"; a name without one simply gains ".inf".
    const QString fileName = executable.completeBaseName() + QStringLiteral(".inf");
    const QFileInfo folder(executable.absolutePath());
    if (folder.isDir() && folder.isWritable())
        return QDir::toNativeSeparators(QDir(folder.absoluteFilePath()).filePath(fileName));
    QDir().mkpath(fallbackFolder);
    return QDir::toNativeSeparators(QDir(fallbackFolder).filePath(fileName));
}

} // namespace pw
