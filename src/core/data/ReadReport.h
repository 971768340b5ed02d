#pragma once
// What reading a record file found besides the record's fields: whether the bytes are a file of the
// record's kind at all, and the numbers the reader could not read. The readers fill it when asked, so a
// caller learns of nonsense without reading the file a second time.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pw {

enum class RecordKind { Dialogue, Quest };

// A key whose value is no integer as the file readers understand it (see ParseFileInteger).
struct UnreadNumber {
    std::string key;
    std::string text;        // the value as the file holds it (Windows-1251)
    std::int32_t readAs = 0; // what the reader made of it: 0, or -1 for a number whose -1 means none
};

struct RecordReadReport {
    std::string notRecord; // why the file is no file of its kind (UTF-8); empty when it is one
    std::vector<UnreadNumber> unreadNumbers;
    // Where the reader found what it took, counted from 1 as CR, LF and CR LF end lines: the header of the
    // record's section (0 when there is none) and the line of each key it took (the key spelled as the
    // reader knows it).
    std::size_t sectionLine = 0;
    std::vector<std::pair<std::string_view, std::size_t>> keyLines;

    // The line of key (A-Z folded), or of the section's header when the file lacks the key; 0 when the
    // file has neither.
    std::size_t LineOf(std::string_view key) const;
};

// Why bytes are no file of kind, given whether the kind's reader found its section in them: an empty
// file, a byte-order mark the reader does not take, a binary file, no section. Empty when they are one.
// wideAllowed: the reader takes UTF-16LE with its byte-order mark.
std::string RecordFileProblem(std::string_view bytes, RecordKind kind, bool sectionFound, bool wideAllowed);

// "Ключ %s: значение "%s" не является целым числом и читается как %d." (UTF-8)
std::string UnreadNumberMessage(const UnreadNumber& number);

} // namespace pw
