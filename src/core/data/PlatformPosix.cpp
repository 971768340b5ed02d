#include "core/data/Platform.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <thread>

#include <dirent.h>
#include <fcntl.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <sched.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pw::platform {
namespace {

std::error_code Errno(int value) {
    return {value, std::system_category()};
}

std::error_code LastErrno() {
    return Errno(errno);
}

NodeKind KindOfMode(mode_t mode) {
    if (S_ISREG(mode))
        return NodeKind::Regular;
    return S_ISDIR(mode) ? NodeKind::Folder : NodeKind::Other;
}

NodeId IdOf(const struct stat& st) {
    return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

int Fd(std::intptr_t handle) {
    return static_cast<int>(handle);
}

void CloseHandle(std::intptr_t& handle) {
    if (handle >= 0)
        ::close(Fd(handle));
    handle = -1;
}

// The folders each thread holds the lock of: a second lock of the same folder from the same thread would
// wait for itself for ever.
thread_local std::set<NodeId> tHeldFolders;

// The named temporary of the write in progress, for RemovePendingTemporary. Written only by the writing
// thread around the moments a name exists; read by a signal handler, which needs fixed storage.
std::atomic<int> gPendingFolder{-1};
char gPendingName[256];

void SetPending(int folderFd, const std::string& name) {
    if (name.size() >= sizeof gPendingName)
        return;
    gPendingFolder.store(-1);
    std::memcpy(gPendingName, name.c_str(), name.size() + 1);
    gPendingFolder.store(folderFd);
}

void ClearPending() {
    gPendingFolder.store(-1);
}

bool WriteAll(int fd, std::string_view bytes, std::error_code& error) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = LastErrno();
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Gives the unnamed file fd the name name in the folder dirFd.
bool LinkUnnamed(int fd, int dirFd, const std::string& name) {
    if (::linkat(fd, "", dirFd, name.c_str(), AT_EMPTY_PATH) == 0)
        return true;
    if (errno == EEXIST)
        return false;
    // Without the capability AT_EMPTY_PATH needs, the file is reached through its /proc entry.
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    return ::linkat(AT_FDCWD, self.c_str(), dirFd, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

// Opens path (taken from the folder dirFd) for reading into handle, which must be closed or -1. Not
// blocking: opening a FIFO for reading would otherwise wait for a writer.
std::error_code OpenRegular(int dirFd, const char* path, std::intptr_t& handle, std::uint64_t& size) {
    CloseHandle(handle);
    const int fd = ::openat(dirFd, path, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return LastErrno();
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const std::error_code error = LastErrno();
        ::close(fd);
        return error;
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return S_ISDIR(st.st_mode) ? Errno(EISDIR) : NotRegularFileError();
    }
    handle = fd;
    size = static_cast<std::uint64_t>(st.st_size);
    return {};
}

} // namespace

NodeKind KindOf(const std::string& path, std::error_code* error) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0)
        return KindOfMode(st.st_mode);
    if (error && errno != ENOENT && errno != ENOTDIR)
        *error = LastErrno();
    return NodeKind::Missing;
}

bool HasEntry(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

std::string WriteTargetOf(const std::string& path, std::error_code& error) {
    std::string target = path;
    for (int hops = 0;; ++hops) {
        struct stat st {};
        if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return target;
        if (hops == 40) { // the system's own limit for a chain of links
            error = Errno(ELOOP);
            return target;
        }
        std::string link(static_cast<std::size_t>(st.st_size) + 256, '\0');
        ssize_t n = 0;
        while ((n = ::readlink(target.c_str(), link.data(), link.size())) ==
               static_cast<ssize_t>(link.size()))
            link.resize(link.size() * 2); // the link changed since lstat, or its size is not told
        if (n < 0) {
            error = LastErrno();
            return target;
        }
        link.resize(static_cast<std::size_t>(n));
        if (link.empty() || link.front() == '/') {
            target = std::move(link);
            continue;
        }
        const std::size_t slash = target.find_last_of('/');
        target = slash == std::string::npos ? link : target.substr(0, slash + 1) + link;
    }
}

std::error_code MakeFolder(const std::string& path) {
    return ::mkdir(path.c_str(), 0777) == 0 ? std::error_code() : LastErrno();
}

InputFile::~InputFile() {
    CloseHandle(mHandle);
}

OpenFolder::~OpenFolder() {
    CloseHandle(mHandle);
}

std::error_code OpenFolder::Open(const std::string& path) {
    CloseHandle(mHandle);
    mPath = path;
    const int fd = ::open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return LastErrno();
    mHandle = fd;
    return {};
}

std::error_code InputFile::Open(const std::string& path) {
    return OpenRegular(AT_FDCWD, path.c_str(), mHandle, mSizeHint);
}

std::error_code InputFile::Open(const OpenFolder& folder, const char* name) {
    return OpenRegular(Fd(folder.Handle()), name, mHandle, mSizeHint);
}

std::size_t InputFile::Read(char* buffer, std::size_t size, std::error_code& error) {
    for (;;) {
        const ssize_t n = ::read(Fd(mHandle), buffer, size);
        if (n >= 0)
            return static_cast<std::size_t>(n);
        if (errno != EINTR) {
            error = LastErrno();
            return 0;
        }
    }
}

FolderLock::~FolderLock() {
    if (mLocked)
        tHeldFolders.erase(mId);
    CloseHandle(mHandle); // closing the last descriptor of the open folder releases the lock
}

std::error_code FolderLock::Acquire(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return LastErrno();
    mHandle = fd;
    mFolder = folder;
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return LastErrno();
    mId = IdOf(st);
    if (tHeldFolders.count(mId))
        return std::make_error_code(std::errc::resource_deadlock_would_occur);
    // flock locks belong to the open folder, not to the process, so two threads or two processes
    // exclude each other alike; the system drops the lock when a holder dies.
    while (::flock(fd, LOCK_EX) != 0) {
        if (errno == EINTR)
            continue;
        // A file system without locks for folders still gets atomic writes: some user-space ones, and NFS,
        // where flock becomes a byte-range lock that a folder opened for reading cannot take (EBADF).
        if (errno == ENOLCK || errno == EOPNOTSUPP || errno == EINVAL || errno == EBADF || errno == ENOSYS)
            break;
        return LastErrno();
    }
    tHeldFolders.insert(mId);
    mLocked = true;
    return {};
}

std::error_code EntryAttributes(const FolderLock& lock, const std::string& name, NodeAttributes& out) {
    struct stat st {};
    if (::fstatat(Fd(lock.Handle()), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno == ENOENT) {
            out = {};
            return {};
        }
        return LastErrno();
    }
    out.kind = S_ISLNK(st.st_mode) ? NodeKind::Other : KindOfMode(st.st_mode);
    out.mode = st.st_mode & 07777;
    out.owner = st.st_uid;
    out.group = st.st_gid;
    // A read-only or immutable file is refused even where the folder would let us replace it.
    if (out.kind == NodeKind::Regular && ::faccessat(Fd(lock.Handle()), name.c_str(), W_OK, AT_EACCESS) != 0)
        out.writable = LastErrno();
    return {};
}

Replacement::~Replacement() {
    Discard();
}

void Replacement::Discard() {
    CloseHandle(mHandle);
    if (!mTempName.empty()) {
        ::unlinkat(Fd(mLock->Handle()), mTempName.c_str(), 0);
        ClearPending();
        mTempName.clear();
    }
}

std::error_code Replacement::Create(const FolderLock& lock, const std::string& name,
                                    const NodeAttributes& existing) {
    mLock = &lock;
    mName = name;
    const int dirFd = Fd(lock.Handle());
    const mode_t mode = existing.kind == NodeKind::Regular ? existing.mode : NewFileMode();
    int fd = ::openat(dirFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0) {
        // No unnamed files on this file system: a named temporary, removed on failure or interrupt.
        for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
            mTempName = RandomTemporaryName(name);
            SetPending(dirFd, mTempName);
            fd = ::openat(dirFd, mTempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
            if (fd < 0) {
                const int error = errno;
                ClearPending();
                mTempName.clear();
                if (error != EEXIST)
                    return Errno(error);
            }
        }
        if (fd < 0)
            return Errno(EEXIST);
    }
    mHandle = fd;
    if (existing.kind == NodeKind::Regular &&
        (existing.owner != ::geteuid() || existing.group != ::getegid())) {
        // Owner and group where allowed (the owner needs privilege; the group only membership).
        if (::fchown(fd, existing.owner, existing.group) != 0)
            (void)::fchown(fd, static_cast<uid_t>(-1), existing.group);
    }
    // After the owner, which may clear set-id bits.
    if (::fchmod(fd, mode) != 0)
        return LastErrno();
    return {};
}

std::error_code Replacement::Write(std::string_view bytes) {
    std::error_code error;
    WriteAll(Fd(mHandle), bytes, error);
    return error;
}

std::error_code Replacement::Flush() {
    if (::fsync(Fd(mHandle)) != 0)
        return LastErrno();
    mFlushed = true;
    return {};
}

std::error_code Replacement::Commit(bool flushFolder) {
    const int dirFd = Fd(mLock->Handle());
    const int fd = Fd(mHandle);
    if (!mFlushed)
        if (const std::error_code error = Flush())
            return error;
    if (mTempName.empty()) {
        // The unnamed file needs a name for the step that replaces the entry; a kill from here until the
        // rename leaves that name, which the next write's sweep removes.
        for (int attempt = 0; mTempName.empty(); ++attempt) {
            std::string candidate = RandomTemporaryName(mName);
            SetPending(dirFd, candidate);
            if (LinkUnnamed(fd, dirFd, candidate)) {
                mTempName = std::move(candidate);
                break;
            }
            const int error = errno;
            ClearPending();
            if (error != EEXIST || attempt >= 100)
                return Errno(error);
        }
    }
    // The rename follows the naming at once, so the instant in which a kill leaves a name is short.
    if (::renameat(dirFd, mTempName.c_str(), dirFd, mName.c_str()) != 0)
        return LastErrno();
    ClearPending();
    mTempName.clear();
    // The contents are on the disk since the fsync above; closing can no longer lose them.
    ::close(fd);
    mHandle = -1;
    return flushFolder ? FlushFolder(*mLock) : std::error_code();
}

std::error_code FlushFolder(const FolderLock& lock) {
    if (::fsync(Fd(lock.Handle())) != 0 && errno != EINVAL) // EINVAL: a file system that cannot flush folders
        return LastErrno();
    return {};
}

void RemovePendingTemporary() {
    const int dirFd = gPendingFolder.exchange(-1);
    if (dirFd >= 0)
        ::unlinkat(dirFd, gPendingName, 0);
}

std::error_code ListFolder(const std::string& folder, NodeId& id, std::vector<FolderEntry>& entries) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return LastErrno();
    struct stat st {};
    if (::fstat(::dirfd(dir), &st) != 0) {
        const std::error_code error = LastErrno();
        ::closedir(dir);
        return error;
    }
    id = IdOf(st);
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        FolderEntry item{std::string(name), NodeKind::Missing};
#ifdef _DIRENT_HAVE_D_TYPE
        if (entry->d_type == DT_REG)
            item.kind = NodeKind::Regular;
        else if (entry->d_type == DT_DIR)
            item.kind = NodeKind::Folder;
        else if (entry->d_type != DT_LNK && entry->d_type != DT_UNKNOWN)
            item.kind = NodeKind::Other;
#endif
        // A link, or a listing that does not tell: ask for what the name leads to.
        if (item.kind == NodeKind::Missing && ::fstatat(::dirfd(dir), entry->d_name, &st, 0) == 0)
            item.kind = KindOfMode(st.st_mode);
        entries.push_back(std::move(item));
    }
    ::closedir(dir);
    return {};
}

