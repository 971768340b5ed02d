#include "core/library/BrowserTree.h"

#include "core/data/Cp1251.h"
#include "core/data/G3Quests.h"
#include "core/data/StrUtilsEx.h"

#include <algorithm>
#include <unordered_map>

namespace pw {
namespace {

using Kind = BrowserNode::Kind;

class TreeBuilder {
public:
    explicit TreeBuilder(const LibraryIndex& index) : mIndex(index) {}

    std::size_t Add(Kind kind, std::size_t entry, std::string label = {}) {
        BrowserNode node;
        node.kind = kind;
        node.entry = entry;
        node.label = std::move(label);
        mTree.nodes.push_back(std::move(node));
        return mTree.nodes.size() - 1;
    }
    void Attach(std::size_t child, std::size_t parent) {
        mTree.nodes[child].parent = parent;
        mTree.nodes[parent].children.push_back(child);
    }
    std::string_view NameOf(std::size_t node) const {
        const BrowserNode& n = mTree.nodes[node];
        return n.entry == BrowserNode::kNone ? std::string_view(n.label)
               : mIndex[n.entry].Read()      ? TrimView(mIndex[n.entry].Name())
                                             : std::string_view(mIndex[n.entry].path);
    }
    void SortChildren() {
        for (BrowserNode& node : mTree.nodes)
            std::stable_sort(
                node.children.begin(), node.children.end(),
                [this](std::size_t a, std::size_t b) { return AsciiLessNoCase(NameOf(a), NameOf(b)); });
    }
    BrowserTree Take() { return std::move(mTree); }
    BrowserTree& Tree() { return mTree; }

private:
    const LibraryIndex& mIndex;
    BrowserTree mTree;
};

// Hangs each node of nodes under the node its parent names (parentOf gives it, or kNone), and the rest
// under top(node). A node the parents lead round in a circle goes to the top too, marked, which breaks
// the circle.
template <class ParentOf, class Top>
void Nest(TreeBuilder& builder, const std::vector<std::size_t>& nodes, ParentOf parentOf, Top top) {
    BrowserTree& tree = builder.Tree();
    std::vector<std::size_t> parents(tree.nodes.size(), BrowserNode::kNone);
    for (std::size_t node : nodes)
        parents[node] = parentOf(node);
    // A node is placed under its parent unless following the parents from it comes back to it; then
    // it is the circle's entry and goes to the top. 0 unvisited, 1 on the current path, 2 placed.
    std::vector<unsigned char> state(tree.nodes.size(), 0);
    for (std::size_t start : nodes) {
        std::vector<std::size_t> path;
        std::size_t node = start;
        while (node != BrowserNode::kNone && state[node] == 0) {
            state[node] = 1;
            path.push_back(node);
            node = parents[node];
        }
        if (node != BrowserNode::kNone && state[node] == 1) {
            tree.nodes[node].inCircle = true;
            parents[node] = BrowserNode::kNone;
        }
        for (std::size_t placed : path)
            state[placed] = 2;
    }
    for (std::size_t node : nodes) {
        if (parents[node] != BrowserNode::kNone)
            builder.Attach(node, parents[node]);
        else
            builder.Attach(node, top(node));
    }
}

} // namespace

BrowserTree BuildBrowserTree(const LibraryIndex& index, const std::string& questGroupLabel,
                             const std::string& failedGroupLabel, const std::string& noOwnerLabel) {
    TreeBuilder builder(index);
    std::vector<std::size_t> nodeOf(index.Entries().size(), BrowserNode::kNone);
    std::vector<std::size_t> dialogues, quests, failures;
    for (std::size_t i = 0; i < index.Entries().size(); ++i) {
        const LibraryEntry& entry = index[i];
        const Kind kind = !entry.Read()                     ? Kind::Failed
                          : entry.kind == RecordKind::Quest ? Kind::Quest
                                                            : Kind::Dialogue;
        nodeOf[i] = builder.Add(kind, i);
        (kind == Kind::Failed ? failures : kind == Kind::Quest ? quests : dialogues).push_back(nodeOf[i]);
    }
    BrowserTree& tree = builder.Tree();

    // The characters, one per Owner (A-Z folded).
    std::unordered_map<std::string_view, std::size_t, FoldedHash, FoldedEqual> characters;
    std::vector<std::size_t> characterNodes;
    auto characterOf = [&](std::size_t node) {
        std::string_view owner = TrimView(index[tree.nodes[node].entry].Owner());
        const auto found = characters.find(owner);
        if (found != characters.end())
            return found->second;
        const std::size_t group = builder.Add(Kind::Character, BrowserNode::kNone,
                                              owner.empty() ? noOwnerLabel : std::string(owner));
        characterNodes.push_back(group);
        // The key views the index's own bytes, which outlive the map.
        characters.emplace(owner, group);
        return group;
    };
    Nest(
        builder, dialogues,
        [&](std::size_t node) {
            const LibraryEntry& entry = index[tree.nodes[node].entry];
            const std::string_view parent = TrimView(entry.Parent());
            if (parent.empty())
                return BrowserNode::kNone;
            const std::vector<std::size_t>& named = index.Dialogues(parent);
            if (named.empty()) {
                tree.nodes[node].missingParent = std::string(parent);
                return BrowserNode::kNone;
            }
            return nodeOf[named.front()];
        },
        characterOf);

    std::size_t questGroup = BrowserNode::kNone;
    if (!quests.empty()) {
        questGroup = builder.Add(Kind::QuestGroup, BrowserNode::kNone, questGroupLabel);
        Nest(
            builder, quests,
            [&](std::size_t node) {
                for (const std::string& name :
                     SplitQuestNames(index[tree.nodes[node].entry].Field(EntryField::FinishedQuests))) {
                    const std::vector<std::size_t>& named = index.Quests(name);
                    if (!named.empty() && nodeOf[named.front()] != node)
                        return nodeOf[named.front()];
                }
                return BrowserNode::kNone;
            },
            [questGroup](std::size_t) { return questGroup; });
    }
    std::size_t failedGroup = BrowserNode::kNone;
    if (!failures.empty()) {
        failedGroup = builder.Add(Kind::FailedGroup, BrowserNode::kNone, failedGroupLabel);
        for (std::size_t node : failures)
            builder.Attach(node, failedGroup);
    }

    builder.SortChildren();
    std::stable_sort(characterNodes.begin(), characterNodes.end(), [&](std::size_t a, std::size_t b) {
        return AsciiLessNoCase(tree.nodes[a].label, tree.nodes[b].label);
    });
    tree.roots = characterNodes;
    for (std::size_t group : {questGroup, failedGroup})
        if (group != BrowserNode::kNone)
            tree.roots.push_back(group);
    return builder.Take();
}

std::vector<unsigned char> KeptNodes(const BrowserTree& tree, const std::vector<unsigned char>& keptEntries) {
    std::vector<unsigned char> kept(tree.nodes.size(), 0);
    for (std::size_t i = 0; i < tree.nodes.size(); ++i) {
        const BrowserNode& node = tree.nodes[i];
        if (node.entry == BrowserNode::kNone || !keptEntries[node.entry])
            continue;
        // Up to the top, or to a node already kept (and with it the path above it).
        for (std::size_t up = i; up != BrowserNode::kNone && !kept[up]; up = tree.nodes[up].parent)
            kept[up] = 1;
    }
    return kept;
}

} // namespace pw
