#include "core/data/FileIO.h"

#include "core/data/ParallelWork.h"
#include "core/data/Platform.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>
#include <stdexcept>

namespace pw {
namespace {

// Writes flushed at once: the system flushes them together, so many cost about what one does.
constexpr unsigned kFlushThreads = 16;

// Large enough that a 30 MB table takes few system calls, small enough to stay in the caches.
constexpr std::size_t kReadBlock = 256 * 1024;

bool IsMissing(const std::error_code& error) {
    return error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory;
}

bool Fail(std::string* reason, const std::error_code& error) {
    if (reason)
        *reason = error.message();
    return false;
}

// Reads an opened file to its end. The size found at opening only sizes the first buffer: a file that
// grows or shrinks meanwhile is read as far as it goes. A read that asked for more than it got and
// brought the bytes up to that size has met the end, so no further read is made to hear it (a file that
// grows after that read is read as it was, as after any last read); a library scan saves one call to
// the system per file.
std::error_code ReadToEnd(platform::InputFile& file, std::string& out) {
    std::error_code error;
    const auto sizeAtOpening = static_cast<std::size_t>(file.SizeHint());
    out.resize(sizeAtOpening + 1);
    std::size_t done = 0;
    for (;;) {
        if (done == out.size())
            out.resize(out.size() * 2);
        const std::size_t asked = std::min(out.size() - done, kReadBlock * 16);
        const std::size_t n = file.Read(out.data() + done, asked, error);
        if (error)
            return error;
        if (n == 0)
            break;
        done += n;
        if (n < asked && done == sizeAtOpening)
            break;
    }
    out.resize(done);
    return {};
}

// Reads what open opens into out, whose storage is used again; false in *found when nothing is there.
template <typename Opening> std::error_code ReadOpened(const Opening& open, std::string& out, bool& found) {
    platform::InputFile file;
    found = false;
    if (const std::error_code error = open(file))
        return IsMissing(error) ? std::error_code() : error;
    found = true;
    out.clear();
    return ReadToEnd(file, out);
}

std::error_code ReadRegular(const std::string& path, std::optional<std::string>& out) {
    std::string bytes;
    bool found = false;
    const std::error_code error =
        ReadOpened([&path](platform::InputFile& file) { return file.Open(path); }, bytes, found);
    if (found && !error)
        out = std::move(bytes);
    return error;
}

std::size_t LastSeparator(const std::string& path) {
    for (std::size_t i = path.size(); i-- > 0;)
        if (platform::IsPathSeparator(path[i]))
            return i;
    return std::string::npos;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = LastSeparator(path);
    if (slash == std::string::npos)
        return ".";
    // The root keeps its separator: "/", "C:\".
    const bool root = slash == 0 || (slash == 2 && path[1] == ':');
    return path.substr(0, root ? slash + 1 : slash);
}

// Where the file name at the end of path starts.
std::size_t NameStart(const std::string& path) {
    const std::size_t slash = LastSeparator(path);
    return slash == std::string::npos ? 0 : slash + 1;
}

std::string NameOf(const std::string& path) {
    return path.substr(NameStart(path));
}

// Removes the temporaries that killed writes of this target left behind. Under the lock no write of
// ours is in progress in the folder, so every one of them is stale.
void SweepTemporaries(const platform::FolderLock& lock, const std::string& name) {
    platform::NodeId id;
    std::vector<platform::FolderEntry> entries;
    if (platform::ListFolder(lock.Folder(), id, entries))
        return;
    for (const platform::FolderEntry& entry : entries)
        if (entry.kind == platform::NodeKind::Regular && platform::IsTemporaryName(entry.name, name))
            platform::RemoveEntry(lock, entry.name);
}

// The file a write replaces, under its folder's lock: every write of the program starts here.
struct LockedTarget {
    std::string path; // links followed
    std::string name;
    platform::FolderLock lock;
    platform::NodeAttributes existing;
};

// Takes the lock for path's target and checks that a regular file, or nothing, is there to replace.
std::error_code LockTarget(const std::string& path, LockedTarget& target) {
    std::error_code error;
    target.path = platform::WriteTargetOf(path, error);
    if (error)
        return error;
    target.name = NameOf(target.path);
    if (target.path.empty())
        return std::make_error_code(std::errc::no_such_file_or_directory);
    if (target.name.empty() || target.name == "." || target.name == "..")
        return std::make_error_code(std::errc::is_a_directory);
    if ((error = target.lock.Acquire(FolderOf(target.path))))
        return error;
    if ((error = platform::EntryAttributes(target.lock, target.name, target.existing)))
        return error;
    if (target.existing.kind == platform::NodeKind::Folder)
        return std::make_error_code(std::errc::is_a_directory);
    // A device, a FIFO, a socket, or a link made meanwhile.
    if (target.existing.kind == platform::NodeKind::Other)
        return platform::NotRegularFileError();
    return target.existing.writable;
}

// The new contents of a locked target. The replacement is made at the first write, so a change that
// leaves the file as it is makes none; the first failure is kept and later writes do nothing.
class ReplacementOutput final : public FileOutput {
public:
    explicit ReplacementOutput(const LockedTarget& target) : mTarget(target) {}

