#pragma once
// The private-profile layer's own pieces, shared by its files and by no one else: the scan of a file's
// text in place and the grammar of its lines, used by the reading (ProfileIniRead, ProfileIniKeys) and the
// writing (ProfileIniWrite) alike, and the conversion between a caller's text and the file's encoding
// (ProfileIniForms). The line tests are inline: every pass over a file runs them on each line.

#include "core/data/Cp1251.h"
#include "core/data/PairProbe.h"
#include "core/data/ProfileIni.h"
#include "core/data/TableEncoding.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace pw::profile_detail {

// A profile file's text, 8-bit (Windows-1251 or UTF-8) or UTF-16LE with its byte-order mark, scanned in
// place: positions are byte offsets and a "unit" is one byte or one UTF-16 code unit. Nothing is decoded
// except the values that are returned, so a lookup in a large UTF-16 table costs no more than one pass over
// its bytes. The names it compares are spelled as an 8-bit file holds them (UTF-8 in a UTF-8 file) and in
// Windows-1251 for a UTF-16 file (see NameOf).
class ProfileScan {
public:
    // A whole file in encoding, after its byte-order mark.
    ProfileScan(std::string_view bytes, TextEncoding encoding)
        : ProfileScan(bytes, encoding, MarkOf(encoding).size()) {}
    // A part of a file that starts at a line's start, without the byte-order mark.
    ProfileScan(std::string_view bytes, TextEncoding encoding, std::size_t begin)
        : mData(bytes), mEncoding(encoding), mWide(encoding == TextEncoding::Utf16LeBom),
          mUnit(mWide ? 2 : 1), mBegin(std::min(begin, bytes.size())),
          mEnd(mWide ? bytes.size() - ((bytes.size() - mBegin) % 2) : bytes.size()) {}

    std::string_view Data() const { return mData; }
    bool IsBreak(std::size_t pos) const {
        const unsigned u = Unit(pos);
        return u == '\r' || u == '\n';
    }

    TextEncoding Encoding() const { return mEncoding; }
    bool Wide() const { return mWide; }
    std::size_t Begin() const { return mBegin; }
    std::size_t End() const { return mEnd; }
    std::size_t UnitSize() const { return mUnit; }

    unsigned Unit(std::size_t pos) const {
        const auto lo = static_cast<unsigned char>(mData[pos]);
        return mWide ? lo | (static_cast<unsigned>(static_cast<unsigned char>(mData[pos + 1])) << 8) : lo;
    }

    // The unit that stands for one byte of a name in this file: the byte itself, or its code point.
    unsigned UnitOf(char c) const {
        const auto byte = static_cast<unsigned char>(c);
        return mWide ? static_cast<unsigned>(Cp1251ToUnicode(byte)) : byte;
    }

    // Whether a unit of the file equals the unit of c, with A-Z folded.
    bool UnitMatches(unsigned u, char c) const {
        const unsigned expected = UnitOf(c);
        return u == expected || (u < 128 && expected < 128 &&
                                 AsciiUpper(static_cast<char>(u)) == AsciiUpper(static_cast<char>(expected)));
    }

    // One line: [start, end) without its terminator; next is where the following line starts.
    struct Line {
        std::size_t start, end, next;
        std::size_t trimStart, trimEnd;
    };

    // The line starting at pos (pos < End()).
    Line LineAt(std::size_t pos) {
        Line line{};
        line.start = pos;
        line.end = NextBreak(pos);
        line.next = line.end;
        if (line.end < mEnd) {
            const bool cr = Unit(line.end) == '\r';
            line.next += mUnit;
            if (cr && line.next < mEnd && Unit(line.next) == '\n')
                line.next += mUnit;
        }
        line.trimStart = line.start;
        line.trimEnd = line.end;
        while (line.trimStart < line.trimEnd && Unit(line.trimStart) <= 32)
            line.trimStart += mUnit;
        while (line.trimEnd > line.trimStart && Unit(line.trimEnd - mUnit) <= 32)
            line.trimEnd -= mUnit;
        return line;
    }

