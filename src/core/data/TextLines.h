#pragma once
// A text file read line by line in blocks, for callers that look at every line of a large file (the string
// table's lint) and keep little of it: the file is never held whole.

#include "core/data/FileIO.h"
#include "core/data/TableEncoding.h"

#include <functional>
#include <string>
#include <string_view>

namespace pw {

class TextLineReader {
public:
    explicit TextLineReader(std::size_t blockSize = 256 * 1024);

    // False when path is missing, not a regular file or cannot be read; *reason then says why. The file's
    // encoding is told as the string table's (see DetectTableEncodingOfFile).
    bool Open(const std::string& path, std::string* reason = nullptr);
    // The file's encoding; known once it is open.
    TextEncoding Encoding() const { return mEncoding; }
    // Whether the lines are UTF-8 (of a UTF-16 or UTF-8 file) rather than Windows-1251.
    bool Utf8Lines() const { return mEncoding != TextEncoding::Ansi; }
    // The file's size when it was opened (see BlockReader::SizeHint).
    std::uint64_t SizeHint() const { return mReader.SizeHint(); }

    // Calls onLine with each line to the end of the file, without its line end: CR, LF and CR LF each end
    // one line, also where a block ends between them, and a last line without an end counts too. The
    // lines of a UTF-16 file are its text in UTF-8 (an unpaired surrogate becomes U+FFFD), those of
    // another file its bytes, the byte-order mark left out. False when reading fails on the way.
    bool ReadLines(const std::function<void(std::string_view line)>& onLine);

private:
    BlockReader mReader;
    TextEncoding mEncoding = TextEncoding::Ansi;
    bool mMore = true; // whether the file may hold more than the reader has
};

// The lines of a text in memory, cut as TextLineReader cuts a file's.
void ForEachTextLine(std::string_view text, const std::function<void(std::string_view line)>& onLine);

} // namespace pw
