#include "core/library/BrowserFilter.h"

#include "core/data/Cp1251.h"
#include "core/data/G3Quests.h"
#include "core/data/ParallelWork.h"
#include "core/data/StrUtilsEx.h"
#include "core/dialogue/InfoEditorModel.h"

#include <algorithm>
#include <array>

namespace pw {
namespace {

enum class Term { Owner, Quest, Parent, Event, Command, String, Folder, Uses, Word };

struct FieldName {
    std::string_view name;
    Term term;
};
constexpr std::array<FieldName, 8> kFields{{{"owner", Term::Owner},
                                            {"quest", Term::Quest},
                                            {"parent", Term::Parent},
                                            {"event", Term::Event},
                                            {"command", Term::Command},
                                            {"string", Term::String},
                                            {"folder", Term::Folder},
                                            {"uses", Term::Uses}}};

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsBlank(text[i]))
            ++i;
        const std::size_t start = i;
        while (i < text.size() && !IsBlank(text[i]))
            ++i;
        if (i > start)
            words.push_back(text.substr(start, i - start));
    }
    return words;
}

std::string Slashed(std::string_view path) {
    std::string slashed(path);
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    return slashed;
}

bool Same(std::string_view held, std::string_view value) {
    return AsciiEqualNoCase(TrimView(held), value);
}

bool AnyElementIs(const std::vector<std::string>& elements, std::string_view value) {
    return std::any_of(elements.begin(), elements.end(),
                       [value](const std::string& element) { return Same(element, value); });
}

bool IsQuestCommand(std::string_view command) {
    return Same(command, "SucceedQuest") || Same(command, "CloseQuest") || Same(command, "RunQuest");
}

bool DialogueNames(const LibraryEntry& entry, std::string_view value) {
    if (Same(entry.Quest(), value) || Same(entry.Parent(), value) ||
        Same(entry.Field(EntryField::CondPlayerKnows), value))
        return true;
    if (AnyElementIs(SplitElements(entry.Field(EntryField::InfoScript_Texts)), value))
        return true;
    // Only a dialogue whose IDs1 hold the value at all is worth splitting into rows.
    if (!ContainsNoCase(entry.Field(EntryField::InfoScript_IDs1), value))
        return false;
    for (const CommandRow& row : ScriptRowsOf(entry))
        if ((IsQuestCommand(row[0]) || Same(row[0], "SetGameEvent")) && Same(row[3], value))
            return true;
    return false;
}

bool QuestNames(const LibraryEntry& entry, std::string_view value) {
    return Same(entry.Field(EntryField::LogTopic), value) || Same(entry.Field(EntryField::LogText), value) ||
           AnyElementIs(SplitQuestNames(entry.Field(EntryField::FinishedQuests)), value);
}

} // namespace

BrowserFilter::BrowserFilter(std::string_view text) {
    for (std::string_view word : Words(text)) {
        Term term = Term::Word;
        std::string value(word);
        const std::size_t colon = word.find(':');
        if (colon != std::string_view::npos) {
            for (const FieldName& field : kFields)
                if (AsciiEqualNoCase(word.substr(0, colon), field.name)) {
                    term = field.term;
                    value = Trim(word.substr(colon + 1));
                }
        }
        if (value.empty())
            continue;
        mEmpty = false;
        mAsksFields = mAsksFields || (term != Term::Word && term != Term::Folder);
        switch (term) {
        case Term::Owner:
            mDialogueQuery.Where(DialogueField::Owner, value);
            mDialogueOnly = true;
            break;
        case Term::Quest:
            mDialogueQuery.Where(DialogueField::Quest, value);
            mQuestNames.push_back(value);
            break;
        case Term::Parent:
            mDialogueQuery.Where(DialogueField::Parent, value);
            mDialogueOnly = true;
            break;
        case Term::Event:
            mDialogueQuery.Where(DialogueField::Event, value);
            mDialogueOnly = true;
            break;
        case Term::Command:
            mDialogueQuery.Where(DialogueField::Command, value);
            mDialogueOnly = true;
            break;
        case Term::String:
            mDialogueQuery.Where(DialogueField::String, value);
            mStrings.push_back(value);
            break;
        case Term::Folder:
            mFolders.push_back(Slashed(value));
            break;
        case Term::Uses:
            mUses.push_back(value);
            break;
        case Term::Word:
            mWords.push_back(value);
            break;
        }
    }
}

bool BrowserFilter::PathAndNameMatch(const LibraryEntry& entry) const {
    if (!mFolders.empty()) {
        const std::string path = Slashed(entry.path);
        for (const std::string& folder : mFolders)
            if (!ContainsNoCase(path, folder))
                return false;
    }
    // A file that could not be read has no name; its path stands for it.
    const std::string_view name = entry.Read() ? entry.Name() : std::string_view(entry.path);
    return std::all_of(mWords.begin(), mWords.end(),
                       [name](const std::string& word) { return ContainsNoCase(name, word); });
}

bool BrowserFilter::MatchesDialogue(const LibraryEntry& entry) const {
    if (!mDialogueQuery.Matches(entry))
        return false;
    return std::all_of(mUses.begin(), mUses.end(),
                       [&entry](const std::string& value) { return DialogueNames(entry, value); });
}

bool BrowserFilter::MatchesQuest(const LibraryEntry& entry) const {
    if (mDialogueOnly)
        return false;
    for (const std::string& value : mQuestNames)
        if (!Same(entry.Name(), value))
            return false;
    for (const std::string& value : mStrings)
        if (!Same(entry.Field(EntryField::LogTopic), value) && !Same(entry.Field(EntryField::LogText), value))
            return false;
    return std::all_of(mUses.begin(), mUses.end(),
                       [&entry](const std::string& value) { return QuestNames(entry, value); });
}

bool BrowserFilter::Matches(const LibraryEntry& entry) const {
    if (mEmpty)
        return true;
    if (!PathAndNameMatch(entry))
        return false;
    if (!entry.Read())
        return !mAsksFields;
    return entry.kind == RecordKind::Quest ? MatchesQuest(entry) : MatchesDialogue(entry);
}

std::vector<unsigned char> BrowserFilter::Select(const LibraryIndex& index) const {
    std::vector<unsigned char> kept(index.Entries().size(), 1);
    if (!mEmpty)
        ParallelFor(kept.size(), [&](std::size_t i) { kept[i] = Matches(index[i]) ? 1 : 0; });
    return kept;
}

} // namespace pw
