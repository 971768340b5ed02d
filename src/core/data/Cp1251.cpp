#include "core/data/Cp1251.h"

#include "core/data/PairProbe.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace pw {
namespace {

// Code points of the bytes 0x80..0xFF. 0x98 has no character in the code page; it maps to U+0098 so
// that every byte survives a round trip, as the windows' codec does.
constexpr std::array<char16_t, 128> kHighHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0098, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, 0x0410,
    0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D,
    0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A,
    0x042B, 0x042C, 0x042D, 0x042E, 0x042F, 0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444,
    0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F};

char32_t UpperCodePoint(char32_t u) {
    if (u >= 'a' && u <= 'z')
        return u - 32;
    if (u >= 0x0430 && u <= 0x044F)
        return u - 0x20;
    if (u >= 0x0450 && u <= 0x045F)
        return u - 0x50;
    if (u == 0x0491)
        return 0x0490;
    return u;
}

char32_t LowerCodePoint(char32_t u) {
    if (u >= 'A' && u <= 'Z')
        return u + 32;
    if (u >= 0x0410 && u <= 0x042F)
        return u + 0x20;
    if (u >= 0x0400 && u <= 0x040F)
        return u + 0x50;
    if (u == 0x0490)
        return 0x0491;
    return u;
}

struct CaseTables {
    std::array<char, 256> upper{};
    std::array<char, 256> lower{};
    CaseTables() {
        for (int b = 0; b < 256; ++b) {
            const char32_t u = Cp1251ToUnicode(static_cast<unsigned char>(b));
            upper[b] = UnicodeToCp1251(UpperCodePoint(u));
            lower[b] = UnicodeToCp1251(LowerCodePoint(u));
        }
    }
};

const CaseTables& Tables() {
    static const CaseTables tables;
    return tables;
}

} // namespace

void AppendUtf8(std::string& out, char32_t u) {
    if (u < 0x80) {
        out += static_cast<char>(u);
    } else if (u < 0x800) {
        out += static_cast<char>(0xC0 | (u >> 6));
        out += static_cast<char>(0x80 | (u & 0x3F));
    } else if (u < 0x10000) {
        out += static_cast<char>(0xE0 | (u >> 12));
        out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (u & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (u >> 18));
        out += static_cast<char>(0x80 | ((u >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (u & 0x3F));
    }
}

char32_t Cp1251ToUnicode(unsigned char byte) {
    return byte < 0x80 ? byte : kHighHalf[byte - 0x80];
}

char UnicodeToCp1251(char32_t codePoint, bool* lossy) {
    if (codePoint < 0x80)
        return static_cast<char>(codePoint);
    if (codePoint >= 0x0410 && codePoint <= 0x044F)
        return static_cast<char>(0xC0 + (codePoint - 0x0410));
    for (std::size_t i = 0; i < kHighHalf.size(); ++i)
        if (kHighHalf[i] == codePoint)
            return static_cast<char>(0x80 + i);
    if (lossy)
        *lossy = true;
    return '?';
}

std::string Cp1251ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (char c : text)
        AppendUtf8(out, Cp1251ToUnicode(static_cast<unsigned char>(c)));
    return out;
}

std::string Utf8ToCp1251(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        int extra = lead < 0x80 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
        if (extra < 0 || (extra > 0 && i + static_cast<std::size_t>(extra) >= utf8.size())) {
            out += '?';
            ++i;
            continue;
        }
        char32_t u = extra == 0 ? lead : (lead & (0x3F >> extra));
        for (int k = 1; k <= extra; ++k)
            u = (u << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        out += UnicodeToCp1251(u);
        i += extra + 1;
    }
    return out;
}

std::string Cp1251ToUtf16Le(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (char c : text) {
        const char32_t u = Cp1251ToUnicode(static_cast<unsigned char>(c));
        out += static_cast<char>(u & 0xFF);
        out += static_cast<char>((u >> 8) & 0xFF);
    }
    return out;
}

std::string Utf16LeToCp1251(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        char32_t u = static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8);
        if (u >= 0xD800 && u <= 0xDBFF && i + 3 < bytes.size()) {
            i += 2; // a surrogate pair is one character, and none of them is in the code page
            u = 0x10000;
        }
        out += UnicodeToCp1251(u);
    }
    return out;
}

std::optional<std::u32string> DecodeUtf8(std::string_view utf8) {
    std::u32string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const int extra = lead < 0x80                   ? 0
                          : lead >= 0xC2 && lead < 0xE0 ? 1
                          : lead >= 0xE0 && lead < 0xF0 ? 2
                          : lead >= 0xF0 && lead < 0xF5 ? 3
                                                        : -1;
        if (extra < 0 || utf8.size() - i <= static_cast<std::size_t>(extra))
            return std::nullopt;
        char32_t u = extra == 0 ? lead : (lead & (0x3F >> extra));
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            if ((next & 0xC0) != 0x80)
                return std::nullopt;
            u = (u << 6) | (next & 0x3F);
        }
        static constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
        if (u < kSmallest[extra] || u > 0x10FFFF || (u >= 0xD800 && u < 0xE000))
            return std::nullopt;
        out += u;
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

std::optional<std::string> Utf8ToCp1251Exact(std::string_view utf8) {
    const std::optional<std::u32string> text = DecodeUtf8(utf8);
    if (!text)
        return std::nullopt;
    std::string out;
    out.reserve(text->size());
    bool lossy = false;
    for (char32_t u : *text)
        out += UnicodeToCp1251(u, &lossy);
    if (lossy)
        return std::nullopt;
    return out;
}

