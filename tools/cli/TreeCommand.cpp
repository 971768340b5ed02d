#include "LibraryCommands.h"

#include "core/data/Cp1251.h"
#include "core/data/StringTable.h"
#include "core/library/ConversationTree.h"

namespace pw::cli {
namespace {

// Record text (Windows-1251) as the inside of a quoted DOT string in UTF-8. A backslash would start one of
// DOT's label escapes, and a control character has no business in a picture.
std::string DotText(std::string_view cp1251) {
    std::string text;
    for (char c : Cp1251ToUtf8(cp1251)) {
        if (c == '"' || c == '\\')
            text += '\\';
        text += static_cast<unsigned char>(c) < 32 ? ' ' : c;
    }
    return text;
}

// The first spoken line of each chosen node: the first column of the table's entry for the string ID of
// its first Say row; empty where there is none.
std::vector<std::string> FirstLines(const LibraryIndex& index, const ConversationTree& tree,
                                    const std::string& table) {
    std::vector<std::string> lines(tree.nodes.size());
    if (table.empty())
        return lines;
    std::vector<std::string> ids;
    for (const TreeNode& node : tree.nodes)
        ids.push_back(node.kind == TreeNode::Kind::Chosen ? FirstSayId(index[node.entry]) : std::string());
    const std::vector<std::optional<std::string>> values = TStringTable(table).FindTableStrings(ids);
    for (std::size_t i = 0; i < values.size(); ++i)
        if (!ids[i].empty() && values[i])
            lines[i] = values[i]->substr(0, values[i]->find(';'));
    return lines;
}

// "n" and the node's number: its name in the graph.
std::string NodeId(std::size_t number) {
    std::string id = "n";
    return id.append(std::to_string(number));
}

std::string NodeStatement(const LibraryIndex& index, const TreeNode& node, std::size_t number,
                          const std::string& line) {
    const bool missing = node.kind == TreeNode::Kind::MissingParent;
    std::string statement = NodeId(number);
    statement.append(" [label=\"")
        .append(DotText(missing ? std::string_view(node.name) : index[node.entry].Name()));
    if (!line.empty())
        statement.append("\\n").append(DotText(line));
    statement.append(missing ? "\", style=dashed];\n" : "\"];\n");
    return statement;
}

std::string Dot(const LibraryIndex& index, const ConversationTree& tree,
                const std::vector<std::string>& lines) {
    std::string dot = "digraph dialogues {\nnode [shape=box];\n";
    for (std::size_t i = 0; i < tree.nodes.size(); ++i)
        dot += NodeStatement(index, tree.nodes[i], i, lines[i]);
    for (const TreeEdge& edge : tree.edges)
        dot.append(NodeId(edge.parent)).append(" -> ").append(NodeId(edge.child)).append(";\n");
    return dot + "}\n";
}

} // namespace

int Tree(const Args& args, const TextForm& form) {
    const CommandArgs parsed =
        ParseArgs(args, {{"--owner", true}, {"--quest", true}, {"--stringtable", true}});
    if (parsed.operands.empty())
        ThrowUsage("tree takes at least one ROOT");
    std::string table;
    for (const auto& [name, value] : parsed.options)
        if (name == "--stringtable")
            table = value;
    if (!table.empty())
        RequireExistingFile(table);
    const LibraryQuery query = QueryOf(parsed, form);
    // The whole index: parents outside the choice are looked up in it by name.
    const LibraryIndex index(ScanRoots(parsed.operands));
    const ConversationTree tree = BuildConversationTree(index, query.Select(index));
    WriteOut(Dot(index, tree, FirstLines(index, tree, table)));
    return ReportUnread(index);
}

} // namespace pw::cli
