#pragma once
// A temporary folder that removes itself, byte-exact file helpers and the shared fixture files.

#include <string>

namespace pwtest {

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

void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);
bool Exists(const std::string& path);

// A file of tests/fixtures: record files several tests share, byte for byte as the game's files are.
std::string FixturePath(const std::string& name);

} // namespace pwtest
