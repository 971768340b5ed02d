#include "core/data/ProfileIni.h"

#include "core/data/Cp1251.h"
#include "core/data/FileIO.h"
#include "core/data/PairProbe.h"
#include "core/data/ProfileIniDetail.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace pw {

using profile_detail::EncodingOf;
using profile_detail::EncodingOfFile;
using profile_detail::HeaderNames;
using profile_detail::IsSectionHeader;
using profile_detail::KeyEquals;
using profile_detail::LastLineEnd;
using profile_detail::NameOf;
using profile_detail::ProfileScan;
using profile_detail::TrimmedName;
using profile_detail::ValueAfter;
using profile_detail::ValueSearch;

namespace {

std::string TrimmedDefault(std::string_view defaultValue) {
    while (!defaultValue.empty() && defaultValue.back() == ' ')
        defaultValue.remove_suffix(1);
    return std::string(defaultValue);
}

unsigned char Fold(unsigned char c) {
    return (c >= 'a' && c <= 'z') ? c - 32 : c;
}

std::string KeyPattern(std::string_view key, bool wide) {
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
PairProbe KeyProbe(const std::string& pattern, std::size_t unit) {
    if (pattern.empty())
        return PairProbe(0, 0, 0, 0);
    const std::size_t b = pattern.size() - unit;
    const std::size_t a = b >= unit ? b - unit : b;
    return PairProbe(static_cast<unsigned char>(pattern[a]), a, static_cast<unsigned char>(pattern[b]), b);
}

// The start of the line when only blanks come before at on it, else npos. pos is a line's start.
std::size_t LineStartBefore(const ProfileScan& scan, std::size_t pos, std::size_t at) {
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

// Where the next section header's line starts at or after pos (a line's start), or End().
std::size_t NextHeader(const ProfileScan& scan, std::size_t pos) {
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

} // namespace

namespace profile_detail {

// Sixteen positions at a time are tested for the key's last two characters (the part of an ID that tells
// it from its neighbours, which often share its start), and only positions that pass are compared in
// full; that holds its pace whatever the lines look like (Latin words that share the key's letters, long
// shared prefixes, short lines). In a UTF-16 file the low bytes of the key's units are probed; the caller
// checks that a hit starts on a unit and matches unit by unit.
KeyFinder::KeyFinder(std::string_view key, bool wide)
    : mPattern(KeyPattern(key, wide)), mProbe(KeyProbe(mPattern, wide ? 2 : 1)) {}

std::size_t KeyFinder::Find(std::string_view data, std::size_t from, std::size_t to) const {
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

// Compared from the end, where keys that share a start differ.
bool KeyFinder::Matches(const char* at) const {
    for (std::size_t i = mPattern.size(); i-- > 0;)
        if (Fold(static_cast<unsigned char>(at[i])) != static_cast<unsigned char>(mPattern[i]))
            return false;
    return true;
}

ValueSearch::ValueSearch(std::string_view section, std::string_view key, TextEncoding encoding,
                         ProfileForm form)
    : mSection(NameOf(TrimmedName(section), encoding, form)), mKey(NameOf(TrimmedName(key), encoding, form)),
      mFinder(mKey.value_or(std::string()), encoding == TextEncoding::Utf16LeBom), mForm(form) {
    // No file of the code page can spell such a name.
    mDone = !mSection || !mKey;
}

bool ValueSearch::Feed(ProfileScan& scan) {
    mSectionBegin = mInSection ? scan.Begin() : std::string_view::npos;
    mSectionEnd = scan.End();
    mFound.reset();
    std::size_t pos = scan.Begin();
    while (!mDone && pos < scan.End()) {
        const std::size_t header = NextHeader(scan, pos);
        if (!mInSection) {
            if (header == scan.End())
                break;
            const ProfileScan::Line line = scan.LineAt(header);
            mInSection = HeaderNames(scan, line, *mSection);
            pos = line.next;
            if (mInSection)
                mSectionBegin = pos;
            continue;
        }
        FindKey(scan, pos, header);
        // Only the first section of a name is searched.
        if (!mDone && header < scan.End()) {
            mDone = true;
            mSectionEnd = header;
        }
        pos = header;
    }
    return mDone;
}

// Sets the value when the key's line is in [pos, to).
void ValueSearch::FindKey(ProfileScan& scan, std::size_t pos, std::size_t to) {
    // A name with "=" ends before it on every line, so no line holds such a key.
    if (mKey->find('=') != std::string::npos)
        return;
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

void ValueSearch::FindKeyLineByLine(ProfileScan& scan, std::size_t pos, std::size_t to) {
    while (pos < to) {
        const ProfileScan::Line line = scan.LineAt(pos);
        if (TakeLine(scan, line))
            return;
        pos = line.next;
    }
}

bool ValueSearch::TakeLine(const ProfileScan& scan, const ProfileScan::Line& line) {
    const std::size_t eq = KeyEquals(scan, line, *mKey);
    if (eq == std::string_view::npos)
        return false;
    mValue = ValueAfter(scan, line, eq, mForm);
    mFound = KeyLine{line, eq};
    mDone = true;
    return true;
}

std::size_t LastLineEnd(std::string_view data, std::size_t from, bool wide) {
    const std::size_t unit = wide ? 2 : 1;
    const std::size_t size = data.size() - data.size() % unit;
    from -= from % unit;
    for (std::size_t end = size; end > from; end -= unit) {
        const std::size_t at = end - unit;
        if (wide && data[at + 1] != '\0')
            continue;
        if (data[at] == '\n' || (data[at] == '\r' && end < size))
            return end;
    }
    return 0;
}

} // namespace profile_detail

std::optional<std::string> ProfileFind(std::string_view bytes, std::string_view section, std::string_view key,
                                       ProfileForm form, ProfileDialect dialect) {
    ProfileScan scan(bytes, EncodingOf(bytes, dialect));
    ValueSearch search(section, key, scan.Encoding(), form);
    search.Feed(scan);
    return search.TakeValue();
}

ProfileText::ProfileText(std::string bytes) : mBytes(std::move(bytes)) {}

ProfileText ProfileText::Load(const std::string& path) {
    return ProfileText(TryReadWholeFile(path).value_or(std::string()));
}

std::optional<std::string> ProfileText::Find(std::string_view section, std::string_view key) const {
    return ProfileFind(mBytes, section, key);
}

bool ProfileText::HasSection(std::string_view section) const {
    ProfileScan scan(mBytes, EncodingOf(mBytes, ProfileDialect::Profile));
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

namespace {

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The search of ProfileFindInFile in a file of a known encoding. With utf8, every byte of the file after
// the mark is checked for UTF-8 on the way: all the bytes the search reads, and the rest of the file only
// when the value found goes beyond ASCII and the bytes so far were UTF-8, so that a Windows-1251 table is
// read once.
std::optional<std::string> FindInFile(const std::string& path, std::string_view section, std::string_view key,
                                      std::size_t blockSize, ProfileForm form, TextEncoding encoding,
                                      Utf8Validator* utf8 = nullptr) {
    const bool wide = encoding == TextEncoding::Utf16LeBom;
    BlockReader reader(blockSize);
    if (!reader.Open(path))
        return std::nullopt;
    std::optional<ValueSearch> search;
    std::size_t scanned = 0; // bytes of Data() known to hold no line break
    bool more = true;
    while (more) {
        more = reader.ReadMore();
        std::string_view data = reader.Data();
        if (!search) {
            const std::size_t mark = MarkOf(encoding).size();
            if (more && data.size() < mark)
                continue;
            reader.Consume(std::min(mark, data.size()));
            data = reader.Data();
            search.emplace(section, key, encoding, form);
        }
        // Whole lines only, but all of the rest at the end of the file.
        const std::size_t cut = more ? LastLineEnd(data, scanned, wide) : data.size();
        scanned = data.size();
        if (cut == 0)
            continue;
        ProfileScan scan(data.substr(0, cut), encoding, 0);
        if (search->Feed(scan))
            break;
        if (utf8)
            utf8->Feed(data.substr(0, cut));
        reader.Consume(cut);
        scanned -= cut;
    }
    if (!search)
        return std::nullopt;
    std::optional<std::string> value = search->TakeValue();
    if (utf8 && value && !IsAscii(*value)) {
        // The rest of the file, which the search did not need.
        bool valid = utf8->Feed(reader.Data());
        while (valid && more) {
            reader.Consume(reader.Data().size());
            more = reader.ReadMore();
            valid = utf8->Feed(reader.Data());
        }
    }
    if (reader.Failed())
        return std::nullopt;
    return value;
}

} // namespace

std::optional<std::string> ProfileFindInFile(const std::string& path, std::string_view section,
                                             std::string_view key, std::size_t blockSize, ProfileForm form,
                                             ProfileDialect dialect) {
    if (dialect == ProfileDialect::Profile)
        return FindInFile(path, section, key, blockSize, form, EncodingOfFile(path, dialect));
    BlockReader head(64);
    if (head.Open(path) && head.ReadMore())
        if (const std::optional<TextEncoding> marked = EncodingByMark(head.Data()))
            return FindInFile(path, section, key, blockSize, form, *marked);
    // Without a mark, ASCII reads the same in Windows-1251 and in UTF-8, so the file is read as Windows-1251
    // and its bytes checked for UTF-8 on the way; it is read again only when it is UTF-8 beyond ASCII.
    if (!IsAscii(section) || !IsAscii(key))
        return FindInFile(path, section, key, blockSize, form, DetectTableEncodingOfFile(path));
    Utf8Validator utf8;
    std::optional<std::string> value =
        FindInFile(path, section, key, blockSize, form, TextEncoding::Ansi, &utf8);
    if (!value || IsAscii(*value) || !utf8.Valid() || !utf8.NonAscii())
        return value;
    return FindInFile(path, section, key, blockSize, form, TextEncoding::Utf8);
}

std::string ProfileGetString(const std::string& path, std::string_view section, std::string_view key,
                             std::string_view defaultValue, ProfileForm form) {
    return ProfileFindInFile(path, section, key, 256 * 1024, form).value_or(TrimmedDefault(defaultValue));
}

} // namespace pw
