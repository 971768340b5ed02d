#pragma once
// Our stand-in for the Windows private-profile functions (GetPrivateProfileStringA and
// WritePrivateProfileStringA). Used for .quest files, the settings file, the string table and the
// library search. Files may be 8-bit or UTF-16LE with a byte-order mark: values always come back as
// Windows-1251 bytes, and writes keep a UTF-16LE file in UTF-16LE.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pw {

// The longest value a read returns (the real functions fill a 2048-byte buffer with its terminator).
inline constexpr std::size_t kProfileValueLimit = 2047;

// A file's text held in memory, for callers that read several keys of one file.
class ProfileText {
public:
    ProfileText() = default;
    explicit ProfileText(std::string bytes);
    // A missing or unreadable file gives an empty text, so every read gives its default.
    static ProfileText Load(const std::string& path);

    // The value of key in the first section named section: trimmed, one pair of enclosing quotes
    // removed, cut to 2047 bytes. std::nullopt when the section or key is missing.
    std::optional<std::string> Find(std::string_view section, std::string_view key) const;
    std::string Get(std::string_view section, std::string_view key, std::string_view defaultValue) const;

private:
    std::string mBytes;
};

// One read, as GetPrivateProfileStringA: the default (trailing spaces removed) when the file, section or
// key is missing.
std::string ProfileGetString(const std::string& path, std::string_view section, std::string_view key,
                             std::string_view defaultValue);

// One write, as WritePrivateProfileStringA, made atomic. Returns false when the file cannot be written
// (missing folder, target is a folder, read-only file); the file is then unchanged.
bool ProfileWriteString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value);

// Several keys of one section in one atomic update; the result equals writing them one after the other.
bool ProfileWriteStrings(const std::string& path, std::string_view section,
                         const std::vector<std::pair<std::string, std::string>>& keyValues);

} // namespace pw
