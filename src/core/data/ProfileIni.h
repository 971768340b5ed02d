#pragma once
// Our stand-in for the Windows private-profile functions (GetPrivateProfileStringA and
// WritePrivateProfileStringA). Used for .quest files, the settings file, the string table and the
// library search. Files may be 8-bit or UTF-16LE with a byte-order mark, and the string table also UTF-8:
// values come back as Windows-1251 bytes (or UTF-8, for the command line), and writes keep a file in its
// encoding.

#include "core/data/Cp1251.h"
#include "core/data/FileIO.h"
#include "core/data/TableEncoding.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace pw {

// The longest value a read returns (the real functions fill a 2048-byte buffer with its terminator).
inline constexpr std::size_t kProfileValueLimit = 2047;

// How the names and values a caller gives and takes are spelled. The program's own text is Windows-1251;
// the command line speaks UTF-8 and converts at the file, so nothing is lost or turned into "?" there.
enum class ProfileForm {
    Cp1251,      // an 8-bit file's bytes as they are; a UTF-16 file's text converted to and from Windows-1251
    Utf8,        // UTF-8, converted to and from Windows-1251 for an 8-bit file and UTF-16 for a UTF-16 file
    BytesOrUtf8, // an 8-bit file's text in the system's code page (see platform::SystemCodePageToUtf8: the
                 // bytes as they are on POSIX systems, ANSI converted to UTF-8 on Windows); a UTF-16
                 // file's text in UTF-8
};
// Section and key names are compared in Windows-1251: in a UTF-8 form a name the code page cannot hold
// is found nowhere and refuses a write.

// How a file's encoding is told.
enum class ProfileDialect {
    Profile,     // as the Windows functions: UTF-16LE after its byte-order mark, else 8-bit bytes as they are
    StringTable, // as every reader and writer of the string table (see DetectTableEncoding): UTF-8 too, with
                 // or without its mark; its text is converted to and from Windows-1251 for
                 // ProfileForm::Cp1251
};

// The value of key in the first section named section of a file's bytes (see ProfileText::Find).
std::optional<std::string> ProfileFind(std::string_view bytes, std::string_view section, std::string_view key,
                                       ProfileForm form = ProfileForm::Cp1251,
                                       ProfileDialect dialect = ProfileDialect::Profile);

// The same for the file at path, read in blocks of blockSize bytes until the answer is known; std::nullopt
// also when the file is missing or cannot be read.
std::optional<std::string> ProfileFindInFile(const std::string& path, std::string_view section,
                                             std::string_view key, std::size_t blockSize = 256 * 1024,
                                             ProfileForm form = ProfileForm::Cp1251,
                                             ProfileDialect dialect = ProfileDialect::Profile);

// Several keys looked up in one pass over a file's text: a record's fields, or the many string IDs a
// caller needs from a string table. Names are trimmed and compared with A-Z folded (Windows-1251); a name
// with "=" is found nowhere, as by ProfileFind. Built once, then used for any number of files.
class ProfileKeySet {
public:
    explicit ProfileKeySet(std::vector<std::string> keys);
    ProfileKeySet(const ProfileKeySet&) = delete;
    ProfileKeySet& operator=(const ProfileKeySet&) = delete;

    std::size_t Size() const { return mKeys.size(); }
    // How many different keys a text can hold.
    std::size_t Findable() const { return mNumbers.size(); }
    // The number of the first key given that equals name, or std::nullopt.
    std::optional<std::size_t> Number(std::string_view name) const;
    // For each key, the number of the first key given that equals it (itself when it is the first).
    std::size_t FirstEqual(std::size_t number) const { return mFirstEqual[number]; }

private:
    std::vector<std::string> mKeys;
    std::vector<std::size_t> mFirstEqual;
    std::unordered_map<std::string_view, std::size_t, FoldedHash, FoldedEqual> mNumbers;
};

