#include "core/data/Library.h"

#include "core/data/Cp1251.h"
#include "core/data/Platform.h"

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

void ScanFolder(const std::string& folder, std::vector<std::string>& list, VisitedFolders& visited) {
    std::string prefix = folder;
    if (prefix.empty() || !platform::IsPathSeparator(prefix.back()))
        prefix += platform::SeparatorAfter(prefix);
    platform::NodeId id;
    std::vector<platform::FolderEntry> entries;
    if (platform::ListFolder(prefix, id, entries) || platform::IsSystemFolder(id) ||
        !visited.insert(id).second)
        return;
    for (platform::FolderEntry& entry : entries) {
        std::string full = prefix + entry.name;
        if (entry.kind == platform::NodeKind::Folder)
            ScanFolder(full, list, visited);
        else if (entry.kind == platform::NodeKind::Regular && IsLibraryFile(entry.name))
            list.push_back(std::move(full));
    }
}

} // namespace

void ScanLibraryFolder(const std::string& folder, std::vector<std::string>& list) {
    VisitedFolders visited;
    ScanFolder(folder, list, visited);
}

RecordKind LibraryFileKind(std::string_view path) {
    constexpr std::string_view quest = ".quest";
    const bool isQuest =
        path.size() >= quest.size() && AsciiEqualNoCase(path.substr(path.size() - quest.size()), quest);
    return isQuest ? RecordKind::Quest : RecordKind::Dialogue;
}

} // namespace pw
