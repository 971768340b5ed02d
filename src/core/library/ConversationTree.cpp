#include "core/library/ConversationTree.h"

#include "core/data/StrUtilsEx.h"

#include <unordered_map>

namespace pw {
namespace {

class TreeBuilder {
public:
    TreeBuilder(const LibraryIndex& index, ConversationTree& tree) : mIndex(index), mTree(tree) {}

    void AddChosen(std::size_t entry) {
        mEntryNodes[entry] = mTree.nodes.size();
        mTree.nodes.push_back({TreeNode::Kind::Chosen, entry, {}});
    }

    void AddParentsOf(std::size_t child) {
        const std::string_view parent = TrimView(mIndex[child].Parent());
        if (parent.empty())
            return;
        const std::size_t childNode = mEntryNodes.at(child);
        const std::vector<std::size_t>& parents = mIndex.Dialogues(parent);
        if (parents.empty())
            mTree.edges.push_back({MissingNode(parent), childNode});
        for (std::size_t entry : parents)
            mTree.edges.push_back({EntryNode(entry), childNode});
    }

private:
    std::size_t EntryNode(std::size_t entry) {
        const auto [at, added] = mEntryNodes.try_emplace(entry, mTree.nodes.size());
        if (added)
            mTree.nodes.push_back({TreeNode::Kind::OutsideParent, entry, {}});
        return at->second;
    }

    std::size_t MissingNode(std::string_view name) {
        const auto [at, added] = mMissingNodes.try_emplace(name, mTree.nodes.size());
        if (added)
            mTree.nodes.push_back({TreeNode::Kind::MissingParent, 0, std::string(name)});
        return at->second;
    }

    const LibraryIndex& mIndex;
    ConversationTree& mTree;
    std::unordered_map<std::size_t, std::size_t> mEntryNodes; // entry number -> node number
    // Views into the index's Parent fields, which outlive the builder.
    std::unordered_map<std::string_view, std::size_t, FoldedHash, FoldedEqual> mMissingNodes;
};

} // namespace

ConversationTree BuildConversationTree(const LibraryIndex& index, const std::vector<std::size_t>& chosen) {
    ConversationTree tree;
    TreeBuilder builder(index, tree);
    for (std::size_t entry : chosen)
        builder.AddChosen(entry);
    for (std::size_t entry : chosen)
        builder.AddParentsOf(entry);
    return tree;
}

} // namespace pw
