#include "core/data/Cp1251.h"
#include "core/dialogue/InfoScript.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <optional>

namespace {

using pw::CheckInfoScript;
using pw::CommandRow;

struct ScriptCase {
    const char* name;
    CommandRow row;
    const char* expected; // UTF-8; empty when the row passes
};

// One command row (cells given in UTF-8, checked as Windows-1251), no condition items and no holder.
std::string MessageFor(CommandRow row) {
    for (std::string& cell : row)
        cell = pw::Utf8ToCp1251(cell);
    pw::ScriptCheck check = CheckInfoScript({row}, 0, "");
    EXPECT_EQ(check.broken, !check.message.empty());
    return check.message;
}

const ScriptCase kCases[] = {
    {"SayPasses", {"Say", "player", "", "", "", "T1"}, ""},
    {"SayPartyCaseIgnored", {"Say", "Player", "", "", "", "T1"}, ""},
    {"SayBadParty",
     {"Say", "hero", "", "", "", "T1"},
     "Первым аргументом метода Say должен быть 'player', 'npc' или 'owner'."},
    {"SayNoParty",
     {"say", "", "", "", "", "T1"},
     "Первым аргументом метода Say должен быть 'player', 'npc' или 'owner'."},
    {"SayExtraArgsKeepBlanks",
     {"Say", "npc", "owner", "", "", "T1"},
     "Метод Say имеет недопустимые аргументы [owner  ]"},
    {"SayNoText", {"Say", "owner", "", "", "", "  "}, "Не указан ID строки в методе Say."},
    {"GiveXPPasses", {"GiveXP", "", "", "100", "", ""}, ""},
    {"GiveXPHexPasses", {"GiveXP", "", "", "$1F", "", ""}, ""},
    {"GiveXPNotNumber", {"GiveXP", "", "", "1e2", "", ""}, "Нечисловой аргумент метода GiveXP [1e2]"},
    {"GiveXPWord", {"GiveXP", "", "", "abc", "", ""}, "Нечисловой аргумент метода GiveXP [abc]"},
    {"GiveXPCyrillic", {"GiveXP", "", "", "сто", "", ""}, "Нечисловой аргумент метода GiveXP [сто]"},
    {"GiveXPEmpty", {"GiveXP", "", "", "", "", ""}, "Нечисловой аргумент метода GiveXP []"},
    {"GiveXPExtra", {"GiveXP", "a", "", "5", "", "s"}, "Метод GiveXP получает лишние аргументы [a   s]"},
    {"SetGameEventNoArg", {"setgameevent", "", "", "", "", ""}, "Не указан аргумент метода setgameevent"},
    {"SetGameEventExtra",
     {"SetGameEvent", "", "x", "Ev", "", ""},
     "Метод SetGameEvent имеет лишние аргументы [ x  ]"},
    {"GivePasses", {"Give", "player", "npc", "It_Gold", "2", ""}, ""},
    {"GiveBadFirst",
     {"Give", "pc", "npc", "It", "2", ""},
     "Первым аргументом метода Give должен быть 'player', 'npc' или 'owner'."},
    {"GiveBadSecond",
     {"Give", "player", "", "It", "2", ""},
     "Вторым аргументом метода Give должен быть 'player', 'npc' или 'owner'."},
    {"GiveNoItem",
     {"Give", "player", "owner", "", "2", ""},
     "Некорректный вызов Give. Не указан ID передаваемого предмета."},
    {"GiveNoAmount", {"Give", "player", "npc", "It", "", ""}, "Нечисловой аргумент метода Give []"},
    {"GiveText", {"Give", "player", "npc", "It", "2", "T"}, "Метод Give получает лишние аргументы [T]"},
    {"EndPasses", {"END", " ", "", "", "", ""}, ""},
    {"EndExtra", {"End", "a", "", "c", "", "e"}, "Указаны неуместные параметры при вызове End [a  c  e]"},
    {"RunQuestNoName", {"RunQuest", "", "", "", "", ""}, "Неверный вызов RunQuest. Не указано имя квеста."},
    {"CloseQuestExtra",
     {"closequest", "", "", "Q", "x", ""},
     "Указаны неуместные параметры при вызове closequest [  x ]"},
    {"SucceedQuestPasses", {"SucceedQuest", "", "", "Q", "", ""}, ""},
    {"AttackDuelPasses", {"Attack", "a", "b", "duel", "", ""}, ""},
    {"AttackFight",
     {"Attack", "", "", "Fight", "", ""},
     "Опциональным параметром метода Attack может быть только 'Duel'"},
    {"AttackExtra", {"Attack", "", "", "", "x", "y"}, "Указаны неуместные параметры при вызове Attack [x y]"},
    {"SetClassNoArg",
     {"SetClass", "", "", "", "", ""},
     "Некорректный вызов SetClass. Не указано название рутины или класс персонажа."},
    {"SetRoutineNoArg",
     {"setroutine", "x", "", "", "", ""},
     "Некорректный вызов setroutine. Не указано название рутины или класс персонажа."},
    {"SetRoutineNamesSetClass",
     {"SetRoutine", "x", "y", "R", "", ""},
     "Указаны неуместные параметры при вызове SetClass [y  ]"},
    {"PlaceholderCommandPasses", {"<EMPTY>", "a", "b", "c", "d", "e"}, ""},
    {"UnknownCommandPasses", {"Teleport", "a", "b", "c", "d", "e"}, ""},
    {"EmptyCommandPasses", {"", "a", "", "", "", ""}, ""},
    {"CellsAreTrimmed", {"  Say ", " npc ", " ", "", "", " T1 "}, ""},
};

class CheckInfoScriptRow : public testing::TestWithParam<ScriptCase> {};

TEST_P(CheckInfoScriptRow, GivesTheRulesMessage) {
    EXPECT_EQ(MessageFor(GetParam().row), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Rules, CheckInfoScriptRow, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The holder and item rules come before the rows; of the rows, the first broken one is reported, with the
// list and the row that hold what is wrong.
TEST(CheckInfoScript, HolderRulesFirstThenTheFirstBrokenRow) {
    const CommandRow badParty{"Say", "hero", "", "", "", ""};
    std::vector<CommandRow> fiveRows(5, CommandRow{"End", "", "", "", "", ""});
    fiveRows[1] = {"GiveXP", "", "", "abc", "", ""};
    fiveRows[4] = badParty;
    struct Case {
        const char* name;
        std::vector<CommandRow> rows;
        int items;
        const char* holder;
        const char* expected; // empty when the script passes
        const char* key;
        std::optional<std::size_t> row;
    };
    const Case cases[] = {
        {"NothingAtAll", {}, 0, "", "", "", std::nullopt},
        {"ItemsWithoutHolder",
         {badParty},
         1,
         " \t ",
         "Список предметов имеет записи, но персонаж-держатель не указан.",
         "CondItemContainer",
         std::nullopt},
        {"HolderWithoutItems",
         {},
         0,
         "Diego",
         "Указан персонаж-держатель, но список предметов пуст.",
         "CondItemContainer",
         std::nullopt},
        {"HolderWithItems", {}, 2, "Diego", "", "", std::nullopt},
        {"HolderWithItemsThenTheRows",
         {{"End", "x", "", "", "", ""}},
         2,
         "Diego",
         "Указаны неуместные параметры при вызове End [x    ]",
         "InfoScript_Entities1",
         0},
        {"FirstBrokenRow", fiveRows, 0, "", "Нечисловой аргумент метода GiveXP [abc]", "InfoScript_IDs1", 1},
    };
    for (const Case& c : cases) {
        const pw::ScriptCheck check = CheckInfoScript(c.rows, c.items, c.holder);
        EXPECT_EQ(check.message, c.expected) << c.name;
        EXPECT_EQ(check.broken, *c.expected != '\0') << c.name;
        EXPECT_EQ(check.key, c.key) << c.name;
        EXPECT_EQ(check.row, c.row) << c.name;
    }
}

// Rows given by their command cells; a cell of arguments marks the row that holds one.
std::vector<CommandRow> Rows(std::initializer_list<std::pair<const char*, const char*>> rows) {
    std::vector<CommandRow> out;
    for (auto [command, argument] : rows)
        out.push_back({command, argument, "", "", "", ""});
    return out;
}

TEST(CheckUnfilledRows, OnlyRowsThatWouldShiftArgumentsAreRefused) {
    struct Case {
        const char* name;
        std::vector<CommandRow> rows;
        const char* expected; // empty when the list passes
    };
    const char* const row1 = "Строка 1 списка команд не заполнена: укажите метод или удалите строку.";
    const char* const row2 = "Строка 2 списка команд не заполнена: укажите метод или удалите строку.";
    const char* const row3 = "Строка 3 списка команд не заполнена: укажите метод или удалите строку.";
    const Case cases[] = {
        {"NoRows", {}, ""},
        {"FilledRows", Rows({{"Say", "player"}, {"End", ""}}), ""},
        {"UnfilledAtTheEnd", Rows({{"Say", "player"}, {"<EMPTY>", ""}, {"<EMPTY>", " "}}), ""},
        {"OnlyUnfilled", Rows({{"<EMPTY>", ""}}), ""},
        {"PlaceholderIsExact", Rows({{"<empty>", ""}, {"Say", "player"}}), ""},
        {"BeforeACommand", Rows({{"Say", "player"}, {"<EMPTY>", ""}, {"Say", "owner"}}), row2},
        {"BeforeAnEmptiedCommand", Rows({{"Say", "player"}, {"<EMPTY>", ""}, {"", ""}}), row2},
        {"FirstRow", Rows({{"<EMPTY>", ""}, {"<EMPTY>", ""}, {"End", ""}}), row1},
        {"HoldsAnArgument", Rows({{"Say", "player"}, {"<EMPTY>", "x"}}), row2},
        {"ArgumentAfterABlankOne", Rows({{"Say", "player"}, {"<EMPTY>", ""}, {"<EMPTY>", "x"}}), row3},
    };
    for (const Case& c : cases) {
        const pw::ScriptCheck check = pw::CheckUnfilledRows(c.rows);
        EXPECT_EQ(check.message, c.expected) << c.name;
        EXPECT_EQ(check.broken, *c.expected != '\0') << c.name;
        // The row the message names, counted from 0, in the list of the commands.
        const std::optional<std::size_t> row =
            check.broken ? std::optional<std::size_t>(c.expected[std::strlen("Строка ")] - '1')
                         : std::nullopt;
        EXPECT_EQ(check.row, row) << c.name;
    }
    std::vector<CommandRow> lastCellFilled = Rows({{"<EMPTY>", ""}});
    lastCellFilled[0][5] = "T1";
    EXPECT_EQ(pw::CheckUnfilledRows(lastCellFilled).message, row1);
}

// The help and the check read one rule: a row that fills exactly the cells the help gives a role passes,
// and filling any cell the help calls empty is refused. The Texts cell offers the table's IDs where it
// has a role.
TEST(CommandHelp, NamesTheCellsTheCheckRefusesFilled) {
    const CommandRow valid[] = {{"Say", "npc", "", "", "", "T1"},
                                {"GiveXP", "", "", "100", "", ""},
                                {"SetGameEvent", "", "", "Ev", "", ""},
                                {"Give", "player", "npc", "It_Gold", "2", ""},
                                {"End", "", "", "", "", ""},
                                {"SucceedQuest", "", "", "Q", "", ""},
                                {"CloseQuest", "", "", "Q", "", ""},
                                {"RunQuest", "", "", "Q", "", ""},
                                {"Attack", "a", "b", "Duel", "", ""},
                                {"SetClass", "owner", "", "Warrior", "", ""},
                                {"SetRoutine", "owner", "", "Sleep", "", ""}};
    std::vector<std::string> commands;
    for (const CommandRow& row : valid) {
        SCOPED_TRACE(row[0]);
        commands.push_back(row[0]);
        EXPECT_TRUE(pw::CommandHelp(" " + row[0] + " ").starts_with(row[0] + " — "));
        EXPECT_EQ(MessageFor(row), "");
        const auto empty = pw::CommandEmptyCells(pw::Cp1251UpperString(row[0]));
        EXPECT_EQ(pw::CommandCellNames(row[0], 5) == pw::CellNames::TableIds, !empty[4]);
        for (std::size_t i = 0; i < pw::kArgumentCellCount; ++i) {
            EXPECT_EQ(row[i + 1].empty(), empty[i]) << "cell " << i;
            CommandRow filled = row;
            filled[i + 1] = "x";
            EXPECT_TRUE(!empty[i] || !MessageFor(filled).empty()) << "cell " << i;
        }
    }
    // The table above holds every rule, and the command cell offers each.
    std::sort(commands.begin(), commands.end(),
              [](const std::string& a, const std::string& b) { return pw::AsciiLessNoCase(a, b); });
    EXPECT_EQ(pw::ScriptCommands(), commands);

    EXPECT_EQ(pw::CommandHelp("Say"),
              "Say — реплика: Entities1 — кто говорит (player/npc/owner); "
              "ID строки — ID реплики в таблице строк; Entities2, IDs1, IDs2 — пусто");
    EXPECT_EQ(pw::CommandHelp("<EMPTY>"), "");
    EXPECT_EQ(pw::CommandEmptyCells("Teleport"), (std::array<bool, pw::kArgumentCellCount>{}));
    EXPECT_EQ(pw::CommandCellNames("Teleport", 5), pw::CellNames::TableIds);
}

} // namespace
