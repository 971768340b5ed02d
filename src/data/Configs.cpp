#include "data/Configs.h"

#include "data/FileIO.h"
#include "data/Numbers.h"
#include "data/ProfileIni.h"

#include <stdexcept>

namespace pw {
namespace {
constexpr std::string_view kSection = "configs";
}

TConfigs::TConfigs(std::string settingsFile) : mFileName(std::move(settingsFile)) {
    Load();
}

void TConfigs::Load() {
    const ProfileText file = ProfileText::Load(mFileName);
    QuestsPath = file.Get(kSection, "Quests", "");
    InfosPath = file.Get(kSection, "Infos", "");
    StringTablePath = file.Get(kSection, "stringtable", "");
    // Read as an integer with default 1: only a stored integer 0 turns the scratch folders off.
    TmpFiles = ParseFileInteger(file.Get(kSection, "TmpFiles", "1")).value_or(1) != 0;
    PathsMissing = AnyPathEmpty();
}

bool TConfigs::AnyPathEmpty() const {
    return QuestsPath.empty() || InfosPath.empty() || StringTablePath.empty();
}

void TConfigs::Save() {
    const std::vector<std::pair<std::string, std::string>> keyValues = {
        {"Quests", QuestsPath},
        {"Infos", InfosPath},
        {"stringtable", StringTablePath},
        {"TmpFiles", TmpFiles ? "1" : "0"},
    };
    std::string reason;
    if (!ProfileWriteStrings(mFileName, kSection, keyValues, &reason))
        throw std::runtime_error(UnableToWriteMessage(mFileName, reason));
}

} // namespace pw
