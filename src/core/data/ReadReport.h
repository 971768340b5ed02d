#pragma once
// What reading a record file found besides the record's fields: whether the bytes are a file of the
// record's kind at all, and the numbers the reader could not read. The readers fill it when asked, so a
// caller learns of nonsense without reading the file a second time.

#include <cstdint>
#include <string>
#include <string_view>
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
};

// Why bytes are no file of kind, given whether the kind's reader found its section in them: an empty
// file, a byte-order mark the reader does not take, a binary file, no section. Empty when they are one.
// wideAllowed: the reader takes UTF-16LE with its byte-order mark.
std::string RecordFileProblem(std::string_view bytes, RecordKind kind, bool sectionFound, bool wideAllowed);

// "Ключ %s: значение "%s" не является целым числом и читается как %d." (UTF-8)
std::string UnreadNumberMessage(const UnreadNumber& number);

} // namespace pw
