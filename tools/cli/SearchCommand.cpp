#include "SearchCommand.h"

#include "core/data/Library.h"
#include "core/library/LibrarySearch.h"

namespace pw::cli {

int Search(const Args& arguments, const TextForm& form) {
    const Args args = ParseArgs(arguments, {}).operands;
    if (args.size() < 3 || (args[0] != "info" && args[0] != "quest"))
        ThrowUsage("search takes info|quest QUERY ROOT...");
    const SearchMode mode = args[0] == "info" ? SearchMode::Dialogues : SearchMode::Quests;
    const std::string query = form.RecordText(args[1], "QUERY");
    std::vector<std::string> files;
    for (std::size_t i = 2; i < args.size(); ++i) {
        // A mistyped root would otherwise look like a library without matches.
        RequireExistingFolder(args[i]);
        ScanLibraryFolder(args[i], files);
    }
    const SearchOutcome outcome = SearchLibrary(mode, query, files);
    if (!outcome.searched)
        ThrowUsage("the query is blank or holds the count text of a search");
    std::string out;
    for (const std::string& path : outcome.paths) {
        out += path;
        out += '\n';
    }
    WriteOut(out);
    WriteErrLine(MessageToUtf8(SearchCountText(outcome.paths.size())));
    return kExitOk;
}

} // namespace pw::cli
