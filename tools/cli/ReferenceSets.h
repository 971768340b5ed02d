#pragma once
// The names that check compares references with, each read once: the string IDs of a table, the quest
// names of a quest tree and the dialogue names of the checked files. Names are kept with A-Z folded,
// as the INI layer and the game compare them.

#include <string>
#include <string_view>
#include <unordered_set>

namespace pw::cli {

class NameSet {
public:
    void Add(std::string_view name);
    bool Contains(std::string_view name) const;
    std::size_t Size() const { return mNames.size(); }

private:
    std::unordered_set<std::string> mNames;
};

// The IDs of the first section "LocAdmin_Strings" of a string table (8-bit or UTF-16LE with a
// byte-order mark), as the profile layer would find them. Throws std::runtime_error when the file
// cannot be read; a missing file is such an error here.
NameSet ReadTableIds(const std::string& path);

// The Name values of section "Quest" of every file below folder, scanned as the library is.
NameSet ReadQuestNames(const std::string& folder);

} // namespace pw::cli
