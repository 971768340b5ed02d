#pragma once
// The string table accessor: entries of section "LocAdmin_Strings" read and written one at a time,
// straight from and to the file. Shared by the windows and the command line. The table is Windows-1251,
// UTF-8 or UTF-16LE, as DetectTableEncoding tells it; entries are written back in its encoding.

#include "core/data/ProfileIni.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pw {

inline constexpr std::string_view kStringsSection = "LocAdmin_Strings";
inline constexpr std::string_view kDialogNotFound = "<dialog not found>";
inline constexpr std::string_view kEmptyPlaceholder = "<EMPTY>";

class TStringTable {
public:
    explicit TStringTable(std::string path);
    const std::string& Path() const { return mPath; }

    // What a hint field shows for id: empty for "<EMPTY>" or a blank id, "<dialog not found>" for a
    // missing id, otherwise the stored value (at most 2047 bytes).
    std::string LookupTableString(const std::string& id) const;

    // The stored value of id (at most 2047 characters), or std::nullopt when the table holds no such id
    // or cannot be read. id and the value are spelled in form (ProfileForm::Cp1251 or ProfileForm::Utf8).
    std::optional<std::string> FindTableString(const std::string& id,
                                               ProfileForm form = ProfileForm::Cp1251) const;

    // The stored values of many ids (Windows-1251) in one reading of the table, each as FindTableString
    // gives it: for each id its value, or std::nullopt. A missing table holds no id; one that exists but
    // cannot be read throws std::runtime_error("Cannot open file ...").
    std::vector<std::optional<std::string>> FindTableStrings(std::vector<std::string> ids) const;

    enum class AddStatus {
        EmptyId,           // the id is blank: nothing written
        InvalidId,         // the id or text could never be read back (see problem): nothing written
        NotInCodePage,     // the id, or the text of an 8-bit table, holds a character Windows-1251 lacks
        NeedsConfirmation, // a non-empty value is stored under the id: nothing written yet
        Written,
    };
    struct AddResult {
        AddStatus status = AddStatus::EmptyId;
        std::string existingValue; // for NeedsConfirmation, spelled in the form of the text
        std::string problem;       // for InvalidId: the message (UTF-8)
    };
    // Writes id=text (text ended by exactly one ";"). Without replaceExisting an id that already holds
    // a non-empty value (letter case of ids ignored) is not overwritten. The check and the write are one
    // step under the file's lock, the table read again under it. id and text are spelled in form
    // (ProfileForm::Cp1251 or ProfileForm::Utf8). Throws std::runtime_error("Unable to write to %s. %s")
    // when the file cannot be written; it is then unchanged.
    AddResult AddTableString(const std::string& id, const std::string& text, bool replaceExisting,
                             ProfileForm form = ProfileForm::Cp1251) const;

    // Appends the entries id=value (Windows-1251, values written as given) to the section in one write,
    // under the file's lock and with the table read again under it; every other byte, the encoding and
    // the line ends stay. An id the table already holds (letter case of ids ignored, an empty value too)
    // is never overwritten: nothing is written and that id is returned. std::nullopt once written.
    // Throws std::runtime_error("Unable to write to %s. %s") when an entry could not be read back (see
    // ProfileWriteProblem) or the file cannot be written; it is then unchanged.
    std::optional<std::string>
    AppendTableStrings(const std::vector<std::pair<std::string, std::string>>& entries) const;

    // Takes the entries id=value that AppendTableStrings wrote back out of the table, in one write under the
    // file's lock, each only while its line is still as written; every other byte stays. Returns the IDs
    // left in the table because they were changed or gone meanwhile (empty when all went). Throws
    // std::runtime_error("Unable to write to %s. %s") when the file cannot be read or written.
    std::vector<std::string>
    TakeBackTableStrings(const std::vector<std::pair<std::string, std::string>>& entries) const;

private:
    std::string mPath;
};

class TextLineReader;

// Reads the opened table's lines and hands on the key and the value, both trimmed, of each entry of its
// first section "LocAdmin_Strings", where lookups find them; blank keys, ";" comment lines, lines without
// "=" and the other sections are passed over. False when the file could not be read to its end.
bool ForEachTableEntry(TextLineReader& reader,
                       const std::function<void(std::string_view key, std::string_view value)>& onEntry);

// The IDs of the table at path that its lookups find, in the order of the table, each once: the keys of
// the first section "LocAdmin_Strings" (A-Z folded, as every reading of it), each the text before its
// line's first "=", trimmed; blank keys, ";" comment lines and the first spelling's repetitions left out.
// The IDs are Windows-1251, and a key of a UTF-16 or UTF-8 table that the code page cannot spell, which no
// lookup can ask for, is left out. A table that is missing or cannot be read holds no ID.
std::vector<std::string> ListTableIds(const std::string& path);

// Texts of the string table's messages, in UTF-8, as every message of the program.
std::string EmptyIdMessage(); // "Идентификатор строки не задан"
// Why id (Windows-1251, trimmed) can never be found in the table once written, or std::nullopt.
std::optional<std::string> InvalidIdMessage(const std::string& id);
// "Запись с аналогичным ID уже существует. ..." naming the stored value and the new text (both UTF-8).
std::string DuplicateEntryMessage(const std::string& existing, const std::string& text);

} // namespace pw
