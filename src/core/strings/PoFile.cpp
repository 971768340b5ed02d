#include "core/strings/PoFile.h"

#include "core/data/Cp1251.h"
#include "core/data/StrUtilsEx.h"

#include <algorithm>

namespace pw {
namespace {

// A string as PO quotes it, appended to out: backslash escapes for the characters that C strings escape.
std::string& AppendQuoted(std::string& out, std::string_view text) {
    static constexpr std::string_view kSpecial = "\\\"\n\r\t\a\b\f\v";
    static constexpr std::string_view kEscaped = "\\\"nrtabfv";
    out += '"';
    for (std::size_t at = 0;;) {
        const std::size_t special = text.find_first_of(kSpecial, at);
        out.append(text.substr(at, special - at));
        if (special == std::string_view::npos)
            break;
        out += '\\';
        out += kEscaped[kSpecial.find(text[special])];
        at = special + 1;
    }
    out += '"';
    return out;
}

void AppendComments(std::string& out, std::string_view mark, const std::vector<std::string>& lines) {
    for (const std::string& line : lines)
        out.append(mark).append(" ").append(line).append("\n");
}

// The reader's state: the message being read and the keyword its next continuation string belongs to.
class PoReader {
public:
    std::optional<PoFile> Read(std::string_view text, std::string* error);

private:
    bool Line(std::string_view line);
    bool Keyword(std::string_view line);
    bool String(std::string_view rest, std::string& into);
    void Flush();
    bool Fail(const std::string& what);

