#include "core/library/RenameDetail.h"

#include "core/data/ContentHash.h"
#include "core/data/FileIO.h"
#include "core/data/ParallelWork.h"
#include "core/library/PendingRename.h"

#include <stdexcept>

// Applying a plan: stage by stage, each file read again under its folder's lock and rewritten only while it
// is as the plan read it.

namespace pw {
namespace rename_detail {
namespace {

// Each write waits for the disk twice (the file's flush and its folder's); many at once are flushed together.
constexpr unsigned kWriteThreads = 16;

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

} // namespace

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

} // namespace rename_detail

using namespace rename_detail;

RenameResult ApplyRename(const RenamePlan& plan, const RenameProgress& progress) {
    if (!plan.refusal.empty())
        throw std::runtime_error(plan.refusal);
    const PendingRename note(RenameIdentity(plan.request));
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
