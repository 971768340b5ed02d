#include "data/ProfileIni.h"

#include "data/Cp1251.h"
#include "data/FileIO.h"

#include <array>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pw {
namespace {

// A profile file's text, 8-bit or UTF-16LE with its byte-order mark, scanned in place: positions are
// byte offsets and a "unit" is one byte or one UTF-16 code unit. Nothing is decoded except the values
// that are returned, so a lookup in a large UTF-16 table costs no more than one pass over its bytes.
class ProfileScan {
public:
    explicit ProfileScan(std::string_view bytes)
        : mData(bytes), mWide(bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
                              static_cast<unsigned char>(bytes[1]) == 0xFE),
          mUnit(mWide ? 2 : 1), mBegin(mWide ? 2 : 0),
          mEnd(mWide ? bytes.size() - (bytes.size() % 2) : bytes.size()) {}

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

    // The 8-bit text of the units [from, to).
    std::string Text(std::size_t from, std::size_t to) const {
        const std::string_view bytes = mData.substr(from, to - from);
        return mWide ? Utf16LeToCp1251(bytes) : std::string(bytes);
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

std::string CleanValue(std::string value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    if (value.size() > kProfileValueLimit)
        value.resize(kProfileValueLimit);
    return value;
}

std::string_view TrimmedName(std::string_view name) {
    while (!name.empty() && static_cast<unsigned char>(name.front()) <= 32)
        name.remove_prefix(1);
    while (!name.empty() && static_cast<unsigned char>(name.back()) <= 32)
        name.remove_suffix(1);
    return name;
}

std::optional<std::string> FindValue(std::string_view bytes, std::string_view section, std::string_view key) {
    section = TrimmedName(section);
    key = TrimmedName(key);
    ProfileScan scan(bytes);
    bool inSection = false;
    for (std::size_t pos = scan.Begin(); pos < scan.End();) {
        const ProfileScan::Line line = scan.LineAt(pos);
        pos = line.next;
        if (IsSectionHeader(scan, line)) {
            if (inSection)
                return std::nullopt; // only the first section of a name is searched
            inSection = HeaderNames(scan, line, section);
            continue;
        }
        if (!inSection)
            continue;
        const std::size_t eq = KeyEquals(scan, line, key);
        if (eq == std::string_view::npos)
            continue;
        std::size_t from = eq + scan.UnitSize();
        while (from < line.trimEnd && scan.Unit(from) <= 32)
            from += scan.UnitSize();
        return CleanValue(scan.Text(from, line.trimEnd));
    }
    return std::nullopt;
}

// One change of a file's bytes: [pos, pos + length) is replaced by text.
struct Edit {
    std::size_t pos = 0;
    std::size_t length = 0;
    std::string text;
};

// The change that writing key=value into section makes to bytes.
Edit PlanWrite(std::string_view bytes, std::string_view section, std::string_view key,
               std::string_view value) {
    section = TrimmedName(section);
    key = TrimmedName(key);
    ProfileScan scan(bytes);
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
            replacement += scan.Encode("=") + scan.Encode(value);
            return {line.start, line.end - line.start, std::move(replacement)};
        }
        insertAt = line.next;
        insertNeedsBreak = line.next == line.end;
    }
    const std::string keyLine = scan.Encode(std::string(key) + "=" + std::string(value)) + crlf;
    if (found)
        return {insertAt, 0, (insertNeedsBreak ? crlf : std::string()) + keyLine};
    const bool endsWithBreak = scan.End() == scan.Begin() ||
                               scan.Unit(scan.End() - scan.UnitSize()) == '\n' ||
                               scan.Unit(scan.End() - scan.UnitSize()) == '\r';
    std::string header = "[";
    header.append(section).append("]");
    // A stray odd byte at the end of a UTF-16 file is no character; the new section replaces it.
    return {scan.End(), bytes.size() - scan.End(),
            (endsWithBreak ? std::string() : crlf) + scan.Encode(header) + crlf + keyLine};
}

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

// A read-only view of a whole file, mapped where possible so a large table is not copied. A missing
// file is an empty view; Readable() is false only for a file that exists but cannot be read.
class FileView {
public:
    explicit FileView(const std::string& path) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            mReadable = errno == ENOENT || errno == ENOTDIR;
            return;
        }
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
            void* map = ::mmap(nullptr, static_cast<std::size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
            if (map != MAP_FAILED) {
                mMap = map;
                mSize = static_cast<std::size_t>(st.st_size);
            }
        }
        ::close(fd);
        if (mMap)
            return;
        auto copy = TryReadWholeFile(path);
        mReadable = copy.has_value();
        mCopy = std::move(copy).value_or(std::string());
    }
    ~FileView() {
        if (mMap)
            ::munmap(mMap, mSize);
    }
    FileView(const FileView&) = delete;
    FileView& operator=(const FileView&) = delete;

    bool Readable() const { return mReadable; }
    std::string_view Bytes() const {
        return mMap ? std::string_view(static_cast<const char*>(mMap), mSize) : mCopy;
    }