    void Write(std::string_view bytes) override {
        Start();
        if (!mError)
            mError = mReplacement.Write(bytes);
    }

    std::error_code Commit() {
        Start();
        return mError ? mError : mReplacement.Commit();
    }

private:
    void Start() {
        if (mStarted)
            return;
        mStarted = true;
        SweepTemporaries(mTarget.lock, mTarget.name);
        mError = mReplacement.Create(mTarget.lock, mTarget.name, mTarget.existing);
    }

    const LockedTarget& mTarget;
    platform::Replacement mReplacement;
    std::error_code mError;
    bool mStarted = false;
};

// The write path of whole contents. read asks for the target's current contents under the lock, for a
// read-modify-write.
bool ReplaceFile(const std::string& path, bool read, const FileChange& change, std::string* reason) {
    LockedTarget target;
    std::error_code error = LockTarget(path, target);
    if (error)
        return Fail(reason, error);
    std::optional<std::string> current;
    if (read && target.existing.kind == platform::NodeKind::Regular &&
        (error = ReadRegular(target.path, current)))
        return Fail(reason, error);
    const std::optional<FilePieces> pieces = change(current);
    if (!pieces)
        return true;
    ReplacementOutput out(target);
    for (std::string_view piece : *pieces)
        out.Write(piece);
    if ((error = out.Commit()))
        return Fail(reason, error);
    return true;
}

// Where a write to path goes: the file a link chain ends at, split into its folder and name.
struct WriteTarget {
    std::string folder;
    std::string name;
};

std::optional<WriteTarget> TargetOf(const std::string& path, std::string* reason) {
    std::error_code error;
    const std::string target = platform::WriteTargetOf(path, error);
    const std::string name = NameOf(target);
    if (!error && target.empty())
        error = std::make_error_code(std::errc::no_such_file_or_directory);
    else if (!error && (name.empty() || name == "." || name == ".."))
        error = std::make_error_code(std::errc::is_a_directory);
    if (error) {
        Fail(reason, error);
        return std::nullopt;
    }
    return WriteTarget{FolderOf(target), name};
}

// A write under the folder's lock up to its new contents: written into replacement, or left out (false in
// *written) where change leaves the file as it is. read asks for the target's current contents, for a
// read-modify-write.
bool PrepareReplacement(const platform::FolderLock& lock, const std::string& name, bool read,
                        const FileChange& change, platform::Replacement& replacement, bool& written,
                        std::string* reason) {
    written = false;
    platform::NodeAttributes existing;
    std::error_code error;
    if ((error = platform::EntryAttributes(lock, name, existing)))
        return Fail(reason, error);
    if (existing.kind == platform::NodeKind::Folder)
        return Fail(reason, std::make_error_code(std::errc::is_a_directory));
    if (existing.kind == platform::NodeKind::Other) // a device, a FIFO, a socket, or a link made meanwhile
        return Fail(reason, platform::NotRegularFileError());
    if (existing.writable)
        return Fail(reason, existing.writable);

    std::optional<std::string> current;
    if (read && existing.kind == platform::NodeKind::Regular &&
        (error = ReadRegular(JoinPath(lock.Folder(), name), current)))
        return Fail(reason, error);
    const std::optional<FilePieces> pieces = change(current);
    if (!pieces)
        return true;

    SweepTemporaries(lock, name);
    if ((error = replacement.Create(lock, name, existing)))
        return Fail(reason, error);
    for (std::string_view piece : *pieces)
        if ((error = replacement.Write(piece)))
            return Fail(reason, error);
    written = true;
    return true;
}

// The updates of one folder's files (their numbers among all the updates) under one hold of its lock: the
// new contents are written, then flushed on several threads at once, then put in place one by one, and
// the folder is flushed once.
void UpdateFolder(const std::string& folder, const std::vector<std::size_t>& numbers,
                  const std::vector<WriteTarget>& targets, const std::vector<FileUpdate>& updates,
                  std::vector<std::string>& reasons) {
    platform::FolderLock lock;
    if (const std::error_code error = lock.Acquire(folder)) {
        for (std::size_t n : numbers)
            reasons[n] = error.message();
        return;
    }
    std::vector<platform::Replacement> replacements(numbers.size());
    std::vector<std::size_t> written;
    for (std::size_t k = 0; k < numbers.size(); ++k) {
        bool changed = false;
        const std::size_t n = numbers[k];
        if (PrepareReplacement(lock, targets[n].name, true, updates[n].change, replacements[k], changed,
                               &reasons[n]) &&
            changed)
            written.push_back(k);
    }
    std::vector<std::error_code> flushed(written.size());
    ParallelFor(written.size(), kFlushThreads,
                [&](std::size_t w) { flushed[w] = replacements[written[w]].Flush(); });
    bool moved = false;
    for (std::size_t w = 0; w < written.size(); ++w) {
        const std::size_t n = numbers[written[w]];
        if (const std::error_code error = flushed[w] ? flushed[w] : replacements[written[w]].Commit(false))
            reasons[n] = error.message();
        else
            moved = true;
    }
    if (moved)
        if (const std::error_code error = platform::FlushFolder(lock))
            for (std::size_t w : written)
                if (reasons[numbers[w]].empty())
                    reasons[numbers[w]] = error.message();
}

} // namespace

std::string SystemErrorText(int errorNumber) {
    return std::strerror(errorNumber);
}

bool FileExists(const std::string& path) {
    const platform::NodeKind kind = platform::KindOf(path);
    return kind != platform::NodeKind::Missing && kind != platform::NodeKind::Folder;
}

bool DirectoryExists(const std::string& path) {
    return platform::KindOf(path) == platform::NodeKind::Folder;
}

bool PathExists(const std::string& path) {
    return platform::KindOf(path) != platform::NodeKind::Missing;
}

bool EntryExists(const std::string& path) {
    return platform::HasEntry(path);
}

bool IsSpecialFile(const std::string& path) {
    return platform::KindOf(path) == platform::NodeKind::Other;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
    std::optional<std::string> bytes;
    if (const std::error_code error = ReadRegular(path, bytes))
        throw std::runtime_error(CannotOpenFileMessage(path, error.message()));
    return bytes;
}

std::string_view FolderPart(std::string_view path) {
    std::size_t end = path.size();
    while (end > 0 && !platform::IsPathSeparator(path[end - 1]))
        --end;
    return path.substr(0, end);
}

std::vector<std::size_t> FolderRuns(std::size_t count,
                                    const std::function<std::string_view(std::size_t)>& pathOf) {
    std::vector<std::size_t> runs;
    std::string_view folder;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string_view next = FolderPart(pathOf(i));
        if (i == 0 || next != folder)
            runs.push_back(i);
        folder = next;
    }
    runs.push_back(count);
    return runs;
}

