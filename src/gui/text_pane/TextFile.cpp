#include "gui/text_pane/TextFile.h"

#include "core/data/FileIO.h"
#include "gui/common/Cp1251Text.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <cerrno>
#include <functional>
#include <stdexcept>

namespace pw {

namespace {

// Stateless, so a sequence cut off at the end of the file is shown as a replacement character
// instead of being kept back for more input that never comes.
QString Decode(QStringConverter::Encoding encoding, std::string_view bytes) {
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (encoding != QStringConverter::Utf8 && bytes.size() % 2 != 0)
        text += QChar(QChar::ReplacementCharacter); // the UTF-16 decoder drops a lone last byte
    return text;
}

// Turns every CR LF, lone CR and LF of text into '\n' in place and picks the line end to write back.
LineBreak NormaliseLineBreaks(QString& text) {
    const qsizetype firstCr = text.indexOf(u'\r');
    const bool lf = text.indexOf(u'\n') >= 0;
    if (firstCr < 0)
        return lf ? LineBreak::Lf : LineBreak::CrLf;
    bool crlf = false;
    bool cr = false;
    QChar* out = text.data() + firstCr;
    const QChar* in = out;
    const QChar* const end = text.constData() + text.size();
    while (in != end) {
        const QChar ch = *in++;
        if (ch == u'\r') {
            if (in != end && *in == u'\n') {
                ++in;
                crlf = true;
            } else {
                cr = true;
            }
            *out++ = u'\n';
        } else {
            *out++ = ch;
        }
    }
    text.truncate(out - text.constData());
    if (crlf || lf)
        return (crlf || cr) ? LineBreak::CrLf : LineBreak::Lf;
    return LineBreak::Cr;
}

// The bytes of text without a mark; std::nullopt when a character cannot be written in the encoding.
std::optional<std::string> EncodeBody(QStringView text, TextEncoding encoding) {
    if (encoding == TextEncoding::Ansi)
        return ToCp1251Exact(text);
    // Stateless: a lone surrogate at the very end is an error, not a state kept for a next call.
    QStringEncoder encoder(IsUtf8(encoding)                       ? QStringConverter::Utf8
                           : encoding == TextEncoding::Utf16LeBom ? QStringConverter::Utf16LE
                                                                  : QStringConverter::Utf16BE,
                           QStringConverter::Flag::Stateless);
    const QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return std::nullopt;
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// The first character of text that the encoding cannot hold; only called once encoding has failed.
Unencodable FindUnencodable(const QString& text, TextEncoding encoding) {
    qsizetype line = 0;
    qsizetype lineStart = 0;
    for (;;) {
        qsizetype lineEnd = text.indexOf(u'\n', lineStart);
        if (lineEnd < 0)
            lineEnd = text.size();
        const QStringView lineText = QStringView(text).mid(lineStart, lineEnd - lineStart);
        if (!EncodeBody(lineText, encoding)) {
            for (qsizetype i = 0; i < lineText.size();) {
                const qsizetype width = (lineText[i].isHighSurrogate() && i + 1 < lineText.size() &&
                                         lineText[i + 1].isLowSurrogate())
                                            ? 2
                                            : 1;
                const QStringView one = lineText.mid(i, width);
                if (!EncodeBody(one, encoding))
                    return {line, width == 2 ? QChar::surrogateToUcs4(one[0], one[1]) : one[0].unicode()};
                i += width;
            }
        }
        if (lineEnd == text.size())
            break;
        lineStart = lineEnd + 1;
        ++line;
    }
    return {line, 0};
}

// Puts lineBreak in place of every '\n' code unit of an encoded text (one byte wide, or two for UTF-16).
std::string WithLineBreaks(std::string body, TextEncoding encoding, LineBreak lineBreak) {
    if (lineBreak == LineBreak::Lf)
        return body;
    const bool wide = encoding == TextEncoding::Utf16LeBom || encoding == TextEncoding::Utf16BeBom;
    const std::size_t unit = wide ? 2 : 1;
    const std::size_t low = encoding == TextEncoding::Utf16BeBom ? 1 : 0; // the byte that holds the code
    // The start of the first '\n' unit at or after the unit that starts at `from`, or npos.
    const auto nextLf = [&](std::size_t from) {
        for (std::size_t i = body.find('\n', from + low); i != std::string::npos;
             i = body.find('\n', i + 1)) {
            const std::size_t start = i - low;
            if (start % unit == 0 && (!wide || body[start + 1 - low] == '\0'))
                return start;
        }
        return std::string::npos;
    };
    if (lineBreak == LineBreak::Cr) {
        for (std::size_t at = nextLf(0); at != std::string::npos; at = nextLf(at + unit))
            body[at + low] = '\r';
        return body;
    }
    std::string result;
    result.reserve(body.size() + body.size() / 32);
    std::size_t copied = 0;
    for (std::size_t at = nextLf(0); at != std::string::npos; at = nextLf(at + unit)) {
        result.append(body, copied, at - copied);
        result.append(unit, '\0');
        result[result.size() - unit + low] = '\r';
        copied = at; // the '\n' itself goes out with the next piece
    }
    result.append(body, copied);
    return result;
}

} // namespace

FileFingerprint FingerprintOf(std::string_view bytes) {
    return {true, bytes.size(), std::hash<std::string_view>{}(bytes)};
}

LoadedText DecodeTextFile(std::string_view bytes) {
    LoadedText result;
    result.source = FingerprintOf(bytes);
    // The pane also keeps a UTF-16BE file, which no table reader takes; every other file is told as the
    // string table's readers tell it, so the pane and they agree on what the file holds.
    result.encoding = bytes.starts_with(MarkOf(TextEncoding::Utf16BeBom)) ? TextEncoding::Utf16BeBom
                                                                          : DetectTableEncoding(bytes);
    const std::string_view body = bytes.substr(MarkOf(result.encoding).size());
    switch (result.encoding) {
    case TextEncoding::Ansi:
        result.text = FromCp1251(body);
        break;
    case TextEncoding::Utf8:
    case TextEncoding::Utf8Bom:
        result.text = Decode(QStringConverter::Utf8, body);
        break;
    case TextEncoding::Utf16LeBom:
        result.text = Decode(QStringConverter::Utf16LE, body);
        break;
    case TextEncoding::Utf16BeBom:
        result.text = Decode(QStringConverter::Utf16BE, body);
        break;
    }
    result.lineBreak = NormaliseLineBreaks(result.text);
    return result;
}

std::string ReadTextFile(const std::string& path) {
    std::optional<std::string> bytes = ReadWholeFile(path);
    if (!bytes)
        throw std::runtime_error(CannotOpenFileMessage(path, SystemErrorText(ENOENT)));
    return std::move(*bytes);
}

LoadedText LoadTextFile(const std::string& path) {
    return DecodeTextFile(ReadTextFile(path));
}

EncodedText EncodeTextFile(const QString& text, TextEncoding encoding, LineBreak lineBreak) {
    std::optional<std::string> body = EncodeBody(text, encoding);
    if (!body)
        return {{}, FindUnencodable(text, encoding)};
    std::string bytes(MarkOf(encoding));
    bytes += WithLineBreaks(std::move(*body), encoding, lineBreak);
    return {std::move(bytes), std::nullopt};
}

SaveResult SaveTextFile(const std::string& path, std::string_view bytes, const FileFingerprint& expected,
                        bool overwriteChanged) {
    std::string reason;
    if (overwriteChanged) {
        if (!WriteFileAtomic(path, bytes, &reason))
            throw std::runtime_error(CannotCreateFileMessage(path, reason));
        return SaveResult::Written;
    }
    // The comparison reads the file under the writer's lock, so no other writer can change it between
    // the comparison and the write.
    SaveResult result = SaveResult::Written;
    const auto change = [&](const std::optional<std::string>& current) -> std::optional<FilePieces> {
        // Decided afresh on every call, so an answer from an earlier call never lingers.
        const bool changed = current && FingerprintOf(*current) != expected;
        result = changed ? SaveResult::ChangedOnDisk : SaveResult::Written;
        return changed ? std::nullopt : std::optional<FilePieces>(FilePieces{bytes});
    };
    if (!UpdateFileAtomic(path, change, &reason))
        throw std::runtime_error(CannotCreateFileMessage(path, reason));
    return result;
}

} // namespace pw
