#pragma once
// The operating system's side of the data layer: reading regular files, the lock that serialises
// changes of files, replacing a file through a temporary one, and listing folders. FileIO and Library
// reach the system only through this header; PlatformPosix.cpp implements it for Linux and other POSIX
// systems, PlatformWindows.cpp for Windows, and PlatformCommon.cpp holds what both share. Paths are
// UTF-8 on every system; only PlatformWindows.cpp converts them to the system's UTF-16.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace pw::platform {

// The error of "something other than a regular file at this path" (a folder has its own system error).
std::error_code NotRegularFileError();

enum class NodeKind { Missing, Regular, Folder, Other };

// A file or folder's identity on its volume, the same for every path that reaches it.
struct NodeId {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    auto operator<=>(const NodeId&) const = default;
};

// What path names, symbolic links followed (a dangling link is Missing). error is set when the system
// cannot tell (for example no permission to search a folder on the way); the kind is Missing then.
NodeKind KindOf(const std::string& path, std::error_code* error = nullptr);

// Whether a directory entry is at path, whatever it is: a symbolic link counts itself, a dangling one too.
bool HasEntry(const std::string& path);

// The path that a write to path replaces: path itself, or where path is a symbolic link (a dangling one
// too), the path its chain of links ends at. Relative links are taken from the link's folder.
std::string WriteTargetOf(const std::string& path, std::error_code& error);

// Creates one folder.
std::error_code MakeFolder(const std::string& path);

// A folder held open so that its files are opened by their names within it, which spares the system
// walking the folder's path again for each (on Windows, which lacks such a call, they are opened by their
// full paths).
class OpenFolder {
public:
    OpenFolder() = default;
    ~OpenFolder();
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;

    std::error_code Open(const std::string& path);
    const std::string& Path() const { return mPath; }
    std::intptr_t Handle() const { return mHandle; }

private:
    std::intptr_t mHandle = -1;
    std::string mPath;
};

// A regular file opened for reading. Opening refuses everything else without blocking, so a FIFO or a
// device never hangs or floods the program.
class InputFile {
public:
    InputFile() = default;
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // ENOENT-like errors (std::errc::no_such_file_or_directory, not_a_directory) mean nothing is there.
    std::error_code Open(const std::string& path);
    // The file name of an open folder.
    std::error_code Open(const OpenFolder& folder, const char* name);
    // The size when opened: a hint only, the file may change while it is read.
    std::uint64_t SizeHint() const { return mSizeHint; }
    // Reads up to size bytes into buffer; 0 at the end of the file.
    std::size_t Read(char* buffer, std::size_t size, std::error_code& error);

private:
    std::intptr_t mHandle = -1;
    std::uint64_t mSizeHint = 0;
};

// An exclusive advisory lock for changing files in one folder, held across processes and threads until
// destroyed. Every write of the program takes it, so a read-modify-write under it is never interleaved
// with another of the program's writes to a file in that folder.
class FolderLock {
public:
    FolderLock() = default;
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // Waits for the lock. Fails with std::errc::resource_deadlock_would_occur when this thread already
    // holds it for the same folder, instead of waiting for itself.
    std::error_code Acquire(const std::string& folder);
    const std::string& Folder() const { return mFolder; }
    std::intptr_t Handle() const { return mHandle; }

private:
    std::intptr_t mHandle = -1;
    std::string mFolder;
    NodeId mId;
    bool mLocked = false;
};

// What a replacement takes over from the file it replaces.
struct NodeAttributes {
    NodeKind kind = NodeKind::Missing;
    std::uint32_t mode = 0; // permission bits
    std::uint32_t owner = 0;
    std::uint32_t group = 0;
    std::error_code writable; // why this user may not write the file, for an existing one
};

// The attributes of the entry name in the locked folder, not following a final link.
std::error_code EntryAttributes(const FolderLock& lock, const std::string& name, NodeAttributes& out);

// The new contents of the entry name of a locked folder. Where the system has unnamed files it is one
// until Commit, so a killed program leaves nothing; otherwise it is named after the entry (see
// IsTemporaryName). Destroying an uncommitted replacement removes it.
class Replacement {
public:
    Replacement() = default;
    ~Replacement();
    Replacement(const Replacement&) = delete;
    Replacement& operator=(const Replacement&) = delete;

    // existing: the attributes of what the replacement takes the place of (permission bits, and owner and
    // group where the system lets us set them); kind Missing for a new file.
    std::error_code Create(const FolderLock& lock, const std::string& name, const NodeAttributes& existing);
    std::error_code Write(std::string_view bytes);
    // Flushes the written contents to disk. Replacements flushed on several threads at once are flushed
    // together, at about the cost of one.
    std::error_code Flush();
    // Flushes the file to disk unless Flush did, puts it in the entry's place in one step and flushes the
    // folder (unless flushFolder is false: the caller then calls FlushFolder), so a power cut cannot undo
    // it. On failure the entry is unchanged unless only the folder's flush failed.
    std::error_code Commit(bool flushFolder = true);

private:
    void Discard();