std::optional<std::string> TryReadWholeFile(const std::string& path) {
    std::optional<std::string> bytes;
    if (ReadRegular(path, bytes))
        return std::nullopt;
    return bytes;
}

struct FolderReader::Folder {
    platform::OpenFolder folder;
};

FolderReader::FolderReader(const std::string& folder) : mFolder(std::make_unique<Folder>()) {
    if (mFolder->folder.Open(folder))
        mFolder.reset();
}

FolderReader::~FolderReader() = default;

bool FolderReader::ReadWholeFile(const std::string& path, std::string& bytes) const {
    bool found = false;
    const auto open = [this, &path](platform::InputFile& file) {
        return mFolder ? file.Open(mFolder->folder, path.c_str() + NameStart(path)) : file.Open(path);
    };
    if (const std::error_code error = ReadOpened(open, bytes, found))
        throw std::runtime_error(CannotOpenFileMessage(path, error.message()));
    return found;
}

struct BlockReader::File {
    platform::InputFile input;
};

BlockReader::BlockReader(std::size_t blockSize) : mBlockSize(blockSize) {}

BlockReader::~BlockReader() = default;

bool BlockReader::Open(const std::string& path, std::string* reason) {
    mFile = std::make_unique<File>();
    mStart = mEnd = 0;
    mError = mFile->input.Open(path);
    return mError ? Fail(reason, mError) : true;
}