struct ProfileValues {
    bool sectionFound = false; // a section of the name is in the text
    // For each key of the set, what ProfileFind gives for it: Windows-1251, std::nullopt when missing.
    std::vector<std::optional<std::string>> values;
    // Where they were found, counted from 1 as CR, LF and CR LF end lines: the section's header (0 when
    // missing), and for each key its line (0 when missing).
    std::size_t sectionLine = 0;
    std::vector<std::size_t> lines;
};

// The values of every key of keys in the first section named section of a file's bytes, read as ProfileFind
// reads one, in one pass that stops once all are found.
ProfileValues ProfileFindKeys(std::string_view bytes, std::string_view section, const ProfileKeySet& keys,
                              ProfileDialect dialect = ProfileDialect::Profile);

// A file's text held in memory, for callers that read several keys of one file.
class ProfileText {
public:
    ProfileText() = default;
    explicit ProfileText(std::string bytes);
    // A missing or unreadable file gives an empty text, so every read gives its default.
    static ProfileText Load(const std::string& path);

    // The value of key in the first section named section: trimmed, one pair of enclosing quotes
    // removed, cut to 2047 characters. std::nullopt when the section or key is missing.
    std::optional<std::string> Find(std::string_view section, std::string_view key) const;
    std::string Get(std::string_view section, std::string_view key, std::string_view defaultValue) const;
    // Whether a section header of that name (A-Z folded) is in the text.
    bool HasSection(std::string_view section) const;
    const std::string& Bytes() const { return mBytes; }

private:
    std::string mBytes;
};

// One read, as GetPrivateProfileStringA: the default (trailing spaces removed) when the file, section or
// key is missing, or the file cannot be read. The file is read in blocks until the answer is known.
std::string ProfileGetString(const std::string& path, std::string_view section, std::string_view key,
                             std::string_view defaultValue, ProfileForm form = ProfileForm::Cp1251);

// Why a key can never be found again once written: reads take the text before the first "=" as the
// name, skip lines that start with ";" and take lines that start with "[" for section headers.
enum class ProfileKeyProblem { None, Empty, LineBreak, Equals, Comment, Bracket };
ProfileKeyProblem CheckProfileKey(std::string_view key);

// The message (UTF-8) for a key's problem, or std::nullopt for none: the key is called subject ("Ключ",
// "Идентификатор строки") and quoted as name (UTF-8) where the problem lies in its spelling.
std::optional<std::string> ProfileKeyProblemMessage(ProfileKeyProblem problem, std::string_view subject,
                                                    std::string_view name);

// The message (UTF-8) refusing to write key=value into section, or std::nullopt when the entry can be
// read back: besides the key's problems, a section name with "]" and line breaks anywhere. The names are
// spelled in form; the message quotes them converted from Windows-1251 for ProfileForm::Cp1251 and as they
// are otherwise.
std::optional<std::string> ProfileWriteProblem(std::string_view section, std::string_view key,
                                               std::string_view value,
                                               ProfileForm form = ProfileForm::Cp1251);

// The new bytes of a profile file after writing keyValues into section one after the other, as pieces
// that point into the given bytes and into the object itself (which therefore stays in place).
class ProfileChange {
public:
    ProfileChange(std::string_view bytes, std::string_view section,
                  const std::vector<std::pair<std::string, std::string>>& keyValues,
                  ProfileForm form = ProfileForm::Cp1251, ProfileDialect dialect = ProfileDialect::Profile);
    ProfileChange(const ProfileChange&) = delete;
    ProfileChange& operator=(const ProfileChange&) = delete;
    // False when a name or value cannot be held in the file's encoding (a character Windows-1251 lacks,
    // text that is no UTF-8): the file must then not be written.
    bool Possible() const { return mPossible; }
    FilePieces Pieces() const { return FilePieces(mPieces.begin(), mPieces.end()); }

private:
    std::string mJoined;
    std::string mText;
    std::array<std::string_view, 3> mPieces;
    bool mPossible = true;
};