private:
    void* mMap = nullptr;
    std::size_t mSize = 0;
    std::string mCopy;
    bool mReadable = true;
};

} // namespace

ProfileText::ProfileText(std::string bytes) : mBytes(std::move(bytes)) {}

ProfileText ProfileText::Load(const std::string& path) {
    return ProfileText(TryReadWholeFile(path).value_or(std::string()));
}

std::optional<std::string> ProfileText::Find(std::string_view section, std::string_view key) const {
    return FindValue(mBytes, section, key);
}

std::string ProfileText::Get(std::string_view section, std::string_view key,
                             std::string_view defaultValue) const {
    if (auto value = Find(section, key))
        return *value;
    while (!defaultValue.empty() && defaultValue.back() == ' ')
        defaultValue.remove_suffix(1);
    return std::string(defaultValue);
}

std::string ProfileGetString(const std::string& path, std::string_view section, std::string_view key,
                             std::string_view defaultValue) {
    const FileView file(path);
    if (auto value = FindValue(file.Bytes(), section, key))
        return *value;
    while (!defaultValue.empty() && defaultValue.back() == ' ')
        defaultValue.remove_suffix(1);
    return std::string(defaultValue);
}

bool ProfileWriteString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value) {
    return ProfileWriteStrings(path, section, {{std::string(key), std::string(value)}});
}

bool ProfileWriteStrings(const std::string& path, std::string_view section,
                         const std::vector<std::pair<std::string, std::string>>& keyValues) {
    if (HasLineBreak(section))
        return false;
    for (const auto& [key, value] : keyValues)
        if (HasLineBreak(key) || HasLineBreak(value)) // a line break would forge further lines
            return false;
    if (DirectoryExists(path))
        return false;
    const FileView file(path);
    if (!file.Readable())
        return false;
    // Each key's change is kept as three pieces around the file's own bytes, so a one-key write into a
    // large table copies nothing before writing; only a further key needs the earlier result joined.
    std::string_view current = file.Bytes();
    std::array<std::string_view, 3> pieces = {current, {}, {}};
    std::string joined;
    std::string text;
    for (std::size_t i = 0; i < keyValues.size(); ++i) {
        if (i > 0) {
            std::string next;
            next.reserve(pieces[0].size() + pieces[1].size() + pieces[2].size());
            next.append(pieces[0]).append(pieces[1]).append(pieces[2]);
            joined.swap(next);
            current = joined;
        }
        Edit edit = PlanWrite(current, section, keyValues[i].first, keyValues[i].second);
        text = std::move(edit.text);
        pieces = {current.substr(0, edit.pos), text, current.substr(edit.pos + edit.length)};
    }
    return WriteFileAtomic(path, pieces, nullptr);
}

} // namespace pw
