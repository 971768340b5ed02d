#pragma once
// A temporary folder that removes itself, byte-exact file helpers and the shared fixture files.

#include <filesystem>
#include <optional>
#include <string>

namespace pwtest {

// Paths in the tests are UTF-8, as in the program; these convert for std::filesystem, which takes a
// narrow path in the system's code page on Windows.
std::filesystem::path FsPath(const std::string& utf8);
std::string Utf8Path(const std::filesystem::path& path);

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return mPath; }
    // Path + "/" + name.
    std::string File(const std::string& name) const;

private:
    std::string mPath;
};

// The system's reason for a failure at a path, as the program's messages give it: strerror's English on
// POSIX systems, the system's own text in the user's language on Windows. A missing folder on the way
// is a missing file (the program's lock opens the folder itself); PathMissing is a folder missing further
// up, which Windows tells apart.
enum class Reason { Missing, PathMissing, Exists };
std::string SystemReason(Reason reason);

void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);
bool Exists(const std::string& path);

// An environment variable of the test process, and so of the programs it starts, set to value (UTF-8) for
// as long as the object lives; then it is as it was.
class ScopedEnvironment {
public:
    ScopedEnvironment(std::string name, const std::string& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string mName;
    std::optional<std::string> mBefore;
};

// A file that no write of the program may replace for as long as the object lives: read-only, and for root,
// whom permission bits do not stop, immutable where the file system has the flag. Then it is as it was.
// Made() is false where it could not be made so (the test should then be skipped).
class ScopedUnwritable {
public:
    explicit ScopedUnwritable(std::string path);
    ~ScopedUnwritable();
    ScopedUnwritable(const ScopedUnwritable&) = delete;
    ScopedUnwritable& operator=(const ScopedUnwritable&) = delete;
    bool Made() const { return mMade; }

private:
    std::string mPath;
    bool mImmutable = false;
    bool mMade = false;
};

// A file of tests/fixtures: record files several tests share, byte for byte as the game's files are.
std::string FixturePath(const std::string& name);

} // namespace pwtest
