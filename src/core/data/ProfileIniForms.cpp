#include "core/data/ProfileIniDetail.h"

#include "core/data/Cp1251.h"
#include "core/data/FileIO.h"
#include "core/data/Platform.h"
#include "core/data/TableEncoding.h"

namespace pw::profile_detail {
namespace {

// Where the UTF-8 text [from, to) of data ends after its first limit characters.
std::size_t AfterCharacters(std::string_view data, std::size_t from, std::size_t to, std::size_t limit) {
    for (std::size_t at = from; at < to; ++at)
        if ((static_cast<unsigned char>(data[at]) & 0xC0) != 0x80 && limit-- == 0)
            return at;
    return to;
}

// The units [from, to) of a value without one pair of enclosing quotes and cut to the longest value a
// read returns: a UTF-16 value cut in units, so it is not cut inside the UTF-8 it becomes, and a UTF-8
// value in characters.
void CleanValue(const ProfileScan& scan, std::size_t& from, std::size_t& to) {
    const std::size_t unit = scan.UnitSize();
    if (to - from >= 2 * unit && (scan.Unit(from) == '"' || scan.Unit(from) == '\'') &&
        scan.Unit(to - unit) == scan.Unit(from)) {
        from += unit;
        to -= unit;
    }
    if (IsUtf8(scan.Encoding()))
        to = AfterCharacters(scan.Data(), from, to, kProfileValueLimit);
    else if ((to - from) / unit > kProfileValueLimit)
        to = from + kProfileValueLimit * unit;
}

// A value's bytes as the caller takes them. A character the code page lacks comes back as "?", as the
// Windows functions give it from a UTF-16 file.
std::string DecodeValue(std::string_view bytes, TextEncoding encoding, ProfileForm form) {
    if (encoding == TextEncoding::Utf16LeBom)
        return form == ProfileForm::Cp1251 ? Utf16LeToCp1251(bytes) : Utf16LeToUtf8(bytes);
    if (IsUtf8(encoding))
        return form == ProfileForm::Cp1251 ? Utf8ToCp1251(bytes) : std::string(bytes);
    if (form == ProfileForm::BytesOrUtf8)
        return platform::SystemCodePageToUtf8(bytes);
    return form == ProfileForm::Utf8 ? Cp1251ToUtf8(bytes) : std::string(bytes);
}

bool IsValidUtf8(std::string_view text) {
    Utf8Validator validator;
    validator.Feed(text);
    return validator.Valid();
}

} // namespace

TextEncoding EncodingOf(std::string_view bytes, ProfileDialect dialect) {
    if (dialect == ProfileDialect::StringTable)
        return DetectTableEncoding(bytes);
    return bytes.starts_with(MarkOf(TextEncoding::Utf16LeBom)) ? TextEncoding::Utf16LeBom
                                                               : TextEncoding::Ansi;
}

TextEncoding EncodingOfFile(const std::string& path, ProfileDialect dialect) {
    if (dialect == ProfileDialect::StringTable)
        return DetectTableEncodingOfFile(path);
    BlockReader reader(64);
    return reader.Open(path) && reader.ReadMore() ? EncodingOf(reader.Data(), dialect) : TextEncoding::Ansi;
}

std::optional<std::string> EncodeValue(std::string_view text, TextEncoding encoding, ProfileForm form) {
    if (encoding == TextEncoding::Utf16LeBom)
        return form == ProfileForm::Cp1251 ? Cp1251ToUtf16Le(text) : Utf8ToUtf16Le(text);
    if (IsUtf8(encoding)) {
        if (form == ProfileForm::Cp1251)
            return Cp1251ToUtf8(text);
        return IsValidUtf8(text) ? std::optional<std::string>(text) : std::nullopt;
    }
    if (form == ProfileForm::BytesOrUtf8)
        return platform::Utf8ToSystemCodePage(text);
    return form == ProfileForm::Utf8 ? Utf8ToCp1251Exact(text) : std::string(text);
}

std::optional<std::string> NameOf(std::string_view name, TextEncoding encoding, ProfileForm form) {
    const bool wide = encoding == TextEncoding::Utf16LeBom;
    if (IsUtf8(encoding)) {
        if (form == ProfileForm::Cp1251)
            return Cp1251ToUtf8(name);
        return Utf8ToCp1251Exact(name) ? std::optional<std::string>(name) : std::nullopt;
    }
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
    return DecodeValue(scan.Data().substr(from, to - from), scan.Encoding(), form);
}

std::string WholeValueAfter(const ProfileScan& scan, const ProfileScan::Line& line, std::size_t eq,
                            ProfileForm form) {
    std::size_t from = eq + scan.UnitSize();
    while (from < line.trimEnd && scan.Unit(from) <= 32)
        from += scan.UnitSize();
    return DecodeValue(scan.Data().substr(from, line.trimEnd - from), scan.Encoding(), form);
}

std::string_view TrimmedName(std::string_view name) {
    while (!name.empty() && static_cast<unsigned char>(name.front()) <= 32)
        name.remove_prefix(1);
    while (!name.empty() && static_cast<unsigned char>(name.back()) <= 32)
        name.remove_suffix(1);
    return name;
}

} // namespace pw::profile_detail
