#include "data/ProfileIni.h"

#include "data/Cp1251.h"
#include "data/FileIO.h"
#include "data/PairProbe.h"
#include "data/Platform.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace pw {
namespace {

// A profile file's text, 8-bit or UTF-16LE with its byte-order mark, scanned in place: positions are
// byte offsets and a "unit" is one byte or one UTF-16 code unit. Nothing is decoded except the values
// that are returned, so a lookup in a large UTF-16 table costs no more than one pass over its bytes.
class ProfileScan {
public:
    // A whole file: UTF-16LE when it starts with the byte-order mark.
    explicit ProfileScan(std::string_view bytes)
        : ProfileScan(bytes, HasWideMark(bytes), HasWideMark(bytes) ? 2 : 0) {}
    // A part of a file that starts at a line's start, without the byte-order mark.
    ProfileScan(std::string_view bytes, bool wide, std::size_t begin = 0)
        : mData(bytes), mWide(wide), mUnit(wide ? 2 : 1), mBegin(begin),
          mEnd(wide ? bytes.size() - ((bytes.size() - begin) % 2) : bytes.size()) {}

    static bool HasWideMark(std::string_view bytes) {
        return bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
               static_cast<unsigned char>(bytes[1]) == 0xFE;
    }
    std::string_view Data() const { return mData; }
    bool IsBreak(std::size_t pos) const {
        const unsigned u = Unit(pos);
        return u == '\r' || u == '\n';
    }

    bool Wide() const { return mWide; }
    std::size_t Begin() const { return mBegin; }
    std::size_t End() const { return mEnd; }
    std::size_t UnitSize() const { return mUnit; }

    unsigned Unit(std::size_t pos) const {
        const auto lo = static_cast<unsigned char>(mData[pos]);
        return mWide ? lo | (static_cast<unsigned>(static_cast<unsigned char>(mData[pos + 1])) << 8) : lo;
    }

    // The unit that stands for one byte of 8-bit text in this file: the byte itself, or its code point.
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

    // Whether the units of [from, to), trimmed, equal name (8-bit) with A-Z folded.
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

