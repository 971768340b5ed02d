#pragma once
// A set of names with A-Z folded, as the INI layer and the game compare them, compact enough for the
// hundred thousand IDs of a string table.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pw {

// A set of names, compact enough for the hundred thousand IDs of a string table: the names lie one
// after another in one text, and the table of places holds only their numbers.
class NameSet {
public:
    // Keeps a copy of name unless an equal one is in the set. Returns the number of the name in the set
    // (counted from 0 in the order of adding) and whether it was added.
    std::pair<std::size_t, bool> Insert(std::string_view name);
    void Add(std::string_view name) { Insert(name); }
    bool Contains(std::string_view name) const { return Find(name).has_value(); }
    // The number of an equal name in the set.
    std::optional<std::size_t> Find(std::string_view name) const;
    std::size_t Size() const { return mStarts.size(); }
    // Makes room for count names of textSize bytes in all, so that adding them moves nothing.
    void Reserve(std::size_t count, std::size_t textSize);
    std::string_view Name(std::size_t number) const;

private:
    std::optional<std::size_t> Find(std::string_view name, std::size_t hash) const;
    // Makes the slots at least twice as many as count, and places every name again.
    void Grow(std::size_t count);
    void Place(std::size_t hash, std::size_t number);

    std::string mText;
    std::vector<std::size_t> mStarts; // where each name starts in mText; it ends where the next starts
    // Open addressing: a name's hash in the high half (so that most slots of other names are passed over
    // without reading their text) and its number + 1 in the low half; 0 for a free slot.
    std::vector<std::uint64_t> mSlots;
};

} // namespace pw
