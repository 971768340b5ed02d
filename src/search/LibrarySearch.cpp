#include "search/LibrarySearch.h"

#include "data/Cp1251.h"
#include "data/ProfileIni.h"
#include "data/StrUtilsEx.h"

#include <array>

namespace pw {

namespace {

struct SearchKeys {
    std::string_view section;
    std::array<std::string_view, 3> wholeKeys; // compared whole, A-Z folded
    std::string_view containsKey;              // empty when the mode has none
};

constexpr SearchKeys kInfoKeys{"Info", {"Name", "Owner", "Quest"}, "InfoScript_Texts"};
constexpr SearchKeys kQuestKeys{"Quest", {"Name", "DeliveryEntities", "DestinationEntity"}, {}};

// A key is read only when the keys before it did not match.
bool FileMatches(const ProfileText& file, const SearchKeys& keys, std::string_view query) {
    for (std::string_view key : keys.wholeKeys) {
        if (AsciiEqualNoCase(file.Get(keys.section, key, {}), query))
            return true;
    }
    if (keys.containsKey.empty())
        return false;
    return file.Get(keys.section, keys.containsKey, {}).find(query) != std::string::npos;
}

} // namespace

std::string SearchQueryOf(std::string_view boxText) {
    return Trim(boxText);
}

SearchOutcome SearchLibrary(int mode, std::string_view boxText, const std::vector<std::string>& files) {
    SearchOutcome outcome;
    if (mode != 0 && mode != 1)
        return outcome;
    const std::string query = SearchQueryOf(boxText);
    // The box still showing the count of the previous search is no query.
    static const std::string countMark = Utf8ToCp1251("Результ");
    if (query.empty() || query.find(countMark) != std::string::npos)
        return outcome;
    const SearchKeys& keys = mode == 0 ? kInfoKeys : kQuestKeys;
    outcome.searched = true;
    for (const std::string& path : files) {
        if (FileMatches(ProfileText::Load(path), keys, query))
            outcome.paths.push_back(path);
    }
    return outcome;
}

std::string SearchCountText(std::size_t count) {
    static const std::string prefix = Utf8ToCp1251("Результатов -  ");
    return prefix + std::to_string(count) + " ";
}

std::string SearchWaitText() {
    static const std::string text = Utf8ToCp1251("Выполняется поиск, ждите...");
    return text;
}

} // namespace pw
