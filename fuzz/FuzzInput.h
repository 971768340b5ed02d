#pragma once
// Taking a fuzzer's bytes apart: leading lines for names and values, the rest for a file's contents.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#ifdef _WIN32
#include <filesystem>
#include <fstream>
#include <random>
#else
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace pwfuzz {

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size)
        : mRest(reinterpret_cast<const char*>(data), size) {}

    // The text up to the next "\n" (which is dropped), or all that is left.
    std::string_view Line() {
        const std::size_t end = mRest.find('\n');
        const std::string_view line = mRest.substr(0, end);
        mRest.remove_prefix(end == std::string_view::npos ? mRest.size() : end + 1);
        return line;
    }
    std::string_view Rest() const { return mRest; }

private:
    std::string_view mRest;
};

// A file in memory that the program's readers open by path: each input is written into it, without the
// cost of a disk file's flushes.
#ifdef _WIN32
// Windows has no files in memory: a file in the temporary folder, removed at the end.
class ScratchFile {
public:
    ScratchFile()
        : mPath((std::filesystem::temp_directory_path() /
                 ("plotwright-fuzz-" + std::to_string(std::random_device{}())))
                    .string()) {}
    ~ScratchFile() { std::filesystem::remove(mPath); }
    const std::string& Fill(std::string_view bytes) {
        std::ofstream(mPath, std::ios::binary | std::ios::trunc).write(bytes.data(), bytes.size());
        return mPath;
    }

private:
    std::string mPath;
};
#else
class ScratchFile {
public:
    ScratchFile()
        : mFd(::memfd_create("plotwright-fuzz", 0)), mPath("/proc/self/fd/" + std::to_string(mFd)) {}
    const std::string& Fill(std::string_view bytes) {
        (void)::ftruncate(mFd, 0);
        (void)::pwrite(mFd, bytes.data(), bytes.size(), 0);
        return mPath;
    }

private:
    int mFd;
    std::string mPath;
};
#endif

// Ends the run with a report the fuzzer keeps, when a property does not hold.
inline void Require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n", what);
        std::abort();
    }
}

} // namespace pwfuzz
