#include "TempDir.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;

namespace pwtest {

TempDir::TempDir() {
    std::string pattern = (fs::temp_directory_path() / "plotwright-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    mPath = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::permissions(mPath, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(mPath, ec);
}

std::string TempDir::File(const std::string& name) const {
    return mPath + "/" + name;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool Exists(const std::string& path) {
    return fs::exists(path);
}

std::string FixturePath(const std::string& name) {
    return std::string(PLOTWRIGHT_TEST_FIXTURES) + "/" + name;
}

} // namespace pwtest
