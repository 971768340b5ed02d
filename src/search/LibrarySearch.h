#pragma once
// The library search: which files of a library list match a query typed into a search box.

#include <string>
#include <string_view>
#include <vector>

namespace pw {

enum class SearchMode {
    Infos = 0,  // section "Info": Name, Owner, Quest whole; then InfoScript_Texts contains the query
    Quests = 1, // section "Quest": Name, DeliveryEntities, DestinationEntity whole
};

struct SearchOutcome {
    // False when no search ran (empty query, a query holding "Результ", or another mode): the box
    // and its list are then left as they were.
    bool searched = false;
    std::vector<std::string> paths; // matching files, each once, in list order
};

// The query as the search uses it: the box's text trimmed of codes 0..32.
std::string SearchQueryOf(std::string_view boxText);

// Runs the search of mode (0 dialogues, 1 quests; anything else searches nothing) for the box text
// over files. Whole-value comparisons fold only A-Z; the InfoScript_Texts test is byte for byte. Each
// file is read once; missing or unreadable files simply do not match. boxText and paths are
// Windows-1251 / native bytes.
SearchOutcome SearchLibrary(int mode, std::string_view boxText, const std::vector<std::string>& files);

// "Результатов -  %d " (Windows-1251), the box's text after a search.
std::string SearchCountText(std::size_t count);
// "Выполняется поиск, ждите..." (Windows-1251), the box's text while the search runs.
std::string SearchWaitText();

} // namespace pw
