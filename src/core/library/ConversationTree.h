#pragma once
// The conversation trees of a choice of dialogues: each dialogue chosen and the parents its Parent names,
// with an edge from each parent to its child. What draws them (a graph file, a window) is left to the caller.

#include "core/library/LibraryIndex.h"

#include <cstddef>
#include <string>
#include <vector>

namespace pw {

struct TreeNode {
    enum class Kind {
        Chosen,        // a dialogue of the choice
        OutsideParent, // a dialogue of the library outside the choice that is the parent of one in it
        MissingParent, // a Parent that names no dialogue of the library
    } kind = Kind::Chosen;
    std::size_t entry = 0; // the entry's number in the index; unused for a missing parent
    std::string name;      // a missing parent: the Parent as the first child to name it holds it
};

struct TreeEdge {
    std::size_t parent; // node numbers
    std::size_t child;
};

struct ConversationTree {
    // The chosen dialogues in the order given, then the other parents in the order their children name
    // them; a missing parent once for each name (A-Z folded).
    std::vector<TreeNode> nodes;
    // In the order of the children; a Parent that names several dialogues gives an edge from each.
    std::vector<TreeEdge> edges;
};

// The trees of the chosen entries of index (numbers of dialogues, each once). A Parent is looked up among
// the library's dialogues by name, trimmed and A-Z folded; an empty one has no parent.
ConversationTree BuildConversationTree(const LibraryIndex& index, const std::vector<std::size_t>& chosen);

} // namespace pw