    // The raw bytes of 8-bit text as this file stores it.
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
    bool mWide;
    std::size_t mUnit;
    std::size_t mBegin;
    std::size_t mEnd;
    std::size_t mNextCr = kUnknown;
    std::size_t mNextLf = kUnknown;
};

bool IsSectionHeader(const ProfileScan& scan, const ProfileScan::Line& line) {
    return line.trimStart < line.trimEnd && scan.Unit(line.trimStart) == '[';
}

bool IsComment(const ProfileScan& scan, const ProfileScan::Line& line) {
    return line.trimStart < line.trimEnd && scan.Unit(line.trimStart) == ';';
}

bool HeaderNames(const ProfileScan& scan, const ProfileScan::Line& line, std::string_view section) {
    const std::size_t nameStart = line.trimStart + scan.UnitSize();
    const std::size_t close = scan.FindUnit(nameStart, line.trimEnd, ']');
    return scan.NameEquals(nameStart, close, section);
}

// The position of the '=' that ends key's name on this line, or npos. The key's letters are compared
// from the line's start, so a line whose name differs is rejected after its first few units instead
// of being searched for its '='.
std::size_t KeyEquals(const ProfileScan& scan, const ProfileScan::Line& line, std::string_view key) {
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

// The units [from, to) of a value without one pair of enclosing quotes and cut to the longest value a
// read returns; cut in units, so a UTF-16 value is not cut inside the UTF-8 it becomes.
void CleanValue(const ProfileScan& scan, std::size_t& from, std::size_t& to) {
    const std::size_t unit = scan.UnitSize();
    if (to - from >= 2 * unit && (scan.Unit(from) == '"' || scan.Unit(from) == '\'') &&
        scan.Unit(to - unit) == scan.Unit(from)) {
        from += unit;
        to -= unit;
    }
    if ((to - from) / unit > kProfileValueLimit)
        to = from + kProfileValueLimit * unit;
}

// A value's bytes as the caller takes them.
std::string DecodeValue(std::string_view bytes, bool wide, ProfileForm form) {
    if (wide)
        return form == ProfileForm::Cp1251 ? Utf16LeToCp1251(bytes) : Utf16LeToUtf8(bytes);
    if (form == ProfileForm::BytesOrUtf8)
        return platform::SystemCodePageToUtf8(bytes);
    return form == ProfileForm::Utf8 ? Cp1251ToUtf8(bytes) : std::string(bytes);
}

// A caller's value as the file stores it; std::nullopt when the file's encoding cannot hold it.
std::optional<std::string> EncodeValue(std::string_view text, bool wide, ProfileForm form) {
    if (wide)
        return form == ProfileForm::Cp1251 ? Cp1251ToUtf16Le(text) : Utf8ToUtf16Le(text);
    if (form == ProfileForm::BytesOrUtf8)
        return platform::Utf8ToSystemCodePage(text);
    return form == ProfileForm::Utf8 ? Utf8ToCp1251Exact(text) : std::string(text);
}

// A caller's section or key name in Windows-1251, which names are compared in; std::nullopt when the code
// page cannot hold it.
std::optional<std::string> NameOf(std::string_view name, bool wide, ProfileForm form) {
    if (form == ProfileForm::Utf8 || (form == ProfileForm::BytesOrUtf8 && wide))
        return Utf8ToCp1251Exact(name);
    if (form == ProfileForm::BytesOrUtf8)
        return platform::Utf8ToSystemCodePage(name);
    return std::string(name);
}

// The value of a key line whose name ends at the '=' at eq, as the caller takes it.
std::string ValueAfter(const ProfileScan& scan, const ProfileScan::Line& line, std::size_t eq,
                       ProfileForm form) {
    std::size_t from = eq + scan.UnitSize();
    while (from < line.trimEnd && scan.Unit(from) <= 32)
        from += scan.UnitSize();
    std::size_t to = line.trimEnd;
    CleanValue(scan, from, to);
    return DecodeValue(scan.Data().substr(from, to - from), scan.Wide(), form);
}

std::string_view TrimmedName(std::string_view name) {
    while (!name.empty() && static_cast<unsigned char>(name.front()) <= 32)
        name.remove_prefix(1);
    while (!name.empty() && static_cast<unsigned char>(name.back()) <= 32)
        name.remove_suffix(1);
    return name;
}

std::string TrimmedDefault(std::string_view defaultValue) {
    while (!defaultValue.empty() && defaultValue.back() == ' ')
        defaultValue.remove_suffix(1);
    return std::string(defaultValue);
}

// Finds where a key's units occur in a file's bytes with A-Z folded. Sixteen positions at a time are
// tested for the key's last two characters (the part of an ID that tells it from its neighbours, which
// often share its start), and only positions that pass are compared in full; that holds its pace whatever
// the lines look like (Latin words that share the key's letters, long shared prefixes, short lines). In a
// UTF-16 file the low bytes of the key's units are probed; the caller checks that a hit starts on a unit
// and matches unit by unit.
class KeyFinder {
public:
    KeyFinder(std::string_view key, bool wide)
        : mPattern(Encode(key, wide)), mProbe(Probe(mPattern, wide ? 2 : 1)) {}

    std::size_t Size() const { return mPattern.size(); }

    // The first position p in [from, to - Size()] where the key's bytes occur, or npos.
    std::size_t Find(std::string_view data, std::size_t from, std::size_t to) const {
        const std::size_t m = mPattern.size();
        if (m == 0 || to < m || from > to - m)
            return std::string_view::npos;
        const std::size_t lastStart = to - m; // the last position a hit may start at
        const char* text = data.data();
        std::size_t pos = from;
        // The probe reads 16 bytes from within the key's length, so it stays inside [from, to).
        for (; pos + 15 <= lastStart; pos += 16) {
            const PairProbe::Marks marks = mProbe.Test16(text + pos);
            if ((marks[0] | marks[1]) == 0)
                continue;
            for (std::size_t word = 0; word < marks.size(); ++word) {
                for (std::uint64_t m = marks[word]; m; m &= m - 1) {
                    const std::size_t at = pos + 8 * word + PairProbe::LowestMark(m);
                    if (Matches(text + at))
                        return at;
                }
            }
        }
        for (; pos <= lastStart; ++pos)
            if (Matches(text + pos))
                return pos;
        return std::string_view::npos;
    }

private:
    static unsigned char Fold(unsigned char c) { return (c >= 'a' && c <= 'z') ? c - 32 : c; }

    static std::string Encode(std::string_view key, bool wide) {
        std::string pattern;
        for (char c : key) {
            if (wide) {
                const auto unit = static_cast<unsigned>(Cp1251ToUnicode(static_cast<unsigned char>(c)));
                pattern += static_cast<char>(Fold(static_cast<unsigned char>(unit & 0xFF)));
                pattern += static_cast<char>(Fold(static_cast<unsigned char>(unit >> 8)));
            } else {
                pattern += static_cast<char>(Fold(static_cast<unsigned char>(c)));
            }
        }
        return pattern;
    }

    // The first bytes of the last two units (one unit: that one twice).
    static PairProbe Probe(const std::string& pattern, std::size_t unit) {
        if (pattern.empty())
            return PairProbe(0, 0, 0, 0);
        const std::size_t b = pattern.size() - unit;
        const std::size_t a = b >= unit ? b - unit : b;
        return PairProbe(static_cast<unsigned char>(pattern[a]), a, static_cast<unsigned char>(pattern[b]),
                         b);
    }

    // Compared from the end, where keys that share a start differ.
    bool Matches(const char* at) const {
        for (std::size_t i = mPattern.size(); i-- > 0;)
            if (Fold(static_cast<unsigned char>(at[i])) != static_cast<unsigned char>(mPattern[i]))
                return false;
        return true;
    }

    std::string mPattern;
    PairProbe mProbe;
};

// The search for one key's value, fed with a file's text in parts that each end at a line's end, so a
// large file is read in blocks and the reading stops as soon as the answer is known. Gives what a
// line-by-line reading gives: the first line of key (A-Z folded) in the first section named section.
class ValueSearch {
public:
    ValueSearch(std::string_view section, std::string_view key, bool wide, ProfileForm form)
        : mSection(NameOf(TrimmedName(section), wide, form)), mKey(NameOf(TrimmedName(key), wide, form)),
          mFinder(mKey.value_or(std::string()), wide), mForm(form) {
        // A name with "=" ends before it on every line, so no line holds such a key; nor does a name
        // that no file of the code page can spell.
        mDone = !mSection || !mKey || mKey->find('=') != std::string::npos;
    }

    bool Done() const { return mDone; }
    std::optional<std::string> TakeValue() { return std::move(mValue); }

    // Searches the lines of scan; true once the answer is known.
    bool Feed(ProfileScan& scan) {
        std::size_t pos = scan.Begin();
        while (!mDone && pos < scan.End()) {
            const std::size_t header = NextHeader(scan, pos);
            if (!mInSection) {
                if (header == scan.End())
                    break;
                const ProfileScan::Line line = scan.LineAt(header);
                mInSection = HeaderNames(scan, line, *mSection);
                pos = line.next;
                continue;
            }
            FindKey(scan, pos, header);
            // Only the first section of a name is searched.
            mDone = mDone || header < scan.End();
            pos = header;
        }
        return mDone;
    }

private:
    // Where the next section header's line starts at or after pos (a line's start), or End().
    static std::size_t NextHeader(const ProfileScan& scan, std::size_t pos) {
        const std::string_view data = scan.Data();
        for (std::size_t at = pos; at < scan.End();) {
            const void* hit = std::memchr(data.data() + at, '[', scan.End() - at);
            if (!hit)
                break;
            const auto bracket = static_cast<std::size_t>(static_cast<const char*>(hit) - data.data());
            at = bracket + 1;
            if ((bracket - scan.Begin()) % scan.UnitSize() != 0 || scan.Unit(bracket) != '[')
                continue;
            const std::size_t start = LineStartBefore(scan, pos, bracket);
            if (start != std::string_view::npos)
                return start;
        }
        return scan.End();
    }

    // The start of the line when only blanks come before at on it, else npos. pos is a line's start.
    static std::size_t LineStartBefore(const ProfileScan& scan, std::size_t pos, std::size_t at) {
        while (at > pos) {
            const std::size_t before = at - scan.UnitSize();
            if (scan.IsBreak(before))
                return at;
            if (scan.Unit(before) > 32)
                return std::string_view::npos;
            at = before;
        }
        return at;
    }

    // Sets the value when the key's line is in [pos, to).
    void FindKey(ProfileScan& scan, std::size_t pos, std::size_t to) {
        if (mFinder.Size() == 0) // an empty name is matched by lines that start with "="
            return FindKeyLineByLine(scan, pos, to);
        for (std::size_t hit = mFinder.Find(scan.Data(), pos, to); hit != std::string_view::npos;
             hit = mFinder.Find(scan.Data(), hit + 1, to)) {
            if ((hit - scan.Begin()) % scan.UnitSize() != 0)
                continue;
            const std::size_t start = LineStartBefore(scan, pos, hit);
            if (start != std::string_view::npos && TakeLine(scan, scan.LineAt(start)))
                return;
        }
    }

    void FindKeyLineByLine(ProfileScan& scan, std::size_t pos, std::size_t to) {
        while (pos < to) {
            const ProfileScan::Line line = scan.LineAt(pos);
            if (TakeLine(scan, line))
                return;
            pos = line.next;
        }
    }

    bool TakeLine(const ProfileScan& scan, const ProfileScan::Line& line) {
        const std::size_t eq = KeyEquals(scan, line, *mKey);
        if (eq == std::string_view::npos)
            return false;
        mValue = ValueAfter(scan, line, eq, mForm);
        mDone = true;
        return true;
    }

    std::optional<std::string> mSection;
    std::optional<std::string> mKey;
    KeyFinder mFinder;
    ProfileForm mForm;
    bool mInSection = false;
    bool mDone = false;
    std::optional<std::string> mValue;
};

// Where the last complete line of data ends (after its line break), searching only from `from` on;
// 0 when no line break is there.
std::size_t LastLineEnd(std::string_view data, std::size_t from, bool wide) {
    const std::size_t unit = wide ? 2 : 1;
    std::size_t end = wide ? data.size() - data.size() % 2 : data.size();
    from -= from % unit;
    while (end > from) {
        const std::size_t at = end - unit;
        const char c = data[at];
        if ((c == '\r' || c == '\n') && (!wide || data[at + 1] == '\0'))
            return end;
        end = at;
    }
    return 0;
}

// One change of a file's bytes: [pos, pos + length) is replaced by text.
struct Edit {
    std::size_t pos = 0;
    std::size_t length = 0;
    std::string text;
};

// The change that writing key=value into section makes to bytes; std::nullopt when the file's encoding
// cannot hold the names or the value.
std::optional<Edit> PlanWrite(std::string_view bytes, std::string_view sectionText, std::string_view keyText,
                              std::string_view valueText, ProfileForm form) {
    ProfileScan scan(bytes);
    const std::optional<std::string> sectionName = NameOf(TrimmedName(sectionText), scan.Wide(), form);
    const std::optional<std::string> keyName = NameOf(TrimmedName(keyText), scan.Wide(), form);
    const std::optional<std::string> value = EncodeValue(valueText, scan.Wide(), form);
    if (!sectionName || !keyName || !value)
        return std::nullopt;
    const std::string_view section = *sectionName;
    const std::string_view key = *keyName;
    const std::string crlf = scan.Encode("\r\n");
    bool inSection = false;
    bool found = false;
    std::size_t insertAt = 0;      // after the section's last key line, or after its header
    bool insertNeedsBreak = false; // that line ends the file without a line break
    for (std::size_t pos = scan.Begin(); pos < scan.End();) {
        const ProfileScan::Line line = scan.LineAt(pos);
        pos = line.next;
        if (IsSectionHeader(scan, line)) {
            if (inSection)
                break;
            if (!found && HeaderNames(scan, line, section)) {
                inSection = found = true;
                insertAt = line.next;
                insertNeedsBreak = line.next == line.end;
            }
            continue;
        }
        if (!inSection || line.trimStart == line.trimEnd || IsComment(scan, line))
            continue;
        const std::size_t eq = KeyEquals(scan, line, key);
        if (eq != std::string_view::npos) {
            std::size_t nameEnd = eq;
            while (nameEnd > line.trimStart && scan.Unit(nameEnd - scan.UnitSize()) <= 32)
                nameEnd -= scan.UnitSize();
            std::string replacement(bytes.substr(line.trimStart, nameEnd - line.trimStart));
            replacement += scan.Encode("=") + *value;
            // Every line written ends with CR LF, the file's last one too.
            if (line.next == line.end)
                replacement += crlf;
            return Edit{line.start, line.end - line.start, std::move(replacement)};
        }
        insertAt = line.next;
        insertNeedsBreak = line.next == line.end;
    }
    const std::string keyLine = scan.Encode(std::string(key) + "=") + *value + crlf;
    if (found)
        return Edit{insertAt, 0, (insertNeedsBreak ? crlf : std::string()) + keyLine};
    const bool endsWithBreak = scan.End() == scan.Begin() || scan.IsBreak(scan.End() - scan.UnitSize());
    std::string header = "[";
    header.append(section).append("]");
    // A stray odd byte at the end of a UTF-16 file is no character; the new section replaces it.
    return Edit{scan.End(), bytes.size() - scan.End(),
                (endsWithBreak ? std::string() : crlf) + scan.Encode(header) + crlf + keyLine};
}

std::string NotInFileEncodingMessage() {
    return "Текст содержит символ, которого нет в кодировке файла";
}

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

} // namespace

std::optional<std::string> ProfileFind(std::string_view bytes, std::string_view section, std::string_view key,
                                       ProfileForm form) {
    ProfileScan scan(bytes);
    ValueSearch search(section, key, scan.Wide(), form);
    search.Feed(scan);
    return search.TakeValue();
}

ProfileKeySet::ProfileKeySet(std::vector<std::string> keys) : mKeys(std::move(keys)) {
    mFirstEqual.reserve(mKeys.size());
    for (std::size_t i = 0; i < mKeys.size(); ++i) {
        const std::string_view name = TrimmedName(mKeys[i]);
        // A name with "=" ends before it on every line, so no line holds such a key.
        if (name.find('=') != std::string_view::npos)
            mFirstEqual.push_back(i);
        else
            mFirstEqual.push_back(mNumbers.try_emplace(name, i).first->second);
    }
}

std::optional<std::size_t> ProfileKeySet::Number(std::string_view name) const {
    const auto found = mNumbers.find(name);
    return found == mNumbers.end() ? std::nullopt : std::optional<std::size_t>(found->second);
}

namespace {

// The name of a key line, [from, to) up to its "=", trimmed, in Windows-1251: the bytes themselves in an
// 8-bit file, converted into buffer in a UTF-16 one. std::nullopt when a unit has no Windows-1251 byte,
// so that no name given can equal it.
std::optional<std::string_view> KeyLineName(const ProfileScan& scan, std::size_t from, std::size_t to,
                                            std::string& buffer) {
    while (to > from && scan.Unit(to - scan.UnitSize()) <= 32)
        to -= scan.UnitSize();
    if (!scan.Wide())
        return scan.Data().substr(from, to - from);
    buffer.clear();
    for (std::size_t pos = from; pos < to; pos += 2) {
        bool lossy = false;
        buffer += UnicodeToCp1251(scan.Unit(pos), &lossy);
        if (lossy)
            return std::nullopt;
    }
    return buffer;
}

// Takes the value of a key line when its key is in the set and not yet found; true when it did.
bool TakeKeyLine(const ProfileScan& scan, const ProfileScan::Line& line, const ProfileKeySet& keys,
                 std::vector<std::optional<std::string>>& values, std::string& buffer) {
    if (line.trimStart == line.trimEnd || IsComment(scan, line))
        return false;
    const std::size_t eq = scan.FindUnit(line.trimStart, line.trimEnd, '=');
    if (eq == line.trimEnd)
        return false;
    const std::optional<std::string_view> name = KeyLineName(scan, line.trimStart, eq, buffer);
    const std::optional<std::size_t> number = name ? keys.Number(*name) : std::nullopt;
    if (!number || values[*number])
        return false;
    values[*number] = ValueAfter(scan, line, eq, ProfileForm::Cp1251);
    return true;
}

} // namespace

ProfileValues ProfileFindKeys(std::string_view bytes, std::string_view section, const ProfileKeySet& keys) {
    ProfileValues found;
    found.values.resize(keys.Size());
    ProfileScan scan(bytes);
    section = TrimmedName(section);
    std::size_t left = keys.Findable();
    std::string buffer;
    bool inSection = false;
    for (std::size_t pos = scan.Begin(); pos < scan.End() && !(inSection && left == 0);) {
        const ProfileScan::Line line = scan.LineAt(pos);
        pos = line.next;
        if (IsSectionHeader(scan, line)) {
            // Only the first section of the name is searched.
            if (inSection)
                break;
            inSection = found.sectionFound = HeaderNames(scan, line, section);
            continue;
        }
        if (inSection && TakeKeyLine(scan, line, keys, found.values, buffer))
            --left;
    }
    for (std::size_t i = 0; i < keys.Size(); ++i)
        if (keys.FirstEqual(i) != i)
            found.values[i] = found.values[keys.FirstEqual(i)];
    return found;
}

ProfileText::ProfileText(std::string bytes) : mBytes(std::move(bytes)) {}

ProfileText ProfileText::Load(const std::string& path) {
    return ProfileText(TryReadWholeFile(path).value_or(std::string()));
}

std::optional<std::string> ProfileText::Find(std::string_view section, std::string_view key) const {
    return ProfileFind(mBytes, section, key);
}

bool ProfileText::HasSection(std::string_view section) const {
    ProfileScan scan(mBytes);
    section = TrimmedName(section);
    for (std::size_t pos = scan.Begin(); pos < scan.End();) {
        const ProfileScan::Line line = scan.LineAt(pos);
        if (IsSectionHeader(scan, line) && HeaderNames(scan, line, section))
            return true;
        pos = line.next;
    }
    return false;
}

std::string ProfileText::Get(std::string_view section, std::string_view key,
                             std::string_view defaultValue) const {
    return Find(section, key).value_or(TrimmedDefault(defaultValue));
}

std::optional<std::string> ProfileFindInFile(const std::string& path, std::string_view section,
                                             std::string_view key, std::size_t blockSize, ProfileForm form) {
    BlockReader reader(blockSize);
    if (!reader.Open(path))
        return std::nullopt;
    std::optional<ValueSearch> search;
    bool wide = false;
    std::size_t scanned = 0; // bytes of Data() known to hold no line break
    for (bool more = true; more;) {
        more = reader.ReadMore();
        std::string_view data = reader.Data();
        if (!search) {
            if (more && data.size() < 2)
                continue;
            wide = ProfileScan::HasWideMark(data);
            if (wide)
                reader.Consume(2);
            data = reader.Data();
            search.emplace(section, key, wide, form);
        }
        // Whole lines only, but all of the rest at the end of the file.
        const std::size_t cut = more ? LastLineEnd(data, scanned, wide) : data.size();
        scanned = data.size();
        if (cut == 0)
            continue;
        ProfileScan scan(data.substr(0, cut), wide);
        if (search->Feed(scan))
            break;
        reader.Consume(cut);
        scanned -= cut;
    }
    if (reader.Failed() || !search)
        return std::nullopt;
    return search->TakeValue();
}

std::string ProfileGetString(const std::string& path, std::string_view section, std::string_view key,
                             std::string_view defaultValue, ProfileForm form) {
    return ProfileFindInFile(path, section, key, 256 * 1024, form).value_or(TrimmedDefault(defaultValue));
}

ProfileKeyProblem CheckProfileKey(std::string_view key) {
    key = TrimmedName(key);
    if (HasLineBreak(key))
        return ProfileKeyProblem::LineBreak;
    if (key.empty())
        return ProfileKeyProblem::Empty;
    if (key.find('=') != std::string_view::npos)
        return ProfileKeyProblem::Equals;
    if (key.front() == ';')
        return ProfileKeyProblem::Comment;
    if (key.front() == '[')
        return ProfileKeyProblem::Bracket;
    return ProfileKeyProblem::None;
}

std::optional<std::string> ProfileKeyProblemMessage(ProfileKeyProblem problem, std::string_view subject,
                                                    std::string_view name) {
    const std::string quoted = std::string(subject) + " \"" + std::string(name) + "\"";
    switch (problem) {
    case ProfileKeyProblem::None:
        break;
    case ProfileKeyProblem::Empty:
        return std::string(subject) + " не задан";
    case ProfileKeyProblem::LineBreak:
        return std::string(subject) + " не может содержать перевод строки";
    case ProfileKeyProblem::Equals:
        return quoted + " не может содержать \"=\"";
    case ProfileKeyProblem::Comment:
        return quoted + " не может начинаться с \";\"";
    case ProfileKeyProblem::Bracket:
        return quoted + " не может начинаться с \"[\"";
    }
    return std::nullopt;
}

std::optional<std::string> ProfileWriteProblem(std::string_view section, std::string_view key,
                                               std::string_view value, ProfileForm form) {
    // The names are quoted as UTF-8, as every message of the program is.
    const auto shown = [form](std::string_view name) {
        return form == ProfileForm::Cp1251 ? Cp1251ToUtf8(name) : std::string(name);
    };
    if (HasLineBreak(section))
        return "Имя раздела не может содержать перевод строки";
    if (TrimmedName(section).find(']') != std::string_view::npos)
        return "Имя раздела \"" + shown(TrimmedName(section)) + "\" не может содержать \"]\"";
    if (std::optional<std::string> problem =
            ProfileKeyProblemMessage(CheckProfileKey(key), "Ключ", shown(TrimmedName(key))))
        return problem;
    if (HasLineBreak(value))
        return "Значение не может содержать перевод строки";
    return std::nullopt;
}

ProfileChange::ProfileChange(std::string_view bytes, std::string_view section,
                             const std::vector<std::pair<std::string, std::string>>& keyValues,
                             ProfileForm form)
    : mPieces{bytes, {}, {}} {
    // Each key's change is kept as three pieces around the file's own bytes, so a one-key write into a
    // large table copies nothing before writing; only a further key needs the earlier result joined.
    std::string_view current = bytes;
    for (std::size_t i = 0; i < keyValues.size(); ++i) {
        if (i > 0) {
            std::string next;
            next.reserve(mPieces[0].size() + mPieces[1].size() + mPieces[2].size());
            next.append(mPieces[0]).append(mPieces[1]).append(mPieces[2]);
            mJoined.swap(next);
            current = mJoined;
        }
        std::optional<Edit> edit = PlanWrite(current, section, keyValues[i].first, keyValues[i].second, form);
        if (!edit) {
            mPossible = false;
            mPieces = {bytes, {}, {}};
            return;
        }
        mText = std::move(edit->text);
        mPieces = {current.substr(0, edit->pos), mText, current.substr(edit->pos + edit->length)};
    }
}

bool ProfileWriteString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value, std::string* reason, ProfileForm form) {
    return ProfileWriteStrings(path, section, {{std::string(key), std::string(value)}}, reason, form);
}

bool ProfileWriteStrings(const std::string& path, std::string_view section,
                         const std::vector<std::pair<std::string, std::string>>& keyValues,
                         std::string* reason, ProfileForm form) {
    for (const auto& [key, value] : keyValues) {
        if (std::optional<std::string> problem = ProfileWriteProblem(section, key, value, form)) {
            if (reason)
                *reason = std::move(*problem);
            return false;
        }
    }
    std::optional<ProfileChange> change;
    const bool written = UpdateFileAtomic(
        path,
        [&](const std::optional<std::string>& current) -> std::optional<FilePieces> {
            change.emplace(current ? std::string_view(*current) : std::string_view(), section, keyValues,
                           form);
            return change->Possible() ? std::optional<FilePieces>(change->Pieces()) : std::nullopt;
        },
        reason);
    if (written && change && !change->Possible()) {
        if (reason)
            *reason = NotInFileEncodingMessage();
        return false;
    }
    return written;
}

} // namespace pw
