#include "core/library/LibraryRename.h"

#include "core/data/Cp1251.h"
#include "core/data/FileIO.h"
#include "core/data/FileNames.h"
#include "core/data/ParallelWork.h"
#include "core/data/StringTable.h"
#include "core/data/StrUtilsEx.h"
#include "core/library/LibraryQuery.h"
#include "core/library/PendingRename.h"
#include "core/library/RenameDetail.h"
#include "core/library/ValueSpans.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace pw {
using namespace rename_detail;

namespace {

// How messages name a thing of each kind, in the order of RenameKind.
constexpr std::array<std::string_view, 4> kKindNouns = {"Квест", "Диалог", "Событие", "Идентификатор строки"};

std::string Quoted(std::string_view cp1251) {
    // Built by appending: g++ 12 warns falsely (-Wrestrict) of "\"" + std::string.
    std::string quoted = "\"";
    quoted += Cp1251ToUtf8(cp1251);
    quoted += '"';
    return quoted;
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

// The folders of the library, as messages name them: "Infos/, Quests/".
std::string RootsNamed(const std::vector<std::string>& roots) {
    std::string named;
    for (const std::string& root : roots)
        named.append(named.empty() ? "" : ", ").append(root);
    return named;
}

std::string TakenMessage(RenameKind kind, std::string_view name, const std::string& where) {
    return std::string(kKindNouns[KindNumber(kind)]) + " " + Quoted(name) + " уже есть: " + where;
}

// Whether the plan changes OLD's definition: the Name of its own file, or its entry in the table. Events
// are only named, never defined in a file of their own.
bool ChangesDefinition(const RenamePlan& plan) {
    const RenameKind kind = plan.request.kind;
    if (kind == RenameKind::Event)
        return true;
    const RenameStage stage = kind == RenameKind::String ? RenameStage::Table : RenameStage::Own;
    return std::any_of(plan.files.begin(), plan.files.end(),
                       [stage](const RenameFile& file) { return file.stage == stage; });
}

std::string UndefinedMessage(const RenameRequest& request) {
    const std::string where = request.kind == RenameKind::String
                                  ? "в таблице строк " + request.stringTable + " нет его записи"
                                  : "в папках " + RootsNamed(request.roots) + " нет его файла";
    return std::string(kKindNouns[KindNumber(request.kind)]) + " " + Quoted(Trim(request.oldName)) +
           " не определён: " + where + ", и изменились бы только ссылки на него";
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
    if (kind == RenameKind::Quest || kind == RenameKind::Dialogue)
        if (const std::optional<char> c = FirstUnstorableCharacter(name))
            return static_cast<unsigned char>(*c) < 32
                       ? "Новое имя не может содержать табуляцию и другие управляющие символы: оно станет "
                         "именем файла"
                       : "Новое имя " + Quoted(name) + " не может содержать \"" + std::string(1, *c) +
                             "\": оно станет именем файла, а в Windows такой знак в имени файла недопустим";
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

std::string CheckedOnlyInMessage(const RenameRequest& request) {
    return "Занятость имени " + Quoted(request.newName) + " проверена только " +
           (request.kind == RenameKind::String ? "в таблице строк " + request.stringTable
                                               : "в папках " + RootsNamed(request.roots));
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
    plan.resumed = PendingRename(RenameIdentity(request)).Exists();
    // A rename run again after it was cut short may have renamed the definition already.
    plan.undefined = !plan.files.empty() && !plan.resumed && !ChangesDefinition(plan);
    if (plan.undefined && !request.referencesOnly)
        plan.refusal = UndefinedMessage(request);
    if (plan.refusal.empty() && !plan.files.empty() && !plan.resumed)
        plan.refusal = TakenNames(index, request, ids, table.taken);
    if (plan.refusal.empty())
        plan.refusal = TakenFileNames(plan);
    return plan;
}

} // namespace pw