    // Position of the first unit c in [from, to), or to.
    std::size_t FindUnit(std::size_t from, std::size_t to, unsigned c) const {
        for (std::size_t p = from; p < to; p += mUnit)
            if (Unit(p) == c)
                return p;
        return to;
    }

    // Whether the units of [from, to), trimmed, equal name (see NameOf) with A-Z folded.
    bool NameEquals(std::size_t from, std::size_t to, std::string_view name) const {
        while (from < to && Unit(from) <= 32)
            from += mUnit;
        while (to > from && Unit(to - mUnit) <= 32)
            to -= mUnit;
        if ((to - from) / mUnit != name.size())
            return false;
        for (std::size_t i = 0; i < name.size(); ++i, from += mUnit)
            if (!UnitMatches(Unit(from), name[i]))
                return false;
        return true;
    }

    // The raw bytes of a name (see NameOf) or of ASCII text as this file stores it.
    std::string Encode(std::string_view text) const {
        return mWide ? Cp1251ToUtf16Le(text) : std::string(text);
    }

private:
    // Next CR or LF unit at or after pos, or End(). The positions found are kept, so a pass over the
    // whole file searches each byte about once.
    std::size_t NextBreak(std::size_t pos) {
        if (mNextCr < pos || mNextCr == kUnknown)
            mNextCr = FindBreakUnit(pos, '\r');
        if (mNextLf < pos || mNextLf == kUnknown)
            mNextLf = FindBreakUnit(pos, '\n');
        return std::min(mNextCr, mNextLf);
    }

    std::size_t FindBreakUnit(std::size_t pos, char c) const {
        while (pos < mEnd) {
            const void* hit = std::memchr(mData.data() + pos, c, mEnd - pos);
            if (!hit)
                return mEnd;
            const auto at = static_cast<std::size_t>(static_cast<const char*>(hit) - mData.data());
            if (!mWide)
                return at;
            if ((at - mBegin) % 2 == 0 && mData[at + 1] == '\0')
                return at;
            pos = at + 1;
        }
        return mEnd;
    }

    static constexpr std::size_t kUnknown = static_cast<std::size_t>(-1);
    std::string_view mData;
    TextEncoding mEncoding;
    bool mWide;
    std::size_t mUnit;
    std::size_t mBegin;
    std::size_t mEnd;
    std::size_t mNextCr = kUnknown;
    std::size_t mNextLf = kUnknown;
};

// ---- The grammar of a line ----

inline bool IsSectionHeader(const ProfileScan& scan, const ProfileScan::Line& line) {
    return line.trimStart < line.trimEnd && scan.Unit(line.trimStart) == '[';
}

inline bool IsComment(const ProfileScan& scan, const ProfileScan::Line& line) {
    return line.trimStart < line.trimEnd && scan.Unit(line.trimStart) == ';';
}

inline bool HeaderNames(const ProfileScan& scan, const ProfileScan::Line& line, std::string_view section) {
    const std::size_t nameStart = line.trimStart + scan.UnitSize();
    const std::size_t close = scan.FindUnit(nameStart, line.trimEnd, ']');
    return scan.NameEquals(nameStart, close, section);
}

// The position of the '=' that ends key's name on this line, or npos. The key's letters are compared
// from the line's start, so a line whose name differs is rejected after its first few units instead
// of being searched for its '='.
inline std::size_t KeyEquals(const ProfileScan& scan, const ProfileScan::Line& line, std::string_view key) {
    if (line.trimStart == line.trimEnd || IsComment(scan, line) || key.find('=') != std::string_view::npos)
        return std::string_view::npos;
    std::size_t pos = line.trimStart;
    for (char c : key) {
        if (pos >= line.trimEnd)
            return std::string_view::npos;
        if (!scan.UnitMatches(scan.Unit(pos), c))
            return std::string_view::npos;
        pos += scan.UnitSize();
    }
    while (pos < line.trimEnd && scan.Unit(pos) <= 32)
        pos += scan.UnitSize();
    return pos < line.trimEnd && scan.Unit(pos) == '=' ? pos : std::string_view::npos;
}

