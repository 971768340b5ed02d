// Starts Plotwright: the settings first, then the windows in their fixed order, then the message loop. A
// start while the editor already runs hands its files to that editor and ends.

#include "core/data/Configs.h"
#include "core/data/Platform.h"
#include "gui/app/AboutBox.h"
#include "gui/app/ConfigsForm.h"
#include "gui/app/MainForm.h"
#include "gui/app/QtTranslations.h"
#include "gui/app/RunningEditor.h"
#include "gui/app/SettingsPath.h"
#include "gui/app/TabIcons.h"
#include "gui/common/Cp1251Text.h"
#include "gui/common/Workspace.h"

#include <QApplication>
#include <QFileInfo>
#include <QStandardPaths>

#include <memory>

int main(int argc, char* argv[]) {
    // The string table and the library index are read again and again; their memory must not stay.
    pw::platform::ReturnLargeBlocksWhenFreed();
    QApplication app(argc, argv);
    pw::InstallQtTranslations(app);
    app.setWindowIcon(pw::MakeProgramIcon());
    // The first window ends the run, also while it waits in the tray with no window shown.
    QApplication::setQuitOnLastWindowClosed(false);
    const QString executable = QCoreApplication::applicationFilePath();
    const QString settingsFile =
        pw::SettingsFilePath(executable, QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
    // Absolute, so that the running editor finds them from its own working folder.
    QStringList files;
    for (const QString& argument : QCoreApplication::arguments().mid(1))
        files << QFileInfo(argument).absoluteFilePath();
    pw::RunningEditor runningEditor(pw::RunningEditorName(settingsFile));
    if (runningEditor.HandOverOrListen(files) == pw::RunningEditor::Start::Handed)
        return 0;
    pw::Workspace workspace(std::make_unique<pw::TConfigs>(pw::ToNativePath(settingsFile)),
                            pw::ToNativePath(QFileInfo(executable).absolutePath()));

    pw::TForm1 mainWindow(workspace);
    // Owned by the main window, so it is centred over it and closes with it; it tells the main window of
    // each save, also of one made during its first display on a start with incomplete settings.
    workspace.configsForm =
        new pw::TConfigsFrm(*workspace.configs, &mainWindow,
                            [&mainWindow](QWidget* dialog) { mainWindow.SettingsSaved(dialog); });
    pw::TAboutBox aboutBox;
    workspace.aboutBox = &aboutBox;

    QObject::connect(&runningEditor, &pw::RunningEditor::FilesHanded, &mainWindow,
                     &pw::TForm1::TakeHandedFiles);

    mainWindow.show();
    mainWindow.OpenFiles(files);
    return app.exec();
}
