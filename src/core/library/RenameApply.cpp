#include "core/library/RenameDetail.h"

#include "core/data/ContentHash.h"
#include "core/data/FileIO.h"
#include "core/data/ParallelWork.h"
#include "core/library/PendingRename.h"

#include <algorithm>
#include <stdexcept>

// Applying a plan: stage by stage, each file read again under its folder's lock and rewritten only while it
// is as the plan read it.

namespace pw {
namespace rename_detail {
namespace {

// Each write waits for the disk twice (the file's flush and its folder's); many at once are flushed together.
constexpr unsigned kWriteThreads = 16;
// The files written and flushed together: few enough that a stop asked for while they are flushed takes
// effect soon, many enough that the folder's flush is shared.
constexpr std::size_t kWriteBatch = 256;

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
// and running again gives what one run gives. The values are written in batches of files at once.
void ApplyStage(const RenamePlan& plan, std::vector<RenameFileResult>& results, StopGate& gate) {
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
        if (!gate.MayWrite()) {
            results[r].outcome = RenameOutcome::Stopped;
            return;
        }
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
        // Checked under the file's lock, just before it is written; a file renamed above was counted there.
        const FileChange change =
            [&asPlanned, &gate, &result = results[r],
             &file](const std::optional<std::string>& current) -> std::optional<FilePieces> {
            if (!gate.MayWrite(file.newPath.empty())) {
                result.outcome = RenameOutcome::Stopped;
                return std::nullopt;
            }
            return asPlanned(result, current) ? std::optional<FilePieces>(PiecesOf(*current, file.edits))
                                              : std::nullopt;
        };
        updates.push_back({file.newPath.empty() ? file.path : file.newPath, change});
        updated.push_back(r);
    }
    for (std::size_t first = 0; first < updates.size(); first += kWriteBatch) {
        const std::size_t end = std::min(updates.size(), first + kWriteBatch);
        if (gate.Stopped()) {
            for (std::size_t u = first; u < end; ++u)
                results[updated[u]].outcome = RenameOutcome::Stopped;
            continue;
        }
        const std::vector<FileUpdate> batch(updates.begin() + first, updates.begin() + end);
        const std::vector<std::string> reasons = UpdateFilesAtomic(batch);
        for (std::size_t u = first; u < end; ++u) {
            if (reasons[u - first].empty())
                continue;
            results[updated[u]].outcome = RenameOutcome::Failed;
            results[updated[u]].reason = UnableToWriteMessage(updates[u].path, reasons[u - first]);
        }
    }
}

bool StopGate::MayWrite(bool counted) {
    if (mStopped)
        return false;
    const std::size_t begun = counted ? mBegun++ : mBegun.load();
    if (GoOn(mGoOn, begun, mTotal))
        return true;
    mStopped = true;
    return false;
}

} // namespace rename_detail

using namespace rename_detail;

RenameResult ApplyRename(const RenamePlan& plan, const RenameProgress& progress, const ProgressHook& goOn) {
    if (!plan.refusal.empty())
        throw std::runtime_error(plan.refusal);
    const PendingRename note(RenameIdentity(plan.request));
    note.Begin();
    RenameResult result;
    result.complete = true;
    const auto included = static_cast<std::size_t>(std::count_if(
        plan.files.begin(), plan.files.end(), [](const RenameFile& file) { return file.included; }));
    StopGate gate(goOn, included);
    for (RenameStage stage : {RenameStage::Reference, RenameStage::Table, RenameStage::Own}) {
        std::vector<RenameFileResult> files;
        for (std::size_t i = 0; i < plan.files.size(); ++i)
            if (plan.files[i].stage == stage && plan.files[i].included)
                files.emplace_back().file = i;
        // A stage after a stop writes nothing: its files are left as they are.
        if (gate.Stopped())
            for (RenameFileResult& file : files)
                file.outcome = RenameOutcome::Stopped;
        else
            ApplyStage(plan, files, gate);
        for (const RenameFileResult& file : files) {
            result.complete = result.complete && file.outcome == RenameOutcome::Done;
            result.files.push_back(file);
            if (progress)
                progress(file);
        }
    }
    result.stopped = gate.Stopped();
    if (result.complete && !note.End())
        result.noteLeft = note.Path();
    return result;
}

} // namespace pw
