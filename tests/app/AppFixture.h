#pragma once
// A temporary library (Infos, Quests, stringtable.ini), a settings file pointing at it and the
// scripted dialogs service: what the window tests start from.

#include "ScriptedDialogs.h"
#include "TempDir.h"
#include "data/Configs.h"
#include "ui_common/Workspace.h"

#include <QString>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

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

    TempDir dir;
    ScriptedDialogs dialogs;
};

} // namespace pwtest
