#include "core/data/ProfileIniDetail.h"

#include "core/data/Cp1251.h"
#include "core/data/Platform.h"

namespace pw::profile_detail {
namespace {

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

} // namespace

std::optional<std::string> EncodeValue(std::string_view text, bool wide, ProfileForm form) {
    if (wide)
        return form == ProfileForm::Cp1251 ? Cp1251ToUtf16Le(text) : Utf8ToUtf16Le(text);
    if (form == ProfileForm::BytesOrUtf8)
        return platform::Utf8ToSystemCodePage(text);
    return form == ProfileForm::Utf8 ? Utf8ToCp1251Exact(text) : std::string(text);
}

std::optional<std::string> NameOf(std::string_view name, bool wide, ProfileForm form) {
    if (form == ProfileForm::Utf8 || (form == ProfileForm::BytesOrUtf8 && wide))
        return Utf8ToCp1251Exact(name);
    if (form == ProfileForm::BytesOrUtf8)
        return platform::Utf8ToSystemCodePage(name);
    return std::string(name);
}

std::string ValueAfter(const ProfileScan& scan, const ProfileScan::Line& line, std::size_t eq,
                       ProfileForm form) {
    std::size_t from = eq + scan.UnitSize();
    while (from < line.trimEnd && scan.Unit(from) <= 32)
        from += scan.UnitSize();
    std::size_t to = line.trimEnd;
    CleanValue(scan, from, to);
    return DecodeValue(scan.Data().substr(from, to - from), scan.Wide(), form);
}

std::string WholeValueAfter(const ProfileScan& scan, const ProfileScan::Line& line, std::size_t eq,
                            ProfileForm form) {
    std::size_t from = eq + scan.UnitSize();
    while (from < line.trimEnd && scan.Unit(from) <= 32)
        from += scan.UnitSize();
    return DecodeValue(scan.Data().substr(from, line.trimEnd - from), scan.Wide(), form);
}

std::string_view TrimmedName(std::string_view name) {
    while (!name.empty() && static_cast<unsigned char>(name.front()) <= 32)
        name.remove_prefix(1);
    while (!name.empty() && static_cast<unsigned char>(name.back()) <= 32)
        name.remove_suffix(1);
    return name;
}

} // namespace pw::profile_detail
