#pragma once
// Where the settings file lives: beside the executable, named after it with the extension ".inf".

#include <QString>

namespace pw {

// The settings file for the executable at executablePath. When the executable's folder cannot be
// written, the same file name inside fallbackFolder (the user's configuration folder), which is
// created if needed.
QString SettingsFilePath(const QString& executablePath, const QString& fallbackFolder);

} // namespace pw
