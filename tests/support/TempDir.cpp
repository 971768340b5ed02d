#include "TempDir.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
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

std::string FixturePath(const std::string& name) {
    return std::string(PLOTWRIGHT_TEST_FIXTURES) + "/" + name;
}

} // namespace pwtest