    const FolderLock* mLock = nullptr;
    std::string mName;
    std::string mTempName; // set while a named temporary exists
    std::intptr_t mHandle = -1;
    bool mFlushed = false;
};

// Flushes the names of the locked folder to disk, after entries were replaced in it (on Windows, where a
// replace is written through, there is nothing to do).
std::error_code FlushFolder(const FolderLock& lock);

// Whether name is a temporary file of ours for the entry target: target's name (cut to fit the system's
// name limit), ".~" and six letters or digits.
bool IsTemporaryName(std::string_view name, std::string_view target);
// The temporary name for target with the six characters given.
std::string TemporaryName(std::string_view target, std::string_view six);
// A temporary name for target with six random characters.
std::string RandomTemporaryName(std::string_view target);

// Removes the named temporary of a write in progress, if any. Safe to call from a signal handler; the
// command line calls it on an interrupt before ending.
void RemovePendingTemporary();

struct FolderEntry {
    std::string name;
    NodeKind kind = NodeKind::Missing; // symbolic links followed
};

// The entries of folder in the order the system lists them ("." and ".." left out), with the folder's
// identity. Kinds are found cheaply where the listing tells them.
std::error_code ListFolder(const std::string& folder, NodeId& id, std::vector<FolderEntry>& entries);

// Removes the regular file name in the locked folder; false when it could not.
bool RemoveEntry(const FolderLock& lock, const std::string& name);

// Gives the entry from of the locked folder the name to, never replacing an entry already named to (that
// fails with std::errc::file_exists), then flushes the folder, so a power cut cannot undo the rename.
std::error_code RenameEntry(const FolderLock& lock, const std::string& from, const std::string& to);

// Folders that show the system's own state rather than files (on Linux /proc, /sys and /dev and
// everything on their volumes): a library scan never enters them.
bool IsSystemFolder(const NodeId& id);

// The number of processors this process may run on (at least 1), for spreading work over them.
unsigned UsableProcessors();

// Gives the system back the memory that the process has freed but its allocator still holds. glibc keeps
// what is freed in its arenas, so a large structure built on other threads and dropped again and again
// (the library index on every rebuild) would make the process grow each time. Where the allocator hands
// free memory back by itself (Windows' heap), nothing is done.
void ReturnFreedMemory();
// Makes every block of a megabyte or more the allocator's own mapping, returned to the system when it is
// freed. glibc otherwise raises that bound to the largest block freed so far, so a table read whole once
// keeps its 30 MB in the heap of the thread that read it. Called once at the start of a program that reads
// large files again and again; Windows' heap maps such blocks apart already, and there nothing is done.
void ReturnLargeBlocksWhenFreed();

// Lets the calling thread, and the threads it starts afterwards, run only when the processors are not
// wanted by threads of normal priority: for long work beside a window, whose thread then stays answering.
void LowerThreadPriority();

// The system's own separator between folder and name ("/" on POSIX systems, a backslash on Windows).
char PathSeparator();
// Whether c separates folders in a path: "/", and on Windows a backslash too.
bool IsPathSeparator(char c);
// The separator to put after folder: the one its path already uses, so a path keeps one style
// ("examples/demo/Infos", "C:\Mods\Infos"), else the system's own.
char SeparatorAfter(std::string_view folder);

// The program's arguments (after the program's name) in UTF-8. On Windows they are taken from the
// UTF-16 command line, so any character typed arrives whole; elsewhere they are argv as it is.
std::vector<std::string> CommandLineArguments(int argc, char** argv);
// An argument given with --raw as the files' bytes: on POSIX systems the bytes as they came; on Windows,
// whose command line is UTF-16, each character mapped through Windows-1251 (a path spelt so still
// names its file: a path that is no UTF-8 is read as Windows-1251 there).
std::string RawArgument(const std::string& argument);
// Standard output and error pass bytes unchanged (no line-end translation).
void PrepareStandardStreams();
// Writes UTF-8 text to standard output (1) or error (2) when that is a console that takes UTF-16
// (Windows); false when it is not, and the caller writes the bytes itself.
bool WriteToConsole(int stream, std::string_view utf8);

// The value of the environment variable name in UTF-8; empty when it is not set.
std::string EnvironmentText(const char* name);
// The user's folder for what programs keep between runs and may lose without harm: $XDG_CACHE_HOME or
// ~/.cache on POSIX systems, %LOCALAPPDATA% on Windows. Empty when the environment names none.
std::string UserCacheFolder();

// The system's 8-bit code page, in which the platform's profile functions keep text (paths in the
// settings file): the ANSI code page on Windows; elsewhere paths are the file system's own bytes
// and these change nothing. std::nullopt where the text holds a character the code page lacks.
std::string SystemCodePageToUtf8(std::string_view text);
std::optional<std::string> Utf8ToSystemCodePage(std::string_view utf8);

} // namespace pw::platform
