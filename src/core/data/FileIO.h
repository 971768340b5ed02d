#pragma once
// File mechanics shared by every reader and writer. Nothing else in the program opens a file for writing.
//
// Reads take regular files only (a FIFO, a device or a socket is refused, never waited on) and read them
// in large blocks without trusting a size taken before the read. Every write goes through
// WriteFileAtomic, UpdateFileAtomic or UpdateFileStreamed, which hold the program's lock for the file's
// folder (across processes), so a read-modify-write is never interleaved with another write of the
// program.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace pw {

// The system's text for the last failure (errno), as shown after the program's own error texts.
std::string SystemErrorText(int errorNumber);

bool FileExists(const std::string& path); // a regular file (or anything that is not a folder)
bool DirectoryExists(const std::string& path);
bool PathExists(const std::string& path);
// Whether anything at all is at path, a symbolic link itself included (a dangling one too): a name that a
// new file cannot take.
bool EntryExists(const std::string& path);
// True when something other than a regular file or a folder is at path (a FIFO, a device, a socket).
bool IsSpecialFile(const std::string& path);

// Whole contents of a regular file. std::nullopt when nothing exists at the path.
// Throws std::runtime_error("Cannot open file \"%s\". %s") when it exists but cannot be read, or is not
// a regular file.
std::optional<std::string> ReadWholeFile(const std::string& path);

// Reads files of one folder as ReadWholeFile does, each opened by its name within the folder, which costs
// the system less than opening each by its full path: for a caller that reads a folder's files one after
// another. A folder that cannot be opened is read from by full paths.
class FolderReader {
public:
    explicit FolderReader(const std::string& folder);
    ~FolderReader();
    FolderReader(const FolderReader&) = delete;
    FolderReader& operator=(const FolderReader&) = delete;

    // ReadWholeFile(path) for a path of the folder (the folder, a separator and the file's name), into
    // bytes, whose storage is used again from file to file: false when nothing exists at the path.
    bool ReadWholeFile(const std::string& path, std::string& bytes) const;

private:
    struct Folder;
    std::unique_ptr<Folder> mFolder; // null when the folder could not be opened
};

// The folder part of a path, up to and with its last separator (empty for a file of the current folder).
std::string_view FolderPart(std::string_view path);
// Where each run of paths of one folder begins among count paths (pathOf(i) the i-th), and then count: for
// a caller that reads each folder's files through one FolderReader, as a scan lists them together.
std::vector<std::size_t> FolderRuns(std::size_t count,
                                    const std::function<std::string_view(std::size_t)>& pathOf);

// Like ReadWholeFile, but returns std::nullopt for every failure instead of throwing.
std::optional<std::string> TryReadWholeFile(const std::string& path);

// Reads a regular file in large blocks, for a caller that scans it and may stop early. The bytes the
// caller has not consumed stay in front of the next block, so a line cut by a block's end is whole then.
class BlockReader {
public:
    explicit BlockReader(std::size_t blockSize = 256 * 1024);
    ~BlockReader();
    BlockReader(const BlockReader&) = delete;
    BlockReader& operator=(const BlockReader&) = delete;

    // False when path is missing, not a regular file or cannot be read; *reason then holds why.
    bool Open(const std::string& path, std::string* reason = nullptr);
    // Reads the next block after the unconsumed bytes. False at the end of the file or on a read error
    // (Failed() tells which); Data() then holds what remains.
    bool ReadMore();
    bool Failed() const { return static_cast<bool>(mError); }
    // Why opening or the last read failed.
    std::error_code Error() const { return mError; }
    // The file's size when it was opened: a hint for a caller that keeps a part of it, never a limit.
    std::uint64_t SizeHint() const;
    std::string_view Data() const { return std::string_view(mBuffer).substr(mStart, mEnd - mStart); }
    void Consume(std::size_t count) { mStart += count; }

private:
    struct File;
    std::unique_ptr<File> mFile;
    std::size_t mBlockSize;
    std::string mBuffer;
    std::size_t mStart = 0;
    std::size_t mEnd = 0;
    std::error_code mError;
};

// Replaces the file at path with bytes atomically: a temporary file in the same folder is written,
// flushed to disk and renamed over the target, so a failure never leaves a half-written file. A target
// that is a symbolic link (even a dangling one) is written through: the file it names is replaced.
// The target must be a regular file or absent; anything else is refused and left alone. An existing
// target keeps its permission bits, and its owner and group where the system lets us set them.
// Temporaries that killed writes left for the same target are removed. Returns false and sets *reason
// (the system's text) on failure; nothing at the path has changed then.
bool WriteFileAtomic(const std::string& path, std::string_view bytes, std::string* reason);
// The same for a file made of several pieces written one after the other, so a caller that changes a
// few bytes of a large file need not first copy it into one buffer.
bool WriteFileAtomic(const std::string& path, std::span<const std::string_view> pieces, std::string* reason);

