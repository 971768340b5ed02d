#pragma once
// Process-wide state, owned by main() and handed to each main window: the settings, the two library
// lists, the string table accessor, the windows they share and (later) the remembered find and replace
// settings.

#include "data/Configs.h"
#include "data/StringTable.h"

#include <memory>
#include <string>
#include <vector>

namespace pw {

class TAboutBox;
class TConfigsFrm;

struct Workspace {
    explicit Workspace(std::unique_ptr<TConfigs> settings, std::string programFolder)
        : configs(std::move(settings)), programDir(std::move(programFolder)) {}

    std::unique_ptr<TConfigs> configs;
    std::string programDir; // folder of the executable: home of the _Infos and _Quests scratch folders

    // Built by a main window's creation when the settings are complete; empty otherwise.
    std::vector<std::string> infoFiles;
    std::vector<std::string> questFiles;
    std::shared_ptr<TStringTable> stringTable; // null until opened
    bool libraryReady = false;                 // false in a run started with incomplete settings

    // The windows every main window shares; created and owned by main() after the first main window.
    TConfigsFrm* configsForm = nullptr;
    TAboutBox* aboutBox = nullptr;
};

} // namespace pw
