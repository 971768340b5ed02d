// Runs a fuzz target over the files given (folders searched through), without libFuzzer: the regular
// build's check that every target still builds and that its properties hold on the demo library and on
// every input that once broke one (fuzz/regressions/<target>/).

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace fs = std::filesystem;

namespace {

void Run(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

} // namespace

int main(int argc, char** argv) {
    int count = 0;
    for (int i = 1; i < argc; ++i) {
        const fs::path path(argv[i]);
        if (fs::is_regular_file(path)) {
            Run(path);
            ++count;
        } else if (fs::is_directory(path)) {
            for (const auto& entry : fs::recursive_directory_iterator(path))
                if (entry.is_regular_file()) {
                    Run(entry.path());
                    ++count;
                }
        }
    }
    std::printf("%d inputs\n", count);
    return count > 0 ? 0 : 1;
}
