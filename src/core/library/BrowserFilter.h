#pragma once
// The filter of the library browser: words and fields, combined with AND. A field is written
// "field:value" (owner, quest, parent, event, command, string, folder, uses; field names in any letter
// case); any other word is a bare word. Fields compare whole values, trimmed and A-Z folded, as the
// library search compares names; folder: and bare words are contained in the path and the name.

#include "core/library/LibraryIndex.h"
#include "core/library/LibraryQuery.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace pw {

class BrowserFilter {
public:
    // text: the filter line, Windows-1251. A field without a value ("owner:" while it is being typed)
    // asks for nothing.
    explicit BrowserFilter(std::string_view text);

    bool Empty() const { return mEmpty; }
    // Whether the entry is kept:
    // - a dialogue: its fields as LibraryQuery compares them (owner, quest, parent, event, command,
    //   string), its Name containing each bare word, its path each folder: value, and uses: naming it in
    //   one of its references (Quest, Parent, CondPlayerKnows, a quest command's or SetGameEvent's IDs1,
    //   an element of InfoScript_Texts);
    // - a quest: quest: its Name, string: its LogTopic or LogText, uses: an element of FinishedQuests, its
    //   LogTopic or LogText, words and folder: as for a dialogue; owner, parent, event and command keep no
    //   quest;
    // - a file that could not be read: only bare words and folder:, both on its path.
    bool Matches(const LibraryEntry& entry) const;
    // One verdict per entry of index (1 kept), tested on all processors.
    std::vector<unsigned char> Select(const LibraryIndex& index) const;

private:
    bool MatchesDialogue(const LibraryEntry& entry) const;
    bool MatchesQuest(const LibraryEntry& entry) const;
    bool PathAndNameMatch(const LibraryEntry& entry) const;

    bool mEmpty = true;
    LibraryQuery mDialogueQuery;          // owner, quest, parent, event, command, string
    bool mDialogueOnly = false;           // owner, parent, event or command asked: no quest is kept
    bool mAsksFields = false;             // a field other than folder: asked: no unread file is kept
    std::vector<std::string> mWords;      // contained in the Name
    std::vector<std::string> mFolders;    // contained in the path, "\" read as "/"
    std::vector<std::string> mQuestNames; // quest: values
    std::vector<std::string> mStrings;    // string: values
    std::vector<std::string> mUses;       // uses: values
};

} // namespace pw
