#include "core/library/LibrarySearch.h"

#include "core/data/Cp1251.h"
#include "core/data/FileIO.h"
#include "core/data/ParallelWork.h"
#include "core/data/ProfileIni.h"
#include "core/data/StrUtilsEx.h"

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

// In an 8-bit file every value is a run of the file's own bytes, so a file that does not hold the
// query anywhere cannot match and need not be parsed. UTF-16 files are always parsed.
bool MayMatch(std::string_view bytes, std::string_view query) {
    const bool wide = bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE';
    return wide || ContainsNoCase(bytes, query);
}

} // namespace

std::string SearchQueryOf(std::string_view boxText) {
    return Trim(boxText);
}

bool IsSearchQuery(std::string_view boxText) {
    static const std::string countMark = Utf8ToCp1251("Результ");
    const std::string query = SearchQueryOf(boxText);
    return !query.empty() && query.find(countMark) == std::string::npos;
}

SearchOutcome SearchLibrary(SearchMode mode, std::string_view boxText,
                            const std::vector<std::string>& files) {
    SearchOutcome outcome;
    if (mode == SearchMode::None || !IsSearchQuery(boxText))
        return outcome;
    const std::string query = SearchQueryOf(boxText);
    const SearchKeys& keys = mode == SearchMode::Dialogues ? kInfoKeys : kQuestKeys;
    outcome.searched = true;
    // The files are read on all processors; each verdict has its own byte (a vector<bool> would share
    // them), so the matches are listed in the order of files.
    std::vector<unsigned char> matches(files.size(), 0);
    ParallelFor(files.size(), [&](std::size_t i) {
        // Read once, exactly as ProfileText::Load does; a missing or unreadable file holds no keys.
        std::string bytes = TryReadWholeFile(files[i]).value_or(std::string());
        matches[i] = MayMatch(bytes, query) && FileMatches(ProfileText(std::move(bytes)), keys, query);
    });
    for (std::size_t i = 0; i < files.size(); ++i)
        if (matches[i])
            outcome.paths.push_back(files[i]);
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
