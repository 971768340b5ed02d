#pragma once
// A temporary library (Infos, Quests, stringtable.ini), a settings file pointing at it and the
// scripted dialogs service: what the window tests start from.

#include "core/data/Configs.h"
#include "gui/app/MainForm.h"
#include "gui/common/Workspace.h"

#include "QtPrinters.h"
#include "ScriptedDialogs.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace pwtest {

class AppFixture : public ::testing::Test {
protected:
    std::string SettingsFile() const { return dir.File("plotwright.inf"); }
    std::string InfosPath() const { return dir.File("Infos"); }
    std::string QuestsPath() const { return dir.File("Quests"); }
    std::string TablePath() const { return dir.File("stringtable.ini"); }

    void WriteSettings(const std::string& table, bool tmpFiles = true) {
        WriteBytes(SettingsFile(), "[configs]\r\nQuests=" + QuestsPath() + "\r\nInfos=" + InfosPath() +
                                       "\r\nstringtable=" + table + "\r\nTmpFiles=" + (tmpFiles ? "1" : "0") +
                                       "\r\n");
    }

    std::unique_ptr<pw::Workspace> MakeWorkspace() {
        return std::make_unique<pw::Workspace>(std::make_unique<pw::TConfigs>(SettingsFile()), dir.Path());
    }

    // The main window as the program starts it on the files as they are.
    pw::TForm1& StartWindow() {
        workspace = MakeWorkspace();
        form = std::make_unique<pw::TForm1>(*workspace);
        return *form;
    }
    // The same on complete settings and a string table holding tableBytes.
    pw::TForm1& OpenWindow(const std::string& tableBytes) {
        WriteSettings(TablePath());
        WriteBytes(TablePath(), tableBytes);
        return StartWindow();
    }

    TempDir dir;
    ScriptedDialogs dialogs;
    std::unique_ptr<pw::Workspace> workspace;
    std::unique_ptr<pw::TForm1> form; // goes before the workspace it works on
};

} // namespace pwtest
