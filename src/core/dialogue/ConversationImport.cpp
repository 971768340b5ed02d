#include "core/dialogue/ConversationImport.h"

#include "core/data/FileIO.h"
#include "core/data/MessageText.h"
#include "core/data/ProfileIni.h"
#include "core/data/StringTable.h"
#include "core/data/StrUtilsEx.h"
#include "core/data/TextLines.h"
#include "core/strings/SemicolonNorm.h"
#include "core/strings/TableLanguages.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <optional>
#include <stdexcept>

namespace pw {
namespace {

using IdSet = std::unordered_set<std::string, FoldedHash, FoldedEqual>;

std::string_view SectionName(std::string_view header) {
    const std::size_t close = header.find(']');
    return TrimView(header.substr(1, close == std::string_view::npos ? header.size() - 1 : close - 1));
}

std::string LinePrefix(std::size_t number) {
    return "Строка " + std::to_string(number) + ": ";
}

// Why a line of the input is no Windows-1251 text, naming the first character the code page lacks.
std::string CodePageRefusal(std::string_view utf8, std::size_t number) {
    const std::optional<std::u32string> text = DecodeUtf8(utf8);
    if (!text)
        return LinePrefix(number) + "текст не в кодировке UTF-8.";
    if (const std::optional<LackingCharacter> lacking = FirstCp1251Lacks(*text))
        return LinePrefix(number) + "символа «" + lacking->utf8 + "» (" + lacking->codePoint +
               ") нет в кодировке Windows-1251.";
    return {};
}

// Why id cannot name an entry: besides what the table cannot read back, blanks and ";" would split it
// in the dialogue's ";"-list of text IDs. subject names it in the message.
std::optional<std::string> IdProblem(std::string_view id, std::string_view subject) {
    if (std::any_of(id.begin(), id.end(),
                    [](char c) { return static_cast<unsigned char>(c) <= 32 || c == ';'; }))
        return std::string(subject) + " \"" + Cp1251ToUtf8(id) + "\" не может содержать пробелы и \";\"";
    return ProfileKeyProblemMessage(CheckProfileKey(id), subject, Cp1251ToUtf8(id));
}

bool IsHero(std::string_view speaker) {
    static const std::string names[] = {"PC_Hero", "Hero", "Player", Utf8ToCp1251("Герой"),
                                        Utf8ToCp1251("Я")};
    return std::any_of(std::begin(names), std::end(names),
                       [speaker](const std::string& name) { return Cp1251EqualNoCase(speaker, name); });
}

std::string PartyOf(std::string_view speaker, std::string_view owner) {
    if (!owner.empty() && AsciiEqualNoCase(speaker, owner))
        return "owner";
    return IsHero(speaker) ? "player" : "npc";
}

// The first argument of AI_Output names who speaks: self the dialogue's owner, other or hero the player.
std::string ScriptPartyOf(std::string_view first) {
    if (AsciiEqualNoCase(first, "self"))
        return "owner";
    return AsciiEqualNoCase(first, "other") || AsciiEqualNoCase(first, "hero") ? "player" : "npc";
}

// A spoken line of a script, AI_Output(first, second, "ID"); //text, read with blanks allowed between
// the parts.
struct ScriptLine {
    std::string_view first;
    std::string_view id;
    std::string_view text;
};

class ScriptCursor {
public:
    explicit ScriptCursor(std::string_view text) : mRest(text) {}
    bool Take(std::string_view token) {
        mRest = TrimView(mRest);
        if (mRest.size() < token.size() || !AsciiEqualNoCase(mRest.substr(0, token.size()), token))
            return false;
        mRest.remove_prefix(token.size());
        return true;
    }
    // The text up to stop, trimmed; the cursor stays at stop.
    std::string_view Until(char stop) {
        const std::size_t at = std::min(mRest.find(stop), mRest.size());
        const std::string_view part = mRest.substr(0, at);
        mRest.remove_prefix(at);
        return TrimView(part);
    }
    std::string_view Rest() const { return TrimView(mRest); }

private:
    std::string_view mRest;
};

bool IsScriptLine(std::string_view line) {
    constexpr std::string_view kCall = "AI_Output";
    return line.size() > kCall.size() && AsciiEqualNoCase(line.substr(0, kCall.size()), kCall) &&
           (line[kCall.size()] == '(' || static_cast<unsigned char>(line[kCall.size()]) <= 32);
}

std::optional<ScriptLine> ReadScriptLine(std::string_view line) {
    ScriptCursor cursor(line);
    ScriptLine script;
    if (!cursor.Take("AI_Output") || !cursor.Take("("))
        return std::nullopt;
    script.first = cursor.Until(',');
    if (script.first.empty() || !cursor.Take(",") || cursor.Until(',').empty() || !cursor.Take(",") ||
        !cursor.Take("\""))
        return std::nullopt;
    script.id = cursor.Until('"');
    if (script.id.empty() || !cursor.Take("\"") || !cursor.Take(")") || !cursor.Take(";") ||
        !cursor.Take("//"))
        return std::nullopt;
    script.text = cursor.Rest();
    return script;
}

// Where "Speaker:" ends in a line (trimmed): at the first ":" after one word; npos when the line has
// none and so continues the line before it.
std::size_t SpeakerEnd(std::string_view line) {
    const std::size_t colon = line.find(':');
    if (colon == 0 || colon == std::string_view::npos)
        return std::string_view::npos;
    const std::string_view speaker = line.substr(0, colon);
    const bool oneWord = std::none_of(speaker.begin(), speaker.end(),
                                      [](char c) { return static_cast<unsigned char>(c) <= 32; });
    return oneWord ? colon : std::string_view::npos;
}

// A spoken line as read, before its ID is settled.
struct ReadLine {
    ConversationLine line;
    bool named = false; // line.id is the ID an AI_Output line named
};

// Reads one input line into lines; returns the refusal, or an empty text.
std::string TakeLine(std::string_view utf8, std::size_t number, std::string_view owner,
                     std::vector<ReadLine>& lines) {
    const std::optional<std::string> bytes = Utf8ToCp1251Exact(utf8);
    if (!bytes)
        return CodePageRefusal(utf8, number);
    const std::string_view line = TrimView(*bytes);
    if (line.empty())
        return {};
    std::string_view text;
    const std::size_t colon = SpeakerEnd(line);
    if (IsScriptLine(line)) {
        const std::optional<ScriptLine> script = ReadScriptLine(line);
        if (!script)
            return LinePrefix(number) + "не читается как AI_Output(self, other, \"ID\"); //текст.";
        lines.push_back({{number,
                          std::string(script->first),
                          ScriptPartyOf(script->first),
                          std::string(script->id),
                          {},
                          {},
                          {}},
                         true});
        text = script->text;
    } else if (colon != std::string_view::npos) {
        const std::string_view speaker = line.substr(0, colon);
        lines.push_back({{number, std::string(speaker), PartyOf(speaker, owner), {}, {}, {}, {}}, false});
        text = TrimView(line.substr(colon + 1));
    } else if (lines.empty()) {
        return LinePrefix(number) + "не указано, кто говорит (ожидается «Имя: текст»).";
    } else {
        text = line;
    }
    // A ";" would end the text inside the entry, where the value's further fields begin.
    if (text.find(';') != std::string_view::npos)
        return LinePrefix(number) + "в тексте есть \";\", а он разделяет поля записи таблицы строк.";
    std::string& joined = lines.back().line.text;
    if (!joined.empty() && !text.empty())
        joined += ' ';
    joined += text;
    return {};
}

// Refuses a conversation without a spoken line, a line without text and one too long to be read back.
std::string TextsRefusal(const std::vector<ReadLine>& lines, int semicolons) {
    if (lines.empty())
        return "В тексте нет ни одной реплики «Имя: текст».";
    for (const ReadLine& read : lines) {
        if (read.line.text.empty())
            return LinePrefix(read.line.line) + "нет текста реплики.";
        if (read.line.text.size() + static_cast<std::size_t>(semicolons) > kProfileValueLimit)
            return LinePrefix(read.line.line) + "реплика длиннее " + std::to_string(kProfileValueLimit) +
                   " знаков, которые игра читает из записи таблицы строк.";
    }
    return {};
}

std::optional<unsigned long long> NumberAfter(std::string_view id, std::string_view prefix) {
    if (id.size() <= prefix.size() + 1 || !AsciiEqualNoCase(id.substr(0, prefix.size()), prefix) ||
        id[prefix.size()] != '_')
        return std::nullopt;
    const std::string_view digits = id.substr(prefix.size() + 1);
    // Longer numbers are left to the look-up of each new ID, which never takes an ID the table holds.
    if (digits.size() > 18 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    unsigned long long number = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), number);
    return number;
}

std::string NumberedId(std::string_view prefix, unsigned long long number) {
    return std::string(prefix) + (number < 10 ? "_0" : "_") + std::to_string(number);
}

// Keeps the IDs AI_Output lines named where neither the table nor an earlier line holds them; returns
// the refusal for a kept ID that could not name an entry, or an empty text.
std::string KeepNamedIds(std::vector<ReadLine>& lines, const IdSet& tableIds, IdSet& kept) {
    for (ReadLine& read : lines) {
        if (!read.named)
            continue;
        ConversationLine& line = read.line;
        if (tableIds.count(line.id) || kept.count(line.id)) {
            line.note = FillMessage(tableIds.count(line.id) ? "ID %s уже есть в таблице строк"
                                                            : "ID %s уже встречался выше",
                                    {line.id});
            read.named = false;
            continue;
        }
        if (std::optional<std::string> problem = IdProblem(line.id, "Идентификатор строки"))
            return LinePrefix(line.line) + *problem + ".";
        kept.insert(line.id);
    }
    return {};
}

// Gives every line without a kept ID the next PREFIX_NN after the highest the table holds, skipping any
// that is taken by the table or a kept ID. A kept ID does not move the numbering: the lines after an
// AI_Output line's Diego_99 still follow the table's Diego_04.
void NumberLines(std::vector<ReadLine>& lines, std::string_view prefix, const IdSet& tableIds,
                 const IdSet& kept) {
    unsigned long long highest = 0;
    for (const std::string& id : tableIds)
        highest = std::max(highest, NumberAfter(id, prefix).value_or(0));
    unsigned long long next = highest + 1;
    for (ReadLine& read : lines) {
        if (read.named)
            continue;
        std::string id = NumberedId(prefix, next++);
        while (tableIds.count(id) || kept.count(id))
            id = NumberedId(prefix, next++);
        read.line.id = std::move(id);
    }
}

} // namespace

