#pragma once
// The names that check compares references with, each read once: the string IDs of a table, the quest
// names of a quest tree and the dialogue names of the checked files. Names are kept with A-Z folded,
// as the INI layer and the game compare them.

#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>

namespace pw::cli {

struct FoldedHash {
    std::size_t operator()(std::string_view name) const noexcept;
};
struct FoldedEqual {
    bool operator()(std::string_view a, std::string_view b) const noexcept;
};

class NameSet {
public:
    NameSet() = default;
    NameSet(NameSet&&) = default;
    NameSet& operator=(NameSet&&) = default;

    // Keeps a copy of name.
    void Add(std::string_view name);
    bool Contains(std::string_view name) const;

private:
    friend NameSet TableIdsOf(std::string bytes);

    // The names are views into the table's text or into the copies, so a large table costs no copy
    // per ID; both stay in place when the set is moved.
    std::unique_ptr<const std::string> mText;
    std::deque<std::string> mCopies;
    std::unordered_set<std::string_view, FoldedHash, FoldedEqual> mNames;
};

// The whole bytes of a string table. Throws std::runtime_error when the file cannot be read; a missing
// file is such an error here.
std::string ReadTableBytes(const std::string& path);
// The IDs of the first section "LocAdmin_Strings" of a string table's bytes (8-bit or UTF-16LE with a
// byte-order mark), as the profile layer would find them.
NameSet TableIdsOf(std::string bytes);

// The Name values of section "Quest" of every file below folder, scanned as the library is.
NameSet ReadQuestNames(const std::string& folder);

} // namespace pw::cli