std::string Utf16LeToUtf8(std::string_view bytes) {
    const std::size_t units = bytes.size() / 2;
    const auto unit = [bytes](std::size_t i) -> char32_t {
        return static_cast<unsigned char>(bytes[2 * i]) | (static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    };
    std::string out;
    out.reserve(units + units / 2);
    for (std::size_t i = 0; i < units; ++i) {
        char32_t u = unit(i);
        if (u >= 0xD800 && u < 0xDC00 && i + 1 < units && unit(i + 1) >= 0xDC00 && unit(i + 1) < 0xE000)
            u = 0x10000 + ((u - 0xD800) << 10) + (unit(++i) - 0xDC00);
        else if (u >= 0xD800 && u < 0xE000)
            u = 0xFFFD;
        AppendUtf8(out, u);
    }
    return out;
}

std::optional<std::string> Utf8ToUtf16Le(std::string_view utf8) {
    const std::optional<std::u32string> text = DecodeUtf8(utf8);
    if (!text)
        return std::nullopt;
    std::string out;
    out.reserve(text->size() * 2);
    const auto put = [&out](char32_t unit) {
        out += static_cast<char>(unit & 0xFF);
        out += static_cast<char>(unit >> 8);
    };
    for (char32_t u : *text) {
        if (u < 0x10000) {
            put(u);
            continue;
        }
        put(0xD800 + ((u - 0x10000) >> 10));
        put(0xDC00 + ((u - 0x10000) & 0x3FF));
    }
    return out;
}

char Cp1251Upper(char c) {
    return Tables().upper[static_cast<unsigned char>(c)];
}
char Cp1251Lower(char c) {
    return Tables().lower[static_cast<unsigned char>(c)];
}

std::string Cp1251UpperString(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = Cp1251Upper(c);
    return out;
}

bool Cp1251EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Cp1251Upper(a[i]) != Cp1251Upper(b[i]))
            return false;
    return true;
}

std::optional<LackingCharacter> FirstCp1251Lacks(const std::u32string& text) {
    for (char32_t c : text) {
        bool lossy = false;
        UnicodeToCp1251(c, &lossy);
        if (!lossy)
            continue;
        LackingCharacter lacking;
        AppendUtf8(lacking.utf8, c);
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
        lacking.codePoint = code;
        return lacking;
    }
    return std::nullopt;
}

bool AsciiLessNoCase(std::string_view a, std::string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const auto x = static_cast<unsigned char>(AsciiUpper(a[i]));
        const auto y = static_cast<unsigned char>(AsciiUpper(b[i]));
        if (x != y)
            return x < y;
    }
    return a.size() < b.size();
}

std::size_t FindNoCase(std::string_view bytes, std::string_view part, std::size_t from) {
    const std::size_t size = part.size();
    if (from > bytes.size() || bytes.size() - from < size)
        return std::string_view::npos;
    if (size == 0)
        return from;
    const std::size_t last = bytes.size() - size; // the last position part may start at
    std::size_t pos = from;
    if (size >= 2) {
        // The last two bytes tell a name from the words around it better than its first letter.
        const PairProbe probe(static_cast<unsigned char>(part[size - 2]), size - 2,
                              static_cast<unsigned char>(part[size - 1]), size - 1);
        for (; pos + 15 <= last; pos += 16) {
            const PairProbe::Marks marks = probe.Test16(bytes.data() + pos);
            for (std::size_t word = 0; word < marks.size(); ++word)
                for (std::uint64_t m = marks[word]; m; m &= m - 1) {
                    const std::size_t at = pos + 8 * word + PairProbe::LowestMark(m);
                    if (AsciiUpper(bytes[at]) == AsciiUpper(part[0]) &&
                        AsciiEqualNoCase(bytes.substr(at, size), part))
                        return at;
                }
        }
    }
    for (; pos <= last; ++pos)
        if (AsciiEqualNoCase(bytes.substr(pos, size), part))
            return pos;
    return std::string_view::npos;
}

namespace {

// Eight bytes with a-z made A-Z in all of them at once. Only bytes below 0x80 are letters, so their high
// bit is cleared before the sums that find them: no sum then carries into the next byte.
std::uint64_t FoldedWord(std::uint64_t bytes) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    const std::uint64_t low = bytes & (kOnes * 0x7F);
    const std::uint64_t atLeastA = low + kOnes * (0x80 - 'a');
    const std::uint64_t pastZ = low + kOnes * (0x80 - 'z' - 1);
    const std::uint64_t letters = atLeastA & ~pastZ & ~bytes & (kOnes * 0x80);
    return bytes - (letters >> 2); // 0x80 >> 2 is the 0x20 between a and A
}

std::uint64_t Mixed(std::uint64_t hash, std::uint64_t word) {
    hash = (hash ^ word) * 0x9E3779B97F4A7C15ull;
    return hash ^ (hash >> 29);
}

} // namespace

// Hashed eight bytes at a time: a string table's hundred thousand IDs are hashed for every look-up.
std::size_t FoldedHash::operator()(std::string_view name) const noexcept {
    std::uint64_t hash = Mixed(0x243F6A8885A308D3ull, name.size());
    std::size_t at = 0;
    for (; at + 8 <= name.size(); at += 8) {
        std::uint64_t word;
        std::memcpy(&word, name.data() + at, 8);
        hash = Mixed(hash, FoldedWord(word));
    }
    if (at < name.size()) {
        std::uint64_t word = 0;
        std::memcpy(&word, name.data() + at, name.size() - at);
        hash = Mixed(hash, FoldedWord(word));
    }
    return static_cast<std::size_t>(hash);
}

} // namespace pw
