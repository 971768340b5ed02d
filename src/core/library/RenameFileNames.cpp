#include "core/library/RenameDetail.h"

#include "core/data/FileIO.h"
#include "core/data/FileNames.h"
#include "core/data/Platform.h"

// The things' own files, named after them: their new names, and the order in which the plan writes them.

namespace pw::rename_detail {
namespace {

constexpr std::string_view kInfoFileSuffix = "_info_G3_World_01.info";
constexpr std::string_view kQuestFileSuffix = "_quest_G3_World_01.quest";

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

} // namespace

std::size_t NameStart(const std::string& path) {
    std::size_t start = path.size();
    while (start > 0 && !platform::IsPathSeparator(path[start - 1]))
        --start;
    return start;
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

// Why a file would be renamed onto a name that something in its folder has already (a dangling link
// too, which a rename cannot replace either), or empty.
std::string TakenFileNames(const RenamePlan& plan) {
    for (const RenameFile& file : plan.files)
        if (!file.newPath.empty() && EntryExists(file.newPath))
            return "Файл \"" + file.newPath + "\" уже есть";
    return {};
}

} // namespace pw::rename_detail