// What a change makes of a file: the pieces of the new contents, or std::nullopt to leave the file as it
// is. The pieces may point into current or into storage the change function owns.
using FilePieces = std::vector<std::string_view>;
using FileChange = std::function<std::optional<FilePieces>(const std::optional<std::string>& current)>;

// A read-modify-write of path as one step: under the program's lock the target is read (std::nullopt
// when absent) and replaced, as by WriteFileAtomic, with what change makes of it. Another process of the
// program writing the same file waits, and then reads the result of this one, so no update is lost.
// change must not write files itself (the lock is not re-entered; such a write fails). Returns false and
// sets *reason on failure, the file unchanged; an exception from change passes through, nothing written.
bool UpdateFileAtomic(const std::string& path, const FileChange& change, std::string* reason);

// Where a streamed change writes the new contents of its file, in order (see UpdateFileStreamed).
class FileOutput {
public:
    virtual ~FileOutput() = default;
    virtual void Write(std::string_view bytes) = 0;
};

// A read-modify-write as UpdateFileAtomic, for a large file of which little changes: change reads the
// current file block by block (current is nullptr when it is absent) and writes the new contents to out
// as it goes, so neither is held whole in memory and the file is read once. change returns false to leave
// the file as it is, whatever it wrote. A read or write failure fails the update: false, *reason set and
// the file unchanged; an exception from change passes through, nothing written.
using StreamedFileChange = std::function<bool(BlockReader* current, FileOutput& out)>;
bool UpdateFileStreamed(const std::string& path, const StreamedFileChange& change, std::string* reason);

// One file of many updated at once: its path and what a change makes of it.
struct FileUpdate {
    std::string path;
    FileChange change;
};

// Many files updated as UpdateFileAtomic updates each, every one replaced or left whole on its own, for a
// caller that changes many at once: the files of a folder are changed under one hold of its lock, their
// new contents flushed to disk together and the folder once, so that many cost about what one does. The
// changes run on several threads, one folder's one after the other. For each file, why it could not be
// written (the system's text), empty when it was or its change left it as it is. An exception from a
// change passes through; the files of its folder are then left as they were.
std::vector<std::string> UpdateFilesAtomic(const std::vector<FileUpdate>& updates);

// Whether a file's contents, read under the program's lock, are as a caller expects them (std::nullopt
// when the file is gone).
using FileCheck = std::function<bool(const std::optional<std::string>& current)>;

// Gives the file at path the name newName in its own folder as one step under the program's lock for the
// folder: the file is read under the lock and renamed only when check accepts its contents; when it does
// not, nothing happens and the call succeeds. What is at newName already is never replaced: that fails.
// Returns false and sets *reason on failure; the file keeps its name then.
bool RenameFileAtomic(const std::string& path, const std::string& newName, const FileCheck& check,
                      std::string* reason);

// Why a write to path would fail now (the system's text), or std::nullopt when it would not: the target is
// checked as every write checks it, and its new contents are begun beside it and dropped unwritten. For a
// caller that writes two files and must not leave one written without the other.
std::optional<std::string> WriteProblem(const std::string& path);

// Removes the regular file at path under the program's lock for its folder. Nothing at path is no failure;
// false when it exists and could not be removed.
bool RemoveFile(const std::string& path);

// The absolute form of path: a relative path is taken from the current folder, and "." and ".."
// parts are resolved without looking at the disk.
std::string ExpandFileName(const std::string& path);

// "Cannot open file "%s". %s" / "Cannot create file "%s". %s" (both with the expanded path) /
// "Unable to write to %s. %s" (the path as given)
std::string CannotOpenFileMessage(const std::string& path, const std::string& reason);
std::string CannotCreateFileMessage(const std::string& path, const std::string& reason);
std::string UnableToWriteMessage(const std::string& path, const std::string& reason);

// The reason given for something at a path that is neither a regular file nor a folder.
std::string NotRegularFileText();

// folder + separator + name, with the separator folder already uses (see platform::SeparatorAfter).
std::string JoinPath(const std::string& folder, const std::string& name);
// Creates one folder; true when it exists afterwards. Otherwise *reason (when given) gets the
// system's text for why it could not be made.
bool MakeDirectory(const std::string& path, std::string* reason = nullptr);
// Creates the folder a file is to be written into unless it exists: std::nullopt when it exists
// afterwards, otherwise "Cannot create file "%s". %s" naming the folder with the system's reason.
std::optional<std::string> OutputFolderProblem(const std::string& folder);

} // namespace pw
