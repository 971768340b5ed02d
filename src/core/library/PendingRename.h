#pragma once
// The note of a rename under way, kept outside the library in the user's cache folder: "renames" below
// $PLOTWRIGHT_CACHE_DIR, or else below "plotwright" in the system's cache folder (see
// platform::UserCacheFolder). While it is there, the same rename run again may find its new name taken by
// its own earlier run that was cut short, and goes on instead of refusing.

#include "core/library/LibraryRename.h"

#include <string>
#include <vector>

namespace pw {

class PendingRename {
public:
    // identity: a text that tells this rename from every other.
    explicit PendingRename(std::string identity);

    // Whether the note of this rename is there.
    bool Exists() const;
    // Writes the note, making its folders. Throws std::runtime_error ("Cannot create file ..." or "Unable to
    // write to ...") when it cannot, or when the environment names no cache folder.
    void Begin() const;
    // Removes the note; false when it is still there.
    bool End() const;
    const std::string& Path() const { return mPath; }

private:
    std::string mIdentity;
    std::vector<std::string> mFolders; // the outermost first; none when the environment names no cache folder
    std::string mPath;
};

// What tells request from every other rename, for its note: kind, names, options, and the folders and
// table expanded to whole paths.
std::string RenameIdentity(const RenameRequest& request);

} // namespace pw
