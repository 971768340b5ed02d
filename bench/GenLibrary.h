#pragma once
// A synthetic library at the scale of the real game, for the benchmarks: Infos/ with 20,000 dialogues
// and Quests/ with 3,000 quests in a few hundred folders, and a string table of about 100,000 entries
// in Windows-1251 (stringtable.ini) and in UTF-16LE with a byte-order mark (stringtable_utf16.ini), each
// value ten languages in the game's layout, and the string tables of other shapes below (shapes/).
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

// Tables of other shapes, each about 30 MB of Windows-1251 in one [LocAdmin_Strings] section, written
// into outDir/shapes/ as NAME.ini; the ID to look up is the key of each file's last line.
//   mixed:  values mixing Russian words with Latin ones ("Innos", "info", "gold"), IDs INFO_%08d, the
//           last one INFO_LAST_ENTRY
//   prefix: IDs that share a long prefix with the last one
//   long:   values of tens of kilobytes
//   short:  a million and more short lines
void GenerateTableShapes(const std::string& outDir);
inline constexpr const char* kTableShapes[] = {"mixed", "prefix", "long", "short"};

// The library folder of the benchmarks: $PLOTWRIGHT_BENCH_LIB, or a folder in the system's temporary
// folder; generated there on first use.
std::string BenchLibrary();

} // namespace pwbench
