#include "JsonLine.h"

#include "core/data/Cp1251.h"

#include <optional>

namespace pw::cli {
namespace {

// The length of the UTF-8 character at the start of text; 0 when no valid one starts there.
std::size_t Utf8CharacterLength(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    const std::optional<std::u32string> decoded = DecodeUtf8(text.substr(0, length));
    return decoded && decoded->size() == 1 ? length : 0;
}

} // namespace

std::string JsonText(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const std::size_t length = byte < 0x80 ? 1 : Utf8CharacterLength(text.substr(i));
        if (length != 0)
            out.append(text.substr(i, length));
        else
            AppendUtf8(out, Cp1251ToUnicode(byte));
        i += length != 0 ? length : 1;
    }
    return out;
}

std::string OneLine(const Json& value) {
    if (!value.is_object() && !value.is_array())
        return value.dump();
    std::string out(1, value.is_object() ? '{' : '[');
    for (auto it = value.begin(); it != value.end(); ++it) {
        if (it != value.begin())
            out += ", ";
        if (value.is_object())
            out.append(Json(it.key()).dump()).append(": ");
        out += OneLine(it.value());
    }
    return out + (value.is_object() ? '}' : ']');
}

} // namespace pw::cli
