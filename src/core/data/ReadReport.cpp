#include "core/data/ReadReport.h"

#include "core/data/Cp1251.h"

namespace pw {
namespace {

bool StartsWith(std::string_view bytes, std::string_view mark) {
    return bytes.substr(0, mark.size()) == mark;
}

std::string Problem(RecordKind kind, std::string_view why) {
    std::string text =
        kind == RecordKind::Dialogue ? "Файл не является диалогом: " : "Файл не является квестом: ";
    return text.append(why);
}

} // namespace

std::string RecordFileProblem(std::string_view bytes, RecordKind kind, bool sectionFound, bool wideAllowed) {
    if (bytes.empty())
        return Problem(kind, "файл пуст");
    const bool littleEndianMark = StartsWith(bytes, "\xFF\xFE");
    if ((littleEndianMark && !wideAllowed) || StartsWith(bytes, "\xFE\xFF"))
        return Problem(kind, "текст в кодировке UTF-16, а не Windows-1251");
    // The game reads the bytes as Windows-1251, so UTF-8 text shows as garbage even where the
    // section is found after the mark.
    if (StartsWith(bytes, "\xEF\xBB\xBF"))
        return Problem(kind, "текст в кодировке UTF-8, а не Windows-1251");
    if (sectionFound)
        return {};
    // A stray zero byte in a readable file is left to the reader; without the section it says binary.
    if (!littleEndianMark && bytes.find('\0') != std::string_view::npos)
        return Problem(kind, "двоичный файл");
    return Problem(kind, kind == RecordKind::Dialogue ? "нет раздела [Info]" : "нет раздела [Quest]");
}

std::size_t RecordReadReport::LineOf(std::string_view key) const {
    for (const auto& [name, line] : keyLines)
        if (AsciiEqualNoCase(name, key))
            return line;
    return sectionLine;
}

std::string UnreadNumberMessage(const UnreadNumber& number) {
    return "Ключ " + number.key + ": значение \"" + Cp1251ToUtf8(number.text) +
           "\" не является целым числом и читается как " + std::to_string(number.readAs) + ".";
}

} // namespace pw
