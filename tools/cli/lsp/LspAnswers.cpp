// Completion, hover and symbols: what the editor's window offers and shows, for any editor.

#include "../CheckReport.h"
#include "LspFeatures.h"
#include "LspRecord.h"

#include "core/data/Cp1251.h"
#include "core/data/FileIO.h"
#include "core/data/G3Infos.h"
#include "core/data/G3Quests.h"
#include "core/data/StrUtilsEx.h"
#include "core/dialogue/InfoEditorModel.h"
#include "core/dialogue/InfoScript.h"
#include "core/library/NameCompletion.h"
#include "core/library/ValueSpans.h"

#include <array>

namespace pw::lsp {
namespace {

using nlohmann::json;

// Completion item kinds and symbol kinds of the protocol.
constexpr int kItemField = 5, kItemValue = 12, kItemFunction = 3, kItemReference = 18;
constexpr int kSymbolField = 8, kSymbolFunction = 12;

constexpr std::array<std::string_view, kCommandCellCount> kScriptKeys = {
    "InfoScript_Commands", "InfoScript_Entities1", "InfoScript_Entities2",
    "InfoScript_IDs1",     "InfoScript_IDs2",      "InfoScript_Texts"};

std::optional<std::size_t> ScriptCell(std::string_view key) {
    for (std::size_t c = 0; c < kScriptKeys.size(); ++c)
        if (AsciiEqualNoCase(key, kScriptKeys[c]))
            return c;
    return std::nullopt;
}

// The command of row number of a dialogue's text, trimmed.
std::string CommandOfRow(const DocumentText& text, std::size_t row) {
    const auto lines = FindKeyLines(text.Cp1251(), "Info", {std::string(kScriptKeys[0])});
    if (!lines[0])
        return {};
    const std::vector<TextSpan> rows = ElementSpans(text.Cp1251(), lines[0]->value, ";");
    return row < rows.size() ? text.Cp1251().substr(rows[row].begin, rows[row].end - rows[row].begin)
                             : std::string();
}

const std::vector<std::string>* NamesOf(CellNames names, const Library& library) {
    switch (names) {
    case CellNames::Commands:
        return &ScriptCommands();
    case CellNames::Quests:
        return &library.snapshot->questNames;
    case CellNames::Events:
        return &library.snapshot->events;
    case CellNames::TableIds:
        return library.table ? &library.table->SortedIds() : nullptr;
    case CellNames::None:
        break;
    }
    return nullptr;
}

// The names a value offers, by its key (and for an InfoScript list, by the row's command).
std::pair<const std::vector<std::string>*, CellNames>
NamesForKey(const Document& document, std::string_view key, std::size_t element, const Library& library) {
    const LibrarySnapshot& snapshot = *library.snapshot;
    if (document.kind == DocumentKind::Quest) {
        if (AsciiEqualNoCase(key, "FinishedQuests"))
            return {&snapshot.questNames, CellNames::Quests};
        if (AsciiEqualNoCase(key, "LogTopic") || AsciiEqualNoCase(key, "LogText"))
            return {NamesOf(CellNames::TableIds, library), CellNames::TableIds};
        return {nullptr, CellNames::None};
    }
    if (AsciiEqualNoCase(key, "Parent"))
        return {&snapshot.dialogueNames, CellNames::None};
    if (AsciiEqualNoCase(key, "Quest"))
        return {&snapshot.questNames, CellNames::Quests};
    if (AsciiEqualNoCase(key, "Owner"))
        return {&snapshot.owners, CellNames::None};
    if (AsciiEqualNoCase(key, "CondPlayerKnows"))
        return {&snapshot.events, CellNames::Events};
    const std::optional<std::size_t> cell = ScriptCell(key);
    if (!cell)
        return {nullptr, CellNames::None};
    const CellNames names =
        CommandCellNames(*cell == 0 ? std::string() : CommandOfRow(document.text, element), *cell);
    return {NamesOf(names, library), names};
}

// The text an entry shows on one line: its cell of the chosen language (trimmed), else its whole value.
std::string LineText(const Library& library, const TableView::Entry& entry) {
    const std::string value = library.table->ValueText(entry);
    if (!library.language)
        return value;
    return std::string(TrimView(FieldOf(value, library.language->TextField()).value_or(std::string_view())));
}

json Item(std::string_view name, int kind, json range, std::string detail = {},
          std::string documentation = {}) {
    json item = {
        {"label", Utf8(name)}, {"kind", kind}, {"textEdit", {{"range", range}, {"newText", Utf8(name)}}}};
    if (!detail.empty())
        item["detail"] = std::move(detail);
    if (!documentation.empty())
        item["documentation"] = std::move(documentation);
    return item;
}

json KeyCompletion(const Document& document, const KeyAt& at) {
    const std::vector<std::string_view>& keys =
        document.kind == DocumentKind::Quest ? QuestFileKeys() : InfoFileKeys();
    const DocumentText& text = document.text;
    const std::size_t start = text.LineStart(at.line);
    const json range = RangeJson(text.PositionOf(start + at.keyBegin), text.PositionOf(start + at.keyEnd));
    json items = json::array();
    for (std::string_view key : keys)
        items.push_back(Item(key, kItemField, range));
    return {{"isIncomplete", false}, {"items", items}};
}

json ValueCompletion(const Document& document, const KeyAt& at, std::size_t column, const Library& library) {
    const DocumentText& text = document.text;
    const std::string_view line = text.Line(at.line);
    const std::string_view separators = SeparatorsOf(at.key);
    ElementAt element{0, at.valueBegin, at.valueEnd};
    if (!separators.empty())
        element = ElementOf(line, at.valueBegin, at.valueEnd, column, separators);
    if (at.valueBegin == at.valueEnd)
        element.begin = element.end = std::max(at.valueBegin, std::min(column, line.size()));
    const auto [names, cellNames] = NamesForKey(document, at.key, element.number, library);
    json items = json::array();
    if (!names)
        return {{"isIncomplete", false}, {"items", items}};
    const std::size_t start = text.LineStart(at.line);
    const json range =
        RangeJson(text.PositionOf(start + element.begin), text.PositionOf(start + element.end));
    const std::string_view prefix =
        line.substr(element.begin, std::max(column, element.begin) - element.begin);
    const std::vector<std::string_view> found = NamesStartingWith(*names, prefix);
    for (std::string_view name : found) {
        if (cellNames == CellNames::Commands) {
            items.push_back(Item(name, kItemFunction, range, {}, CommandHelp(name)));
        } else if (cellNames == CellNames::TableIds) {
            const TableView::Entry* entry = library.table->Find(name);
            items.push_back(
                Item(name, kItemReference, range, entry ? LineText(library, *entry) : std::string()));
        } else {
            items.push_back(Item(name, kItemValue, range));
        }
    }
    return {{"isIncomplete", found.size() >= kCompletionLimit}, {"items", items}};
}

std::string Markdown(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (std::string_view("\\`*_[]<>#|").find(c) != std::string_view::npos)
            out += '\\';
        out += c;
    }
    return out;
}

std::string TableText(const Library& library, std::string_view id) {
    const TableView::Entry* entry = library.table ? library.table->Find(id) : nullptr;
    return entry ? LineText(library, *entry) : std::string();
}

// A language as the window names it: "Русский (ru)".
std::string LanguageLabel(const TableLanguage& language) {
    return language.name + " (" + language.code + ")";
}

// An entry's texts in a table of languages: the chosen language's cell first (or what it holds instead of
// a translation), then each other language whose cell is filled, each named.
std::string LanguageTexts(const std::string& value, const TableLanguages& languages,
                          const std::optional<TableLanguage>& chosen) {
    const auto cell = [&value](const TableLanguage& language) {
        return Markdown(
            std::string(TrimView(FieldOf(value, language.TextField()).value_or(std::string_view()))));
    };
    std::string text;
    if (chosen) {
        const CellState state = StateOf(value, *chosen, languages);
        text = "**" + LanguageLabel(*chosen) + ":** " + cell(*chosen);
        if (state != CellState::Translated)
            text += (state == CellState::Missing ? "*" : " *(") + std::string("не переведено: ") +
                    cli::UntranslatedText(state) + (state == CellState::Missing ? "*" : ")*");
        text += "\n\n";
    }
    for (const TableLanguage& language : languages.All()) {
        const CellState state = StateOf(value, language, languages);
        if ((chosen && language.column == chosen->column) || state == CellState::Missing ||
            state == CellState::Placeholder)
            continue;
        text += "- " + LanguageLabel(language) + ": " + cell(language) + "\n";
    }
    return text;
}

std::string RecordHover(const Target& target, const Library& library) {
    const LibraryIndex& index = library.snapshot->index;
    const bool quest = target.kind == TargetKind::Quest;
    const std::vector<std::size_t>& found = quest ? index.Quests(target.name) : index.Dialogues(target.name);
    if (found.empty())
        return (quest ? "Квест " : "Диалог ") + Markdown(Utf8(target.name)) + " отсутствует в библиотеке.";
    const LibraryEntry& entry = index[found.front()];
    const std::string line =
        TableText(library, quest ? TrimView(entry.Field(EntryField::LogTopic)) : FirstSayId(entry));
    return "**" + Markdown(Utf8(target.name)) + "** — `" + entry.path + "`" +
           (line.empty() ? std::string() : "\n\n" + Markdown(line));
}

std::string StringHover(const Target& target, const Library& library) {
    if (!library.table)
        return {};
    const TableView::Entry* entry = library.table->Find(target.name);
    if (!entry)
        return "ID строки " + Markdown(Utf8(target.name)) + " отсутствует в таблице строк.";
    const std::string value = library.table->ValueText(*entry);
    const TableLayout& layout = library.table->Layout();
    return "**" + Markdown(Utf8(entry->id)) + "**\n\n" +
           (layout.SingleLanguage() ? Markdown(value)
                                    : LanguageTexts(value, layout.languages, library.language));
}

std::string RowTitle(std::size_t number, const CommandRow& row) {
    std::string title = std::to_string(number + 1) + ":";
    for (std::size_t c = 0; c + 1 < row.size(); ++c)
        if (!TrimView(row[c]).empty())
            title.append(" ").append(Utf8(TrimView(row[c])));
    if (!TrimView(row[5]).empty())
        title.append(" — ").append(Utf8(TrimView(row[5])));
    return title;
}

// One symbol per command row, on its command.
json RowSymbols(const Document& document, const KeyLine& commands) {
    TInfo info;
    info.ReadFromBytes(document.text.Cp1251());
    const std::vector<CommandRow> rows = LoadInfoModel(info).model.CommandList;
    const std::vector<TextSpan> spans = ElementSpans(document.text.Cp1251(), commands.value, ";");
    json symbols = json::array();
    for (std::size_t r = 0; r < rows.size() && r < spans.size(); ++r) {
        const json range =
            RangeJson(document.text.PositionOf(spans[r].begin), document.text.PositionOf(spans[r].end));
        symbols.push_back({{"name", RowTitle(r, rows[r])},
                           {"kind", kSymbolFunction},
                           {"range", range},
                           {"selectionRange", range}});
    }
    return symbols;
}

} // namespace

