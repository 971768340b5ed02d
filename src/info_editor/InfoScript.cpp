#include "info_editor/InfoScript.h"

#include "data/Cp1251.h"
#include "data/MessageText.h"
#include "data/Numbers.h"
#include "data/StrUtilsEx.h"
#include "data/StringTable.h"

#include <algorithm>
#include <initializer_list>
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
    std::string command, e1, e2, i1, i2, s;
};

using Verdict = std::optional<std::string>;

bool IsParty(std::string_view text) {
    return AsciiEqualNoCase(text, "player") || AsciiEqualNoCase(text, "npc") ||
           AsciiEqualNoCase(text, "owner");
}

bool IsWholeNumber(std::string_view text) {
    return !text.empty() && ParseWholeNumber(text).has_value();
}

bool AnyFilled(std::initializer_list<std::string_view> cells) {
    for (std::string_view cell : cells) {
        if (!cell.empty())
            return true;
    }
    return false;
}

Verdict CheckSay(const Cells& c) {
    if (!IsParty(c.e1))
        return "Первым аргументом метода Say должен быть 'player', 'npc' или 'owner'.";
    if (AnyFilled({c.e2, c.i1, c.i2}))
        return FillMessage("Метод Say имеет недопустимые аргументы [%s %s %s]", {c.e2, c.i1, c.i2});
    if (c.s.empty())
        return "Не указан ID строки в методе Say.";
    return std::nullopt;
}

Verdict CheckGiveXP(const Cells& c) {
    if (!IsWholeNumber(c.i1))
        return FillMessage("Нечисловой аргумент метода GiveXP [%s]", {c.i1});
    if (AnyFilled({c.e1, c.e2, c.i2, c.s}))
        return FillMessage("Метод GiveXP получает лишние аргументы [%s %s %s %s]", {c.e1, c.e2, c.i2, c.s});
    return std::nullopt;
}

Verdict CheckSetGameEvent(const Cells& c) {
    if (c.i1.empty())
        return FillMessage("Не указан аргумент метода %s", {c.command});
    if (AnyFilled({c.e1, c.e2, c.i2, c.s}))
        return FillMessage("Метод %s имеет лишние аргументы [%s %s %s %s]",
                           {c.command, c.e1, c.e2, c.i2, c.s});
    return std::nullopt;
}

Verdict CheckGive(const Cells& c) {
    if (!IsParty(c.e1))
        return "Первым аргументом метода Give должен быть 'player', 'npc' или 'owner'.";
    if (!IsParty(c.e2))
        return "Вторым аргументом метода Give должен быть 'player', 'npc' или 'owner'.";
    if (c.i1.empty())
        return "Некорректный вызов Give. Не указан ID передаваемого предмета.";
    if (!IsWholeNumber(c.i2))
        return FillMessage("Нечисловой аргумент метода Give [%s]", {c.i2});
    if (!c.s.empty())
        return FillMessage("Метод Give получает лишние аргументы [%s]", {c.s});
    return std::nullopt;
}

Verdict CheckEnd(const Cells& c) {
    if (AnyFilled({c.e1, c.e2, c.i1, c.i2, c.s}))
        return FillMessage("Указаны неуместные параметры при вызове End [%s %s %s %s %s]",
                           {c.e1, c.e2, c.i1, c.i2, c.s});
    return std::nullopt;
}

Verdict CheckQuestCommand(const Cells& c) {
    if (c.i1.empty())
        return FillMessage("Неверный вызов %s. Не указано имя квеста.", {c.command});
    if (AnyFilled({c.e1, c.e2, c.i2, c.s}))
        return FillMessage("Указаны неуместные параметры при вызове %s [%s %s %s %s]",
                           {c.command, c.e1, c.e2, c.i2, c.s});
    return std::nullopt;
}

Verdict CheckAttack(const Cells& c) {
    if (!c.i1.empty() && !AsciiEqualNoCase(c.i1, "Duel"))
        return "Опциональным параметром метода Attack может быть только 'Duel'";
    if (AnyFilled({c.i2, c.s}))
        return FillMessage("Указаны неуместные параметры при вызове Attack [%s %s]", {c.i2, c.s});
    return std::nullopt;
}

// Both commands report their surplus arguments under the name SetClass.
Verdict CheckSetClass(const Cells& c) {
    if (c.i1.empty())
        return FillMessage("Некорректный вызов %s. Не указано название рутины или класс персонажа.",
                           {c.command});
    if (AnyFilled({c.e2, c.i2, c.s}))
        return FillMessage("Указаны неуместные параметры при вызове SetClass [%s %s %s]", {c.e2, c.i2, c.s});
    return std::nullopt;
}

struct Rule {
    std::string_view command;
    Verdict (*check)(const Cells&);
};

constexpr Rule kRules[] = {
    {"Say", CheckSay},
    {"GiveXP", CheckGiveXP},
    {"SetGameEvent", CheckSetGameEvent},
    {"Give", CheckGive},
    {"End", CheckEnd},
    {"SucceedQuest", CheckQuestCommand},
    {"CloseQuest", CheckQuestCommand},
    {"RunQuest", CheckQuestCommand},
    {"Attack", CheckAttack},
    {"SetClass", CheckSetClass},
    {"SetRoutine", CheckSetClass},
};

Verdict CheckRow(const CommandRow& row) {
    const Cells cells{Trim(row[0]), Trim(row[1]), Trim(row[2]), Trim(row[3]), Trim(row[4]), Trim(row[5])};
    for (const Rule& rule : kRules) {
        if (AsciiEqualNoCase(cells.command, rule.command))
            return rule.check(cells);
    }
    return std::nullopt;
}

Verdict CheckHolder(std::size_t itemRowCount, std::string_view holderText) {
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
                                {std::to_string(i + 1)})};
    }
    return {};
}

ScriptCheck CheckInfoScript(const std::vector<CommandRow>& rows, std::size_t itemRowCount,
                            std::string_view holderText) {
    Verdict verdict = CheckHolder(itemRowCount, holderText);
    for (std::size_t i = 0; !verdict && i < rows.size(); ++i)
        verdict = CheckRow(rows[i]);
    if (!verdict)
        return {};
    return {true, std::move(*verdict)};
}

} // namespace pw
