#include "core/data/Library.h"

#include "core/data/Cp1251.h"
#include "core/data/Platform.h"

#include <algorithm>
#include <iterator>
#include <set>
#include <utility>

namespace pw {
namespace {

bool IsLibraryFile(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return false;
    const std::string_view ext = name.substr(dot);
    return AsciiEqualNoCase(ext, ".info") || AsciiEqualNoCase(ext, ".quest");
}

// The folders a scan has entered, by identity, so that a link back to a folder already scanned
// (a loop, or a second way into a subtree) neither repeats its files nor runs without end.
using VisitedFolders = std::set<platform::NodeId>;

// Lists folder's files into run, handing the run to onFiles before each subfolder is entered and at the
// end, so that the runs come in the order of a depth-first listing.
void ScanFolder(const std::string& folder, std::vector<std::string>& run,
                const std::function<void(std::vector<std::string>&&)>& onFiles, VisitedFolders& visited) {
    std::string prefix = folder;
    if (prefix.empty() || !platform::IsPathSeparator(prefix.back()))
        prefix += platform::SeparatorAfter(prefix);
    platform::NodeId id;
    std::vector<platform::FolderEntry> entries;
    if (platform::ListFolder(prefix, id, entries) || platform::IsSystemFolder(id) ||
        !visited.insert(id).second)
        return;
    const auto handOver = [&run, &onFiles] {
        if (!run.empty())
            onFiles(std::move(run));
        run.clear();
    };
    for (platform::FolderEntry& entry : entries) {
        if (entry.kind == platform::NodeKind::Folder) {
            handOver();
            ScanFolder(prefix + entry.name, run, onFiles, visited);
        } else if (entry.kind == platform::NodeKind::Regular && IsLibraryFile(entry.name)) {
            run.push_back(prefix + entry.name);
        }
    }
    handOver();
}

} // namespace

void ScanLibraryFolder(const std::string& folder, std::vector<std::string>& list) {
    ScanLibraryFolder(folder, [&list](std::vector<std::string>&& files) {
        std::move(files.begin(), files.end(), std::back_inserter(list));
    });
}

void ScanLibraryFolder(const std::string& folder,
                       const std::function<void(std::vector<std::string>&&)>& onFiles) {
    VisitedFolders visited;
    std::vector<std::string> run;
    ScanFolder(folder, run, onFiles, visited);
}

RecordKind LibraryFileKind(std::string_view path) {
    constexpr std::string_view quest = ".quest";
    const bool isQuest =
        path.size() >= quest.size() && AsciiEqualNoCase(path.substr(path.size() - quest.size()), quest);
    return isQuest ? RecordKind::Quest : RecordKind::Dialogue;
}

} // namespace pw
