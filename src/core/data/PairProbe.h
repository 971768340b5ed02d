#pragma once
// Tests sixteen positions of a text at once for two bytes at fixed distances from each position, a letter
// matching in either case: the filter that lets the profile lookup pass over most of a file without looking
// at its bytes one by one. Compilers with vector types (GCC, Clang) compare sixteen bytes in one step;
// others use the same test on 64-bit words.

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace pw {

class PairProbe {
public:
    using Marks = std::array<std::uint64_t, 2>;

    // byteA at offsetA and byteB at offsetB from a position; a letter A-Z or a-z matches both its cases.
    PairProbe(unsigned char byteA, std::size_t offsetA, unsigned char byteB, std::size_t offsetB)
        : mOffsetA(offsetA), mOffsetB(offsetB) {
        Set(byteA, mMaskA, mValueA);
        Set(byteB, mMaskB, mValueB);
    }

    // Marks for the positions at .. at + 15: the high bit of byte i (words in order, byte 0 the lowest)
    // is set when position at + i matches. Reads 16 bytes from each of at + offsetA and at + offsetB.
    Marks Test16(const char* at) const {
#if defined(__GNUC__)
        using Vector = unsigned char __attribute__((vector_size(16)));
        Vector a, b;
        std::memcpy(&a, at + mOffsetA, sizeof a);
        std::memcpy(&b, at + mOffsetB, sizeof b);
        const auto match = ((a | static_cast<unsigned char>(mMaskA)) == static_cast<unsigned char>(mValueA)) &
                           ((b | static_cast<unsigned char>(mMaskB)) == static_cast<unsigned char>(mValueB));
        Marks marks;
        std::memcpy(marks.data(), &match, sizeof marks);
        return {Native(marks[0]) & kHighs, Native(marks[1]) & kHighs};
#else
        return Test16Words(at);
#endif
    }

    // The same test in 64-bit words, for every compiler. It may also mark a few positions next to a
    // match that do not match (the caller compares every marked position in full).
    Marks Test16Words(const char* at) const {
        return {TestWord(at), TestWord(at + 8)};
    }

    // The position (0 .. 7) within its word of the lowest mark of marks.
    static std::size_t LowestMark(std::uint64_t marks) {
        return static_cast<std::size_t>(std::countr_zero(marks)) / 8;
    }

private:
    static constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    static constexpr std::uint64_t kHighs = 0x8080808080808080ULL;

    // A letter is tested as (byte | 0x20) == its lower case, which only its two cases pass.
    static void Set(unsigned char c, std::uint64_t& mask, std::uint64_t& value) {
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        mask = letter ? kOnes * 0x20 : 0;
        value = kOnes * (letter ? c | 0x20u : c);
    }

    // Byte 0 of the text as the lowest byte of the word, whatever the machine's byte order.
    static std::uint64_t Native(std::uint64_t v) {
        if constexpr (std::endian::native == std::endian::big) {
            std::uint64_t r = 0;
            for (int i = 0; i < 8; ++i, v >>= 8)
                r = (r << 8) | (v & 0xFF);
            return r;
        }
        return v;
    }

    static std::uint64_t Load(const char* p) {
        std::uint64_t v;
        std::memcpy(&v, p, sizeof v);
        return Native(v);
    }

    std::uint64_t TestWord(const char* at) const {
        const std::uint64_t z =
            ((Load(at + mOffsetA) | mMaskA) ^ mValueA) | ((Load(at + mOffsetB) | mMaskB) ^ mValueB);
        return (z - kOnes) & ~z & kHighs; // a zero byte of z is a match
    }

    std::size_t mOffsetA, mOffsetB;
    std::uint64_t mMaskA = 0, mValueA = 0, mMaskB = 0, mValueB = 0;
};

} // namespace pw
