// recompile and check of quest files through the built command line.

#include "CliRunner.h"
#include "TempDir.h"

#include "core/data/Cp1251.h"
#include "core/quest/QuestEditorModel.h"

#include <gtest/gtest.h>

namespace pwtest {
namespace {

TEST(RecompileQuest, WritesWhatTheQuestTabWritesInEitherEncoding) {
    TempDir dir;
    const std::string quest = Ansi("[Quest]\r\nName=Квест_1\r\nType=12\r\nExperiencePoints=0x20\r\n"
                                   "JobSuccess=abc\r\nJobSuccessAmount=7\r\nLogTopic=\"Q_1\"\r\n"
                                   "EnclaveSuccess=  Lago  \r\nRunningTimeDays=-2\r\n");
    // The tab: loaded into the editor's fields, compiled into the scratch folder.
    WriteBytes(dir.File("in.quest"), quest);
    pw::TQuest record;
    record.ReadFromFile(dir.File("in.quest"));
    const pw::QuestCompileOutcome tab = pw::CompileQuest(pw::LoadQuestModel(record), {true, dir.Path(), ""});
    ASSERT_EQ(tab.status, pw::QuestCompileStatus::Written) << tab.message;
    const std::string expected = ReadBytes(tab.path);
    EXPECT_NE(expected.find("\r\nType=-1\r\nFinishedQuests=\r\nLogTopic=Q_1\r\n"), std::string::npos);
    EXPECT_NE(expected.find("\r\nExperiencePoints=32\r\n"), std::string::npos);
    EXPECT_NE(expected.find("\r\nJobSuccess=\r\nJobSuccessAmount=7\r\n"), std::string::npos);

    for (const std::string& bytes : {quest, Utf16LeFile(quest)}) {
        WriteBytes(dir.File("in.QUEST"), bytes); // the extension in any letter case
        const CliResult r = RunCli({"recompile", dir.File("in.QUEST"), dir.File("out.quest")});
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(ReadBytes(dir.File("out.quest")), expected);
        std::remove(dir.File("out.quest").c_str());
    }
}

TEST(RecompileQuest, RefusesWhatTheCompileButtonRefusesWithoutWriting) {
    TempDir dir;
    const std::pair<std::string, std::string> cases[] = {
        {"[Quest]\r\nType=1\r\n", "Имя квеста не задано"},
        {"[Quest]\r\nName=a/b\r\n", "Имя квеста не может содержать символы / и \\"},
        {"[Quest]\r\nName=..\r\n", "Имя квеста не может быть \".\" или \"..\""},
    };
    for (const auto& [file, message] : cases) {
        WriteBytes(dir.File("in.quest"), file);
        const CliResult r = RunCli({"recompile", dir.File("in.quest"), dir.File("out.quest")});
        EXPECT_EQ(r.code, 3) << message;
        EXPECT_EQ(r.err, message + "\n");
        EXPECT_FALSE(Exists(dir.File("out.quest")));
    }
    WriteBytes(dir.File("in.quest"), "[Quest]\r\nName=A\r\n");
    const CliResult r = RunCli({"recompile", dir.File("in.quest"), dir.File("none/out.quest")});
    EXPECT_EQ(r.code, 4);
    EXPECT_NE(r.err.find(dir.File("none/out.quest")), std::string::npos) << r.err;
}

// Quests with one fault or reference problem each, in a folder of their own.
struct QuestLibrary {
    TempDir dir;
    QuestLibrary() {
        WriteBytes(dir.File("stringtable.ini"), "[LocAdmin_Strings]\r\nTopic_A=x;\r\n");
        WriteBytes(dir.File("Other/known.quest"), "[Quest]\r\nName=Known\r\n");
        Quest("Q/a.quest",
              "Name=A\r\nType=11\r\nLogTopic=topic_a\r\nLogText=Text_A\r\n"
              "FinishedQuests= known , b;; Missing_One ,\r\nJobSuccess=\r\nJobSuccessAmount=\r\n");
        Quest("Q/b.quest", "Name=B\r\nType=12\r\nExperiencePoints=12x\r\nPoliticalSuccess=0x1F\r\n"
                           "RunningTimeDays=\r\nJobSuccess= -1\r\nJobSuccessAmount=$5\r\n");
        Quest("Q/c.quest", "Name=\r\n");
        Quest("Q/e.quest", "Name=E\r\nType=-1\r\n"); // the editor's own "no type"
        Quest("Q2/d.quest", "Name=a\r\nLogTopic=<EMPTY>\r\n");
    }
    void Quest(const std::string& rel, const std::string& keys) {
        WriteBytes(dir.File(rel), "[Quest]\r\n" + keys);
    }
    std::string P(const std::string& rel) const { return dir.File(rel); }
};

// The findings of one file, in the order printed, each after the path: "LINE: warning: …".
std::vector<std::string> FindingsOf(const std::string& out, const std::string& path) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < out.size()) {
        const std::size_t end = out.find('\n', pos);
        const std::string line = out.substr(pos, end - pos);
        if (line.rfind(path + ":", 0) == 0)
            lines.push_back(line.substr(path.size() + 1));
        pos = end + 1;
    }
    return lines;
}

