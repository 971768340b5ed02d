#pragma once
// The encoding of the string table, told one way for every reader and writer of it (the accessor, the
// single-entry write, renames, imports, the lint, the index's IDs) and for the string editor, so that all of
// them read what the others wrote and write entries back in the file's own encoding.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace pw {

enum class TextEncoding {
    Ansi,       // Windows-1251: no byte-order mark, and not UTF-8 text
    Utf8,       // UTF-8 without a mark: every byte valid UTF-8, and some text beyond ASCII
    Utf8Bom,    // UTF-8 after the mark EF BB BF
    Utf16LeBom, // UTF-16LE after the mark FF FE
    Utf16BeBom, // UTF-16BE after the mark FE FF: the string editor's own; no table reader takes it
};

// The encoding of a table's bytes: UTF-16LE or UTF-8 by their byte-order marks; UTF-8 without a mark where
// the bytes are valid UTF-8 and hold a byte beyond ASCII; else Windows-1251 (an ASCII-only table too, which
// reads the same either way). Never Utf16BeBom.
TextEncoding DetectTableEncoding(std::string_view bytes);

// The same for the file at path, read in blocks only as far as needed: a Windows-1251 table is known by its
// first letter beyond ASCII, a UTF-8 table only at its end. A missing file, or one that cannot be read, is
// Windows-1251 (a new table is written so; the caller's own read reports the failure).
TextEncoding DetectTableEncodingOfFile(const std::string& path);

// The encoding the byte-order mark at the start of head tells (UTF-16LE or UTF-8), or std::nullopt for none:
// the first step of DetectTableEncoding, for a reader that needs the rest only for text beyond ASCII.
std::optional<TextEncoding> EncodingByMark(std::string_view head);

// The byte-order mark that starts a file of the encoding (empty for none).
std::string_view MarkOf(TextEncoding encoding);

// Whether a file of the encoding holds UTF-8 text (with or without its mark).
inline bool IsUtf8(TextEncoding encoding) {
    return encoding == TextEncoding::Utf8 || encoding == TextEncoding::Utf8Bom;
}

// Checks UTF-8 text given in parts, for a reader that sees a large file block by block.
class Utf8Validator {
public:
    // Takes the next part; false once the text so far is no valid UTF-8 (it stays false).
    bool Feed(std::string_view part);
    // Whether the whole text was valid UTF-8: no invalid byte and no character cut off at the end.
    bool Valid() const { return !mInvalid && mNeed == 0; }
    // Whether a byte beyond ASCII was seen.
    bool NonAscii() const { return mNonAscii; }

private:
    unsigned mNeed = 0;         // continuation bytes the current character still needs
    unsigned char mLow = 0x80;  // the range the next continuation byte must lie in: it excludes
    unsigned char mHigh = 0xBF; // overlong forms, surrogates and values past U+10FFFF
    bool mInvalid = false;
    bool mNonAscii = false;
};

} // namespace pw
