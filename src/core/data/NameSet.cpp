#include "core/data/NameSet.h"

#include "core/data/Cp1251.h"

#include <algorithm>
#include <stdexcept>

namespace pw {

std::string_view NameSet::Name(std::size_t number) const {
    const std::size_t end = number + 1 < mStarts.size() ? mStarts[number + 1] : mText.size();
    return std::string_view(mText).substr(mStarts[number], end - mStarts[number]);
}

namespace {

std::uint64_t Tag(std::size_t hash) {
    return static_cast<std::uint64_t>(hash >> 32 ^ (hash & 0xFFFFFFFFu)) << 32;
}

} // namespace

std::optional<std::size_t> NameSet::Find(std::string_view name) const {
    return mSlots.empty() ? std::nullopt : Find(name, FoldedHash()(name));
}

std::optional<std::size_t> NameSet::Find(std::string_view name, std::size_t hash) const {
    const std::uint64_t tag = Tag(hash);
    const std::size_t mask = mSlots.size() - 1;
    for (std::size_t slot = hash & mask; mSlots[slot] != 0; slot = (slot + 1) & mask) {
        const std::size_t number = (mSlots[slot] & 0xFFFFFFFFu) - 1;
        if ((mSlots[slot] & ~std::uint64_t(0xFFFFFFFFu)) == tag && AsciiEqualNoCase(Name(number), name))
            return number;
    }
    return std::nullopt;
}

std::pair<std::size_t, bool> NameSet::Insert(std::string_view name) {
    const std::size_t hash = FoldedHash()(name);
    if (!mSlots.empty())
        if (const std::optional<std::size_t> found = Find(name, hash))
            return {*found, false};
    if (mStarts.size() + 1 > mSlots.size() / 2) // at most half full, so a search ends soon
        Grow(mStarts.size() + 1);
    const std::size_t number = mStarts.size();
    if (number >= UINT32_MAX - 1)
        throw std::length_error("too many names");
    mStarts.push_back(mText.size());
    mText.append(name);
    Place(hash, number);
    return {number, true};
}

void NameSet::Reserve(std::size_t count, std::size_t textSize) {
    mStarts.reserve(count);
    mText.reserve(textSize);
    if (count > mSlots.size() / 2)
        Grow(count);
}

void NameSet::Place(std::size_t hash, std::size_t number) {
    const std::size_t mask = mSlots.size() - 1;
    std::size_t slot = hash & mask;
    while (mSlots[slot] != 0)
        slot = (slot + 1) & mask;
    mSlots[slot] = Tag(hash) | static_cast<std::uint32_t>(number + 1);
}

void NameSet::Grow(std::size_t count) {
    std::size_t size = std::max<std::size_t>(64, mSlots.size() * 2);
    while (count > size / 2)
        size *= 2;
    mSlots.assign(size, 0);
    for (std::size_t number = 0; number < mStarts.size(); ++number)
        Place(FoldedHash()(Name(number)), number);
}

} // namespace pw
