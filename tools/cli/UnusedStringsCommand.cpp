#include "core/strings/TableLint.h"
#include "LibraryCommands.h"

#include "core/data/Cp1251.h"
#include "core/data/FileIO.h"
#include "core/data/StringTable.h"
#include "core/data/StrUtilsEx.h"
#include "core/data/TextLines.h"
#include "core/dialogue/InfoEditorModel.h"

#include <cerrno>
#include <utility>

namespace pw::cli {
namespace {

void AddId(std::string_view id, NameSet& ids) {
    const std::string_view trimmed = TrimView(id);
    if (!trimmed.empty() && trimmed != kEmptyPlaceholder)
        ids.Add(trimmed);
}

// Every string ID a dialogue or quest of the index names: the elements of InfoScript_Texts (of every
// row, not only Say's), LogTopic and LogText.
NameSet NamedIds(const LibraryIndex& index) {
    NameSet ids;
    for (const LibraryEntry& entry : index.Entries()) {
        for (const std::string& id : SplitElements(entry.Field(EntryField::InfoScript_Texts)))
            AddId(id, ids);
        AddId(entry.Field(EntryField::LogTopic), ids);
        AddId(entry.Field(EntryField::LogText), ids);
    }
    return ids;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && AsciiEqualNoCase(text.substr(0, prefix.size()), prefix);
}

// The table's entries that no name of named matches, as "ID<TAB>LINE" lines. The lines of a UTF-16 or UTF-8
// table come in UTF-8; the records name IDs in Windows-1251, so an ID that code page cannot spell is named
// by none. prefix is spelt as the table's lines are.
class UnusedLister {
public:
    UnusedLister(const NameSet& named, bool utf8, std::string prefix, const TextForm& form)
        : mNamed(named), mUtf8(utf8), mPrefix(std::move(prefix)), mForm(form) {}

    void Line(std::string_view raw);
    // The lines listed since the last take; Full when they are worth writing out.
    std::string TakeOutput() { return std::exchange(mOut, {}); }
    bool Full() const { return mOut.size() >= 64 * 1024; }
    std::size_t Unused() const { return mUnused; }
    std::size_t Entries() const { return mEntries; }

private:
    bool Named(std::string_view id) const;
    std::string Printed(std::string_view id) const;

    const NameSet& mNamed;
    bool mUtf8;
    std::string mPrefix;
    const TextForm& mForm;
    StringsSectionLines mLines;
    std::string mOut;
    std::size_t mUnused = 0;
    std::size_t mEntries = 0;
};

void UnusedLister::Line(std::string_view raw) {
    const std::optional<std::string_view> line = mLines.Next(raw);
    const std::size_t eq = line ? line->find('=') : std::string_view::npos;
    if (eq == std::string_view::npos)
        return;
    const std::string_view id = TrimView(line->substr(0, eq));
    if (!StartsWithNoCase(id, mPrefix))
        return;
    ++mEntries;
    if (Named(id))
        return;
    ++mUnused;
    mOut.append(Printed(id)).append("\t").append(std::to_string(mLines.Number())).append("\n");
}

bool UnusedLister::Named(std::string_view id) const {
    if (!mUtf8)
        return mNamed.Contains(id);
    const std::optional<std::string> cp1251 = Utf8ToCp1251Exact(id);
    return cp1251 && mNamed.Contains(*cp1251);
}

std::string UnusedLister::Printed(std::string_view id) const {
    if (!mUtf8)
        return mForm.Printed(id);
    return mForm.Raw() ? Utf8ToCp1251(id) : std::string(id);
}

} // namespace

int UnusedStrings(const Args& args, const TextForm& form) {
    const CommandArgs parsed = ParseArgs(args, {{"--prefix", true}});
    if (parsed.operands.size() < 2)
        ThrowUsage("unused-strings takes TABLE ROOT...");
    const std::string& table = parsed.operands[0];
    TextLineReader reader;
    std::string reason;
    if (!reader.Open(table, &reason))
        throw CliFailure(kExitFileError, CannotOpenFileMessage(table, reason));
    std::string prefix;
    for (const auto& [name, value] : parsed.options) {
        if (!reader.Utf8Lines()) {
            prefix = form.RecordText(value, "PREFIX");
        } else {
            form.RequireText(value, "PREFIX");
            prefix = form.Raw() ? Cp1251ToUtf8(value) : value;
        }
    }
    const LibraryIndex index(ScanRoots(Args(parsed.operands.begin() + 1, parsed.operands.end())));
    const NameSet named = NamedIds(index);
    UnusedLister lister(named, reader.Utf8Lines(), prefix, form);
    const bool read = reader.ReadLines([&lister](std::string_view line) {
        lister.Line(line);
        if (lister.Full())
            WriteOut(lister.TakeOutput());
    });
    if (!read)
        throw CliFailure(kExitFileError, CannotOpenFileMessage(table, SystemErrorText(EIO)));
    WriteOut(lister.TakeOutput());
    WriteErrLine("Неиспользуемых строк: " + std::to_string(lister.Unused()) + " из " +
                 std::to_string(lister.Entries()));
    return ReportUnread(index);
}

} // namespace pw::cli