// The bytes of a profile file without the lines of the keys of keyValues that are still as a write of them
// made them: the key's first line in the first section named section reads exactly key=value (names and
// values Windows-1251, as the file's encoding stores them). For a caller that takes back entries it has
// just written, while no one has changed them. The pieces point into bytes.
class ProfileRemoval {
public:
    ProfileRemoval(std::string_view bytes, std::string_view section,
                   const std::vector<std::pair<std::string, std::string>>& keyValues,
                   ProfileDialect dialect = ProfileDialect::Profile);
    // For each key of keyValues, whether its line goes.
    const std::vector<bool>& Removed() const { return mRemoved; }
    const FilePieces& Pieces() const { return mPieces; }

private:
    std::vector<bool> mRemoved;
    FilePieces mPieces;
};

// One key written as ProfileChange writes it, in one pass over a large file such as the string table: the
// file is read in blocks and its new contents written out while it is read, so neither is held whole in
// memory. Made for the change of an UpdateFileStreamed; a caller that decides on the write by the key's
// present value does so between the two steps. encoding is the file's, told before (the stream is read
// once); std::nullopt tells it by the UTF-16LE mark, as ProfileDialect::Profile.
class ProfileStreamedWrite {
public:
    ProfileStreamedWrite(std::string_view section, std::string_view key, std::string_view value,
                         ProfileForm form = ProfileForm::Cp1251,
                         std::optional<TextEncoding> encoding = std::nullopt);
    // Reads the file (nullptr: absent) up to the key's line, or to where a new one goes, writing what
    // comes before it to out, and gives the key's present value as ProfileFind gives it. Called once.
    std::optional<std::string> Seek(BlockReader* current, FileOutput& out);
    // Known after Seek: false when the file's encoding cannot hold the names or the value (see
    // ProfileChange). Seek has written nothing then, and Finish must not be called.
    bool Possible() const { return mPossible; }
    // Known after Seek: the key's present value whole, neither unquoted nor cut, in the form; std::nullopt
    // when the key is missing.
    const std::optional<std::string>& WholeValue() const { return mWholeValue; }
    // After Seek, the value to write instead of the one given at the start, for a caller that makes it from
    // the present one. False when the file's encoding cannot hold it: Finish must not be called then.
    bool SetValue(std::string_view value);
    // Writes the entry and the rest of the file to out.
    void Finish(BlockReader* current, FileOutput& out);

private:
    std::string mSection;
    std::string mKey;
    std::string mValue;
    ProfileForm mForm;
    std::optional<TextEncoding> mEncoding;
    bool mPossible = false;
    // Seek's last block: [mEditPos, mEditPos + mEditLength) of it becomes mEditText.
    std::size_t mEditPos = 0;
    std::size_t mEditLength = 0;
    std::string mEditText;
    std::size_t mValueAt = 0; // the value's bytes in mEditText
    std::size_t mValueLength = 0;
    TextEncoding mEncodingUsed = TextEncoding::Ansi; // the file's, known after Seek
    std::optional<std::string> mWholeValue;
};

// One write, as WritePrivateProfileStringA, made atomic and serialised with the program's other writes
// of the file (the file is read again under the lock). Returns false when the entry is refused (see
// ProfileWriteProblem) or the file cannot be written (missing folder, a folder or special file in its
// place, read-only file, full disk), or the file's encoding cannot hold the text (see ProfileChange);
// *reason then says why (UTF-8) and the file is unchanged.
bool ProfileWriteString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value, std::string* reason = nullptr,
                        ProfileForm form = ProfileForm::Cp1251);

// Several keys of one section in one atomic update; the result equals writing them one after the other.
bool ProfileWriteStrings(const std::string& path, std::string_view section,
                         const std::vector<std::pair<std::string, std::string>>& keyValues,
                         std::string* reason = nullptr, ProfileForm form = ProfileForm::Cp1251);

} // namespace pw
