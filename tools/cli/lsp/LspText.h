#pragma once
// A document's text as the editor holds it (UTF-8, positions counted in UTF-16 units) beside the same text
// as the program reads its files (Windows-1251, one byte per character), line for line, so that a place
// found in the one is a place in the other.

#include <nlohmann/json.hpp>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace pw::lsp {

struct Position {
    std::size_t line = 0;
    std::size_t character = 0; // in UTF-16 code units
};

nlohmann::json ToJson(Position position);
Position PositionFrom(const nlohmann::json& position);
nlohmann::json RangeJson(Position start, Position end);

class DocumentText {
public:
    // utf8: the editor's text. A byte that is no part of UTF-8 counts as one character (U+FFFD).
    explicit DocumentText(std::string utf8);

    const std::string& Utf8() const { return mUtf8; }
    // One byte per character: the character in Windows-1251, "?" for one the code page lacks. Line ends
    // as in the editor's text.
    const std::string& Cp1251() const { return mCp1251; }

    std::size_t LineCount() const { return mLines.size(); }
    // A line of Cp1251(), without its line end.
    std::string_view Line(std::size_t line) const;
    // Where a line of Cp1251() starts in it; the text's end for a line past the last.
    std::size_t LineStart(std::size_t line) const {
        return line < mLines.size() ? mLines[line].cp1251 : mCp1251.size();
    }

    // The character of Cp1251() at position (a line past the end goes to the end, a character past the
    // line's end to its end, one inside a surrogate pair to the pair's character).
    std::size_t OffsetOf(Position position) const;
    // The position of the character at offset of Cp1251().
    Position PositionOf(std::size_t offset) const;
    // The line holding offset of Cp1251().
    std::size_t LineOf(std::size_t offset) const;

private:
    struct LineStarts {
        std::size_t utf8 = 0;
        std::size_t cp1251 = 0;
        std::size_t length = 0; // in characters, without the line end
    };
    std::string mUtf8;
    std::string mCp1251;
    std::vector<LineStarts> mLines;
};

// The editor's text of a file's bytes: UTF-16LE after its byte-order mark, else Windows-1251.
std::string FileBytesToUtf8(std::string_view bytes);

// The character at offset of a file's bytes as a position: line and UTF-16 unit within it (for an 8-bit
// file each byte is one unit, for a UTF-16LE file each pair of bytes after the mark).
Position FilePositionOf(std::string_view bytes, std::size_t offset);

} // namespace pw::lsp
