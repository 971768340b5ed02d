#include "core/library/PendingRename.h"

#include "core/data/FileIO.h"
#include "core/data/Platform.h"

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <vector>

namespace pw {
namespace {

// The folders the note lies in, the outermost first; none when the environment names no cache folder.
std::vector<std::string> NoteFolders() {
    std::vector<std::string> folders;
    const std::string chosen = platform::EnvironmentText("PLOTWRIGHT_CACHE_DIR");
    const std::string system = platform::UserCacheFolder();
    if (!chosen.empty())
        folders = {chosen};
    else if (!system.empty())
        folders = {system, JoinPath(system, "plotwright")};
    else
        return folders;
    folders.push_back(JoinPath(folders.back(), "renames"));
    return folders;
}

// A name for the note that stays the same from run to run and system to system (FNV-1a, 64 bits).
std::string NoteName(std::string_view identity) {
    std::uint64_t hash = 14695981039346656037ull;
    for (char c : identity) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    char name[32];
    std::snprintf(name, sizeof name, "%016llx.rename", static_cast<unsigned long long>(hash));
    return name;
}

} // namespace

PendingRename::PendingRename(std::string identity) : mIdentity(std::move(identity)), mFolders(NoteFolders()) {
    if (!mFolders.empty())
        mPath = JoinPath(mFolders.back(), NoteName(mIdentity));
}

bool PendingRename::Exists() const {
    // The whole identity is kept in the note, so two renames whose names hash alike are told apart.
    return !mPath.empty() && TryReadWholeFile(mPath) == mIdentity;
}

void PendingRename::Begin() const {
    if (mPath.empty())
        throw std::runtime_error(CannotCreateFileMessage(
            "plotwright/renames", "No folder for the program's cache: neither HOME nor XDG_CACHE_HOME nor "
                                  "LOCALAPPDATA nor PLOTWRIGHT_CACHE_DIR is set"));
    for (const std::string& folder : mFolders)
        if (std::optional<std::string> problem = OutputFolderProblem(folder))
            throw std::runtime_error(*problem);
    std::string reason;
    if (!WriteFileAtomic(mPath, mIdentity, &reason))
        throw std::runtime_error(UnableToWriteMessage(mPath, reason));
}

bool PendingRename::End() const {
    return mPath.empty() || RemoveFile(mPath);
}

} // namespace pw
