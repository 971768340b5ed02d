#pragma once
// gettext PO files, the format every translators' tool reads and writes: our own small writer and reader
// of the part a string table needs (one message per entry, with its context, comments and flags; no
// plural forms). Texts are UTF-8.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pw {

struct PoMessage {
    std::vector<std::string> extractedComments; // "#." lines, for the translator
    std::vector<std::string> references;        // "#:" lines
    std::vector<std::string> flags;             // "#," flags, such as "fuzzy"
    std::optional<std::string> context;         // msgctxt
    std::string id;                             // msgid
    std::string str;                            // msgstr (of a plural message, msgstr[0])
    std::size_t line = 0;                       // where its msgid stands, counted from 1 (when read)

    bool Fuzzy() const;
};

struct PoFile {
    std::vector<std::pair<std::string, std::string>> header; // the header entry's fields, in order
    std::vector<PoMessage> messages;                         // without the header entry and obsolete ones

    // The value of a header field (name compared with A-Z folded), or std::nullopt.
    std::optional<std::string> HeaderField(std::string_view name) const;
};

// The text of a PO file: the header entry, then each message, a blank line between them; lines end in LF.
std::string WritePo(const PoFile& file);
// The same in parts, for a writer that makes its messages one by one: the header entry, and one message
// appended to a file's text (after a blank line).
std::string PoHeaderText(const std::vector<std::pair<std::string, std::string>>& header);
void AppendPoMessage(std::string& out, const PoMessage& message);

// Reads a PO file's text (a UTF-8 byte-order mark allowed). Returns std::nullopt and sets *error (UTF-8,
// naming the line) when the text is no PO file, or its header names a charset other than UTF-8.
std::optional<PoFile> ReadPo(std::string_view text, std::string* error);

} // namespace pw
