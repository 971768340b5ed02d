#include "core/library/LibraryRename.h"

#include "core/data/Cp1251.h"
#include "core/data/FileIO.h"
#include "core/data/FileNames.h"
#include "core/data/ParallelWork.h"
#include "core/data/Platform.h"
#include "core/data/ProfileIni.h"
#include "core/data/StringTable.h"
#include "core/data/StrUtilsEx.h"
#include "core/library/LibraryQuery.h"
#include "core/library/NamePlaces.h"
#include "core/library/PendingRename.h"
#include "core/library/ValueSpans.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <unordered_map>

namespace pw {
namespace {

constexpr std::string_view kInfoFileSuffix = "_info_G3_World_01.info";
constexpr std::string_view kQuestFileSuffix = "_quest_G3_World_01.quest";

// Each write waits for the disk twice (the file's flush and its folder's); many at once are flushed together.
constexpr unsigned kWriteThreads = 16;

std::size_t KindNumber(RenameKind kind) {
    return static_cast<std::size_t>(kind);
}

// How messages name a thing of each kind, in the order of RenameKind.
constexpr std::array<std::string_view, 4> kKindNouns = {"Квест", "Диалог", "Событие", "Идентификатор строки"};

std::string Quoted(std::string_view cp1251) {
    return "\"" + Cp1251ToUtf8(cp1251) + "\"";
}

std::string_view Of(std::string_view text, TextSpan span) {
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

// The change of held, the text at byte offset of a file (UTF-16 when wide), to newName.
RenameEdit MakeEdit(std::size_t line, std::string_view key, std::string_view held, std::size_t offset,
                    bool wide, const std::string& newName) {
    RenameEdit edit;
    edit.line = line;
    edit.key = key;
    edit.oldText = held;
    edit.newText = newName;
    edit.offset = offset;
    edit.length = (wide ? 2 : 1) * held.size();
    edit.newBytes = wide ? Cp1251ToUtf16Le(newName) : newName;
    return edit;
}

// A hash of a file's bytes, for telling whether the file is still as the plan read it: the same whether the
// bytes come whole or in blocks (a large table is read in blocks).
class ContentHash {
public:
    void Add(std::string_view bytes) {
        mSize += bytes.size();
        while (!bytes.empty() && mCarried > 0) {
            mCarry[mCarried++] = bytes.front();
            bytes.remove_prefix(1);
            if (mCarried == 8)
                Mix(mCarry), mCarried = 0;
        }
        for (; bytes.size() >= 8; bytes.remove_prefix(8))
            Mix(bytes.data());
        for (char c : bytes)
            mCarry[mCarried++] = c;
    }
    std::uint64_t Value() const {
        ContentHash last = *this;
        std::fill(last.mCarry + last.mCarried, last.mCarry + 8, '\0');
        last.Mix(last.mCarry);
        return last.mHash ^ mSize;
    }
    static std::uint64_t Of(std::string_view bytes) {
        ContentHash hash;
        hash.Add(bytes);
        return hash.Value();
    }

private:
    void Mix(const char* eight) {
        std::uint64_t word = 0;
        std::memcpy(&word, eight, sizeof word);
        mHash = (mHash ^ word) * 0x9E3779B97F4A7C15ull;
        mHash ^= mHash >> 29;
    }

    std::uint64_t mHash = 0xCBF29CE484222325ull;
    std::uint64_t mSize = 0;
    char mCarry[8] = {};
    std::size_t mCarried = 0;
};

void SortEdits(RenameFile& file) {
    std::sort(file.edits.begin(), file.edits.end(),
              [](const RenameEdit& a, const RenameEdit& b) { return a.offset < b.offset; });
}

struct FilePlan {
    RenameFile file;
    bool own = false; // the file of a thing renamed: its Name changes
};

// The changes of one dialogue or quest file; std::nullopt when it names nothing renamed.
std::optional<FilePlan> PlanRecordFile(const std::string& path, RecordKind kind, std::string_view bytes,
                                       const RenameNames& names) {
    const FileText text(bytes);
    FilePlan plan;
    plan.file.path = path;
    for (const NamePlace& place : NamePlacesOf(text.Text(), kind)) {
        const std::string* newName = names.NewName(place.kind, Of(text.Text(), place.span));
        if (!newName)
            continue;
        plan.file.edits.push_back(MakeEdit(place.line, place.key, Of(text.Text(), place.span),
                                           text.Offset(place.span.begin), text.Wide(), *newName));
        plan.own = plan.own || place.own;
    }
    if (plan.file.edits.empty())
        return std::nullopt;
    SortEdits(plan.file);
    plan.file.size = bytes.size();
    plan.file.hash = ContentHash::Of(bytes);
    return plan;
}

// Where the last line feed of data ends, in whole units of a UTF-16 file; 0 when it holds none.
std::size_t AfterLastLineFeed(std::string_view data, bool wide) {
    for (std::size_t end = data.size(); end > 0;) {
        const std::size_t at = data.rfind('\n', end - 1);
        if (at == std::string_view::npos)
            return 0;
        if (!wide)
            return at + 1;
        if (at % 2 == 0 && at + 1 < data.size() && data[at + 1] == '\0')
            return at + 2;
        end = at;
    }
    return 0;
}

// The string table read once, in blocks, as parts of whole lines, each part one byte per character (see
// FileText), while every byte of the file is hashed for the plan.
class TableReader {
public:
    // False when nothing is at path; throws std::runtime_error ("Cannot open file ...") when it cannot be
    // read.
    bool Open(const std::string& path) {
        mPath = path;
        std::string reason;
        if (mReader.Open(path, &reason))
            return true;
        if (PathExists(path))
            throw std::runtime_error(CannotOpenFileMessage(path, reason));
        return false;
    }
    // Calls part(text, position) for each part, the position its first character's in the whole text.
    void Read(const std::function<void(std::string_view, std::size_t)>& part) {
        std::size_t hashed = 0; // of the bytes held
        std::size_t position = 0;
        for (bool more = true; more;) {
            more = mReader.ReadMore();
            mHash.Add(mReader.Data().substr(hashed));
            mSize += mReader.Data().size() - hashed;
            hashed = mReader.Data().size();
            if (!TellWide(more, hashed))
                continue;
            const std::string_view data = mReader.Data();
            const std::size_t cut = more ? AfterLastLineFeed(data, *mWide) : data.size();
            if (cut == 0)
                continue;
            const std::string units = *mWide ? UnitsAsCp1251(data.substr(0, cut)) : std::string();
            const std::string_view text = *mWide ? std::string_view(units) : data.substr(0, cut);
            part(text, position);
            mReader.Consume(cut);
            hashed -= cut;
            position += text.size();
        }
        if (mReader.Failed())
            throw std::runtime_error(CannotOpenFileMessage(mPath, SystemErrorText(EIO)));
    }
    // Where the character at position starts in the file.
    std::size_t Offset(std::size_t position) const { return *mWide ? 2 + 2 * position : position; }
    bool Wide() const { return *mWide; }
    std::size_t Size() const { return mSize; }
    std::uint64_t Hash() const { return mHash.Value(); }

private:
    // Whether the file's form is known: the byte-order mark, passed over, or its absence.
    bool TellWide(bool more, std::size_t& held) {
        if (mWide)
            return true;
        if (more && held < 2)
            return false;
        mWide = mReader.Data().starts_with("\xFF\xFE");
        if (*mWide) {
            mReader.Consume(2);
            held -= 2;
        }
        return true;
    }

    std::string mPath;
    BlockReader mReader;
    ContentHash mHash;
    std::size_t mSize = 0;
    std::optional<bool> mWide;
};

// A string ID renamed: the old ID and the new.
using IdRename = std::pair<std::string, std::string>;

// What the plan learns of the string table: the changes of the renamed IDs' entries, and which of the new
// IDs it holds already.
struct TableScan {
    std::optional<RenameFile> file;
    std::vector<bool> taken; // for each new ID
};

TableScan ScanTable(const std::string& path, const std::vector<IdRename>& ids, const RenameNames& names) {
    TableScan scan;
    scan.taken.resize(ids.size());
    TableReader reader;
    if (!reader.Open(path))
        return scan; // no table holds no ID
    std::vector<std::string> keys;
    for (const IdRename& id : ids)
        keys.push_back(id.first);
    for (const IdRename& id : ids)
        keys.push_back(id.second);
    KeyLineSearch search(std::string(kStringsSection), keys);
    RenameFile file;
    const std::string key = "[" + std::string(kStringsSection) + "]";
    bool searching = true;
    reader.Read([&](std::string_view text, std::size_t position) {
        searching = searching && search.Feed(text, position);
        // The old IDs' entries found in this part: their names are still at hand.
        for (std::size_t k = 0; k < ids.size(); ++k) {
            const std::optional<KeyLine>& line = search.Found()[k];
            if (!line || line->name.begin < position || line->name.begin >= position + text.size())
                continue;
            const std::string_view held =
                text.substr(line->name.begin - position, line->name.end - line->name.begin);
            file.edits.push_back(MakeEdit(line->number, key, held, reader.Offset(line->name.begin),
                                          reader.Wide(), *names.NewName(RenameKind::String, held)));
        }
    });
    for (std::size_t n = 0; n < ids.size(); ++n)
        scan.taken[n] = search.Found()[ids.size() + n].has_value();
    if (!file.edits.empty()) {
        file.path = path;
        file.stage = RenameStage::Table;
        SortEdits(file);
        file.size = reader.Size();
        file.hash = reader.Hash();
        scan.file = std::move(file);
    }
    return scan;
}

// ---- What the rename may not do ----

// The first file where a thing of kind (not a string ID) is named name, or std::nullopt.
std::optional<std::string> WhereNamed(const LibraryIndex& index, RenameKind kind, const std::string& name) {
    std::vector<std::size_t> found;
    if (kind == RenameKind::Quest)
        found = index.Quests(name);
    else if (kind == RenameKind::Dialogue)
        found = index.Dialogues(name);
    else
        found = LibraryQuery().Where(DialogueField::Event, name).Select(index);
    return found.empty() ? std::nullopt : std::optional<std::string>(index[found.front()].path);
}

std::string TakenMessage(RenameKind kind, std::string_view name, const std::string& where) {
    return std::string(kKindNouns[KindNumber(kind)]) + " " + Quoted(name) + " уже есть: " + where;
}

// Why the new names are taken, or empty: a thing of the kind is named so, or the table holds such an ID.
std::string TakenNames(const LibraryIndex& index, const RenameRequest& request,
                       const std::vector<IdRename>& ids, const std::vector<bool>& taken) {
    if (request.kind != RenameKind::String)
        if (const std::optional<std::string> where = WhereNamed(index, request.kind, request.newName))
            return TakenMessage(request.kind, request.newName, *where);
    for (std::size_t i = 0; i < ids.size(); ++i)
        if (taken[i])
            return TakenMessage(RenameKind::String, ids[i].second, request.stringTable);
    return {};
}

// Why a file would be renamed onto one that exists, or empty.
std::string TakenFileNames(const RenamePlan& plan) {
    for (const RenameFile& file : plan.files)
        if (!file.newPath.empty() && PathExists(file.newPath))
            return "Файл \"" + file.newPath + "\" уже есть";
    return {};
}

// ---- The plan ----

// Whether id is name, "_" and digits (name A-Z folded).
bool IsNumberedString(std::string_view id, std::string_view name) {
    if (id.size() <= name.size() + 1 || !AsciiEqualNoCase(id.substr(0, name.size()), name) ||
        id[name.size()] != '_')
        return false;
    const std::string_view digits = id.substr(name.size() + 1);
    return std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The string IDs of the dialogues named oldName that are the name, "_" and digits, each once: old and new.
std::vector<IdRename> NumberedStrings(const LibraryIndex& index, const std::string& oldName,
                                      const std::string& newName) {
    std::vector<IdRename> ids;
    RenameNames seen;
    for (std::size_t i : index.Dialogues(oldName)) {
        const std::string_view texts = index[i].Field(EntryField::InfoScript_Texts);
        for (TextSpan span : ElementSpans(texts, {0, texts.size()}, ";")) {
            const std::string id(Of(texts, span));
            if (!IsNumberedString(id, oldName) || seen.NewName(RenameKind::String, id))
                continue;
            ids.emplace_back(id, newName + id.substr(oldName.size()));
            seen.Add(RenameKind::String, id, ids.back().second);
        }
    }
    return ids;
}

// The string IDs a rename renames: the one of a string rename, or a dialogue's own with withStrings.
std::vector<IdRename> StringRenames(const LibraryIndex& index, const RenameRequest& request,
                                    const std::string& oldName) {
    if (request.kind == RenameKind::String)
        return {{oldName, request.newName}};
    if (request.kind == RenameKind::Dialogue && request.withStrings)
        return NumberedStrings(index, oldName, request.newName);
    return {};
}

// Whether an entry's fields hold name anywhere: only such a file can name it.
bool MayName(const LibraryEntry& entry, std::string_view name) {
    if (!entry.Read() || entry.narrowedOut)
        return false;
    for (std::size_t f = 0; f < kEntryFieldCount; ++f)
        if (ContainsNoCase(entry.Field(static_cast<EntryField>(f)), name))
            return true;
    return false;
}

std::vector<FilePlan> PlanRecordFiles(const LibraryIndex& index, const std::string& oldName,
                                      const RenameNames& names) {
    std::vector<std::size_t> candidates;
    for (std::size_t i = 0; i < index.Entries().size(); ++i)
        if (MayName(index[i], oldName))
            candidates.push_back(i);
    std::vector<std::optional<FilePlan>> plans(candidates.size());
    ParallelFor(candidates.size(), [&](std::size_t c) {
        const LibraryEntry& entry = index[candidates[c]];
        // A file gone since the index was built names nothing.
        if (const std::optional<std::string> bytes = ReadWholeFile(entry.path))
            plans[c] = PlanRecordFile(entry.path, entry.kind, *bytes, names);
    });
    std::vector<FilePlan> files;
    for (std::optional<FilePlan>& plan : plans)
        if (plan)
            files.push_back(std::move(*plan));
    return files;
}

std::size_t NameStart(const std::string& path) {
    std::size_t start = path.size();
    while (start > 0 && !platform::IsPathSeparator(path[start - 1]))
        --start;
    return start;
}

// The new path of a thing's own file named after it (OLD and the kind's suffix, A-Z folded); empty for
// another. The suffix keeps the file's spelling.
std::string NewPathOf(const std::string& path, const RenameRequest& request) {
    const std::string_view suffix = request.kind == RenameKind::Quest ? kQuestFileSuffix : kInfoFileSuffix;
    const std::size_t start = NameStart(path);
    const std::string expected = FileNameFromText(Trim(request.oldName)) + std::string(suffix);
    if (!AsciiEqualNoCase(std::string_view(path).substr(start), expected))
        return {};
    return path.substr(0, start) + FileNameFromText(request.newName) +
           path.substr(path.size() - suffix.size());
}

// The plan's files in the order of their stages: the files that name things, the table, the things' own
// files (renamed after them where they are named so).
void PlaceFiles(RenamePlan& plan, std::vector<FilePlan> files, std::optional<RenameFile> table) {
    for (const FilePlan& file : files)
        if (!file.own)
            plan.files.push_back(file.file);
    if (table)
        plan.files.push_back(std::move(*table));
    for (FilePlan& file : files) {
        if (!file.own)
            continue;
        file.file.stage = RenameStage::Own;
        file.file.newPath = NewPathOf(file.file.path, plan.request);
        plan.files.push_back(std::move(file.file));
    }
}

std::string KindName(RenameKind kind) {
    static constexpr std::array<std::string_view, 4> kNames = {"quest", "info", "event", "string"};
    return std::string(kNames[KindNumber(kind)]);
}

// What tells this rename from every other: kind, names, options, and the folders and table expanded.
std::string NoteIdentity(const RenameRequest& request) {
    std::string identity = "rename " + KindName(request.kind) + "\n";
    std::string oldName = Trim(request.oldName);
    std::transform(oldName.begin(), oldName.end(), oldName.begin(), AsciiUpper);
    identity += oldName + "\n" + request.newName + "\n";
    const bool strings = request.kind == RenameKind::String || request.withStrings;
    identity += std::string(request.withStrings ? "with strings" : "") + "\n";
    identity += (strings ? ExpandFileName(request.stringTable) : std::string()) + "\n";
    std::vector<std::string> roots;
    for (const std::string& root : request.roots)
        roots.push_back(ExpandFileName(root));
    std::sort(roots.begin(), roots.end());
    for (const std::string& root : roots)
        identity += root + "\n";
    return identity;
}

FilePieces PiecesOf(std::string_view current, const std::vector<RenameEdit>& edits) {
    FilePieces pieces;
    std::size_t at = 0;
    for (const RenameEdit& edit : edits) {
        pieces.push_back(current.substr(at, edit.offset - at));
        pieces.push_back(edit.newBytes);
        at = edit.offset + edit.length;
    }
    pieces.push_back(current.substr(at));
    return pieces;
}

// The files of one stage, each as its result tells: their names first, then their values, so a rename cut
// short between the two leaves a file that the next plan finds by its Name and no longer by its file name,
// and running again gives what one run gives. The values of all are written at once.
void ApplyStage(const RenamePlan& plan, std::vector<RenameFileResult>& results) {
    // Whether the file is as the plan read it; when it is not, its result says so.
    const auto asPlanned = [&plan](RenameFileResult& result, const std::optional<std::string>& current) {
        const RenameFile& file = plan.files[result.file];
        if (current && current->size() == file.size && ContentHash::Of(*current) == file.hash)
            return true;
        result.outcome = RenameOutcome::Changed;
        return false;
    };
    std::vector<std::size_t> renamed;
    for (std::size_t r = 0; r < results.size(); ++r)
        if (!plan.files[results[r].file].newPath.empty())
            renamed.push_back(r);
    ParallelFor(renamed.size(), kWriteThreads, [&](std::size_t n) {
        const std::size_t r = renamed[n];
        const RenameFile& file = plan.files[results[r].file];
        std::string reason;
        const FileCheck check = [&](const std::optional<std::string>& current) {
            return asPlanned(results[r], current);
        };
        if (!RenameFileAtomic(file.path, file.newPath.substr(NameStart(file.newPath)), check, &reason)) {
            results[r].outcome = RenameOutcome::Failed;
            results[r].reason = CannotCreateFileMessage(file.newPath, reason);
        }
    });
    std::vector<FileUpdate> updates;
    std::vector<std::size_t> updated;
    for (std::size_t r = 0; r < results.size(); ++r) {
        if (results[r].outcome != RenameOutcome::Done)
            continue;
        const RenameFile& file = plan.files[results[r].file];
        const FileChange change = [&asPlanned, &result = results[r],
                                   &edits = file.edits](const std::optional<std::string>& current) {
            return asPlanned(result, current) ? std::optional<FilePieces>(PiecesOf(*current, edits))
                                              : std::nullopt;
        };
        updates.push_back({file.newPath.empty() ? file.path : file.newPath, change});
        updated.push_back(r);
    }
    const std::vector<std::string> reasons = UpdateFilesAtomic(updates);
    for (std::size_t u = 0; u < updates.size(); ++u) {
        if (reasons[u].empty())
            continue;
        results[updated[u]].outcome = RenameOutcome::Failed;
        results[updated[u]].reason = UnableToWriteMessage(updates[u].path, reasons[u]);
    }
}

} // namespace

std::optional<std::string> RenameNameProblem(RenameKind kind, std::string_view name) {
    if (TrimView(name).empty())
        return "Новое имя не задано";
    if (name.find_first_of("\r\n") != std::string_view::npos)
        return "Новое имя не может содержать перевод строки";
    if (TrimView(name).size() != name.size())
        return "Новое имя " + Quoted(name) + " не может начинаться или кончаться пробелом";
    if (HoldsPathSeparator(name))
        return "Новое имя " + Quoted(name) + " не может содержать \"/\" или \"\\\"";
    if (IsFolderName(name))
        return "Новое имя не может быть \".\" или \"..\"";
    if (name.find(';') != std::string_view::npos)
        return "Новое имя " + Quoted(name) + " не может содержать \";\"";
    if (kind == RenameKind::Quest && name.find(',') != std::string_view::npos)
        return "Имя квеста " + Quoted(name) + " не может содержать \",\"";
    if (kind == RenameKind::String)
        return InvalidIdMessage(std::string(name));
    return std::nullopt;
}

std::string NamedNowhereMessage(const RenameRequest& request) {
    return std::string(kKindNouns[KindNumber(request.kind)]) + " " + Quoted(Trim(request.oldName)) +
           " нигде не упоминается";
}

RenamePlan PlanRename(const LibraryIndex& index, const RenameRequest& request) {
    RenamePlan plan;
    plan.request = request;
    if (std::optional<std::string> problem = RenameNameProblem(request.kind, request.newName)) {
        plan.refusal = std::move(*problem);
        return plan;
    }
    const std::string oldName = Trim(request.oldName);
    RenameNames names;
    names.Add(request.kind, oldName, request.newName);
    const std::vector<IdRename> ids = StringRenames(index, request, oldName);
    for (const auto& [oldId, newId] : ids) {
        if (std::optional<std::string> problem = InvalidIdMessage(newId)) {
            plan.refusal = std::move(*problem);
            return plan;
        }
        names.Add(RenameKind::String, oldId, newId);
    }
    TableScan table = ids.empty() ? TableScan() : ScanTable(request.stringTable, ids, names);
    PlaceFiles(plan, PlanRecordFiles(index, oldName, names), std::move(table.file));
    // Where nothing names OLD, there is nothing a taken name could spoil.
    plan.resumed = PendingRename(NoteIdentity(request)).Exists();
    if (!plan.files.empty() && !plan.resumed)
        plan.refusal = TakenNames(index, request, ids, table.taken);
    if (plan.refusal.empty())
        plan.refusal = TakenFileNames(plan);
    return plan;
}

RenameResult ApplyRename(const RenamePlan& plan, const RenameProgress& progress) {
    if (!plan.refusal.empty())
        throw std::runtime_error(plan.refusal);
    const PendingRename note(NoteIdentity(plan.request));
    note.Begin();
    RenameResult result;
    result.complete = true;
    for (RenameStage stage : {RenameStage::Reference, RenameStage::Table, RenameStage::Own}) {
        std::vector<RenameFileResult> files;
        for (std::size_t i = 0; i < plan.files.size(); ++i)
            if (plan.files[i].stage == stage && plan.files[i].included)
                files.emplace_back().file = i;
        ApplyStage(plan, files);
        for (const RenameFileResult& file : files) {
            result.complete = result.complete && file.outcome == RenameOutcome::Done;
            result.files.push_back(file);
            if (progress)
                progress(file);
        }
    }
    if (result.complete && !note.End())
        result.noteLeft = note.Path();
    return result;
}

} // namespace pw
