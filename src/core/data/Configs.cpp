#include "core/data/Configs.h"

#include "core/data/FileIO.h"
#include "core/data/Numbers.h"
#include "core/data/Platform.h"
#include "core/data/ProfileIni.h"

#include <stdexcept>

namespace pw {
namespace {
constexpr std::string_view kSection = "configs";

// A path as the settings file keeps it. A path that the system's code page cannot spell could never be
// read back, so it is refused rather than stored with "?" in it.
std::string StoredPath(const std::string& path) {
    if (std::optional<std::string> stored = platform::Utf8ToSystemCodePage(path))
        return std::move(*stored);
    throw std::runtime_error("Путь «" + path + "» содержит символы, которых нет в кодовой странице системы.");
}
} // namespace

TConfigs::TConfigs(std::string settingsFile) : mFileName(std::move(settingsFile)) {
    Load();
}

void TConfigs::Load() {
    const ProfileText file = ProfileText::Load(mFileName);
    // Paths are kept in the system's code page, as its profile functions write them.
    QuestsPath = platform::SystemCodePageToUtf8(file.Get(kSection, "Quests", ""));
    InfosPath = platform::SystemCodePageToUtf8(file.Get(kSection, "Infos", ""));
    StringTablePath = platform::SystemCodePageToUtf8(file.Get(kSection, "stringtable", ""));
    // Read as an integer with default 1: only a stored integer 0 turns the scratch folders off.
    TmpFiles = ParseFileInteger(file.Get(kSection, "TmpFiles", "1")).value_or(1) != 0;
    TextLanguage = file.Get(kSection, "TextLanguage", "");
    PathsMissing = AnyPathEmpty();
}

bool TConfigs::AnyPathEmpty() const {
    return QuestsPath.empty() || InfosPath.empty() || StringTablePath.empty();
}

void TConfigs::Save() {
    std::vector<std::pair<std::string, std::string>> keyValues = {
        {"Quests", StoredPath(QuestsPath)},
        {"Infos", StoredPath(InfosPath)},
        {"stringtable", StoredPath(StringTablePath)},
        {"TmpFiles", TmpFiles ? "1" : "0"},
    };
    // A file of the settings the program always had keeps its bytes while no language is chosen.
    if (!TextLanguage.empty() || ProfileText::Load(mFileName).Find(kSection, "TextLanguage"))
        keyValues.emplace_back("TextLanguage", TextLanguage);
    std::string reason;
    if (!ProfileWriteStrings(mFileName, kSection, keyValues, &reason))
        throw std::runtime_error(UnableToWriteMessage(mFileName, reason));
}

} // namespace pw
