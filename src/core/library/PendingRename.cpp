#include "core/library/PendingRename.h"

#include "core/data/Cp1251.h"
#include "core/data/FileIO.h"
#include "core/data/Platform.h"
#include "core/data/StrUtilsEx.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <vector>

namespace pw {
namespace {

std::string KindName(RenameKind kind) {
    static constexpr std::array<std::string_view, 4> kNames = {"quest", "info", "event", "string"};
    return std::string(kNames[static_cast<std::size_t>(kind)]);
}

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

std::string RenameIdentity(const RenameRequest& request) {
    std::string identity = "rename " + KindName(request.kind) + "\n";
    std::string oldName = Trim(request.oldName);
    std::transform(oldName.begin(), oldName.end(), oldName.begin(), AsciiUpper);
    identity += oldName + "\n" + request.newName + "\n";
    const bool strings = request.kind == RenameKind::String || request.withStrings;
    identity += std::string(request.withStrings ? "with strings" : "") + "\n";
    identity += (strings ? ExpandFileName(request.stringTable) : std::string()) + "\n";
    std::vector<std::string> roots;
    for (const std::string& root : request.roots)
        roots.push_back(ExpandFileName(root));
    std::sort(roots.begin(), roots.end());
    for (const std::string& root : roots)
        identity += root + "\n";
    return identity;
}

} // namespace pw
