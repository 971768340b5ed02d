#pragma once
// The game's identifiers offered by the dialogue editor's combo boxes. Fixed lists, in the order the
// boxes show them; every text is Windows-1251.

#include <string>
#include <string_view>
#include <vector>

namespace pw {

using Vocabulary = std::vector<std::string>;

const Vocabulary& InfoTypes();       // InfoTypeCmb, 6 entries; the position is the InfoType value
const Vocabulary& ConditionTypes();  // ConditionTypeCmb, 53 entries; the position is the ConditionType
const Vocabulary& Folders();         // FolderCmb, 42 entries
const Vocabulary& CharacterNames();  // OwnerCmb, CondItemContainerCmb, 417 entries
const Vocabulary& CharacterStates(); // the six state words; the position is the state number
const Vocabulary& NpcListItems();    // NPCListCmb: the six state words, then the 417 names (423)
const Vocabulary& Skills();          // TeachSkillCmb, 100 entries

inline constexpr int kDefaultConditionType = 3; // "[3] Диалог"
inline constexpr int kDefaultInfoType = 3;      // "3 - Приоритет III"
inline constexpr int kDefaultFolder = 9;        // "Myrtana/Ardea_City/"
inline constexpr int kStateCount = 6;           // NpcListItems() positions 0..5 are states

// The entry at position, or the empty text when the list has none there (negative or too large).
std::string VocabularyEntry(const Vocabulary& list, int position);
// Position of the entry equal to text as a whole, ignoring letter case (Latin and Cyrillic); -1 when
// absent. This is the combo box's own exact search.
int VocabularyIndexOf(const Vocabulary& list, std::string_view text);
// Position of the first entry that begins with text, letter case respected; -1 when none does.
// An empty text matches the first entry of a non-empty list.
int VocabularyFindPrefix(const Vocabulary& list, std::string_view text);

} // namespace pw
