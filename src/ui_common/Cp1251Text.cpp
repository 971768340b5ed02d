#include "ui_common/Cp1251Text.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <utility>

namespace pw {

QString FromCp1251(std::string_view bytes) {
    QStringDecoder decoder("windows-1251");
    return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string ToCp1251(const QString& text) {
    QStringEncoder encoder("windows-1251", QStringConverter::Flag::ConvertInvalidToNull);
    const QByteArray bytes = encoder.encode(text);
    std::string result(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    // Characters outside the code page come out as NUL; the program writes '?' for them.
    for (char& c : result)
        if (c == '\0')
            c = '?';
    return result;
}

std::optional<std::string> ToCp1251Exact(QStringView text) {
    // Stateless: a lone surrogate at the very end is an error, not a state kept for a next call.
    QStringEncoder encoder("windows-1251", QStringConverter::Flag::Stateless);
    const QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return std::nullopt;
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

Cp1251Bytes ToCp1251Checked(QStringView text) {
    if (std::optional<std::string> bytes = ToCp1251Exact(text))
        return {std::move(*bytes), std::nullopt};
    // Some character is missing: one code point at a time finds which.
    std::string bytes;
    for (qsizetype i = 0; i < text.size();) {
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const QStringView one = text.mid(i, pair ? 2 : 1);
        const std::optional<std::string> converted = ToCp1251Exact(one);
        if (!converted)
            return {{}, pair ? QChar::surrogateToUcs4(one[0], one[1]) : char32_t{one[0].unicode()}};
        bytes += *converted;
        i += one.size();
    }
    return {std::move(bytes), std::nullopt};
}

QString FromNativePath(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string ToNativePath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

} // namespace pw
