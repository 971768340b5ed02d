#include "core/dialogue/InfoScript.h"

#include "core/data/Cp1251.h"
#include "core/data/MessageText.h"
#include "core/data/Numbers.h"
#include "core/data/StringTable.h"
#include "core/data/StrUtilsEx.h"

#include <algorithm>
#include <optional>

namespace pw {

CommandRow NewCommandRow() {
    CommandRow row;
    row[0] = kEmptyPlaceholder;
    return row;
}

ConditionRow NewConditionRow() {
    ConditionRow row;
    row[0] = kEmptyPlaceholder;
    return row;
}

namespace {

// The cells of one row, trimmed, named as the rules name them.
struct Cells {
    std::string_view command, e1, e2, i1, i2, s;

    // The argument cells in the grid's order.
    std::array<std::string_view, kArgumentCellCount> Arguments() const { return {e1, e2, i1, i2, s}; }
};

// A broken rule: its message (UTF-8) and the cell of the row that holds what is wrong (see CommandRow).
struct Refusal {
    std::string message;
    std::size_t cell = 0;
};
using Verdict = std::optional<Refusal>;

// The cells of a row in the order of CommandRow.
enum Cell : std::size_t { kCommand, kEntities1, kEntities2, kIds1, kIds2, kTexts };

// An argument cell as a rule sees it.
struct Argument {
    std::string_view role;             // what the cell holds (UTF-8); empty: the cell must stay empty
    CellNames names = CellNames::None; // what the cell offers while typed into
};

// A command's rule: its help and its check, which refuses the cells the help calls empty.
struct Rule {
    std::string_view command;
    std::string_view does; // UTF-8
    std::array<Argument, kArgumentCellCount> arguments;
    Verdict (*check)(const Cells&, const Rule&);
};

// The names of the argument cells in the help, as the grid's header names the columns.
constexpr std::string_view kArgumentNames[kArgumentCellCount] = {"Entities1", "Entities2", "IDs1", "IDs2",
                                                                 "ID строки"};

bool IsParty(std::string_view text) {
    return AsciiEqualNoCase(text, "player") || AsciiEqualNoCase(text, "npc") ||
           AsciiEqualNoCase(text, "owner");
}

bool IsWholeNumber(std::string_view text) {
    return !text.empty() && ParseWholeNumber(text).has_value();
}

// The refusal of a row that fills a cell its rule wants empty: lead (UTF-8; a "%s" in it names the
// command as typed) followed by every cell the rule wants empty, in the grid's order, in brackets and one
// blank between two. Nothing when those cells are all empty.
// The refusal's cell is the first of them that is filled.
Verdict FilledSurplus(const Cells& c, const Rule& rule, std::string_view lead) {
    const auto arguments = c.Arguments();
    const auto surplus = [&rule](std::size_t i) { return rule.arguments[i].role.empty(); };
    std::optional<std::size_t> filled;
    for (std::size_t i = 0; i < kArgumentCellCount && !filled; ++i)
        if (surplus(i) && !arguments[i].empty())
            filled = i + 1;
    if (!filled)
        return std::nullopt;
    std::string cells;
    for (std::size_t i = 0; i < kArgumentCellCount; ++i) {
        if (!surplus(i))
            continue;
        cells += cells.empty() ? '[' : ' ';
        cells += Cp1251ToUtf8(arguments[i]);
    }
    return Refusal{FillMessage(lead, {c.command}) + " " + cells + "]", *filled};
}

Verdict CheckSay(const Cells& c, const Rule& rule) {
    if (!IsParty(c.e1))
        return Refusal{"Первым аргументом метода Say должен быть 'player', 'npc' или 'owner'.", kEntities1};
    if (Verdict surplus = FilledSurplus(c, rule, "Метод Say имеет недопустимые аргументы"))
        return surplus;
    if (c.s.empty())
        return Refusal{"Не указан ID строки в методе Say.", kTexts};
    return std::nullopt;
}

Verdict CheckGiveXP(const Cells& c, const Rule& rule) {
    if (!IsWholeNumber(c.i1))
        return Refusal{FillMessage("Нечисловой аргумент метода GiveXP [%s]", {c.i1}), kIds1};
    return FilledSurplus(c, rule, "Метод GiveXP получает лишние аргументы");
}

Verdict CheckSetGameEvent(const Cells& c, const Rule& rule) {
    if (c.i1.empty())
        return Refusal{FillMessage("Не указан аргумент метода %s", {c.command}), kIds1};
    return FilledSurplus(c, rule, "Метод %s имеет лишние аргументы");
}

Verdict CheckGive(const Cells& c, const Rule& rule) {
    if (!IsParty(c.e1))
        return Refusal{"Первым аргументом метода Give должен быть 'player', 'npc' или 'owner'.", kEntities1};
    if (!IsParty(c.e2))
        return Refusal{"Вторым аргументом метода Give должен быть 'player', 'npc' или 'owner'.", kEntities2};
    if (c.i1.empty())
        return Refusal{"Некорректный вызов Give. Не указан ID передаваемого предмета.", kIds1};
    if (!IsWholeNumber(c.i2))
        return Refusal{FillMessage("Нечисловой аргумент метода Give [%s]", {c.i2}), kIds2};
    return FilledSurplus(c, rule, "Метод Give получает лишние аргументы");
}

Verdict CheckEnd(const Cells& c, const Rule& rule) {
    return FilledSurplus(c, rule, "Указаны неуместные параметры при вызове End");
}

Verdict CheckQuestCommand(const Cells& c, const Rule& rule) {
    if (c.i1.empty())
        return Refusal{FillMessage("Неверный вызов %s. Не указано имя квеста.", {c.command}), kIds1};
    return FilledSurplus(c, rule, "Указаны неуместные параметры при вызове %s");
}

Verdict CheckAttack(const Cells& c, const Rule& rule) {
    if (!c.i1.empty() && !AsciiEqualNoCase(c.i1, "Duel"))
        return Refusal{"Опциональным параметром метода Attack может быть только 'Duel'", kIds1};
    return FilledSurplus(c, rule, "Указаны неуместные параметры при вызове Attack");
}

// Both commands report their surplus arguments under the name SetClass.
Verdict CheckSetClass(const Cells& c, const Rule& rule) {
    if (c.i1.empty())
        return Refusal{FillMessage("Некорректный вызов %s. Не указано название рутины или класс персонажа.",
                                   {c.command}),
                       kIds1};
    return FilledSurplus(c, rule, "Указаны неуместные параметры при вызове SetClass");
}

constexpr Argument kEmpty{};
constexpr Argument kQuestName{"имя квеста", CellNames::Quests};

// clang-format off
constexpr Rule kRules[] = {
    {"Say", "реплика",
     {{{"кто говорит (player/npc/owner)"}, kEmpty, kEmpty, kEmpty,
       {"ID реплики в таблице строк", CellNames::TableIds}}},
     CheckSay},
    {"GiveXP", "опыт герою",
     {{kEmpty, kEmpty, {"сколько опыта (число)"}, kEmpty, kEmpty}},
     CheckGiveXP},
    {"SetGameEvent", "отмечает событие (его ждёт «Необходимое условие»)",
     {{kEmpty, kEmpty, {"имя события", CellNames::Events}, kEmpty, kEmpty}},
     CheckSetGameEvent},
    {"Give", "передаёт предмет",
     {{{"кто отдаёт (player/npc/owner)"}, {"кому (player/npc/owner)"}, {"ID предмета"},
       {"сколько (число)"}, kEmpty}},
     CheckGive},
    {"End", "конец диалога", {{kEmpty, kEmpty, kEmpty, kEmpty, kEmpty}}, CheckEnd},
    {"SucceedQuest", "квест выполнен", {{kEmpty, kEmpty, kQuestName, kEmpty, kEmpty}},
     CheckQuestCommand},
    {"CloseQuest", "закрывает квест", {{kEmpty, kEmpty, kQuestName, kEmpty, kEmpty}}, CheckQuestCommand},
    {"RunQuest", "запускает квест", {{kEmpty, kEmpty, kQuestName, kEmpty, kEmpty}}, CheckQuestCommand},
    {"Attack", "нападение",
     {{{"кто нападает"}, {"на кого"}, {"Duel (поединок) или пусто"}, kEmpty, kEmpty}},
     CheckAttack},
    {"SetClass", "меняет класс персонажа",
     {{{"чей класс"}, kEmpty, {"класс персонажа"}, kEmpty, kEmpty}},
     CheckSetClass},
    {"SetRoutine", "меняет рутину персонажа",
     {{{"чья рутина"}, kEmpty, {"название рутины"}, kEmpty, kEmpty}},
     CheckSetClass},
};
// clang-format on

// The rule of a command cell (trimmed, A-Z folded); null for a command no rule knows.
const Rule* RuleOf(std::string_view command) {
    command = TrimView(command);
    for (const Rule& rule : kRules)
        if (AsciiEqualNoCase(command, rule.command))
            return &rule;
    return nullptr;
}

Verdict CheckRow(const CommandRow& row) {
    const Rule* rule = RuleOf(row[0]);
    if (!rule)
        return std::nullopt;
    const Cells cells{TrimView(row[0]), TrimView(row[1]), TrimView(row[2]),
                      TrimView(row[3]), TrimView(row[4]), TrimView(row[5])};
    return rule->check(cells, *rule);
}

// The holder's refusal: the message only, since it is no command row's.
std::optional<std::string> CheckHolder(std::size_t itemRowCount, std::string_view holderText) {
    const bool noHolder = TrimView(holderText).empty();
    if (itemRowCount > 0 && noHolder)
        return "Список предметов имеет записи, но персонаж-держатель не указан.";
    if (itemRowCount == 0 && !noHolder)
        return "Указан персонаж-держатель, но список предметов пуст.";
    return std::nullopt;
}

} // namespace

ScriptCheck CheckUnfilledRows(const std::vector<CommandRow>& rows) {
    std::size_t filledEnd = rows.size(); // the rows from here on are all unfilled
    while (filledEnd > 0 && rows[filledEnd - 1][0] == kEmptyPlaceholder)
        --filledEnd;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const CommandRow& row = rows[i];
        if (row[0] != kEmptyPlaceholder)
            continue;
        const bool holdsArgument = std::any_of(
            row.begin() + 1, row.end(), [](const std::string& cell) { return !TrimView(cell).empty(); });
        if (i < filledEnd || holdsArgument)
            return {true,
                    FillMessage("Строка %s списка команд не заполнена: укажите метод или удалите строку.",
                                {std::to_string(i + 1)}),
                    CommandListKey(kCommand), i};
    }
    return {};
}