ConversationTable ReadConversationTable(const std::string& path) {
    ConversationTable table;
    if (!PathExists(path))
        return table;
    TextLineReader reader;
    std::string reason;
    if (!reader.Open(path, &reason))
        throw std::runtime_error(CannotOpenFileMessage(path, reason));
    // The IDs and the norm as the lint sees them: every section "LocAdmin_Strings" counts.
    SemicolonNorm norm;
    bool inStrings = false;
    const bool read = reader.ReadLines([&](std::string_view raw) {
        const std::string_view line = TrimView(raw);
        if (line.empty() || line.front() == ';')
            return;
        if (line.front() == '[') {
            inStrings = AsciiEqualNoCase(SectionName(line), kStringsSection);
            return;
        }
        const std::size_t eq = line.find('=');
        if (!inStrings || eq == std::string_view::npos)
            return;
        const std::string_view id = TrimView(line.substr(0, eq));
        if (!reader.Utf8Lines())
            table.ids.emplace(id);
        else if (std::optional<std::string> spelled = Utf8ToCp1251Exact(id))
            table.ids.insert(std::move(*spelled));
        norm.Add(TrimView(line.substr(eq + 1)));
    });
    if (!read)
        throw std::runtime_error(CannotOpenFileMessage(path, SystemErrorText(EIO)));
    // A value always ends in ";", as the single write of an entry makes it.
    table.semicolons = std::max(norm.Norm(), 1);
    return table;
}

