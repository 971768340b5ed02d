#pragma once
// The library search: which files of a library list match a query typed into a search box.

#include <string>
#include <string_view>
#include <vector>

namespace pw {

enum class SearchMode {
    Dialogues, // section "Info": Name, Owner, Quest whole; then InfoScript_Texts contains the query
    Quests,    // section "Quest": Name, DeliveryEntities, DestinationEntity whole
    None,      // searches nothing
};

struct SearchOutcome {
    // False when no search ran (the text is no query, or the mode is None): the box and its list are
    // then left as they were.
    bool searched = false;
    std::vector<std::string> paths; // matching files, each once, in list order
};

// The query as the search uses it: the box's text trimmed of codes 0..32.
std::string SearchQueryOf(std::string_view boxText);

// Whether the box's text starts a search: its query is not empty and holds no "Результ", so the count
// the box shows after a search is no query. boxText is Windows-1251.
bool IsSearchQuery(std::string_view boxText);

// Runs the search of mode for the box text over files. Whole-value comparisons fold only A-Z; the
// InfoScript_Texts test is byte for byte. Each file is read once, on all processors at once; missing or
// unreadable files simply do not match. boxText is Windows-1251; the paths are the file system's, returned as given.
SearchOutcome SearchLibrary(SearchMode mode, std::string_view boxText, const std::vector<std::string>& files);

// "Результатов -  %d " (Windows-1251), the box's text after a search.
std::string SearchCountText(std::size_t count);
// "Выполняется поиск, ждите..." (Windows-1251), the box's text while the search runs.
std::string SearchWaitText();

} // namespace pw
