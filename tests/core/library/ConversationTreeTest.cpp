#include "core/library/ConversationTree.h"

#include "TempDir.h"

#include <gtest/gtest.h>

namespace {

using namespace pw;

// A node as "Name" (chosen), "(Name)" (a parent outside the choice) or "?Name" (missing parent).
std::string Describe(const LibraryIndex& index, const TreeNode& node) {
    const std::string name(node.kind == TreeNode::Kind::MissingParent ? std::string_view(node.name)
                                                                      : index[node.entry].Name());
    switch (node.kind) {
    case TreeNode::Kind::Chosen:
        return name;
    case TreeNode::Kind::OutsideParent:
        return std::string("(").append(name).append(")");
    case TreeNode::Kind::MissingParent:
        return std::string("?").append(name);
    }
    return {};
}

TEST(ConversationTree, ParentsInsideOutsideAndMissingFromTheLibrary) {
    pwtest::TempDir dir;
    std::vector<std::string> files;
    const auto add = [&](const std::string& name, const std::string& parent) {
        files.push_back(dir.File(std::to_string(files.size()) + ".info"));
        pwtest::WriteBytes(files.back(), "[Info]\r\nName=" + name + "\r\nParent=" + parent + "\r\n");
    };
    add("Root", "");
    add("Hello", "root ");
    add("Trade", "Hello");
    add("Lost", "Gone");
    add("AlsoLost", "GONE");
    add("Twin", "");
    add("Twin", "");
    add("Child", "twin");
    const LibraryIndex index(files);
    // Neither Root nor the twins are chosen.
    const ConversationTree tree = BuildConversationTree(index, {1, 2, 3, 4, 7});
    std::vector<std::string> nodes;
    for (const TreeNode& node : tree.nodes)
        nodes.push_back(Describe(index, node));
    EXPECT_EQ(nodes, (std::vector<std::string>{"Hello", "Trade", "Lost", "AlsoLost", "Child", "(Root)",
                                               "?Gone", "(Twin)", "(Twin)"}));
    std::vector<std::string> edges;
    for (const TreeEdge& edge : tree.edges)
        edges.push_back(nodes[edge.parent] + "->" + nodes[edge.child]);
    EXPECT_EQ(edges, (std::vector<std::string>{"(Root)->Hello", "Hello->Trade", "?Gone->Lost",
                                               "?Gone->AlsoLost", "(Twin)->Child", "(Twin)->Child"}));
    EXPECT_NE(tree.nodes[7].entry, tree.nodes[8].entry);
}

} // namespace
