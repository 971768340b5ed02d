#include "LibraryCommands.h"

#include "core/data/StrUtilsEx.h"
#include "core/library/LibraryRename.h"

#include <numeric>
#include <optional>

namespace pw::cli {
namespace {

std::optional<RenameKind> KindOf(std::string_view word) {
    if (word == "quest")
        return RenameKind::Quest;
    if (word == "info")
        return RenameKind::Dialogue;
    if (word == "event")
        return RenameKind::Event;
    if (word == "string")
        return RenameKind::String;
    return std::nullopt;
}

RenameRequest RequestOf(const CommandArgs& parsed, const TextForm& form) {
    const Args& a = parsed.operands;
    if (a.size() < 4)
        ThrowUsage("rename takes quest|info|event|string OLD NEW ROOT...");
    RenameRequest request;
    const std::optional<RenameKind> kind = KindOf(a[0]);
    if (!kind)
        ThrowUsage("rename renames a quest, info, event or string, not \"" + a[0] + "\"");
    request.kind = *kind;
    request.oldName = form.RecordText(a[1], "OLD");
    if (TrimView(request.oldName).empty())
        ThrowUsage("OLD is blank");
    request.newName = form.RecordText(a[2], "NEW");
    request.roots.assign(a.begin() + 3, a.end());
    for (const auto& [name, value] : parsed.options)
        if (name == "--stringtable")
            request.stringTable = value;
    request.withStrings = parsed.Has("--with-strings");
    request.referencesOnly = parsed.Has("--references-only");
    if (request.withStrings && request.kind != RenameKind::Dialogue)
        ThrowUsage("--with-strings renames a dialogue's string IDs: rename info only");
    if (request.kind == RenameKind::String || request.withStrings) {
        if (request.stringTable.empty())
            ThrowUsage("renaming string IDs takes --stringtable TABLE");
        RequireExistingFile(request.stringTable);
    }
    return request;
}

// PATH:LINE: KEY: OLD -> NEW for each change of the files chosen, and PATH -> NEWPATH for each renamed.
std::string Changes(const RenamePlan& plan, const std::vector<std::size_t>& files, const TextForm& form) {
    std::string out;
    for (std::size_t i : files) {
        const RenameFile& file = plan.files[i];
        for (const RenameEdit& edit : file.edits) {
            out.append(file.path).append(":").append(std::to_string(edit.line)).append(": ");
            out.append(edit.key).append(": ").append(form.Printed(edit.oldText)).append(" -> ");
            out.append(form.Printed(edit.newText)).append("\n");
        }
        if (!file.newPath.empty())
            out.append(file.path).append(" -> ").append(file.newPath).append("\n");
    }
    return out;
}

// "Изменений: N, файлов: M, переименований файлов: K" over the files chosen.
std::string Count(const RenamePlan& plan, const std::vector<std::size_t>& files) {
    std::size_t edits = 0;
    std::size_t renamed = 0;
    for (std::size_t i : files) {
        edits += plan.files[i].edits.size();
        renamed += plan.files[i].newPath.empty() ? 0 : 1;
    }
    return "Изменений: " + std::to_string(edits) + ", файлов: " + std::to_string(files.size()) +
           ", переименований файлов: " + std::to_string(renamed);
}

// Names each file that was not done on standard error; the numbers of those that were.
std::vector<std::size_t> ReportResult(const RenamePlan& plan, const RenameResult& result) {
    std::vector<std::size_t> done;
    for (const RenameFileResult& file : result.files) {
        const std::string& path = plan.files[file.file].path;
        if (file.outcome == RenameOutcome::Done)
            done.push_back(file.file);
        else if (file.outcome == RenameOutcome::Changed)
            WriteErrLine(path + ": файл изменился после просмотра и оставлен как есть");
        else
            WriteErrLine(path + ": error: " + file.reason);
    }
    return done;
}

} // namespace

int Rename(const Args& args, const TextForm& form) {
    const CommandArgs parsed =
        ParseArgs(args, {{"--stringtable", true}, {"--dry-run"}, {"--with-strings"}, {"--references-only"}});
    const RenameRequest request = RequestOf(parsed, form);
    // Only a file that holds OLD can name it, and only one that holds NEW can show it taken.
    const LibraryIndex index(ScanRoots(request.roots),
                             std::vector<std::string>{request.oldName, request.newName});
    const RenamePlan plan = PlanRename(index, request);
    if (!plan.refusal.empty())
        ThrowRefused(plan.undefined
                         ? plan.refusal + ".\nЧтобы изменить только ссылки, добавьте --references-only."
                         : plan.refusal);
    if (plan.undefined)
        WriteErrLine(CheckedOnlyInMessage(request));
    const int unread = ReportUnread(index);
    if (plan.files.empty() && !plan.resumed) {
        WriteErrLine(NamedNowhereMessage(request));
        return kExitNotFound;
    }
    if (plan.resumed)
        WriteErrLine("Это переименование было начато и не закончено: оно продолжается");
    if (parsed.Has("--dry-run")) {
        std::vector<std::size_t> all(plan.files.size());
        std::iota(all.begin(), all.end(), std::size_t{0});
        WriteOut(Changes(plan, all, form) + Count(plan, all) + " (пробный прогон: ничего не записано)\n");
        return unread;
    }
    // What was done, once it is: a file left as it was is named on standard error instead.
    const RenameResult result = ApplyRename(plan);
    const std::vector<std::size_t> done = ReportResult(plan, result);
    WriteOut(Changes(plan, done, form) + Count(plan, done) + "\n");
    if (!result.noteLeft.empty())
        WriteErrLine(result.noteLeft + ": error: не удалось удалить запись о переименовании");
    if (!result.complete) {
        WriteErrLine("Переименование не закончено: запустите его снова, чтобы закончить");
        return kExitFileError;
    }
    return unread;
}

} // namespace pw::cli
