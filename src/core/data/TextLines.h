#pragma once
// A text file read line by line in blocks, for callers that look at every line of a large file (the string
// table's lint) and keep little of it: the file is never held whole.

#include "core/data/FileIO.h"

#include <functional>
#include <string>
#include <string_view>

namespace pw {

class TextLineReader {
public:
    explicit TextLineReader(std::size_t blockSize = 256 * 1024);

    // False when path is missing, not a regular file or cannot be read; *reason then says why.
    bool Open(const std::string& path, std::string* reason = nullptr);
    // Whether the file starts with the UTF-16LE byte-order mark; known once it is open.
    bool Wide() const { return mWide; }
    // The file's size when it was opened (see BlockReader::SizeHint).
    std::uint64_t SizeHint() const { return mReader.SizeHint(); }

    // Calls onLine with each line to the end of the file, without its line end: CR, LF and CR LF each end
    // one line, also where a block ends between them, and a last line without an end counts too. The
    // lines of a wide file are its text in UTF-8 (without the mark; an unpaired surrogate becomes U+FFFD),
    // those of another file its bytes. False when reading fails on the way.
    bool ReadLines(const std::function<void(std::string_view line)>& onLine);

private:
    BlockReader mReader;
    bool mWide = false;
    bool mMore = true; // whether the file may hold more than the reader has
};

// The lines of a text in memory, cut as TextLineReader cuts a file's.
void ForEachTextLine(std::string_view text, const std::function<void(std::string_view line)>& onLine);

} // namespace pw
