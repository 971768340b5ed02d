// The PO reader: whatever it reads, what the writer makes of it reads back the same.

#include "FuzzInput.h"

#include "core/strings/PoFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<pw::PoFile> read = pw::ReadPo(text, nullptr);
    if (!read)
        return 0;
    std::string error;
    const std::optional<pw::PoFile> again = pw::ReadPo(pw::WritePo(*read), &error);
    pwfuzz::Require(again.has_value(), "the writer's text is a PO file");
    pwfuzz::Require(again->header == read->header, "the header reads back");
    pwfuzz::Require(again->messages.size() == read->messages.size(), "every message reads back");
    for (std::size_t i = 0; i < read->messages.size(); ++i) {
        const pw::PoMessage& a = read->messages[i];
        const pw::PoMessage& b = again->messages[i];
        pwfuzz::Require(a.context == b.context && a.id == b.id && a.str == b.str && a.flags == b.flags &&
                            a.extractedComments == b.extractedComments && a.references == b.references,
                        "a message reads back as it was");
    }
    return 0;
}
