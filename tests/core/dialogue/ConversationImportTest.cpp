// A written conversation planned into Say rows and string-table entries, without a window.

#include "core/dialogue/ConversationImport.h"

#include "TempDir.h"
#include "TestText.h"

#include <gtest/gtest.h>

namespace pwtest {
namespace {

using pw::ConversationLine;
using pw::ConversationPlan;
using pw::ConversationTable;

ConversationTable Table(std::initializer_list<std::string> ids, int semicolons = 6) {
    ConversationTable table;
    table.ids.insert(ids.begin(), ids.end());
    table.semicolons = semicolons;
    return table;
}

ConversationPlan Plan(const std::string& text, const ConversationTable& table = Table({}),
                      const std::string& prefix = "Diego_Hello") {
    return pw::PlanConversation(text, "Diego", Ansi(prefix), table);
}

// Each line as "speaker>party id|text|note", texts back in UTF-8.
std::vector<std::string> Shown(const ConversationPlan& plan) {
    std::vector<std::string> shown;
    for (const ConversationLine& line : plan.lines)
        shown.push_back(pw::Cp1251ToUtf8(line.speaker) + ">" + line.party + " " + pw::Cp1251ToUtf8(line.id) +
                        "|" + pw::Cp1251ToUtf8(line.text) + "|" + line.note);
    return shown;
}

TEST(ConversationImport, SpeakersMapToTheOwnerTheHeroOrAnotherCharacter) {
    const ConversationPlan plan = Plan("Diego: a\ndiego: b\nPC_Hero: c\nhero: d\nPLAYER: e\nГерой: f\n"
                                       "гЕРОЙ: g\nя: h\nGorn: i\nДиего: j\nHeroes: k\n");
    ASSERT_EQ(plan.refusal, "");
    const char* const parties[] = {"owner",  "owner",  "player", "player", "player", "player",
                                   "player", "player", "npc",    "npc",    "npc"};
    ASSERT_EQ(plan.lines.size(), std::size(parties));
    for (std::size_t i = 0; i < plan.lines.size(); ++i)
        EXPECT_EQ(plan.lines[i].party, parties[i]) << Shown(plan)[i];
    EXPECT_EQ(Shown(plan)[5], "Герой>player Diego_Hello_06|f|");
}

// A line without "Speaker:" continues the one before, across blank lines; the text's mark and either
// line end are taken; a ":" after several words is text.
TEST(ConversationImport, ContinuationLinesJoinAndBlankLinesAreSkipped) {
    const ConversationPlan plan = Plan(
        "\xEF\xBB\xBF  Diego:  Hello,\r\n   stranger.  \r\n\r\nYou look lost: sit down.\nPC_Hero:Thanks\n\n");
    ASSERT_EQ(plan.refusal, "");
    EXPECT_EQ(Shown(plan), (std::vector<std::string>{
                               "Diego>owner Diego_Hello_01|Hello, stranger. You look lost: sit down.|",
                               "PC_Hero>player Diego_Hello_02|Thanks|"}));
    EXPECT_EQ(plan.lines[1].line, 5u);
    EXPECT_EQ(plan.lines[0].value, "Hello, stranger. You look lost: sit down.;;;;;;");
    EXPECT_EQ(pw::ConversationRows(plan)[1], (pw::CommandRow{"Say", "player", "", "", "", "Diego_Hello_02"}));
    EXPECT_EQ(pw::ConversationEntries(plan)[1],
              (std::pair<std::string, std::string>{"Diego_Hello_02", "Thanks;;;;;;"}));
}

TEST(ConversationImport, NewIdsFollowTheHighestNumberOfThePrefix) {
    const struct {
        ConversationTable table;
        const char* prefix;
        std::vector<std::string> ids;
    } cases[] = {
        {Table({}), "P", {"P_01", "P_02"}},
        // Letter case of the prefix is ignored; other names and non-numbers do not count.
        {Table({"p_07", "P_x", "P_Topic", "PP_50", "Q_90", "P_3"}), "P", {"P_08", "P_09"}},
        {Table({"P_98"}), "P", {"P_99", "P_100"}},
        // A number too long to count is still never taken again.
        {Table({"P_999999999999999999", "P_1000000000000000000"}),
         "P",
         {"P_1000000000000000001", "P_1000000000000000002"}},
        {Table({Ansi("Диего_4")}), "Диего", {"Диего_05", "Диего_06"}},
    };
    for (const auto& c : cases) {
        const ConversationPlan plan = Plan("Diego: a\nGorn: b", c.table, c.prefix);
        ASSERT_EQ(plan.refusal, "") << c.prefix;
        std::vector<std::string> ids;
        for (const ConversationLine& line : plan.lines)
            ids.push_back(pw::Cp1251ToUtf8(line.id));
        EXPECT_EQ(ids, c.ids) << c.ids.front();
    }
}

// An AI_Output line keeps its ID unless the table or an earlier line holds it. New numbers follow the
// table's highest only: a kept ID is skipped where the numbering reaches it, but never moves it on.
TEST(ConversationImport, ScriptLinesKeepTheirIdsWhereTheTableLacksThem) {
    const ConversationPlan plan = Plan("AI_Output(self, other, \"Diego_Hello_03\"); //Hello\n"
                                       "  ai_output ( other ,self,\"Old_01\" ) ; // Who are you?\n"
                                       "AI_Output(hero, self, \"Kept_A\");//I'm back\n"
                                       "AI_Output(Gorn, other, \"kept_a\"); //Again\n"
                                       "AI_Output(self, other, \"Diego_Hello_99\"); //Later\n"
                                       "Diego: New line",
                                       Table({"old_01", "Diego_Hello_01"}));
    ASSERT_EQ(plan.refusal, "");
    EXPECT_EQ(Shown(plan), (std::vector<std::string>{
                               "self>owner Diego_Hello_03|Hello|",
                               "other>player Diego_Hello_02|Who are you?|ID Old_01 уже есть в таблице строк",
                               "hero>player Kept_A|I'm back|",
                               "Gorn>npc Diego_Hello_04|Again|ID kept_a уже встречался выше",
                               "self>owner Diego_Hello_99|Later|", "Diego>owner Diego_Hello_05|New line|"}));
}

// Nothing is planned on a refusal, which names the line it found.
TEST(ConversationImport, RefusalsNameTheLine) {
    const struct {
        std::string text, prefix, refusal;
    } cases[] = {
        {"Diego: a\nGorn: b; c", "P",
         "Строка 2: в тексте есть \";\", а он разделяет поля записи таблицы строк."},
        {"Diego: a\n\nGorn: Może", "P", "Строка 3: символа «ż» (U+017C) нет в кодировке Windows-1251."},
        {"Diego: a\nGorn: \xC0", "P", "Строка 2: текст не в кодировке UTF-8."},
        {"\nHello there\nDiego: a", "P", "Строка 2: не указано, кто говорит (ожидается «Имя: текст»)."},
        {"Diego: a\nPC_Hero:\n", "P", "Строка 2: нет текста реплики."},
        {"AI_Output(self, other, \"X\");", "P",
         "Строка 1: не читается как AI_Output(self, other, \"ID\"); //текст."},
        {"AI_Output(self, other, \"X=1\"); //a", "P",
         "Строка 1: Идентификатор строки \"X=1\" не может содержать \"=\"."},
        {"AI_Output(self, other, \"X 1\"); //a", "P",
         "Строка 1: Идентификатор строки \"X 1\" не может содержать пробелы и \";\"."},
        {"Diego: " + std::string(2042, 'a'), "P",
         "Строка 1: реплика длиннее 2047 знаков, которые игра читает из записи таблицы строк."},
        {" \n\n", "P", "В тексте нет ни одной реплики «Имя: текст»."},
        {"Diego: a", " ", "Не задан префикс ID."},
        {"Diego: a", "Диего Привет", "Префикс ID \"Диего Привет\" не может содержать пробелы и \";\"."},
    };
    for (const auto& c : cases) {
        const ConversationPlan plan = Plan(c.text, Table({}), c.prefix);
        EXPECT_EQ(plan.refusal, c.refusal) << c.text;
        EXPECT_TRUE(plan.lines.empty()) << c.text;
    }
    EXPECT_EQ(Plan("Diego: " + std::string(2041, 'a')).refusal, "");
}

// The IDs of every section "LocAdmin_Strings" and the norm of ";" its values hold, in either encoding;
// a value always ends in ";".
TEST(ConversationImport, TableIsReadForItsIdsAndItsNormOfSemicolons) {
    TempDir dir;
    const std::string table = "[LocAdmin_Strings]\r\nA_01=a;b;c;\r\n; C_01=x;\r\nA_02 = b;;;\r\nA_03=c;\r\n"
                              "[Other]\r\nB_01=x;x;x;\r\n[locadmin_strings]\r\n\xC0_01=d;;;\r\n";
    for (const std::string& bytes : {table, Utf16LeFile(table)}) {
        WriteBytes(dir.File("st.ini"), bytes);
        const ConversationTable read = pw::ReadConversationTable(dir.File("st.ini"));
        EXPECT_EQ(read.semicolons, 3);
        EXPECT_EQ(read.ids, (Table({"A_01", "A_02", "A_03", "\xC0_01"}).ids));
    }
    WriteBytes(dir.File("st.ini"), "[LocAdmin_Strings]\r\nA=a\r\nB=b\r\n");
    EXPECT_EQ(pw::ReadConversationTable(dir.File("st.ini")).semicolons, 1);
    EXPECT_TRUE(pw::ReadConversationTable(dir.File("none.ini")).ids.empty());
}

TEST(ConversationImport, RowsGoBeforeAFinalEndAndReplaceAnEmptyScript) {
    const pw::CommandRow say = {"Say", "owner", "", "", "", "X"};
    const pw::CommandRow end = {"end", "", "", "", "", ""};
    const pw::CommandRow give = {"GiveXP", "", "", "10", "", ""};
    EXPECT_EQ(pw::ConversationPlace({give, end}), 1u);
    EXPECT_EQ(pw::ConversationPlace({give}), 1u);

    std::vector<pw::CommandRow> rows = {give, end};
    EXPECT_EQ(pw::InsertConversationRows(rows, 1, {say, say}), 1u);
    EXPECT_EQ(rows, (std::vector<pw::CommandRow>{give, say, say, end}));
    for (const pw::CommandRow& blank : {pw::CommandRow{}, pw::NewCommandRow()}) {
        rows = {blank};
        EXPECT_EQ(pw::InsertConversationRows(rows, 1, {say}), 0u);
        EXPECT_EQ(rows, (std::vector<pw::CommandRow>{say}));
    }
}

} // namespace
} // namespace pwtest
