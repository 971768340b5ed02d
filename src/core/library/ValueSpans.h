#pragma once
// Where the entries of a profile file stand in its bytes, found as the library index reads them (see
// ProfileFindKeys): the first section of a name, key names trimmed and compared with A-Z folded, the first
// line of a key wins, a value trimmed, one pair of enclosing quotes removed and cut to 2047 characters. A
// rename changes the bytes there and keeps every other byte of the file.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pw {

// A file's text as one byte per character, so that a position in it maps to the file's bytes: an 8-bit
// file's bytes themselves, or the units of a UTF-16LE file after its byte-order mark, each as its
// Windows-1251 byte ("?" for one the code page lacks, as the index reads it).
class FileText {
public:
    // bytes must outlive the object.
    explicit FileText(std::string_view bytes);
    FileText(const FileText&) = delete;
    FileText& operator=(const FileText&) = delete;

    std::string_view Text() const { return mWide ? std::string_view(mUnits) : mBytes; }
    bool Wide() const { return mWide; }
    // Where the character at position of Text() starts in the file.
    std::size_t Offset(std::size_t position) const { return mWide ? 2 + 2 * position : position; }

private:
    std::string_view mBytes;
    std::string mUnits;
    bool mWide;
};

// The units of UTF-16LE text (without its byte-order mark) one for one as Windows-1251 bytes, "?" for one
// the code page lacks: how FileText reads a UTF-16 file.
std::string UnitsAsCp1251(std::string_view utf16le);

// A run of a text's characters, [begin, end).
struct TextSpan {
    std::size_t begin = 0;
    std::size_t end = 0;
};

// An entry's line in a text: its number, its name and its value.
struct KeyLine {
    std::size_t number = 0; // counted from 1
    TextSpan name;          // trimmed
    TextSpan value;         // trimmed, without enclosing quotes, at most 2047 characters
    bool cut = false;       // the value goes on past the 2047 characters a read returns
};

// For each of keys, its line in the first section named section of text, or std::nullopt when the section
// lacks it. Names are trimmed and compared with A-Z folded, as the profile layer compares them.
std::vector<std::optional<KeyLine>> FindKeyLines(std::string_view text, std::string_view section,
                                                 const std::vector<std::string>& keys);

// The same search over a text given in parts, for a large file read in blocks: each part holds whole
// lines, ending after a line feed or at the text's end, and follows the one before.
class KeyLineSearch {
public:
    KeyLineSearch(std::string section, std::vector<std::string> keys);

    // Searches the next part, which starts at position offset of the text. Lines found in it are given
    // in positions of the whole text. False once nothing further can be found (every key found, or the
    // section over).
    bool Feed(std::string_view part, std::size_t offset);
    const std::vector<std::optional<KeyLine>>& Found() const { return mFound; }

private:
    enum class State { Before, In, Over };
    std::string mSection;
    std::vector<std::string> mKeys;
    std::vector<std::optional<KeyLine>> mFound;
    std::size_t mLeft;
    std::size_t mLines = 0; // in the parts before
    State mState = State::Before;
};

// The elements of a list, the span value of text cut at every character of separators, each trimmed.
std::vector<TextSpan> ElementSpans(std::string_view text, TextSpan value, std::string_view separators);

} // namespace pw