// ---- The search for one key (ProfileIniRead.cpp) ----

// Finds where a key's units occur in a file's bytes with A-Z folded (see ProfileIniRead.cpp); the key is
// spelled as NameOf gives it.
class KeyFinder {
public:
    KeyFinder(std::string_view key, bool wide);
    std::size_t Size() const { return mPattern.size(); }
    // The first position p in [from, to - Size()] where the key's bytes occur, or npos.
    std::size_t Find(std::string_view data, std::size_t from, std::size_t to) const;

private:
    bool Matches(const char* at) const;

    std::string mPattern;
    PairProbe mProbe;
};

// The search for one key's line, fed with a file's text in parts that each end at a line's end, so a
// large file is read in blocks and the reading stops as soon as the answer is known. Gives what a
// line-by-line reading gives: the first line of key (A-Z folded) in the first section named section.
class ValueSearch {
public:
    ValueSearch(std::string_view section, std::string_view key, TextEncoding encoding, ProfileForm form);

    bool Done() const { return mDone; }
    std::optional<std::string> TakeValue() { return std::move(mValue); }

    // Searches the lines of scan; true once the answer is known.
    bool Feed(ProfileScan& scan);

    // Where the last Feed saw the section: its lines in [SectionBegin(), SectionEnd()) of that scan,
    // SectionBegin() npos when none of them were there.
    std::size_t SectionBegin() const { return mSectionBegin; }
    std::size_t SectionEnd() const { return mSectionEnd; }
    // The key's line in the last Feed's scan, and the "=" that ends its name.
    struct KeyLine {
        ProfileScan::Line line;
        std::size_t eq;
    };
    const std::optional<KeyLine>& Found() const { return mFound; }

private:
    void FindKey(ProfileScan& scan, std::size_t pos, std::size_t to);
    void FindKeyLineByLine(ProfileScan& scan, std::size_t pos, std::size_t to);
    bool TakeLine(const ProfileScan& scan, const ProfileScan::Line& line);

    std::optional<std::string> mSection;
    std::optional<std::string> mKey;
    KeyFinder mFinder;
    ProfileForm mForm;
    bool mInSection = false;
    bool mDone = false;
    std::optional<std::string> mValue;
    std::size_t mSectionBegin = std::string_view::npos;
    std::size_t mSectionEnd = 0;
    std::optional<KeyLine> mFound;
};

// Where the last complete line of data ends (after its line break), searching only from `from` on; 0 when
// no line break is there. A CR that ends data does not end its line yet: the LF that may follow in the
// next block belongs to the same line break.
std::size_t LastLineEnd(std::string_view data, std::size_t from, bool wide);

// ---- A caller's text and the file's (ProfileIniForms.cpp) ----

// The encoding of a whole file's bytes as dialect tells it.
TextEncoding EncodingOf(std::string_view bytes, ProfileDialect dialect);
// The same for the file at path, read only as far as needed.
TextEncoding EncodingOfFile(const std::string& path, ProfileDialect dialect);

// A caller's value as the file stores it; std::nullopt when the file's encoding cannot hold it.
std::optional<std::string> EncodeValue(std::string_view text, TextEncoding encoding, ProfileForm form);

// A caller's section or key name as the scan of a file compares it: Windows-1251 for a UTF-16 file and an
// 8-bit one's bytes (converted from Windows-1251 for a UTF-8 file). Names are compared in Windows-1251, so
// std::nullopt when the code page cannot hold it.
std::optional<std::string> NameOf(std::string_view name, TextEncoding encoding, ProfileForm form);

// The value of a key line whose name ends at the '=' at eq, as the caller takes it.
std::string ValueAfter(const ProfileScan& scan, const ProfileScan::Line& line, std::size_t eq,
                       ProfileForm form);

// The same value whole: neither unquoted nor cut, for a caller that changes a part of it.
std::string WholeValueAfter(const ProfileScan& scan, const ProfileScan::Line& line, std::size_t eq,
                            ProfileForm form);

// A name without the blanks (codes 0..32) around it.
std::string_view TrimmedName(std::string_view name);

} // namespace pw::profile_detail
