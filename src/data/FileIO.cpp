#include "data/FileIO.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pw {
namespace {

// Closes a descriptor on every path out of a function.
class Descriptor {
public:
    explicit Descriptor(int fd) : mFd(fd) {}
    ~Descriptor() {
        if (mFd >= 0)
            ::close(mFd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return mFd; }
    int Release() {
        const int fd = mFd;
        mFd = -1;
        return fd;
    }

private:
    int mFd;
};

bool ReadAll(int fd, std::string& out, int* error) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        *error = errno;
        return false;
    }
    if (S_ISDIR(st.st_mode)) {
        *error = EISDIR;
        return false;
    }
    // One byte more than the file holds, so the read that confirms the end needs no further buffer.
    out.resize(static_cast<std::size_t>(st.st_size) + 1);
    std::size_t done = 0;
    for (;;) {
        if (done == out.size())
            out.resize(out.size() * 2); // the file grew while being read
        const ssize_t n = ::read(fd, out.data() + done, out.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            *error = errno;
            return false;
        }
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    out.resize(done);
    return true;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Writes through a symbolic link to the file it names, as an in-place write would.
std::string ResolveTarget(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* real = ::realpath(path.c_str(), nullptr)) {
            std::string resolved(real);
            std::free(real);
            return resolved;
        }
    }
    return path;
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

bool Fail(std::string* reason, int error) {
    if (reason)
        *reason = SystemErrorText(error);
    return false;
}

} // namespace

std::string SystemErrorText(int errorNumber) {
    return std::strerror(errorNumber);
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool PathExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    int error = 0;
    if (fd.Get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return std::nullopt;
        error = errno;
    } else {
        std::string bytes;
        if (ReadAll(fd.Get(), bytes, &error))
            return bytes;
    }
    throw std::runtime_error(CannotOpenFileMessage(path, SystemErrorText(error)));
}

std::optional<std::string> TryReadWholeFile(const std::string& path) {
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0)
        return std::nullopt;
    std::string bytes;
    int error = 0;
    if (!ReadAll(fd.Get(), bytes, &error))
        return std::nullopt;
    return bytes;
}

bool WriteFileAtomic(const std::string& path, std::string_view bytes, std::string* reason) {
    return WriteFileAtomic(path, std::span<const std::string_view>(&bytes, 1), reason);
}

bool WriteFileAtomic(const std::string& path, std::span<const std::string_view> pieces, std::string* reason) {
    const std::string target = ResolveTarget(path);
    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode))
        return Fail(reason, EISDIR);
    if (exists && ::access(target.c_str(), W_OK) != 0)
        return Fail(reason, errno);

    const std::string folder = FolderOf(target);
    std::string temp = target + ".~XXXXXX";
    if (target.size() - folder.size() > 200) // keep the temporary name within the name limits
        temp = folder + "/.plotwright.~XXXXXX";
    Descriptor fd(::mkstemp(temp.data()));
    if (fd.Get() < 0)
        return Fail(reason, errno);
    const mode_t mode = exists ? (st.st_mode & 07777) : NewFileMode();
    int error = 0;
    bool written = ::fchmod(fd.Get(), mode) == 0;
    for (std::size_t i = 0; written && i < pieces.size(); ++i)
        written = WriteAll(fd.Get(), pieces[i]);
    if (!written || ::fsync(fd.Get()) != 0)
        error = errno;
    if (::close(fd.Release()) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(temp.c_str(), target.c_str()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temp.c_str());
        return Fail(reason, error);
    }
    return true;
}

std::string ExpandFileName(const std::string& path) {
    if (path.empty())
        return path;
    std::filesystem::path full(path);
    if (!full.is_absolute()) {
        std::error_code error;
        const std::filesystem::path current = std::filesystem::current_path(error);
        if (error)
            return path;
        full = current / full;
    }
    return full.lexically_normal().string();
}

std::string CannotOpenFileMessage(const std::string& path, const std::string& reason) {
    return "Cannot open file \"" + ExpandFileName(path) + "\". " + reason;
}

std::string CannotCreateFileMessage(const std::string& path, const std::string& reason) {
    return "Cannot create file \"" + ExpandFileName(path) + "\". " + reason;
}

std::string UnableToWriteMessage(const std::string& path) {
    return "Unable to write to " + path;
}

char PathSeparator() {
    return '/';
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (!folder.empty() && folder.back() == PathSeparator())
        return folder + name;
    return folder + PathSeparator() + name;
}

bool MakeDirectory(const std::string& path, std::string* reason) {
    if (::mkdir(path.c_str(), 0777) == 0)
        return true;
    const int error = errno; // taken before the check below can change it
    if (DirectoryExists(path))
        return true;
    if (reason)
        *reason = SystemErrorText(error);
    return false;
}

} // namespace pw
