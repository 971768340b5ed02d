#include "core/library/LibraryQuery.h"

#include "core/data/ParallelWork.h"
#include "core/data/StrUtilsEx.h"
#include "core/dialogue/InfoEditorModel.h"

namespace pw {
namespace {

bool Same(std::string_view held, std::string_view value) {
    return AsciiEqualNoCase(TrimView(held), value);
}

bool NameIs(const LibraryEntry& entry, std::string_view value) {
    return Same(entry.Name(), value);
}

bool OwnerIs(const LibraryEntry& entry, std::string_view value) {
    return Same(entry.Owner(), value);
}

bool QuestIs(const LibraryEntry& entry, std::string_view value) {
    return Same(entry.Quest(), value);
}

bool ParentIs(const LibraryEntry& entry, std::string_view value) {
    return Same(entry.Parent(), value);
}

// The event a dialogue waits for, or one that it sets.
bool NamesEvent(const LibraryEntry& entry, std::string_view value) {
    if (Same(entry.Field(EntryField::CondPlayerKnows), value))
        return true;
    // Splitting the rows costs; a dialogue whose IDs1 lack the value cannot name it there.
    if (!ContainsNoCase(entry.Field(EntryField::InfoScript_IDs1), value))
        return false;
    for (const CommandRow& row : ScriptRowsOf(entry))
        if (Same(row[0], "SetGameEvent") && Same(row[3], value))
            return true;
    return false;
}

bool HasCommand(const LibraryEntry& entry, std::string_view value) {
    if (!ContainsNoCase(entry.Field(EntryField::InfoScript_Commands), value))
        return false;
    for (const CommandRow& row : ScriptRowsOf(entry))
        if (Same(row[0], value))
            return true;
    return false;
}

bool SaysString(const LibraryEntry& entry, std::string_view value) {
    for (const std::string& id : SplitElements(entry.Field(EntryField::InfoScript_Texts)))
        if (Same(id, value))
            return true;
    return false;
}

using Rule = bool (*)(const LibraryEntry&, std::string_view);

// In the order of DialogueField.
constexpr Rule kRules[] = {NameIs, OwnerIs, QuestIs, ParentIs, NamesEvent, HasCommand, SaysString};

} // namespace

LibraryQuery& LibraryQuery::Where(DialogueField field, std::string_view value) {
    mConditions.emplace_back(field, Trim(value));
    return *this;
}

bool LibraryQuery::MayMatch(RecordKind kind, std::string_view bytes) const {
    if (kind != RecordKind::Dialogue)
        return false;
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE')
        return true;
    for (const auto& condition : mConditions)
        if (!ContainsNoCase(bytes, condition.second))
            return false;
    return true;
}

bool LibraryQuery::Matches(const LibraryEntry& entry) const {
    if (!entry.IsDialogue())
        return false;
    for (const auto& [field, value] : mConditions)
        if (!kRules[static_cast<std::size_t>(field)](entry, value))
            return false;
    return true;
}

std::vector<std::size_t> LibraryQuery::Select(const LibraryIndex& index) const {
    // Each verdict has a byte of its own (a vector<bool> would share them between threads).
    std::vector<unsigned char> matches(index.Entries().size(), 0);
    ParallelFor(matches.size(), [&](std::size_t i) { matches[i] = Matches(index[i]); });
    std::vector<std::size_t> numbers;
    for (std::size_t i = 0; i < matches.size(); ++i)
        if (matches[i])
            numbers.push_back(i);
    return numbers;
}

} // namespace pw
