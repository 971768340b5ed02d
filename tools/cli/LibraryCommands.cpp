#include "LibraryCommands.h"

#include "core/data/Library.h"

#include <array>

namespace pw::cli {
namespace {

struct ConditionOption {
    std::string_view name;
    DialogueField field;
};

constexpr std::array<ConditionOption, 7> kConditionOptions = {{
    {"--name", DialogueField::Name},
    {"--owner", DialogueField::Owner},
    {"--quest", DialogueField::Quest},
    {"--parent", DialogueField::Parent},
    {"--event", DialogueField::Event},
    {"--command", DialogueField::Command},
    {"--string", DialogueField::String},
}};

} // namespace

std::vector<std::string> ScanRoots(const Args& roots) {
    std::vector<std::string> files;
    for (const std::string& root : roots) {
        RequireExistingFolder(root);
        ScanLibraryFolder(root, files);
    }
    return files;
}

LibraryQuery QueryOf(const CommandArgs& parsed, const TextForm& form) {
    LibraryQuery query;
    for (const auto& [name, value] : parsed.options)
        for (const ConditionOption& option : kConditionOptions)
            if (option.name == name)
                query.Where(option.field, form.RecordText(value, name));
    return query;
}

int ReportUnread(const LibraryIndex& index) {
    const std::vector<std::size_t> unread = index.Failures();
    for (std::size_t i : unread)
        WriteErrLine(index[i].path + ": error: " + index[i].failure);
    return unread.empty() ? kExitOk : kExitFileError;
}

int List(const Args& args, const TextForm& form) {
    const CommandArgs parsed = ParseArgs(args, {{"--name", true},
                                                {"--owner", true},
                                                {"--quest", true},
                                                {"--parent", true},
                                                {"--event", true},
                                                {"--command", true},
                                                {"--string", true}});
    if (parsed.operands.empty())
        ThrowUsage("list takes at least one ROOT");
    const LibraryQuery query = QueryOf(parsed, form);
    // Only the matches are printed, so the fields of files that cannot match need not be read.
    const LibraryIndex index(ScanRoots(parsed.operands), query);
    std::string out;
    for (std::size_t i : query.Select(index)) {
        const LibraryEntry& entry = index[i];
        out.append(entry.path).append("\t").append(form.Printed(entry.Name())).append("\t");
        out.append(form.Printed(entry.Owner())).append("\t").append(form.Printed(entry.Quest())).append("\t");
        out.append(form.Printed(entry.Parent())).append("\n");
    }
    WriteOut(out);
    return ReportUnread(index);
}

} // namespace pw::cli