std::uint64_t BlockReader::SizeHint() const {
    return mFile ? mFile->input.SizeHint() : 0;
}

bool BlockReader::ReadMore() {
    if (!mFile || mError)
        return false;
    // The unconsumed bytes move to the front; a buffer they fill more than half of grows, so a long
    // line costs about what it takes to hold it.
    const std::size_t kept = mEnd - mStart;
    if (mStart > 0 && kept > 0)
        std::memmove(mBuffer.data(), mBuffer.data() + mStart, kept);
    mStart = 0;
    mEnd = kept;
    if (mBuffer.size() < kept + mBlockSize)
        mBuffer.resize(std::max(mBuffer.size() * 2, kept + mBlockSize));
    const std::size_t n = mFile->input.Read(mBuffer.data() + mEnd, mBuffer.size() - mEnd, mError);
    mEnd += n;
    return n > 0;
}

bool WriteFileAtomic(const std::string& path, std::string_view bytes, std::string* reason) {
    return WriteFileAtomic(path, std::span<const std::string_view>(&bytes, 1), reason);
}

bool WriteFileAtomic(const std::string& path, std::span<const std::string_view> pieces, std::string* reason) {
    const FileChange whole = [pieces](const std::optional<std::string>&) {
        return std::optional<FilePieces>(FilePieces(pieces.begin(), pieces.end()));
    };
    return ReplaceFile(path, false, whole, reason);
}

bool UpdateFileAtomic(const std::string& path, const FileChange& change, std::string* reason) {
    return ReplaceFile(path, true, change, reason);
}

bool UpdateFileStreamed(const std::string& path, const StreamedFileChange& change, std::string* reason) {
    LockedTarget target;
    if (const std::error_code error = LockTarget(path, target))
        return Fail(reason, error);
    std::optional<BlockReader> reader;
    BlockReader* current = nullptr;
    if (target.existing.kind == platform::NodeKind::Regular) {
        if (reader.emplace().Open(target.path))
            current = &*reader;
        else if (!IsMissing(reader->Error()))
            return Fail(reason, reader->Error());
    }
    ReplacementOutput out(target);
    if (!change(current, out))
        return true;
    if (current && current->Failed())
        return Fail(reason, current->Error());
    // Closed before it is replaced, as after a whole read: Windows may refuse to replace an open file.
    reader.reset();
    if (const std::error_code error = out.Commit())
        return Fail(reason, error);
    return true;
}

