#pragma once
// The pieces of a rename across the library that its files share, and no one else: the renames of a plan
// by kind, a file's place in the plan, and the steps of planning and applying that live in their own
// files (the places that name things and the table's entries in RenamePlaces, the things' own file names
// in RenameFileNames, the writing in RenameApply; the plan itself in LibraryRename).

#include "core/data/Cp1251.h"
#include "core/data/StrUtilsEx.h"
#include "core/library/LibraryRename.h"
#include "core/library/ValueSpans.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace pw::rename_detail {

inline std::size_t KindNumber(RenameKind kind) {
    return static_cast<std::size_t>(kind);
}

// The run span of text.
inline std::string_view Of(std::string_view text, TextSpan span) {
    return text.substr(span.begin, span.end - span.begin);
}

// The renames of a plan, by kind, each found by its old name trimmed with A-Z folded.
class RenameNames {
public:
    void Add(RenameKind kind, const std::string& oldName, const std::string& newName) {
        mNames[KindNumber(kind)].try_emplace(Trim(oldName), newName);
    }
    const std::string* NewName(RenameKind kind, std::string_view held) const {
        const auto& names = mNames[KindNumber(kind)];
        const auto found = names.find(std::string(held));
        return found == names.end() ? nullptr : &found->second;
    }

private:
    std::array<std::unordered_map<std::string, std::string, FoldedHash, FoldedEqual>, 4> mNames;
};

struct FilePlan {
    RenameFile file;
    bool own = false; // the file of a thing renamed: its Name changes
};

// A string ID renamed: the old ID and the new.
using IdRename = std::pair<std::string, std::string>;

// What the plan learns of the string table: the changes of the renamed IDs' entries, and which of the new
// IDs it holds already.
struct TableScan {
    std::optional<RenameFile> file;
    std::vector<bool> taken; // for each new ID
};

// The changes of one dialogue or quest file, whose bytes are given; std::nullopt when it names nothing
// renamed.
std::optional<FilePlan> PlanRecordFile(const std::string& path, RecordKind kind, std::string_view bytes,
                                       const RenameNames& names);

// The entries of the renamed IDs in the string table at path, read once in blocks, and which of the new IDs
// it holds. A missing table holds nothing; throws std::runtime_error ("Cannot open file ...") when it
// exists but cannot be read.
TableScan ScanTable(const std::string& path, const std::vector<IdRename>& ids, const RenameNames& names);

// Where the file name in path starts.
std::size_t NameStart(const std::string& path);

// Puts the plan's files in the order of their stages: the files that name things, the table, the things'
// own files (renamed after them where they are named so).
void PlaceFiles(RenamePlan& plan, std::vector<FilePlan> files, std::optional<RenameFile> table);

// Why a file would be renamed onto a name that something in its folder has already, or empty.
std::string TakenFileNames(const RenamePlan& plan);

// Asks the caller's hook before each file of a rename is written, from the threads that write; once it
// has said stop, every later asking says so too.
class StopGate {
public:
    StopGate(const ProgressHook& goOn, std::size_t total) : mGoOn(goOn), mTotal(total) {}
    // Whether the next file may be written; counted tells whether it is a file not asked about before.
    bool MayWrite(bool counted = true);
    bool Stopped() const { return mStopped; }

private:
    const ProgressHook& mGoOn;
    const std::size_t mTotal;
    std::atomic<std::size_t> mBegun{0};
    std::atomic<bool> mStopped{false};
};

// Writes the files of one stage, each as its result (whose file number is set) tells; a file gate stops
// before is left whole with the outcome Stopped.
void ApplyStage(const RenamePlan& plan, std::vector<RenameFileResult>& results, StopGate& gate);

} // namespace pw::rename_detail
