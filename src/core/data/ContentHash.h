#pragma once
// A hash of a file's bytes, for telling whether the file is still as it was read: the same whether the
// bytes come whole or in blocks (a large table is read in blocks). Not for security: it tells a changed
// file from an unchanged one, as a size and a modification time cannot.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace pw {

class ContentHash {
public:
    void Add(std::string_view bytes) {
        mSize += bytes.size();
        while (!bytes.empty() && mCarried > 0) {
            mCarry[mCarried++] = bytes.front();
            bytes.remove_prefix(1);
            if (mCarried == 8)
                Mix(mCarry), mCarried = 0;
        }
        for (; bytes.size() >= 8; bytes.remove_prefix(8))
            Mix(bytes.data());
        for (char c : bytes)
            mCarry[mCarried++] = c;
    }
    std::uint64_t Value() const {
        ContentHash last = *this;
        std::fill(last.mCarry + last.mCarried, last.mCarry + 8, '\0');
        last.Mix(last.mCarry);
        return last.mHash ^ mSize;
    }
    static std::uint64_t Of(std::string_view bytes) {
        ContentHash hash;
        hash.Add(bytes);
        return hash.Value();
    }

private:
    void Mix(const char* eight) {
        std::uint64_t word = 0;
        std::memcpy(&word, eight, sizeof word);
        mHash = (mHash ^ word) * 0x9E3779B97F4A7C15ull;
        mHash ^= mHash >> 29;
    }

    std::uint64_t mHash = 0xCBF29CE484222325ull;
    std::uint64_t mSize = 0;
    char mCarry[8] = {};
    std::size_t mCarried = 0;
};

} // namespace pw
