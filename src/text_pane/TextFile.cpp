#include "text_pane/TextFile.h"

#include "data/FileIO.h"
#include "ui_common/Cp1251Text.h"

#include <QStringDecoder>

#include <cerrno>
#include <stdexcept>

namespace pw {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

QString Decode(QStringDecoder decoder, std::string_view bytes) {
    return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

LineBreak FirstLineBreak(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n')
            return LineBreak::Lf;
        if (text[i] == u'\r')
            return (i + 1 < text.size() && text[i + 1] == u'\n') ? LineBreak::CrLf : LineBreak::Cr;
    }
    return LineBreak::CrLf;
}

} // namespace

LoadedText DecodeTextFile(std::string_view bytes) {
    LoadedText result;
    if (bytes.starts_with(kUtf8Mark)) {
        result.encoding = TextEncoding::Utf8Bom;
        result.text = Decode(QStringDecoder(QStringConverter::Utf8), bytes.substr(kUtf8Mark.size()));
    } else if (bytes.starts_with(kUtf16LeMark)) {
        result.encoding = TextEncoding::Utf16LeBom;
        result.text = Decode(QStringDecoder(QStringConverter::Utf16LE), bytes.substr(kUtf16LeMark.size()));
    } else if (bytes.starts_with(kUtf16BeMark)) {
        result.encoding = TextEncoding::Utf16BeBom;
        result.text = Decode(QStringDecoder(QStringConverter::Utf16BE), bytes.substr(kUtf16BeMark.size()));
    } else {
        result.text = FromCp1251(bytes);
    }
    result.lineBreak = FirstLineBreak(result.text);
    result.text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    result.text.replace(u'\r', u'\n');
    return result;
}

LoadedText LoadTextFile(const std::string& path) {
    const std::optional<std::string> bytes = ReadWholeFile(path);
    if (!bytes)
        throw std::runtime_error(CannotOpenFileMessage(path, SystemErrorText(ENOENT)));
    return DecodeTextFile(*bytes);
}

} // namespace pw