json Completion(const Document& document, Position position, const Library& library) {
    if (document.kind != DocumentKind::Dialogue && document.kind != DocumentKind::Quest)
        return nullptr;
    const std::optional<KeyAt> at = KeyLineAt(document.text, position);
    if (!at)
        return nullptr;
    if (!at->inValue)
        return KeyCompletion(document, *at);
    const std::size_t column = document.text.OffsetOf(position) - document.text.LineStart(at->line);
    return ValueCompletion(document, *at, column, library);
}

json Hover(const Document& document, Position position, const Library& library) {
    const std::optional<Target> target = TargetAt(document, position);
    if (!target)
        return nullptr;
    std::string text;
    if (target->kind == TargetKind::Command)
        text = Markdown(CommandHelp(target->name));
    else if (target->kind == TargetKind::String)
        text = StringHover(*target, library);
    else if (target->kind == TargetKind::Quest || target->kind == TargetKind::Dialogue)
        text = RecordHover(*target, library);
    if (text.empty())
        return nullptr;
    return {
        {"contents", {{"kind", "markdown"}, {"value", text}}},
        {"range", RangeJson(document.text.PositionOf(target->begin), document.text.PositionOf(target->end))}};
}

json DocumentSymbols(const Document& document) {
    json symbols = json::array();
    if (document.kind != DocumentKind::Dialogue && document.kind != DocumentKind::Quest)
        return symbols;
    const std::string_view section = document.kind == DocumentKind::Quest ? "Quest" : "Info";
    const std::vector<std::string_view>& keys =
        document.kind == DocumentKind::Quest ? QuestFileKeys() : InfoFileKeys();
    const std::vector<std::string> names(keys.begin(), keys.end());
    const std::string& text = document.text.Cp1251();
    const auto lines = FindKeyLines(text, section, names);
    for (std::size_t k = 0; k < names.size(); ++k) {
        if (!lines[k])
            continue;
        const KeyLine& line = *lines[k];
        const std::size_t start = document.text.LineStart(line.number - 1);
        const json range =
            RangeJson(document.text.PositionOf(start),
                      document.text.PositionOf(start + document.text.Line(line.number - 1).size()));
        json symbol = {
            {"name", names[k]},
            {"detail", Utf8(std::string_view(text).substr(
                           line.value.begin, std::min<std::size_t>(line.value.end - line.value.begin, 120)))},
            {"kind", kSymbolField},
            {"range", range},
            {"selectionRange",
             RangeJson(document.text.PositionOf(line.name.begin), document.text.PositionOf(line.name.end))}};
        if (names[k] == kScriptKeys[0] && document.kind == DocumentKind::Dialogue)
            symbol["children"] = RowSymbols(document, line);
        symbols.push_back(std::move(symbol));
    }
    return symbols;
}

} // namespace pw::lsp
