#include "TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>
#ifdef __linux__
#include <linux/fs.h>
#endif
#endif

namespace fs = std::filesystem;

namespace pwtest {

fs::path FsPath(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8Path(const fs::path& path) {
    // With "/" between the names on every system, as the tests join them.
    const std::u8string text = path.generic_u8string();
    return std::string(text.begin(), text.end());
}

TempDir::TempDir() {
    static thread_local std::mt19937 rng{std::random_device{}()};
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path folder = fs::temp_directory_path() / ("plotwright-test-" + std::to_string(rng()));
        if (fs::create_directory(folder)) {
            fs::permissions(folder, fs::perms::owner_all, fs::perm_options::replace);
            mPath = Utf8Path(folder);
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::permissions(FsPath(mPath), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(FsPath(mPath), ec);
}

std::string TempDir::File(const std::string& name) const {
    return mPath + "/" + name;
}

std::string SystemReason(Reason reason) {
#ifdef _WIN32
    const DWORD code = reason == Reason::Missing       ? ERROR_FILE_NOT_FOUND
                       : reason == Reason::PathMissing ? ERROR_PATH_NOT_FOUND
                                                       : ERROR_ALREADY_EXISTS;
    wchar_t text[512] = {};
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                        code, 0, text, 512, nullptr);
    std::string utf8 = Utf8Path(fs::path(std::wstring(text, length)));
    while (!utf8.empty() && static_cast<unsigned char>(utf8.back()) <= ' ')
        utf8.pop_back();
    return utf8;
#else
    const std::errc code =
        reason == Reason::Exists ? std::errc::file_exists : std::errc::no_such_file_or_directory;
    return std::make_error_code(code).message();
#endif
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    fs::create_directories(FsPath(path).parent_path());
    std::ofstream out(FsPath(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(FsPath(path), std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool Exists(const std::string& path) {
    return fs::exists(FsPath(path));
}

namespace {

std::optional<std::string> GetEnvironment(const std::string& name) {
#ifdef _WIN32
    const wchar_t* value = _wgetenv(FsPath(name).c_str());
    return value ? std::optional<std::string>(Utf8Path(fs::path(value))) : std::nullopt;
#else
    const char* value = std::getenv(name.c_str());
    return value ? std::optional<std::string>(value) : std::nullopt;
#endif
}

void SetEnvironment(const std::string& name, const std::optional<std::string>& value) {
#ifdef _WIN32
    // The C runtime's copy for this process, and the system's for the programs it starts.
    _wputenv_s(FsPath(name).c_str(), value ? FsPath(*value).c_str() : L"");
    SetEnvironmentVariableW(FsPath(name).c_str(), value ? FsPath(*value).c_str() : nullptr);
#else
    if (value)
        setenv(name.c_str(), value->c_str(), 1);
    else
        unsetenv(name.c_str());
#endif
}

} // namespace

ScopedEnvironment::ScopedEnvironment(std::string name, const std::string& value)
    : mName(std::move(name)), mBefore(GetEnvironment(mName)) {
    SetEnvironment(mName, value);
}

ScopedEnvironment::~ScopedEnvironment() {
    SetEnvironment(mName, mBefore);
}

namespace {

// Sets or clears the immutable flag of path; false where the system or the file system has none.
bool SetImmutable([[maybe_unused]] const std::string& path, [[maybe_unused]] bool on) {
#if defined(__linux__)
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
    if (fd < 0)
        return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
    done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    return done;
#else
    return false;
#endif
}

} // namespace

ScopedUnwritable::ScopedUnwritable(std::string path) : mPath(std::move(path)) {
    std::error_code ec;
    fs::permissions(FsPath(mPath), fs::perms::all, fs::perm_options::remove, ec);
    fs::permissions(FsPath(mPath), fs::perms::owner_read, fs::perm_options::add, ec);
    mMade = !ec;
#ifndef _WIN32
    if (mMade && ::geteuid() == 0)
        mMade = mImmutable = SetImmutable(mPath, true);
#endif
}

ScopedUnwritable::~ScopedUnwritable() {
    if (mImmutable)
        SetImmutable(mPath, false);
    std::error_code ec;
    fs::permissions(FsPath(mPath), fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, ec);
}

std::string FixturePath(const std::string& name) {
    return std::string(PLOTWRIGHT_TEST_FIXTURES) + "/" + name;
}

} // namespace pwtest
