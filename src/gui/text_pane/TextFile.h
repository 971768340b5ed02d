#pragma once
// Text files as the text panes read and write them: the encoding is told as the string table's (see
// DetectTableEncoding; a UTF-16BE mark too) and written back so, the line ends are normalised for display
// and one kind is chosen for writing back, and a fingerprint of the bytes read lets a save notice that
// another writer changed the file.

#include "core/data/TableEncoding.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pw {

enum class LineBreak { CrLf, Lf, Cr };

// What a file held when it was read: enough to tell whether it is still the same file.
struct FileFingerprint {
    bool exists = false; // false: nothing was read (no file, or it could not be read)
    std::uint64_t size = 0;
    std::uint64_t hash = 0;
    bool operator==(const FileFingerprint&) const = default;
};

FileFingerprint FingerprintOf(std::string_view bytes);

struct LoadedText {
    QString text; // lines separated by '\n' only
    TextEncoding encoding = TextEncoding::Ansi;
    // The line end for writing back: CR LF when the file had any CR LF or no line end at all (and
    // when it mixed LF and CR), LF when it had only LF, CR when it had only CR.
    LineBreak lineBreak = LineBreak::CrLf;
    FileFingerprint source; // of the bytes decoded
};

LoadedText DecodeTextFile(std::string_view bytes);

// The bytes of the file at path (native bytes). Throws std::runtime_error ("Cannot open file "%s". %s")
// when it is missing or cannot be read.
std::string ReadTextFile(const std::string& path);
// Reads and decodes the file at path, throwing as ReadTextFile does.
LoadedText LoadTextFile(const std::string& path);

// A character that the encoding of the file cannot hold, found when encoding.
struct Unencodable {
    qsizetype line = 0; // 0-based
    char32_t character = 0;
};

struct EncodedText {
    std::string bytes;                      // empty when unencodable is set
    std::optional<Unencodable> unencodable; // the first one in the text
};

// The bytes of text (lines separated by '\n') in encoding, the encoding's byte-order mark first and
// lineBreak between the lines. Nothing is replaced: a character the encoding cannot hold (one outside
// Windows-1251, or a lone surrogate) is reported instead.
EncodedText EncodeTextFile(const QString& text, TextEncoding encoding, LineBreak lineBreak);

enum class SaveResult {
    Written,
    ChangedOnDisk, // the file is not what `expected` describes; nothing was written
};

// Writes bytes over the file at path through the atomic writer. Unless overwriteChanged is set, the file
// is first compared with what was read from it (`expected`): a file that exists and differs is left alone
// (ChangedOnDisk), so entries added since by another writer are not lost unasked. Comparing and writing
// are one step under the writer's lock. Throws std::runtime_error("Cannot create file "%s". %s") when the
// file cannot be read for the comparison or cannot be written; the file is unchanged.
SaveResult SaveTextFile(const std::string& path, std::string_view bytes, const FileFingerprint& expected,
                        bool overwriteChanged);

} // namespace pw
