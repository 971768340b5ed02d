#include "data/Library.h"

#include "data/Cp1251.h"
#include "data/FileIO.h"

#include <set>
#include <utility>

#include <dirent.h>
#include <sys/stat.h>

namespace pw {
namespace {

bool IsLibraryFile(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return false;
    const std::string_view ext = name.substr(dot);
    return AsciiEqualNoCase(ext, ".info") || AsciiEqualNoCase(ext, ".quest");
}

bool IsFolder(DIR* dir, const dirent* entry, const std::string& full) {
#ifdef _DIRENT_HAVE_D_TYPE
    if (entry->d_type == DT_DIR)
        return true;
    if (entry->d_type != DT_UNKNOWN && entry->d_type != DT_LNK)
        return false;
#endif
    (void)dir;
    (void)entry;
    struct stat st {};
    return ::stat(full.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The folders a scan has entered, by identity, so that a link back to a folder already scanned
// (a loop, or a second way into a subtree) neither repeats its files nor runs without end.
using VisitedFolders = std::set<std::pair<dev_t, ino_t>>;

void ScanFolder(const std::string& folder, std::vector<std::string>& list, VisitedFolders& visited) {
    std::string prefix = folder;
    if (prefix.empty() || prefix.back() != PathSeparator())
        prefix += PathSeparator();
    DIR* dir = ::opendir(prefix.c_str());
    if (!dir)
        return;
    struct stat st {};
    if (::fstat(::dirfd(dir), &st) != 0 || !visited.emplace(st.st_dev, st.st_ino).second) {
        ::closedir(dir);
        return;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        std::string full = prefix;
        full.append(name);
        if (IsFolder(dir, entry, full))
            ScanFolder(full, list, visited);
        else if (IsLibraryFile(name))
            list.push_back(std::move(full));
    }
    ::closedir(dir);
}

} // namespace

void ScanLibraryFolder(const std::string& folder, std::vector<std::string>& list) {
    VisitedFolders visited;
    ScanFolder(folder, list, visited);
}

} // namespace pw
