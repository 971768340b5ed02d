// Cutting a ";"-list: every byte that is neither a blank nor a separator lands in exactly one element,
// in order, and no element holds a blank or a separator.

#include "FuzzInput.h"

#include "core/dialogue/InfoEditorModel.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string kept;
    for (char c : text)
        if (c != ';' && !(c >= 1 && c <= 32))
            kept += c;
    std::string joined;
    for (const std::string& element : pw::SplitElements(text)) {
        for (char c : element)
            pwfuzz::Require(c != ';' && !(c >= 1 && c <= 32), "elements hold no blank or separator");
        joined += element;
    }
    pwfuzz::Require(joined == kept, "the elements keep every other byte in order");
    return 0;
}