bool RemoveEntry(const FolderLock& lock, const std::string& name) {
    return ::unlinkat(Fd(lock.Handle()), name.c_str(), 0) == 0;
}

std::error_code RenameEntry(const FolderLock& lock, const std::string& from, const std::string& to) {
    const int dirFd = Fd(lock.Handle());
    if (::renameat2(dirFd, from.c_str(), dirFd, to.c_str(), RENAME_NOREPLACE) != 0) {
        if (errno != EINVAL && errno != ENOSYS)
            return LastErrno();
        // A file system that cannot rename without replacing (NFS): a second name, which fails where the
        // name is taken, then the first removed; a kill between leaves the file under both names.
        if (::linkat(dirFd, from.c_str(), dirFd, to.c_str(), 0) != 0 ||
            ::unlinkat(dirFd, from.c_str(), 0) != 0)
            return LastErrno();
    }
    return FlushFolder(lock);
}

bool IsSystemFolder(const NodeId& id) {
    struct SystemFolders {
        std::vector<NodeId> folders;
        std::vector<std::uint64_t> volumes; // only those that are not the root folder's volume
    };
    static const SystemFolders system = [] {
        SystemFolders s;
        struct stat root {};
        const bool haveRoot = ::stat("/", &root) == 0;
        for (const char* path : {"/proc", "/sys", "/dev"}) {
            struct stat st {};
            if (::stat(path, &st) != 0)
                continue;
            s.folders.push_back(IdOf(st));
            if (haveRoot && st.st_dev != root.st_dev)
                s.volumes.push_back(static_cast<std::uint64_t>(st.st_dev));
        }
        return s;
    }();
    for (const NodeId& folder : system.folders)
        if (folder == id)
            return true;
    for (std::uint64_t volume : system.volumes)
        if (volume == id.volume)
            return true;
    return false;
}

