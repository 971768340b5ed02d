#include "gui/common/Cp1251Text.h"

#include "core/data/Cp1251.h"

#include <QFile>

#include <array>
#include <utility>

namespace pw {

namespace {

// The data layer's table, which is exact for all 256 bytes and the same on every system (Qt for Windows
// has no converter for code pages), turned around for the screen's UTF-16 once.
const std::array<char16_t, 256>& Cp1251Units() {
    static const std::array<char16_t, 256> units = [] {
        std::array<char16_t, 256> table{};
        for (int b = 0; b < 256; ++b)
            table[static_cast<std::size_t>(b)] =
                static_cast<char16_t>(Cp1251ToUnicode(static_cast<unsigned char>(b)));
        return table;
    }();
    return units;
}

// One UTF-16 unit as a byte of the code page; false where the code page lacks it (a surrogate too).
bool UnitToCp1251(char16_t unit, char& byte) {
    if (unit < 0x80) {
        byte = static_cast<char>(unit);
        return true;
    }
    if (unit >= 0xD800 && unit <= 0xDFFF)
        return false;
    bool lossy = false;
    byte = UnicodeToCp1251(unit, &lossy);
    return !lossy;
}

} // namespace

QString FromCp1251(std::string_view bytes) {
    const std::array<char16_t, 256>& units = Cp1251Units();
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (char c : bytes)
        *out++ = QChar(units[static_cast<unsigned char>(c)]);
    return text;
}

std::string ToCp1251(const QString& text) {
    std::string result;
    result.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        char byte = '?';
        // Characters outside the code page are written as "?", a surrogate pair as one.
        if (!UnitToCp1251(text[i].unicode(), byte) && text[i].isHighSurrogate() && i + 1 < text.size() &&
            text[i + 1].isLowSurrogate())
            ++i;
        result += byte;
    }
    return result;
}

std::optional<std::string> ToCp1251Exact(QStringView text) {
    std::string result(static_cast<std::size_t>(text.size()), '\0');
    for (qsizetype i = 0; i < text.size(); ++i)
        if (!UnitToCp1251(text[i].unicode(), result[static_cast<std::size_t>(i)]))
            return std::nullopt;
    return result;
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

// The program's paths are UTF-8 on Windows (the data layer speaks UTF-16 to the system), where Qt's
// own file-name encoding would be the ANSI code page; elsewhere they are the file system's own bytes.
QString FromNativePath(const std::string& path) {
#ifdef Q_OS_WIN
    return QString::fromStdString(path);
#else
    return QFile::decodeName(QByteArray::fromStdString(path));
#endif
}

std::string ToNativePath(const QString& path) {
#ifdef Q_OS_WIN
    return path.toStdString();
#else
    return QFile::encodeName(path).toStdString();
#endif
}

} // namespace pw
