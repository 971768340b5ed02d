#include "ui_common/Cp1251Text.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

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

QString FromNativePath(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string ToNativePath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

} // namespace pw