    PoFile mFile;
    PoMessage mMessage;
    bool mHasId = false;
    bool mHasStr = false;
    bool mObsolete = false;
    std::string mIgnored;           // what a keyword the reader keeps nothing of collects
    std::string* mTarget = nullptr; // where continuation strings go
    std::size_t mLine = 0;
    std::string mError;
};

bool PoReader::Fail(const std::string& what) {
    mError = "PO-файл, строка " + std::to_string(mLine) + ": " + what;
    return false;
}

void PoReader::Flush() {
    if (mHasId && !mObsolete) {
        if (mMessage.id.empty() && !mMessage.context) {
            for (std::string_view rest = mMessage.str; !rest.empty();) {
                const std::size_t end = rest.find('\n');
                const std::string_view field = rest.substr(0, end);
                const std::size_t colon = field.find(':');
                if (colon != std::string_view::npos)
                    mFile.header.emplace_back(TrimView(field.substr(0, colon)),
                                              TrimView(field.substr(colon + 1)));
                rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
            }
        } else {
            mFile.messages.push_back(std::move(mMessage));
        }
    }
    mMessage = {};
    mHasId = mHasStr = mObsolete = false;
    mTarget = nullptr;
}

bool PoReader::String(std::string_view rest, std::string& into) {
    rest = TrimView(rest);
    if (rest.size() < 2 || rest.front() != '"' || rest.back() != '"')
        return Fail("ожидалась строка в кавычках");
    rest = rest.substr(1, rest.size() - 2);
    for (std::size_t i = 0; i < rest.size(); ++i) {
        // The plain text up to the next quote or backslash goes over at once.
        const std::size_t special = std::min(rest.find_first_of("\"\\", i), rest.size());
        into.append(rest.substr(i, special - i));
        i = special;
        if (i == rest.size())
            break;
        if (rest[i] == '"')
            return Fail("кавычка внутри строки без \"\\\"");
        if (++i == rest.size())
            return Fail("строка оканчивается на \"\\\"");
        const char e = rest[i];
        static constexpr std::string_view kFrom = "ntrabfv\\\"'?";
        static constexpr std::string_view kTo = "\n\t\r\a\b\f\v\\\"'?";
        if (const std::size_t k = kFrom.find(e); k != std::string_view::npos) {
            into += kTo[k];
        } else if (e >= '0' && e <= '7') {
            int value = 0;
            for (int n = 0; n < 3 && i < rest.size() && rest[i] >= '0' && rest[i] <= '7'; ++n, ++i)
                value = value * 8 + (rest[i] - '0');
            --i;
            into += static_cast<char>(value);
        } else if (e == 'x' && i + 1 < rest.size() && HexValue(rest[i + 1]) >= 0) {
            // Any number of digits, as in C; the byte is what the last two make.
            int value = 0;
            while (i + 1 < rest.size() && HexValue(rest[i + 1]) >= 0)
                value = (value * 16 + HexValue(rest[++i])) & 0xFF;
            into += static_cast<char>(value);
        } else {
            return Fail(std::string("неизвестная последовательность \"\\") + e + "\"");
        }
    }
    return true;
}

bool PoReader::Keyword(std::string_view line) {
    const std::size_t space = line.find_first_of(" \t\"");
    const std::string_view word = line.substr(0, space);
    const std::string_view rest = space == std::string_view::npos ? std::string_view() : line.substr(space);
    if (word == "msgctxt" || word == "msgid") {
        if (mHasId)
            Flush(); // a message that follows another without a blank line
        if (word == "msgctxt") {
            mMessage.context.emplace();
            mTarget = &*mMessage.context;
        } else {
            mHasId = true;
            mMessage.line = mLine;
            mTarget = &mMessage.id;
        }
    } else if (word == "msgid_plural" || (word.substr(0, 7) == "msgstr[" && word != "msgstr[0]")) {
        mIgnored.clear();
        mTarget = &mIgnored;
    } else if (word == "msgstr" || word == "msgstr[0]") {
        if (!mHasId)
            return Fail("msgstr без msgid");
        mHasStr = true;
        mTarget = &mMessage.str;
    } else {
        return Fail("непонятная строка");
    }
    return String(rest, *mTarget);
}

bool PoReader::Line(std::string_view raw) {
    std::string_view line = TrimView(raw);
    if (line.empty()) {
        Flush();
        return true;
    }
    if (line.front() == '#') {
        if (mHasStr)
            Flush(); // the comments of the next message
        if (line.substr(0, 2) == "#~") {
            mObsolete = true;
            return true;
        }
        const std::string_view text = TrimView(line.substr(std::min<std::size_t>(2, line.size())));
        if (line.substr(0, 2) == "#.")
            mMessage.extractedComments.emplace_back(text);
        else if (line.substr(0, 2) == "#:")
            mMessage.references.emplace_back(text);
        else if (line.substr(0, 2) == "#,")
            for (std::string_view rest = text; !rest.empty();) {
                const std::size_t comma = rest.find(',');
                if (const std::string_view flag = TrimView(rest.substr(0, comma)); !flag.empty())
                    mMessage.flags.emplace_back(flag);
                rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
            }
        return true;
    }
    if (line.front() == '"') {
        if (!mTarget)
            return Fail("строка в кавычках вне сообщения");
        return String(line, *mTarget);
    }
    return Keyword(line);
}

std::optional<PoFile> PoReader::Read(std::string_view text, std::string* error) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    bool ok = true;
    for (std::string_view rest = text; ok && !rest.empty();) {
        const std::size_t end = rest.find('\n');
        ++mLine;
        ok = Line(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    if (ok)
        Flush();
    if (ok) {
        const std::optional<std::string> type = mFile.HeaderField("Content-Type");
        const std::size_t at = type ? type->find("charset=") : std::string::npos;
        const std::string charset = at == std::string::npos ? "UTF-8" : Trim(type->substr(at + 8));
        if (!AsciiEqualNoCase(charset, "UTF-8") && !AsciiEqualNoCase(charset, "UTF8") &&
            !AsciiEqualNoCase(charset, "CHARSET") && !AsciiEqualNoCase(charset, "ASCII")) {
            mError = "PO-файл в кодировке " + charset + ": читаются только файлы в UTF-8.";
            ok = false;
        }
    }
    for (std::size_t i = 0; ok && i < mFile.messages.size(); ++i) {
        const PoMessage& message = mFile.messages[i];
        if (!DecodeUtf8(message.id) || !DecodeUtf8(message.str) ||
            !DecodeUtf8(message.context.value_or(""))) {
            mLine = message.line;
            ok = Fail("текст не в UTF-8");
        }
    }
    if (!ok) {
        if (error)
            *error = mError;
        return std::nullopt;
    }
    return std::move(mFile);
}

} // namespace

bool PoMessage::Fuzzy() const {
    return std::find(flags.begin(), flags.end(), "fuzzy") != flags.end();
}

std::optional<std::string> PoFile::HeaderField(std::string_view name) const {
    for (const auto& [field, value] : header)
        if (AsciiEqualNoCase(field, name))
            return value;
    return std::nullopt;
}

std::string PoHeaderText(const std::vector<std::pair<std::string, std::string>>& header) {
    std::string out = "msgid \"\"\nmsgstr \"\"\n";
    for (const auto& [name, value] : header)
        AppendQuoted(out, name + ": " + value + "\n").append("\n");
    return out;
}

void AppendPoMessage(std::string& out, const PoMessage& message) {
    out += "\n";
    AppendComments(out, "#.", message.extractedComments);
    AppendComments(out, "#:", message.references);
    if (!message.flags.empty()) {
        out += "#, ";
        for (std::size_t i = 0; i < message.flags.size(); ++i)
            out.append(i ? ", " : "").append(message.flags[i]);
        out += "\n";
    }
    if (message.context)
        AppendQuoted(out.append("msgctxt "), *message.context).append("\n");
    AppendQuoted(out.append("msgid "), message.id).append("\nmsgstr ");
    AppendQuoted(out, message.str).append("\n");
}

std::string WritePo(const PoFile& file) {
    std::string out = PoHeaderText(file.header);
    for (const PoMessage& message : file.messages)
        AppendPoMessage(out, message);
    return out;
}

std::optional<PoFile> ReadPo(std::string_view text, std::string* error) {
    return PoReader().Read(text, error);
}

} // namespace pw
