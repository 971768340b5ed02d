#pragma once
// Reading a text file for the text panes: the encoding is taken from the byte-order mark, and the
// line ends are normalised for display while the kind found is remembered for writing back.

#include <QString>

#include <string>
#include <string_view>

namespace pw {

enum class TextEncoding {
    Ansi,       // no byte-order mark: Windows-1251
    Utf8Bom,    // EF BB BF
    Utf16LeBom, // FF FE
    Utf16BeBom, // FE FF
};

enum class LineBreak { CrLf, Lf, Cr };

struct LoadedText {
    QString text; // lines separated by '\n' only
    TextEncoding encoding = TextEncoding::Ansi;
    LineBreak lineBreak = LineBreak::CrLf; // the first line end of the file; CR LF when it has none
};

LoadedText DecodeTextFile(std::string_view bytes);

// Reads and decodes the file at path (native bytes). Throws std::runtime_error
// ("Cannot open file "%s". %s") when it is missing or cannot be read.
LoadedText LoadTextFile(const std::string& path);

} // namespace pw
