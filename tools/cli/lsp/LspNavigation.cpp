// Definitions, references, renames, workspace symbols and code actions: the library's jumps, its "uses:"
// and its rename plan, as locations and edits.

#include "LspFeatures.h"
#include "LspRecord.h"

#include "core/data/Cp1251.h"
#include "core/data/FileIO.h"
#include "core/data/StrUtilsEx.h"
#include "core/library/LibraryRename.h"
#include "core/library/ValueSpans.h"

#include <algorithm>

namespace pw::lsp {
namespace {

using nlohmann::json;

constexpr int kSymbolClass = 5, kSymbolEvent = 24;

json Location(const std::string& path, Position start, Position end) {
    return {{"uri", UriOfPath(path)}, {"range", RangeJson(start, end)}};
}

// Where the record at path holds its own Name, else its first line.
json NameLocation(const std::string& path, RecordKind kind) {
    const std::optional<std::string> bytes = TryReadWholeFile(path);
    if (bytes) {
        const FileText text(*bytes);
        for (const NamePlace& place : NamePlacesOf(text.Text(), kind))
            if (place.own)
                return Location(path, FilePositionOf(*bytes, text.Offset(place.span.begin)),
                                FilePositionOf(*bytes, text.Offset(place.span.end)));
    }
    return Location(path, {0, 0}, {0, 0});
}

json TableLocation(const TableView& table, const TableView::Entry& entry) {
    return Location(table.Path(), {entry.line, 0}, {entry.line, entry.id.size()});
}

// The rename of target to newName, planned over the library.
RenamePlan Plan(const Target& target, const std::string& newName, const Library& library,
                const LibraryPlaces& places) {
    RenameRequest request;
    request.kind = *RenameKindOf(target.kind);
    request.oldName = target.name;
    request.newName = newName;
    request.roots = places.roots;
    request.stringTable = library.table ? library.table->Path() : places.table;
    try {
        return PlanRename(library.snapshot->index, request);
    } catch (const std::runtime_error& e) {
        throw RequestFailed(e.what());
    }
}

json EditRange(std::string_view bytes, const RenameEdit& edit) {
    return RangeJson(FilePositionOf(bytes, edit.offset), FilePositionOf(bytes, edit.offset + edit.length));
}

// Every place that names the target, its own Name and table entry only withDeclaration.
json PlacesNaming(const Target& target, bool withDeclaration, const Library& library,
                  const LibraryPlaces& places) {
    json locations = json::array();
    const RenamePlan plan = Plan(target, target.name, library, places);
    for (const RenameFile& file : plan.files) {
        const std::optional<std::string> bytes = TryReadWholeFile(file.path);
        if (!bytes)
            continue;
        for (const RenameEdit& edit : file.edits) {
            const bool declaration =
                file.stage == RenameStage::Table || (file.stage == RenameStage::Own && edit.key == "Name");
            if (withDeclaration || !declaration)
                locations.push_back({{"uri", UriOfPath(file.path)}, {"range", EditRange(*bytes, edit)}});
        }
    }
    return locations;
}

// A's distance from b in edits of one character, A-Z folded.
std::size_t Distance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            const bool same = AsciiUpper(a[i - 1]) == AsciiUpper(b[j - 1]);
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// The existing names nearest to name, at most three, each closer than a third of its length.
std::vector<std::string> NearestNames(const std::string& name, const std::vector<std::string>& names) {
    std::vector<std::pair<std::size_t, const std::string*>> near;
    const std::size_t limit = std::max<std::size_t>(2, name.size() / 3);
    for (const std::string& candidate : names) {
        const std::size_t length =
            candidate.size() > name.size() ? candidate.size() - name.size() : name.size() - candidate.size();
        if (length > limit)
            continue;
        const std::size_t distance = Distance(name, candidate);
        if (distance <= limit)
            near.emplace_back(distance, &candidate);
    }
    std::stable_sort(near.begin(), near.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> nearest;
    for (std::size_t i = 0; i < near.size() && i < 3; ++i)
        nearest.push_back(*near[i].second);
    return nearest;
}

json AddStringAction(const std::string& id, const TableView& table, const json& diagnostic) {
    const std::string entry =
        id + "=" + std::string(static_cast<std::size_t>(std::max(table.Norm(), 1)), ';');
    const std::string lineEnd(table.LineEnd());
    std::string newText = entry + lineEnd;
    Position at{table.InsertLine(), 0};
    if (table.InsertAtEnd() && !table.EndsWithBreak()) {
        const std::optional<std::string> bytes = TryReadWholeFile(table.Path());
        at = FilePositionOf(bytes.value_or(std::string()), bytes.value_or(std::string()).size());
        newText = lineEnd + entry;
    }
    const json edit = {{"range", RangeJson(at, at)}, {"newText", Utf8(newText)}};
    return {{"title", "Добавить строку в таблицу"},
            {"kind", "quickfix"},
            {"diagnostics", json::array({diagnostic})},
            {"edit", {{"changes", {{UriOfPath(table.Path()), json::array({edit})}}}}}};
}

json ReplaceActions(const Document& document, const std::string& name, const std::vector<std::string>& names,
                    const json& diagnostic) {
    json actions = json::array();
    for (const std::string& nearest : NearestNames(name, names)) {
        const json edit = {{"range", diagnostic["range"]}, {"newText", Utf8(nearest)}};
        actions.push_back({{"title", "Заменить на " + Utf8(nearest)},
                           {"kind", "quickfix"},
                           {"diagnostics", json::array({diagnostic})},
                           {"edit", {{"changes", {{document.uri, json::array({edit})}}}}}});
    }
    return actions;
}

} // namespace

json Definition(const Document& document, Position position, const Library& library,
                const LibraryPlaces& places) {
    const std::optional<Target> target = TargetAt(document, position);
    if (!target)
        return nullptr;
    const LibraryIndex& index = library.snapshot->index;
    json locations = json::array();
    if (target->kind == TargetKind::String && document.kind == DocumentKind::Table)
        return PlacesNaming(*target, false, library, places);
    if (target->kind == TargetKind::String) {
        if (const TableView::Entry* entry = library.table ? library.table->Find(target->name) : nullptr)
            locations.push_back(TableLocation(*library.table, *entry));
    } else if (target->kind == TargetKind::Quest || target->kind == TargetKind::Dialogue) {
        const bool quest = target->kind == TargetKind::Quest;
        for (std::size_t i : quest ? index.Quests(target->name) : index.Dialogues(target->name))
            locations.push_back(
                NameLocation(index[i].path, quest ? RecordKind::Quest : RecordKind::Dialogue));
    }
    return locations;
}

json References(const Document& document, Position position, bool withDeclaration, const Library& library,
                const LibraryPlaces& places) {
    const std::optional<Target> target = TargetAt(document, position);
    if (!target || !RenameKindOf(target->kind))
        return nullptr;
    return PlacesNaming(*target, withDeclaration, library, places);
}

json PrepareRename(const Document& document, Position position) {
    const std::optional<Target> target = TargetAt(document, position);
    if (!target || !RenameKindOf(target->kind))
        return nullptr;
    return {
        {"range", RangeJson(document.text.PositionOf(target->begin), document.text.PositionOf(target->end))},
        {"placeholder", Utf8(target->name)}};
}

json Rename(const Document& document, Position position, const std::string& newName, const Library& library,
            const LibraryPlaces& places) {
    const std::optional<Target> target = TargetAt(document, position);
    if (!target || !RenameKindOf(target->kind))
        throw RequestFailed("Здесь нет имени, которое можно переименовать");
    const std::optional<std::string> name = Utf8ToCp1251Exact(newName);
    if (!name)
        throw RequestFailed("Новое имя содержит символ, которого нет в кодировке Windows-1251");
    const RenamePlan plan = Plan(*target, *name, library, places);
    if (!plan.refusal.empty())
        throw RequestFailed(plan.refusal);
    if (plan.files.empty())
        throw RequestFailed(NamedNowhereMessage(plan.request));
    json changes = json::array();
    for (const RenameFile& file : plan.files) {
        const std::optional<std::string> bytes = TryReadWholeFile(file.path);
        json edits = json::array();
        for (const RenameEdit& edit : file.edits)
            edits.push_back(
                {{"range", EditRange(bytes.value_or(std::string()), edit)}, {"newText", Utf8(edit.newText)}});
        changes.push_back(
            {{"textDocument", {{"uri", UriOfPath(file.path)}, {"version", nullptr}}}, {"edits", edits}});
        if (!file.newPath.empty())
            changes.push_back(
                {{"kind", "rename"}, {"oldUri", UriOfPath(file.path)}, {"newUri", UriOfPath(file.newPath)}});
    }
    return {{"documentChanges", changes}};
}

json WorkspaceSymbols(const std::string& query, const Library& library) {
    constexpr std::size_t kLimit = 100;
    const std::string wanted = Utf8ToCp1251(query);
    json symbols = json::array();
    for (const LibraryEntry& entry : library.snapshot->index.Entries()) {
        if (!entry.Read() || TrimView(entry.Name()).empty() || !ContainsNoCase(entry.Name(), wanted))
            continue;
        const bool quest = entry.kind == RecordKind::Quest;
        symbols.push_back({{"name", Utf8(TrimView(entry.Name()))},
                           {"kind", quest ? kSymbolEvent : kSymbolClass},
                           {"containerName", quest ? "квест" : Utf8(TrimView(entry.Owner()))},
                           {"location", NameLocation(entry.path, entry.kind)}});
        if (symbols.size() >= kLimit)
            break;
    }
    return symbols;
}

json CodeActions(const Document& document, const json& diagnostics, const Library& library) {
    json actions = json::array();
    if (!diagnostics.is_array())
        return actions;
    for (const json& diagnostic : diagnostics) {
        const json data = diagnostic.value("data", json::object());
        const std::string kind = data.value("kind", std::string());
        const std::string name = Utf8ToCp1251(data.value("name", std::string()));
        if (kind == "missing-string" && library.table && !name.empty())
            actions.push_back(AddStringAction(name, *library.table, diagnostic));
        const std::vector<std::string>* names = kind == "missing-parent" ? &library.snapshot->dialogueNames
                                                : kind == "missing-quest" || kind == "missing-earlier-quest"
                                                    ? &library.snapshot->questNames
                                                    : nullptr;
        if (names)
            for (json& action : ReplaceActions(document, name, *names, diagnostic))
                actions.push_back(std::move(action));
    }
    return actions;
}

} // namespace pw::lsp