ConversationPlan PlanConversation(std::string_view text, std::string_view owner, std::string_view prefix,
                                  const ConversationTable& table) {
    ConversationPlan plan;
    if (TrimView(prefix).empty()) {
        plan.refusal = "Не задан префикс ID.";
        return plan;
    }
    if (std::optional<std::string> problem = IdProblem(prefix, "Префикс ID")) {
        plan.refusal = *problem + ".";
        return plan;
    }
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    std::vector<ReadLine> lines;
    std::size_t number = 0;
    ForEachTextLine(text, [&](std::string_view line) {
        if (plan.refusal.empty())
            plan.refusal = TakeLine(line, ++number, TrimView(owner), lines);
    });
    if (plan.refusal.empty())
        plan.refusal = TextsRefusal(lines, table.semicolons);
    IdSet kept;
    if (plan.refusal.empty())
        plan.refusal = KeepNamedIds(lines, table.ids, kept);
    if (!plan.refusal.empty())
        return plan;
    NumberLines(lines, prefix, table.ids, kept);
    for (ReadLine& read : lines) {
        const auto semicolons = static_cast<std::size_t>(table.semicolons);
        read.line.value =
            WithField(std::string(semicolons, ';'), table.textField, read.line.text, semicolons + 1);
        plan.lines.push_back(std::move(read.line));
    }
    return plan;
}

std::vector<CommandRow> ConversationRows(const ConversationPlan& plan) {
    std::vector<CommandRow> rows;
    for (const ConversationLine& line : plan.lines)
        rows.push_back({"Say", line.party, "", "", "", line.id});
    return rows;
}

std::vector<std::pair<std::string, std::string>> ConversationEntries(const ConversationPlan& plan) {
    std::vector<std::pair<std::string, std::string>> entries;
    for (const ConversationLine& line : plan.lines)
        entries.emplace_back(line.id, line.value);
    return entries;
}

std::size_t InsertConversationRows(std::vector<CommandRow>& rows, std::size_t at,
                                   const std::vector<CommandRow>& added) {
    const auto blank = [](const CommandRow& row) {
        return (TrimView(row[0]).empty() || row[0] == kEmptyPlaceholder) &&
               std::all_of(row.begin() + 1, row.end(),
                           [](const std::string& cell) { return TrimView(cell).empty(); });
    };
    if (rows.size() == 1 && blank(rows.front()))
        rows.clear();
    at = std::min(at, rows.size());
    rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(at), added.begin(), added.end());
    return at;
}

std::size_t ConversationPlace(const std::vector<CommandRow>& rows) {
    const bool endsWithEnd = !rows.empty() && AsciiEqualNoCase(TrimView(rows.back()[0]), "End");
    return endsWithEnd ? rows.size() - 1 : rows.size();
}

} // namespace pw
