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
    // "Язык реплик": the code of the string table's language the editors show and write (key
    // "TextLanguage"); empty for the whole value, as the table holds it.
    std::string TextLanguage;

    void Load();
    // Whether one of the three paths is empty as the fields hold them now; PathsMissing keeps what Load
    // found.
    bool AnyPathEmpty() const;
    // Writes Quests, Infos, stringtable and TmpFiles in one atomic update, and TextLanguage when it is set
    // or the file holds it already.
    // Throws std::runtime_error("Unable to write to %s. %s"); the file is then unchanged.
    void Save();

private:
    std::string mFileName;
};

} // namespace pw
