#include "LspRecord.h"

#include "core/data/Cp1251.h"
#include "core/data/StrUtilsEx.h"
#include "core/library/ValueSpans.h"

namespace pw::lsp {
namespace {

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

std::pair<std::size_t, std::size_t> Trimmed(std::string_view line, std::size_t begin, std::size_t end) {
    while (begin < end && IsBlank(line[begin]))
        ++begin;
    while (end > begin && IsBlank(line[end - 1]))
        --end;
    return {begin, end};
}

// The name of the section a line lies in: the nearest header above it.
std::string_view SectionOf(const DocumentText& text, std::size_t line) {
    for (std::size_t l = line + 1; l-- > 0;) {
        const std::string_view held = TrimView(text.Line(l));
        if (held.size() >= 2 && held.front() == '[' && held.back() == ']')
            return TrimView(held.substr(1, held.size() - 2));
    }
    return {};
}

std::optional<Target> TableTargetAt(const Document& document, Position position) {
    const std::string_view line = document.text.Line(position.line);
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos || TrimView(line).starts_with(";") ||
        !AsciiEqualNoCase(SectionOf(document.text, position.line), "LocAdmin_Strings"))
        return std::nullopt;
    const auto [begin, end] = Trimmed(line, 0, equals);
    const std::size_t column = document.text.OffsetOf(position) - document.text.LineStart(position.line);
    if (begin == end || column < begin || column > end)
        return std::nullopt;
    const std::size_t start = document.text.LineStart(position.line);
    return Target{TargetKind::String, std::string(line.substr(begin, end - begin)), start + begin,
                  start + end, true};
}

TargetKind KindOf(RenameKind kind) {
    switch (kind) {
    case RenameKind::Quest:
        return TargetKind::Quest;
    case RenameKind::Dialogue:
        return TargetKind::Dialogue;
    case RenameKind::Event:
        return TargetKind::Event;
    case RenameKind::String:
        break;
    }
    return TargetKind::String;
}

} // namespace

std::string Utf8(std::string_view cp1251) {
    return Cp1251ToUtf8(cp1251);
}

std::optional<KeyAt> KeyLineAt(const DocumentText& text, Position position) {
    if (position.line >= text.LineCount())
        return std::nullopt;
    const std::string_view line = text.Line(position.line);
    const std::size_t column = text.OffsetOf(position) - text.LineStart(position.line);
    KeyAt at;
    at.line = position.line;
    const std::size_t equals = line.find('=');
    const std::size_t keyEnd = equals == std::string_view::npos ? line.size() : equals;
    std::tie(at.keyBegin, at.keyEnd) = Trimmed(line, 0, keyEnd);
    if (equals == std::string_view::npos) {
        at.keyBegin = std::min(at.keyBegin, column);
        return at;
    }
    at.key = line.substr(at.keyBegin, at.keyEnd - at.keyBegin);
    std::tie(at.valueBegin, at.valueEnd) = Trimmed(line, equals + 1, line.size());
    at.inValue = column > equals;
    return at;
}

ElementAt ElementOf(std::string_view line, std::size_t valueBegin, std::size_t valueEnd, std::size_t column,
                    std::string_view separators) {
    ElementAt at;
    std::size_t start = valueBegin;
    for (std::size_t i = valueBegin; i <= valueEnd; ++i) {
        if (i < valueEnd && separators.find(line[i]) == std::string_view::npos)
            continue;
        if (column <= i || i == valueEnd) {
            const auto [begin, end] = Trimmed(line, start, i);
            at.begin = begin == end ? std::clamp(column, start, i) : begin;
            at.end = begin == end ? at.begin : end;
            return at;
        }
        start = i + 1;
        ++at.number;
    }
    return at;
}

std::string_view SeparatorsOf(std::string_view key) {
    if (AsciiEqualNoCase(key, "FinishedQuests"))
        return ";,";
    if (key.size() > 11 && AsciiEqualNoCase(key.substr(0, 11), "InfoScript_"))
        return ";";
    return {};
}

std::optional<Target> TargetAt(const Document& document, Position position) {
    if (document.kind == DocumentKind::Table)
        return TableTargetAt(document, position);
    if (document.kind != DocumentKind::Dialogue && document.kind != DocumentKind::Quest)
        return std::nullopt;
    const std::string& text = document.text.Cp1251();
    const std::size_t offset = document.text.OffsetOf(position);
    const RecordKind kind = document.kind == DocumentKind::Quest ? RecordKind::Quest : RecordKind::Dialogue;
    for (const NamePlace& place : NamePlacesOf(text, kind))
        if (place.span.begin < place.span.end && offset >= place.span.begin && offset <= place.span.end)
            return Target{KindOf(place.kind),
                          text.substr(place.span.begin, place.span.end - place.span.begin), place.span.begin,
                          place.span.end, place.own};
    const std::optional<KeyAt> key = KeyLineAt(document.text, position);
    if (kind != RecordKind::Dialogue || !key || !key->inValue ||
        !AsciiEqualNoCase(key->key, "InfoScript_Commands"))
        return std::nullopt;
    const std::string_view line = document.text.Line(key->line);
    const ElementAt element =
        ElementOf(line, key->valueBegin, key->valueEnd, offset - document.text.LineStart(key->line), ";");
    if (element.begin == element.end)
        return std::nullopt;
    const std::size_t start = document.text.LineStart(key->line);
    return Target{TargetKind::Command, std::string(line.substr(element.begin, element.end - element.begin)),
                  start + element.begin, start + element.end, false};
}

std::optional<RenameKind> RenameKindOf(TargetKind kind) {
    switch (kind) {
    case TargetKind::Quest:
        return RenameKind::Quest;
    case TargetKind::Dialogue:
        return RenameKind::Dialogue;
    case TargetKind::Event:
        return RenameKind::Event;
    case TargetKind::String:
        return RenameKind::String;
    case TargetKind::Command:
        break;
    }
    return std::nullopt;
}

} // namespace pw::lsp