TEST(CheckQuests, ReportsWhatTheEditorWouldRefuseOrChangeAndBrokenReferences) {
    QuestLibrary lib;
    const CliResult r = RunCli({"check", "--stringtable", lib.P("stringtable.ini"), "--quests",
                                lib.P("Other"), lib.P("Q"), lib.P("Q2/d.quest")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(FindingsOf(r.out, lib.P("Q/a.quest")),
              (std::vector<std::string>{
                  "5: warning: ID строки Text_A (LogText) отсутствует в таблице строк.",
                  "6: warning: Предыдущий квест Missing_One отсутствует среди файлов квестов.",
              }));
    EXPECT_EQ(
        FindingsOf(r.out, lib.P("Q/b.quest")),
        (std::vector<std::string>{
            "4: warning: Ключ ExperiencePoints: значение \"12x\" не является целым числом и читается как 0.",
            "8: warning: Ключ JobSuccessAmount: значение \"$5\" не является целым числом и читается как -1.",
            "6: warning: Ключ RunningTimeDays: значение \"\" не является целым числом и читается как 0.",
            "3: warning: Тип квеста 12 вне списка 0–11: редактор запишет -1.",
        }));
    EXPECT_EQ(FindingsOf(r.out, lib.P("Q/c.quest")),
              std::vector<std::string>{"2: error: Имя квеста не задано"});
    EXPECT_EQ(FindingsOf(r.out, lib.P("Q/e.quest")), std::vector<std::string>{});
    EXPECT_EQ(FindingsOf(r.out, lib.P("Q2/d.quest")),
              std::vector<std::string>{"2: warning: Квест с именем a уже есть в файле " + lib.P("Q/a.quest") +
                                       "."});
    EXPECT_EQ(r.out.substr(r.out.rfind("Файлов")), "Файлов: 6, ошибок: 1, предупреждений: 7\n");
}

TEST(CheckQuests, EarlierQuestsAreLookedForAmongTheCheckedFilesAndUtf16FilesAreRead) {
    QuestLibrary lib;
    WriteBytes(lib.P("Q2/d.quest"), Utf16LeFile(Ansi("[Quest]\r\nName=Д\r\nExperiencePoints=пять\r\n")));
    // Without --quests, "known" is no quest among those checked.
    const CliResult r = RunCli({"check", lib.P("Q/a.quest"), lib.P("Q2/d.quest")});
    EXPECT_EQ(FindingsOf(r.out, lib.P("Q/a.quest")),
              (std::vector<std::string>{
                  "6: warning: Предыдущий квест known отсутствует среди файлов квестов.",
                  "6: warning: Предыдущий квест b отсутствует среди файлов квестов.",
                  "6: warning: Предыдущий квест Missing_One отсутствует среди файлов квестов.",
              }));
    EXPECT_EQ(FindingsOf(r.out, lib.P("Q2/d.quest")),
              std::vector<std::string>{"3: warning: Ключ ExperiencePoints: значение \"пять\" не является "
                                       "целым числом и читается как 0."});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(RunCli({"check", "--strict", lib.P("Q/a.quest")}).code, 1);
}

} // namespace
} // namespace pwtest
