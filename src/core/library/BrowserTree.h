#pragma once
// What the library browser shows, without widgets: characters (a dialogue's Owner) with their dialogues
// nested as conversation trees, the quests nested under the quests they wait for, and the files that
// could not be read; and which of it a filter keeps.

#include "core/library/LibraryIndex.h"

#include <cstddef>
#include <string>
#include <vector>

namespace pw {

struct BrowserNode {
    enum class Kind {
        Character,   // an Owner's dialogues; label is the Owner as its first dialogue holds it
        QuestGroup,  // every quest
        FailedGroup, // every file that could not be read
        Dialogue,
        Quest,
        Failed,
    } kind = Kind::Dialogue;
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::size_t entry = kNone;  // the entry's number in the index, for a dialogue, a quest or a failure
    std::size_t parent = kNone; // the node above; kNone at the top
    std::string label;          // a group's name
    // A dialogue shown at its character's top although it has a Parent: that names no dialogue of the
    // library (missingParent holds the name), or the Parents lead round in a circle back to it.
    std::string missingParent;
    bool inCircle = false;
    std::vector<std::size_t> children; // node numbers, sorted by name (A-Z folded)
};

struct BrowserTree {
    std::vector<BrowserNode> nodes;
    std::vector<std::size_t> roots; // the characters sorted by name, then the quests, then the failures
};

// The tree of the whole index: a dialogue under the first dialogue its Parent names (A-Z folded, as the
// library's look-ups by name), whoever's it is; a quest under the first quest of its FinishedQuests that
// the library holds. Every entry has exactly one node. The groups of quests and of failures are left out
// when empty. Group labels (Windows-1251) are the caller's to give.
BrowserTree BuildBrowserTree(const LibraryIndex& index, const std::string& questGroupLabel,
                             const std::string& failedGroupLabel, const std::string& noOwnerLabel);

// For each node, whether a filter keeps it: an entry that matches (kept[entry] set), and every node
// above one, so that the path to it stays.
std::vector<unsigned char> KeptNodes(const BrowserTree& tree, const std::vector<unsigned char>& keptEntries);

} // namespace pw
