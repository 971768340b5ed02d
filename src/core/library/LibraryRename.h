#pragma once
// Renames across the library: a quest, a dialogue, a game event or a string ID, in every place that names
// it. A rename is planned first (every file, line, old and new value, read without a lock); the window may
// then leave files out, and the plan is applied: each file is read again under its folder's lock, compared
// with what the plan saw and rewritten through the one atomic write, so a file changed meanwhile is left
// alone. Only the renamed values' bytes change. The places that name the thing go first, the thing itself
// (its file, the file's name, the table's entry) last, and a note of the rename in the user's cache folder
// lets the same rename, run again after it was cut short, finish what is left.

#include "core/data/Progress.h"
#include "core/library/LibraryIndex.h"
#include "core/library/NamePlaces.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pw {

struct RenameRequest {
    RenameKind kind = RenameKind::Quest;
    std::string oldName; // Windows-1251; compared whole, trimmed, with A-Z folded
    std::string newName; // Windows-1251, written as it is
    // The library's folders, which the index was built from: a rename is the same when they are.
    std::vector<std::string> roots;
    // The string table, read and written for a string ID and withStrings only.
    std::string stringTable;
    // For a dialogue: its string IDs that are its name, "_" and digits are renamed too, NEW with the same
    // digits, as string IDs.
    bool withStrings = false;
    // Rename the references to OLD although the roots hold no definition of it (see RenamePlan::undefined).
    bool referencesOnly = false;
};

// Why name cannot be the new name of a thing of kind (UTF-8), or std::nullopt: it is blank, has blanks at
// an end, a line break, "/" or "\", is "." or "..", holds ";" (or "," for a quest); a quest's or a
// dialogue's name, which names its file, must hold no character that Windows cannot keep in a file name
// (see FirstUnstorableCharacter); a string ID must be a key the table can read back (see CheckProfileKey).
std::optional<std::string> RenameNameProblem(RenameKind kind, std::string_view name);

// One value, or one element of a list, changed in a file.
struct RenameEdit {
    std::size_t line = 0; // counted from 1
    std::string key;      // the key as the program names it; the table's section in brackets for its ID
    std::string oldText;  // as the file holds it, Windows-1251
    std::string newText;  // Windows-1251
    std::size_t offset = 0;
    std::size_t length = 0; // of the old text's bytes in the file
    std::string newBytes;   // the new text as the file stores it
};

// When a file is written: the files that name a thing first, then the string table, the things' own files
// last. A rename cut short is then finished by running it again: what it still has to do is found by the
// names in the things' own files, and the table's IDs by those of the dialogue they belong to.
enum class RenameStage { Reference, Table, Own };

struct RenameFile {
    std::string path;    // as the library scan gave it, or the string table's
    std::string newPath; // the file's path after it is renamed (same folder); empty when it keeps it
    std::vector<RenameEdit> edits; // in the order of the file
    RenameStage stage = RenameStage::Reference;
    bool included = true; // the window clears it to leave the file out
    // What the plan read: the file is changed only while it is still so.
    std::size_t size = 0;
    std::uint64_t hash = 0;
};

struct RenamePlan {
    RenameRequest request;
    // In the order of their stages, each stage's in library order. Empty when nothing names OLD.
    std::vector<RenameFile> files;
    // Why the rename must not be applied (UTF-8): see RenameNameProblem, or the new name names a thing of
    // the kind already, or a renamed file would take the name of something in its folder, or the roots
    // hold no definition of OLD (see undefined). Empty when it may be.
    std::string refusal;
    // OLD is named, but the roots hold no definition of it (a quest's or dialogue's own file, the table's
    // entry of a string ID), so only references would change: refused unless request.referencesOnly.
    bool undefined = false;
    // The same rename was begun before and not finished: the new name may be taken by what it renamed, so
    // that is no refusal.
    bool resumed = false;
};

// Plans request over index, which must have read the fields of every file that holds the old or the new
// name (see LibraryIndex's narrowing by words). The files that name OLD are read again for the places
// of its values. Throws std::runtime_error ("Cannot open file ...") when such a file or the string table
// exists but cannot be read.
RenamePlan PlanRename(const LibraryIndex& index, const RenameRequest& request);

// "Квест "OLD" нигде не упоминается" and the like (UTF-8): what to say of a plan without files.
std::string NamedNowhereMessage(const RenameRequest& request);

// Where the plan looked for a thing named NEW already, for a rename of references only, whose thing is
// defined elsewhere (UTF-8): "Занятость имени "NEW" проверена только в папках Infos/".
std::string CheckedOnlyInMessage(const RenameRequest& request);

enum class RenameOutcome {
    Done,    // the file says NEW now (and has its new name)
    Changed, // the file is not as the plan read it: left alone
    Failed,  // it could not be written or renamed: left whole
    Stopped, // the rename was stopped before the file was written: left whole
};

struct RenameFileResult {
    std::size_t file = 0; // its number in the plan's files
    RenameOutcome outcome = RenameOutcome::Done;
    std::string reason; // for Failed: the program's message (UTF-8)
};

struct RenameResult {
    std::vector<RenameFileResult> files; // the included files, in the plan's order
    // Every included file is done, and the note of the rename is removed.
    bool complete = false;
    // The caller's hook stopped the rename: the files it did not reach are Stopped.
    bool stopped = false;
    // The rename is complete but its note could not be removed (its path); empty otherwise.
    std::string noteLeft;
};

// Called with each file's result once its stage is written, on the thread that applies the plan. An
// exception it throws stops the rename before the next stage and passes through ApplyRename; the rename is
// then unfinished, as if cut short.
using RenameProgress = std::function<void(const RenameFileResult&)>;

// Applies the plan's included files stage by stage, the files of a stage at once (their writes wait for the
// disk more than for the processors, and are flushed together). The note of the rename is written first
// and removed once every included file is done; a file that is not is left whole and the note stays, so
// running the same rename again finishes it. goOn is asked before each file is written (the files begun
// and all included files; from the threads that write): once it says stop, no further file is written,
// those not reached are left whole as Stopped and the note stays, as after a kill, so that running the
// rename again finishes it. Throws std::runtime_error with the refusal for a refused plan, and with the
// program's message when the note cannot be written (nothing else is written then).
RenameResult ApplyRename(const RenamePlan& plan, const RenameProgress& progress = {},
                         const ProgressHook& goOn = {});

} // namespace pw
