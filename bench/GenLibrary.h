#pragma once
// A synthetic library at the scale of the real game, for the benchmarks: Infos/ with 20,000 dialogues
// and Quests/ with 3,000 quests in a few hundred folders, and a string table of about 100,000 entries
// in Windows-1251 (stringtable.ini) and in UTF-16LE with a byte-order mark (stringtable_utf16.ini).
// The same seed always gives the same bytes.

#include <string>

namespace pwbench {

struct LibrarySize {
    int infos = 20000;
    int quests = 3000;
};

// Writes the library into outDir (created when missing). Throws std::runtime_error when a file cannot
// be written.
void GenerateLibrary(const std::string& outDir, const LibrarySize& size = {});

// The library folder of the benchmarks: $PLOTWRIGHT_BENCH_LIB, or a folder in the system's temporary
// folder; generated there on first use.
std::string BenchLibrary();

} // namespace pwbench
