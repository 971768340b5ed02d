#include "core/data/Cp1251.h"
#include "core/dialogue/InfoEditorModel.h"
#include "TempDir.h"

#include <gtest/gtest.h>

namespace {

using namespace pw;
using Strings = std::vector<std::string>;

TEST(JoinColumn, CommandRuleDropsPlaceholdersWhole) {
    EXPECT_EQ(JoinColumn({"Say", "<EMPTY>", "End"}, JoinRule::Command), "Say;End");
    EXPECT_EQ(JoinColumn({"Say", "<EMPTY>"}, JoinRule::Command), "Say;");
    EXPECT_EQ(JoinColumn({"player", "", ""}, JoinRule::Command), "player;;");
    EXPECT_EQ(JoinColumn({"<empty>"}, JoinRule::Command), "<empty>");
    EXPECT_EQ(JoinColumn({}, JoinRule::Command), "");
}

TEST(JoinColumn, ConditionRuleKeepsPlaceholdersAsEmptyElements) {
    EXPECT_EQ(JoinColumn({"A", "<EMPTY>"}, JoinRule::Condition), "A;");
    EXPECT_EQ(JoinColumn({"<EMPTY>", "B"}, JoinRule::Condition), ";B");
    EXPECT_EQ(JoinColumn({"1"}, JoinRule::Condition), "1");
    EXPECT_EQ(JoinColumn({}, JoinRule::Condition), "");
}

TEST(EncodeState, StateWordsBecomeNumbersNamesStayOthersAreMinusOne) {
    const std::pair<const char*, const char*> cases[] = {
        {"Жив", "0"},      {"мертв", "3"}, {"НЕ ГОВОРИЛ С ГЕРОЕМ", "5"},
        {"Abe", "Abe"},    {"abe", "abe"}, {"", "-1"},
        {"<EMPTY>", "-1"}, {"Xyz", "-1"},  {"3", "-1"},
    };
    for (auto [cell, encoded] : cases)
        EXPECT_EQ(Cp1251ToUtf8(EncodeState(Utf8ToCp1251(cell))), encoded) << cell;
}

InfoEditorModel NamedModel() {
    InfoEditorModel m;
    m.NameEd = "Abc";
    m.OwnerCmb = "Diego";
    return m;
}

CompileSettings ScratchSettings(const std::string& programDir) {
    return {true, programDir, ""};
}

TEST(CompileInfo, HeaderProblemsStopFirst) {
    struct Case {
        const char* name;
        const char* owner;
        CompileStatus status;
        const char* message;
    };
    const Case cases[] = {
        {"  ", "Diego", CompileStatus::NameMissing, "Не задано имя диалога!"},
        {"", "", CompileStatus::NameMissing, "Не задано имя диалога!"},
        {"../x", "Diego", CompileStatus::UnsafeName, "Имя диалога не может содержать символы / и \\"},
        {"a\\b", "", CompileStatus::UnsafeName, "Имя диалога не может содержать символы / и \\"},
        {"..", "Diego", CompileStatus::UnsafeName, "Имя диалога не может быть \".\" или \"..\""},
        {".", "Diego", CompileStatus::UnsafeName, "Имя диалога не может быть \".\" или \"..\""},
        {"Abc", " \t", CompileStatus::OwnerMissing, "Не указан владелец диалога!"},
    };
    pwtest::TempDir dir;
    for (const Case& c : cases) {
        InfoEditorModel m = NamedModel();
        m.NameEd = c.name;
        m.OwnerCmb = c.owner;
        const CompileOutcome outcome = CompileInfo(m, ScratchSettings(dir.Path()));
        EXPECT_EQ(outcome.status, c.status) << c.name;
        EXPECT_EQ(outcome.message, c.message);
        EXPECT_EQ(outcome.caption, "Ошибка");
    }
    EXPECT_FALSE(pwtest::Exists(dir.File("_Infos")));
}

TEST(CompileInfo, ScriptErrorStopsBeforeAnyWrite) {
    pwtest::TempDir dir;
    InfoEditorModel m = NamedModel();
    m.CommandList = {{"Say", "hero", "", "", "", "T1"}};
    const CompileOutcome outcome = CompileInfo(m, ScratchSettings(dir.Path()));
    EXPECT_EQ(outcome.status, CompileStatus::ScriptError);
    EXPECT_EQ(outcome.caption, "Грубая ошибка в инфоскрипте");
    EXPECT_EQ(outcome.message, "Первым аргументом метода Say должен быть 'player', 'npc' или 'owner'.");
    EXPECT_FALSE(pwtest::Exists(dir.File("_Infos")));

    m.CommandList.clear();
    m.ItemsList = {{"It_Gold", "1"}};
    EXPECT_EQ(CompileInfo(m, ScratchSettings(dir.Path())).message,
              "Список предметов имеет записи, но персонаж-держатель не указан.");
}

TEST(CompileInfo, FieldsThatDoNotConvertAskToFillAllFields) {
    const std::vector<std::pair<std::string InfoEditorModel::*, const char*>> cases = {
        {&InfoEditorModel::GoldCostEd, ""},
        {&InfoEditorModel::SortIdEd, "abc"},
        {&InfoEditorModel::TeachAttribValueEd, "1.5"},
        {&InfoEditorModel::TeachSkillIndexEd, "99999999999"},
        {&InfoEditorModel::PermanentEd, "yes"},
        {&InfoEditorModel::InfoGivenEd, ""},
    };
    pwtest::TempDir dir;
    for (auto [field, text] : cases) {
        InfoEditorModel m = NamedModel();
        m.*field = text;
        const CompileOutcome outcome = CompileInfo(m, ScratchSettings(dir.Path()));
        EXPECT_EQ(outcome.status, CompileStatus::BadField) << text;
        EXPECT_EQ(outcome.message, "Пожалуйста, заполните все поля!");
        EXPECT_EQ(outcome.caption, "Ошибка");
    }
    EXPECT_FALSE(pwtest::Exists(dir.File("_Infos/Abc_info_G3_World_01.info")));
}

// Stages 1 and 2, as the command line runs them.
CompileOutcome Prepared(const InfoEditorModel& m, const CompileSettings& settings) {
    CompileOutcome outcome = CheckInfoHeader(m);
    PrepareInfo(m, settings, outcome);
    return outcome;
}

TEST(PrepareInfo, FillsTheRecordFromTheGrids) {
    InfoEditorModel m = NamedModel();
    m.CommandList = {
        {"Say", "player", "", "", "", "T1"}, {"End", "", "", "", "", ""}, {"<EMPTY>", "", "", "", "", ""}};
    m.ItemsList = {{"A", "1"}, {"<EMPTY>", ""}};
    m.CondItemContainerCmb = "Diego";
    m.NpcList = {
        {"Diego", Utf8ToCp1251("Жив")}, {"Gorn", Utf8ToCp1251("мертв")}, {"Lee", "Abe"}, {"Rufus", ""}};
    m.ConditionTypeIndex = -1;
    m.SortIdEd = " $10";
    m.InfoGivenEd = "tRUE";
    m.PermanentEd = "-2";
    m.ClearChildrenEd = "0";
    const CompileOutcome outcome = Prepared(m, {false, "/nowhere", "/infos"});
    ASSERT_EQ(outcome.status, CompileStatus::Ready) << outcome.message;
    const TInfo& info = outcome.info;
    // An unfilled last row adds no command but an empty element to every other list.
    EXPECT_EQ(info.InfoScript_Commands, "Say;End;");
    EXPECT_EQ(info.InfoScript_Entities1, "player;;");
    EXPECT_EQ(info.InfoScript_Texts, "T1;;");
    EXPECT_EQ(info.CondItems, "A;");
    EXPECT_EQ(info.CondItemAmounts, "1;");
    EXPECT_EQ(info.CondSecondaryNPC, "Diego;Gorn;Lee;Rufus");
    EXPECT_EQ(info.CondSecondaryNPCstates, "0;3;Abe;-1");
    EXPECT_EQ(info.ConditionType, -1);
    EXPECT_EQ(info.InfoType, 3);
    EXPECT_EQ(info.SortID, 16);
    EXPECT_TRUE(info.InfoGiven);
    EXPECT_TRUE(info.Permanent);
    EXPECT_FALSE(info.ClearChildren);
    EXPECT_EQ(info.Folder, "Myrtana/Ardea_City/");
    EXPECT_EQ(outcome.path, "/infos/Abc_info_G3_World_01.info");
}

TEST(PrepareInfo, StagesPassFailuresOnUnchanged) {
    InfoEditorModel m = NamedModel();
    m.NameEd = "";
    CompileOutcome outcome = CheckInfoHeader(m);
    PrepareInfo(NamedModel(), {false, "", "/infos"}, outcome);
    WriteCompiledInfo(outcome);
    EXPECT_EQ(outcome.status, CompileStatus::NameMissing);
    EXPECT_EQ(outcome.message, "Не задано имя диалога!");

    int headerPassed = 0;
    pwtest::TempDir dir;
    outcome = CompileInfo(NamedModel(), ScratchSettings(dir.Path()), [&] { ++headerPassed; });
    EXPECT_EQ(outcome.status, CompileStatus::Written);
    EXPECT_EQ(headerPassed, 1);
    CompileInfo(m, ScratchSettings(dir.Path()), [&] { ++headerPassed; });
    EXPECT_EQ(headerPassed, 1) << "a refused header is no passed one";
}

TEST(CompileInfo, AnUnfilledRowBeforeACommandIsRefusedBeforeTheScriptRules) {
    pwtest::TempDir dir;
    InfoEditorModel m = NamedModel();
    // Without the refusal the second Say would take the first one's empty row as its arguments.
    m.CommandList = {{"Say", "player", "", "", "", "T1"},
                     {"<EMPTY>", "", "", "", "", ""},
                     {"Say", "owner", "", "", "", "T2"},
                     {"Say", "hero", "", "", "", "T3"}};
    m.ItemsList = {{"It_Gold", "1"}}; // and no holder: the script rules would complain of it first
    CompileOutcome outcome = CompileInfo(m, ScratchSettings(dir.Path()));
    EXPECT_EQ(outcome.status, CompileStatus::UnfilledRow);
    EXPECT_EQ(outcome.caption, "Грубая ошибка в инфоскрипте");
    EXPECT_EQ(outcome.message, "Строка 2 списка команд не заполнена: укажите метод или удалите строку.");
    EXPECT_FALSE(pwtest::Exists(dir.File("_Infos")));

    m.ItemsList.clear();
    m.CommandList.erase(m.CommandList.begin() + 1);
    EXPECT_EQ(CompileInfo(m, ScratchSettings(dir.Path())).status, CompileStatus::ScriptError);
}

TEST(CompileInfo, ACyrillicNameGivesAFileNameInTheFileSystemsEncoding) {
    pwtest::TempDir dir;
    InfoEditorModel m = NamedModel();
    m.NameEd = Utf8ToCp1251("Диего_Тест");
    const CompileOutcome outcome = CompileInfo(m, ScratchSettings(dir.Path()));
    ASSERT_EQ(outcome.status, CompileStatus::Written) << outcome.message;
    EXPECT_EQ(outcome.path, dir.File("_Infos/Диего_Тест_info_G3_World_01.info"));
    EXPECT_NE(pwtest::ReadBytes(outcome.path).find("\r\nName=" + m.NameEd + "\r\n"), std::string::npos)
        << "the record keeps its Windows-1251 text";
}

TEST(CompileInfo, ScratchFolderIsCreatedAndTheNameKeptUntrimmed) {
    pwtest::TempDir dir;
    InfoEditorModel m = NamedModel();
    m.NameEd = " Abc ";
    m.FolderCmb = "Varant/Outdoor/";
    const CompileSettings settings = ScratchSettings(dir.Path());
    CompileOutcome outcome = Prepared(m, settings);
    EXPECT_FALSE(pwtest::Exists(dir.File("_Infos"))) << "preparing touches no file";
    WriteCompiledInfo(outcome);
    EXPECT_EQ(outcome.status, CompileStatus::Written) << outcome.message;
    EXPECT_EQ(outcome.path, dir.File("_Infos/ Abc _info_G3_World_01.info"));
    const std::string bytes = pwtest::ReadBytes(outcome.path);
    EXPECT_EQ(bytes.rfind("[Info]\r\nName= Abc \r\nSortID=\r\nOwner=Diego\r\n", 0), 0u) << bytes;
}

TEST(CompileInfo, WriteFailuresReportTheWritersError) {
    pwtest::TempDir dir;
    CompileOutcome outcome = CompileInfo(NamedModel(), {false, dir.Path(), dir.File("missing")});
    EXPECT_EQ(outcome.status, CompileStatus::WriteFailed);
    EXPECT_EQ(outcome.caption, "Ошибка");
    EXPECT_EQ(outcome.message, "Cannot create file \"" + dir.File("missing/Abc_info_G3_World_01.info") + "\". " +
                                   pwtest::SystemReason(pwtest::Reason::Missing));

    // A file stands where the scratch folder goes: the folder is named, with the system's reason.
    pwtest::WriteBytes(dir.File("_Infos"), "a file");
    outcome = CompileInfo(NamedModel(), ScratchSettings(dir.Path()));
    EXPECT_EQ(outcome.status, CompileStatus::FolderFailed);
    EXPECT_EQ(outcome.caption, "Ошибка");
    EXPECT_EQ(outcome.message,
              "Cannot create file \"" + dir.File("_Infos") + "\". " + pwtest::SystemReason(pwtest::Reason::Exists));
    EXPECT_EQ(pwtest::ReadBytes(dir.File("_Infos")), "a file");
}

TEST(CompileInfo, WithoutAFolderForDialoguesNothingIsTried) {
    pwtest::TempDir dir;
    const CompileOutcome outcome = CompileInfo(NamedModel(), {false, dir.Path(), ""});
    EXPECT_EQ(outcome.status, CompileStatus::FolderMissing);
    EXPECT_EQ(outcome.caption, "Ошибка");
    EXPECT_EQ(outcome.message, "В настройках не указан каталог для диалогов (Infos).");
    EXPECT_EQ(outcome.path, "");
    EXPECT_FALSE(pwtest::Exists(dir.File("_Infos")));
}

// A dialogue as the writer lays it out; loading and compiling it again must give the same bytes.
TEST(CompileInfo, LoadThenCompileGivesTheSameFile) {
    pwtest::TempDir out;
    const std::string source = pwtest::FixturePath("Diego_Hello_info_G3_World_01.info");
    TInfo info;
    info.ReadFromFile(source);
    LoadedInfo loaded = LoadInfoModel(info);
    EXPECT_TRUE(loaded.notices.empty());
    EXPECT_EQ(loaded.model.CommandList.size(), 5u);
    EXPECT_EQ(Cp1251ToUtf8(loaded.model.NpcList[2][1]), "Не говорил с героем");

    const CompileOutcome outcome = CompileInfo(loaded.model, {false, "", out.Path()});
    ASSERT_EQ(outcome.status, CompileStatus::Written) << outcome.message;
    EXPECT_EQ(pwtest::ReadBytes(out.File("Diego_Hello_info_G3_World_01.info")), pwtest::ReadBytes(source));
}

// What the field handlers leave in their fields: the boolean fields keep only the two words, emptied
// skill numbers become 0, and the special-skill field follows the skills list.
TEST(FieldHandlers, KeepTheirFieldsWellFormed) {
    struct Case {
        std::string (*handler)(std::string_view);
        const char* text;
        const char* result;
    };
    const Case cases[] = {
        {NormalizeBooleanText, "true", "true"},
        {NormalizeBooleanText, "FALSE", "FALSE"},
        {NormalizeBooleanText, "yes", "False"},
        {NormalizeBooleanText, "1", "False"},
        {NormalizeBooleanText, " True", "False"},
        {NormalizeBooleanText, "", "False"},
        {ZeroIfBlank, "", "0"},
        {ZeroIfBlank, " \t", "0"},
        {ZeroIfBlank, " 5", " 5"},
        {ZeroIfBlank, "x", "x"},
        {TeachSkillIsPercFor, "Perk_Axe_1", "True"},
        {TeachSkillIsPercFor, "spl_fireball", "True"},
        {TeachSkillIsPercFor, "Perk_Axe", "False"},
        {TeachSkillIsPercFor, "", "False"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.handler(c.text), c.result) << c.text;
}

} // namespace
