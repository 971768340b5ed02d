#include "core/data/TableEncoding.h"

#include "core/data/FileIO.h"

#include <cstdint>
#include <cstring>

namespace pw {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";

TextEncoding ByText(const Utf8Validator& text) {
    return text.Valid() && text.NonAscii() ? TextEncoding::Utf8 : TextEncoding::Ansi;
}

} // namespace

std::optional<TextEncoding> EncodingByMark(std::string_view head) {
    if (head.starts_with(kUtf16LeMark))
        return TextEncoding::Utf16LeBom;
    if (head.starts_with(kUtf8Mark))
        return TextEncoding::Utf8Bom;
    return std::nullopt;
}

bool Utf8Validator::Feed(std::string_view part) {
    const auto* p = reinterpret_cast<const unsigned char*>(part.data());
    const unsigned char* const end = p + part.size();
    while (!mInvalid && p < end) {
        if (mNeed > 0) {
            const unsigned char c = *p++;
            mInvalid = c < mLow || c > mHigh;
            mLow = 0x80;
            mHigh = 0xBF;
            --mNeed;
            continue;
        }
        // Eight bytes at a time while they are ASCII, as most of a table is.
        for (std::uint64_t word; end - p >= 8; p += 8) {
            std::memcpy(&word, p, 8);
            if (word & 0x8080808080808080ULL)
                break;
        }
        if (p == end)
            break;
        const unsigned char c = *p++;
        if (c < 0x80)
            continue;
        mNonAscii = true;
        if (c >= 0xC2 && c <= 0xDF) {
            mNeed = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            mNeed = 2;
            mLow = c == 0xE0 ? 0xA0 : 0x80;
            mHigh = c == 0xED ? 0x9F : 0xBF;
        } else if (c >= 0xF0 && c <= 0xF4) {
            mNeed = 3;
            mLow = c == 0xF0 ? 0x90 : 0x80;
            mHigh = c == 0xF4 ? 0x8F : 0xBF;
        } else {
            mInvalid = true;
        }
    }
    return !mInvalid;
}

TextEncoding DetectTableEncoding(std::string_view bytes) {
    if (const std::optional<TextEncoding> marked = EncodingByMark(bytes))
        return *marked;
    Utf8Validator text;
    text.Feed(bytes);
    return ByText(text);
}

TextEncoding DetectTableEncodingOfFile(const std::string& path) {
    BlockReader reader;
    if (!reader.Open(path))
        return TextEncoding::Ansi;
    bool more = true;
    while (more && reader.Data().size() < kUtf8Mark.size())
        more = reader.ReadMore();
    if (const std::optional<TextEncoding> marked = EncodingByMark(reader.Data()))
        return *marked;
    Utf8Validator text;
    for (;;) {
        if (!text.Feed(reader.Data()))
            return TextEncoding::Ansi;
        reader.Consume(reader.Data().size());
        if (!more)
            break;
        more = reader.ReadMore();
    }
    return reader.Failed() ? TextEncoding::Ansi : ByText(text);
}

std::string_view MarkOf(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Utf8Bom:
        return kUtf8Mark;
    case TextEncoding::Utf16LeBom:
        return kUtf16LeMark;
    case TextEncoding::Utf16BeBom:
        return "\xFE\xFF";
    case TextEncoding::Ansi:
    case TextEncoding::Utf8:
        break;
    }
    return {};
}

} // namespace pw
