#include "core/data/ProfileIni.h"

#include "core/data/Cp1251.h"
#include "core/data/ProfileIniDetail.h"

#include <algorithm>

namespace pw {

using profile_detail::EncodeValue;
using profile_detail::EncodingOf;
using profile_detail::HeaderNames;
using profile_detail::IsComment;
using profile_detail::IsSectionHeader;
using profile_detail::NameOf;
using profile_detail::ProfileScan;
using profile_detail::TrimmedName;
using profile_detail::ValueAfter;

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

// The name of a key line, [from, to) up to its "=", trimmed, in Windows-1251: the bytes themselves in a
// Windows-1251 file, converted into buffer in a UTF-16 or UTF-8 one. std::nullopt when a character has
// no Windows-1251 byte, so that no name given can equal it.
std::optional<std::string_view> KeyLineName(const ProfileScan& scan, std::size_t from, std::size_t to,
                                            std::string& buffer) {
    while (to > from && scan.Unit(to - scan.UnitSize()) <= 32)
        to -= scan.UnitSize();
    const std::string_view bytes = scan.Data().substr(from, to - from);
    if (IsUtf8(scan.Encoding()) && std::any_of(bytes.begin(), bytes.end(), [](char c) { return c & 0x80; })) {
        std::optional<std::string> name = Utf8ToCp1251Exact(bytes);
        if (!name)
            return std::nullopt;
        buffer = std::move(*name);
        return buffer;
    }
    if (!scan.Wide())
        return bytes;
    buffer.clear();
    for (std::size_t pos = from; pos < to; pos += 2) {
        bool lossy = false;
        buffer += UnicodeToCp1251(scan.Unit(pos), &lossy);
        if (lossy)
            return std::nullopt;
    }
    return buffer;
}

// Takes the value of a key line when its key is in the set and not yet found; the key's number when it did.
std::optional<std::size_t> TakeKeyLine(const ProfileScan& scan, const ProfileScan::Line& line,
                                       const ProfileKeySet& keys,
                                       std::vector<std::optional<std::string>>& values, std::string& buffer) {
    if (line.trimStart == line.trimEnd || IsComment(scan, line))
        return std::nullopt;
    const std::size_t eq = scan.FindUnit(line.trimStart, line.trimEnd, '=');
    if (eq == line.trimEnd)
        return std::nullopt;
    const std::optional<std::string_view> name = KeyLineName(scan, line.trimStart, eq, buffer);
    const std::optional<std::size_t> number = name ? keys.Number(*name) : std::nullopt;
    if (!number || values[*number])
        return std::nullopt;
    values[*number] = ValueAfter(scan, line, eq, ProfileForm::Cp1251);
    return number;
}

} // namespace

ProfileValues ProfileFindKeys(std::string_view bytes, std::string_view section, const ProfileKeySet& keys,
                              ProfileDialect dialect) {
    ProfileValues found;
    found.values.resize(keys.Size());
    found.lines.resize(keys.Size());
    ProfileScan scan(bytes, EncodingOf(bytes, dialect));
    const std::string sectionName =
        NameOf(TrimmedName(section), scan.Encoding(), ProfileForm::Cp1251).value();
    section = sectionName;
    std::size_t left = keys.Findable();
    std::string buffer;
    bool inSection = false;
    std::size_t number = 0; // of the line
    for (std::size_t pos = scan.Begin(); pos < scan.End() && !(inSection && left == 0);) {
        const ProfileScan::Line line = scan.LineAt(pos);
        pos = line.next;
        ++number;
        if (IsSectionHeader(scan, line)) {
            // Only the first section of the name is searched.
            if (inSection)
                break;
            inSection = found.sectionFound = HeaderNames(scan, line, section);
            found.sectionLine = inSection ? number : 0;
            continue;
        }
        if (!inSection)
            continue;
        if (const std::optional<std::size_t> key = TakeKeyLine(scan, line, keys, found.values, buffer)) {
            found.lines[*key] = number;
            --left;
        }
    }
    for (std::size_t i = 0; i < keys.Size(); ++i)
        if (keys.FirstEqual(i) != i) {
            found.values[i] = found.values[keys.FirstEqual(i)];
            found.lines[i] = found.lines[keys.FirstEqual(i)];
        }
    return found;
}

ProfileRemoval::ProfileRemoval(std::string_view bytes, std::string_view section,
                               const std::vector<std::pair<std::string, std::string>>& keyValues,
                               ProfileDialect dialect)
    : mRemoved(keyValues.size()) {
    const TextEncoding encoding = EncodingOf(bytes, dialect);
    ProfileScan scan(bytes, encoding);
    std::vector<std::string> names;
    for (const auto& entry : keyValues)
        names.push_back(entry.first);
    const ProfileKeySet keys(std::move(names));
    std::vector<bool> seen(keyValues.size());
    const std::string sectionName = NameOf(TrimmedName(section), encoding, ProfileForm::Cp1251).value();
    std::string buffer;
    bool inSection = false;
    std::size_t copied = 0;
    for (std::size_t pos = scan.Begin(); pos < scan.End();) {
        const ProfileScan::Line line = scan.LineAt(pos);
        pos = line.next;
        if (IsSectionHeader(scan, line)) {
            if (inSection)
                break; // only the first section of the name is read, and written
            inSection = HeaderNames(scan, line, sectionName);
            continue;
        }
        if (!inSection || line.trimStart == line.trimEnd || IsComment(scan, line))
            continue;
        const std::size_t eq = scan.FindUnit(line.trimStart, line.trimEnd, '=');
        const std::optional<std::string_view> name =
            eq == line.trimEnd ? std::nullopt : KeyLineName(scan, line.trimStart, eq, buffer);
        const std::optional<std::size_t> number = name ? keys.Number(*name) : std::nullopt;
        if (!number || seen[*number])
            continue;
        seen[*number] = true;
        const auto& [key, value] = keyValues[*number];
        const std::string written =
            scan.Encode(NameOf(TrimmedName(key), encoding, ProfileForm::Cp1251).value() + "=") +
            EncodeValue(value, encoding, ProfileForm::Cp1251).value();
        if (scan.Data().substr(line.start, line.end - line.start) != written)
            continue;
        mRemoved[*number] = true;
        mPieces.push_back(bytes.substr(copied, line.start - copied));
        copied = line.next;
    }
    mPieces.push_back(bytes.substr(copied));
}

} // namespace pw