unsigned UsableProcessors() {
#ifdef __linux__
    // The affinity mask, so a run limited to some processors (taskset, a container) uses only those.
    cpu_set_t set;
    CPU_ZERO(&set);
    if (::sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0)
        return static_cast<unsigned>(CPU_COUNT(&set));
#endif
    return std::max(1u, std::thread::hardware_concurrency());
}

void ReturnFreedMemory() {
#ifdef __GLIBC__
    ::malloc_trim(0);
#endif
}

void LowerThreadPriority() {
    // On Linux the nice value is the thread's own, and threads started later inherit it.
    constexpr int kNicer = 10;
    const auto thread = static_cast<id_t>(::syscall(SYS_gettid));
    errno = 0;
    const int now = ::getpriority(PRIO_PROCESS, thread);
    if (errno == 0)
        ::setpriority(PRIO_PROCESS, thread, std::min(now + kNicer, 19));
}

void ReturnLargeBlocksWhenFreed() {
#ifdef __GLIBC__
    ::mallopt(M_MMAP_THRESHOLD, 1024 * 1024);
#endif
}

char PathSeparator() {
    return '/';
}

bool IsPathSeparator(char c) {
    return c == '/';
}

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    return {argv + std::min(argc, 1), argv + argc};
}

std::string RawArgument(const std::string& argument) {
    return argument;
}

void PrepareStandardStreams() {}

bool WriteToConsole(int, std::string_view) {
    return false;
}

std::string EnvironmentText(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string UserCacheFolder() {
    // A relative XDG_CACHE_HOME is to be ignored, as the base directory rules say.
    const std::string cache = EnvironmentText("XDG_CACHE_HOME");
    if (!cache.empty() && cache.front() == '/')
        return cache;
    const std::string home = EnvironmentText("HOME");
    return home.empty() ? std::string() : home + "/.cache";
}

std::string SystemCodePageToUtf8(std::string_view text) {
    return std::string(text);
}

std::optional<std::string> Utf8ToSystemCodePage(std::string_view utf8) {
    return std::string(utf8);
}

} // namespace pw::platform
