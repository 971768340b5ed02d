#pragma once
// TConfigs: the four settings and the settings file (section "configs").

#include <string>

namespace pw {

class TConfigs {
public:
    // Opens the settings file at settingsFile (it need not exist) and loads it.
    explicit TConfigs(std::string settingsFile);

    bool TmpFiles = false;
    bool PathsMissing = false; // set only by Load, from AnyPathEmpty
    std::string QuestsPath;
    std::string StringTablePath;
    std::string InfosPath;

    void Load();
    // Whether one of the three paths is empty as the fields hold them now; PathsMissing keeps what Load
    // found.
    bool AnyPathEmpty() const;
    // Writes Quests, Infos, stringtable and TmpFiles in one atomic update.
    // Throws std::runtime_error("Unable to write to %s. %s"); the file is then unchanged.
    void Save();

private:
    std::string mFileName;
};

} // namespace pw