ScriptCheck CheckInfoScript(const std::vector<CommandRow>& rows, std::size_t itemRowCount,
                            std::string_view holderText) {
    if (std::optional<std::string> holder = CheckHolder(itemRowCount, holderText))
        return {true, std::move(*holder), "CondItemContainer", std::nullopt};
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (Verdict verdict = CheckRow(rows[i]))
            return {true, std::move(verdict->message), CommandListKey(verdict->cell), i};
    return {};
}

std::string_view CommandListKey(std::size_t cell) {
    static constexpr std::string_view kKeys[kCommandCellCount] = {
        "InfoScript_Commands", "InfoScript_Entities1", "InfoScript_Entities2",
        "InfoScript_IDs1",     "InfoScript_IDs2",      "InfoScript_Texts"};
    return kKeys[cell];
}

const std::vector<std::string>& ScriptCommands() {
    static const std::vector<std::string> commands = [] {
        std::vector<std::string> names;
        for (const Rule& rule : kRules)
            names.emplace_back(rule.command);
        std::sort(names.begin(), names.end(),
                  [](const std::string& a, const std::string& b) { return AsciiLessNoCase(a, b); });
        return names;
    }();
    return commands;
}

std::string CommandHelp(std::string_view command) {
    const Rule* rule = RuleOf(command);
    if (!rule)
        return {};
    std::string help = std::string(rule->command) + " — " + std::string(rule->does) + ":";
    std::string empty; // the cells that stay empty, named together at the end
    const char* separator = " ";
    for (std::size_t i = 0; i < kArgumentCellCount; ++i) {
        const std::string_view role = rule->arguments[i].role;
        if (role.empty()) {
            empty += (empty.empty() ? "" : ", ") + std::string(kArgumentNames[i]);
            continue;
        }
        help += separator + std::string(kArgumentNames[i]) + " — " + std::string(role);
        separator = "; ";
    }
    if (!empty.empty())
        help += separator + empty + " — пусто";
    return help;
}

std::array<bool, kArgumentCellCount> CommandEmptyCells(std::string_view command) {
    std::array<bool, kArgumentCellCount> empty{};
    if (const Rule* rule = RuleOf(command))
        for (std::size_t i = 0; i < kArgumentCellCount; ++i)
            empty[i] = rule->arguments[i].role.empty();
    return empty;
}

CellNames CommandCellNames(std::string_view command, std::size_t cell) {
    if (cell == 0)
        return CellNames::Commands;
    if (cell >= kCommandCellCount)
        return CellNames::None;
    if (const Rule* rule = RuleOf(command))
        return rule->arguments[cell - 1].names;
    return cell == kCommandCellCount - 1 ? CellNames::TableIds : CellNames::None;
}

} // namespace pw