std::vector<std::string> UpdateFilesAtomic(const std::vector<FileUpdate>& updates) {
    std::vector<std::string> reasons(updates.size());
    std::vector<WriteTarget> targets(updates.size());
    std::map<std::string, std::vector<std::size_t>> folders;
    for (std::size_t n = 0; n < updates.size(); ++n)
        if (std::optional<WriteTarget> target = TargetOf(updates[n].path, &reasons[n])) {
            targets[n] = std::move(*target);
            folders[targets[n].folder].push_back(n);
        }
    const std::vector<std::pair<std::string, std::vector<std::size_t>>> groups(folders.begin(),
                                                                               folders.end());
    ParallelFor(groups.size(), kFlushThreads, [&](std::size_t g) {
        UpdateFolder(groups[g].first, groups[g].second, targets, updates, reasons);
    });
    return reasons;
}

bool RenameFileAtomic(const std::string& path, const std::string& newName, const FileCheck& check,
                      std::string* reason) {
    const std::string name = NameOf(path);
    if (name.empty() || name == "." || name == "..")
        return Fail(reason, std::make_error_code(std::errc::is_a_directory));
    if (newName.empty() || newName == "." || newName == ".." ||
        std::any_of(newName.begin(), newName.end(), platform::IsPathSeparator))
        return Fail(reason, std::make_error_code(std::errc::invalid_argument));
    platform::FolderLock lock;
    std::error_code error;
    if ((error = lock.Acquire(FolderOf(path))))
        return Fail(reason, error);
    std::optional<std::string> current;
    if ((error = ReadRegular(path, current)))
        return Fail(reason, error);
    if (!check(current))
        return true;
    if ((error = platform::RenameEntry(lock, name, newName)))
        return Fail(reason, error);
    return true;
}

std::optional<std::string> WriteProblem(const std::string& path) {
    LockedTarget target;
    std::error_code error = LockTarget(path, target);
    if (!error) {
        platform::Replacement probe; // destroyed uncommitted: nothing is left of it
        error = probe.Create(target.lock, target.name, target.existing);
    }
    return error ? std::optional<std::string>(error.message()) : std::nullopt;
}

bool RemoveFile(const std::string& path) {
    platform::FolderLock lock;
    if (lock.Acquire(FolderOf(path)))
        return !PathExists(path);
    return platform::RemoveEntry(lock, NameOf(path)) || !PathExists(path);
}

std::string ExpandFileName(const std::string& path) {
    if (path.empty())
        return path;
    // Through UTF-8 explicitly: a narrow path means the ANSI code page to the library on Windows.
    std::filesystem::path full(std::u8string(path.begin(), path.end()));
    // A path from the root of the current drive (as Wine passes a Unix shell's "/tmp/x") is kept so.
    if (!full.is_absolute() && !platform::IsPathSeparator(path.front())) {
        std::error_code error;
        const std::filesystem::path current = std::filesystem::current_path(error);
        if (error)
            return path;
        full = current / full;
    }
    // The separators the path was given with.
    const std::u8string text = full.lexically_normal().generic_u8string();
    std::string expanded(text.begin(), text.end());
    const char separator = platform::SeparatorAfter(path);
    if (separator != '/')
        std::replace(expanded.begin(), expanded.end(), '/', separator);
    return expanded;
}

std::string CannotOpenFileMessage(const std::string& path, const std::string& reason) {
    return "Cannot open file \"" + ExpandFileName(path) + "\". " + reason;
}

std::string CannotCreateFileMessage(const std::string& path, const std::string& reason) {
    return "Cannot create file \"" + ExpandFileName(path) + "\". " + reason;
}

std::string UnableToWriteMessage(const std::string& path, const std::string& reason) {
    return "Unable to write to " + path + ". " + reason;
}

std::string NotRegularFileText() {
    return platform::NotRegularFileError().message();
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (!folder.empty() && platform::IsPathSeparator(folder.back()))
        return folder + name;
    return folder + platform::SeparatorAfter(folder) + name;
}

bool MakeDirectory(const std::string& path, std::string* reason) {
    const std::error_code error = platform::MakeFolder(path);
    if (!error || DirectoryExists(path))
        return true;
    return Fail(reason, error);
}

std::optional<std::string> OutputFolderProblem(const std::string& folder) {
    std::string reason;
    if (MakeDirectory(folder, &reason))
        return std::nullopt;
    return CannotCreateFileMessage(folder, reason);
}

} // namespace pw
