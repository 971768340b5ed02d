#include "LspText.h"

#include "core/data/Cp1251.h"

#include <algorithm>

namespace pw::lsp {
namespace {

struct Decoded {
    char32_t codePoint;
    std::size_t length; // bytes of UTF-8
};

// The character at the start of text; an invalid byte is one character of its own.
Decoded DecodeOne(std::string_view text) {
    const auto byte = static_cast<unsigned char>(text[0]);
    const std::size_t length = byte < 0x80           ? 1
                               : (byte >> 5) == 0x6  ? 2
                               : (byte >> 4) == 0xE  ? 3
                               : (byte >> 3) == 0x1E ? 4
                                                     : 0;
    if (length == 0 || length > text.size())
        return {0xFFFD, 1};
    if (length == 1)
        return {byte, 1};
    char32_t code = byte & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0) != 0x80)
            return {0xFFFD, 1};
        code = (code << 6) | (next & 0x3F);
    }
    return {code, length};
}

std::size_t Utf16Units(char32_t code) {
    return code >= 0x10000 ? 2 : 1;
}

} // namespace

nlohmann::json ToJson(Position position) {
    return {{"line", position.line}, {"character", position.character}};
}

Position PositionFrom(const nlohmann::json& position) {
    return {position.value("line", std::size_t{0}), position.value("character", std::size_t{0})};
}

nlohmann::json RangeJson(Position start, Position end) {
    return {{"start", ToJson(start)}, {"end", ToJson(end)}};
}

DocumentText::DocumentText(std::string utf8) : mUtf8(std::move(utf8)) {
    mCp1251.reserve(mUtf8.size());
    mLines.push_back({});
    const std::string_view text(mUtf8);
    for (std::size_t at = 0; at < text.size();) {
        const Decoded one = DecodeOne(text.substr(at));
        at += one.length;
        const bool crlf = one.codePoint == '\r' && at < text.size() && text[at] == '\n';
        if (one.codePoint == '\n' || one.codePoint == '\r') {
            mCp1251 += static_cast<char>(one.codePoint);
            if (crlf) {
                mCp1251 += '\n';
                ++at;
            }
            mLines.push_back({at, mCp1251.size(), 0});
            continue;
        }
        mCp1251 += UnicodeToCp1251(one.codePoint);
        ++mLines.back().length;
    }
}

std::string_view DocumentText::Line(std::size_t line) const {
    if (line >= mLines.size())
        return {};
    return std::string_view(mCp1251).substr(mLines[line].cp1251, mLines[line].length);
}

std::size_t DocumentText::OffsetOf(Position position) const {
    if (position.line >= mLines.size())
        return mCp1251.size();
    const LineStarts& line = mLines[position.line];
    const std::string_view text(mUtf8);
    std::size_t units = 0;
    std::size_t at = line.utf8;
    std::size_t column = 0;
    for (; column < line.length; ++column) {
        const Decoded one = DecodeOne(text.substr(at));
        units += Utf16Units(one.codePoint);
        if (units > position.character)
            break;
        at += one.length;
    }
    return line.cp1251 + column;
}

std::size_t DocumentText::LineOf(std::size_t offset) const {
    const auto after =
        std::upper_bound(mLines.begin(), mLines.end(), offset,
                         [](std::size_t value, const LineStarts& line) { return value < line.cp1251; });
    return static_cast<std::size_t>(after - mLines.begin()) - 1;
}

Position DocumentText::PositionOf(std::size_t offset) const {
    const std::size_t number = LineOf(offset);
    const LineStarts& line = mLines[number];
    const std::size_t column = std::min(offset - line.cp1251, line.length);
    const std::string_view text(mUtf8);
    std::size_t units = 0;
    for (std::size_t at = line.utf8, c = 0; c < column; ++c) {
        const Decoded one = DecodeOne(text.substr(at));
        units += Utf16Units(one.codePoint);
        at += one.length;
    }
    return {number, units};
}

std::string FileBytesToUtf8(std::string_view bytes) {
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE')
        return Utf16LeToUtf8(bytes.substr(2));
    return Cp1251ToUtf8(bytes);
}

Position FilePositionOf(std::string_view bytes, std::size_t offset) {
    const bool wide = bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE';
    const std::size_t unit = wide ? 2 : 1;
    const std::size_t first = wide ? 2 : 0;
    Position position;
    std::size_t lineStart = first;
    for (std::size_t at = first; at + unit <= offset && at + unit <= bytes.size(); at += unit) {
        const bool high = wide && bytes[at + 1] != '\0';
        const char c = high ? '\0' : bytes[at];
        const bool crlf = c == '\r' && at + 2 * unit <= bytes.size() && bytes[at + unit] == '\n' &&
                          (!wide || bytes[at + unit + 1] == '\0');
        if (c == '\n' || (c == '\r' && !crlf)) {
            ++position.line;
            lineStart = at + unit;
        }
    }
    position.character = (offset - lineStart) / unit;
    return position;
}

} // namespace pw::lsp
