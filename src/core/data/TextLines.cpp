#include "core/data/TextLines.h"

#include "core/data/Cp1251.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace pw {
namespace {

// Cuts text that arrives in parts into lines. Only a line cut by a part's end is copied.
class LineSplitter {
public:
    explicit LineSplitter(const std::function<void(std::string_view)>& onLine) : mOnLine(onLine) {}

    void Feed(std::string_view part) {
        std::size_t pos = 0;
        if (mAfterCr && !part.empty()) {
            pos = part.front() == '\n' ? 1 : 0;
            mAfterCr = false;
        }
        while (pos < part.size()) {
            const std::size_t end = LineEnd(part, pos);
            if (end == part.size()) {
                mCarry.append(part.substr(pos));
                return;
            }
            if (mCarry.empty()) {
                mOnLine(part.substr(pos, end - pos));
            } else {
                mCarry.append(part.substr(pos, end - pos));
                mOnLine(mCarry);
                mCarry.clear();
            }
            pos = end + 1;
            if (part[end] == '\r' && pos == part.size())
                mAfterCr = true; // an LF at the start of the next part belongs to this line end
            else if (part[end] == '\r' && part[pos] == '\n')
                ++pos;
        }
    }

    void Finish() {
        if (!mCarry.empty())
            mOnLine(mCarry);
        mCarry.clear();
    }

private:
    // The first CR or LF at or after pos, or the part's size: the LF first, then a CR before it, so a
    // line costs two memchr calls whatever its length.
    static std::size_t LineEnd(std::string_view part, std::size_t pos) {
        const void* lf = std::memchr(part.data() + pos, '\n', part.size() - pos);
        const std::size_t end =
            lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - part.data()) : part.size();
        const void* cr = std::memchr(part.data() + pos, '\r', end - pos);
        return cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - part.data()) : end;
    }

    const std::function<void(std::string_view)>& mOnLine;
    std::string mCarry;
    bool mAfterCr = false;
};

// How many bytes of UTF-16 data can be decoded now: whole units, and not a high surrogate whose partner
// may come with the next block.
std::size_t WholeCharacters(std::string_view data, bool more) {
    if (!more)
        return data.size();
    std::size_t n = data.size() & ~std::size_t(1);
    if (n >= 2) {
        const auto high = static_cast<unsigned char>(data[n - 1]);
        if (high >= 0xD8 && high <= 0xDB)
            n -= 2;
    }
    return n;
}

} // namespace

void ForEachTextLine(std::string_view text, const std::function<void(std::string_view)>& onLine) {
    LineSplitter splitter(onLine);
    splitter.Feed(text);
    splitter.Finish();
}

TextLineReader::TextLineReader(std::size_t blockSize) : mReader(blockSize) {}

bool TextLineReader::Open(const std::string& path, std::string* reason) {
    if (!mReader.Open(path, reason))
        return false;
    mEncoding = DetectTableEncodingOfFile(path);
    // Enough bytes to pass the mark.
    const std::size_t mark = MarkOf(mEncoding).size();
    do
        mMore = mReader.ReadMore();
    while (mMore && mReader.Data().size() < mark);
    if (mReader.Failed()) {
        if (reason)
            *reason = SystemErrorText(EIO);
        return false;
    }
    mReader.Consume(std::min(mark, mReader.Data().size()));
    return true;
}

bool TextLineReader::ReadLines(const std::function<void(std::string_view)>& onLine) {
    LineSplitter splitter(onLine);
    std::string decoded;
    const bool wide = mEncoding == TextEncoding::Utf16LeBom;
    for (;;) {
        const std::string_view data = mReader.Data();
        const std::size_t n = wide ? WholeCharacters(data, mMore) : data.size();
        if (wide) {
            decoded = Utf16LeToUtf8(data.substr(0, n));
            splitter.Feed(decoded);
        } else {
            splitter.Feed(data.substr(0, n));
        }
        mReader.Consume(n);
        if (!mMore)
            break;
        mMore = mReader.ReadMore();
    }
    splitter.Finish();
    return !mReader.Failed();
}

} // namespace pw
