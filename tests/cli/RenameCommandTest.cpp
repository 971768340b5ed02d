// rename through the built command line, on a small library made for the tests.

#include "CliRunner.h"
#include "FolderNames.h"
#include "TempDir.h"

#include <gtest/gtest.h>

namespace pwtest {
namespace {

class RenameCommand : public testing::Test {
protected:
    void SetUp() override {
        WriteBytes(Info(), Ansi("[Info]\r\nName=Diego_Hi\r\nQuest=Q1\r\nCondPlayerKnows=Знает\r\n"));
        WriteBytes(Quest(), "[Quest]\r\nName=Q1\r\n");
        WriteBytes(mDir.File("Quests/Q2.quest"), "[Quest]\r\nName=Q2\r\nFinishedQuests=Q0;Q1\r\n");
    }
    std::string Info() const { return mDir.File("Infos/Diego_Hi_info_G3_World_01.info"); }
    std::string Quest() const { return mDir.File("Quests/Q1_quest_G3_World_01.quest"); }
    std::vector<std::string> Renaming(std::vector<std::string> args) const {
        args.insert(args.begin(), "rename");
        args.push_back(mDir.File("Infos"));
        args.push_back(mDir.File("Quests"));
        return args;
    }
    std::string Files() const {
        std::string files;
        for (const char* folder : {"Infos", "Quests"})
            for (const std::string& name : FolderNames(mDir.File(folder)))
                files += ReadBytes(mDir.File(std::string(folder) + "/" + name)) + "|" + name + "\n";
        return files;
    }

    TempDir mDir;
    TempDir mCache;
    ScopedEnvironment mCacheDir{"PLOTWRIGHT_CACHE_DIR", mCache.Path()};
};

TEST_F(RenameCommand, PrintsEachChangeAndRenamedFileThenACountAndWritesNothingOnADryRun) {
    const std::string before = Files();
    const std::string renamed = mDir.File("Quests/Квест_quest_G3_World_01.quest");
    const std::string changes = Info() + ":3: Quest: Q1 -> Квест\n" + mDir.File("Quests/Q2.quest") +
                                ":3: FinishedQuests: Q1 -> Квест\n" + Quest() + ":2: Name: Q1 -> Квест\n" +
                                Quest() + " -> " + renamed + "\n" +
                                "Изменений: 3, файлов: 3, переименований файлов: 1";
    CliResult r = RunCli(Renaming({"quest", "q1", "Квест", "--dry-run"}));
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, changes + " (пробный прогон: ничего не записано)\n");
    EXPECT_EQ(Files(), before);

    r = RunCli(Renaming({"quest", "q1", "Квест"}));
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, changes + "\n");
    EXPECT_EQ(ReadBytes(renamed), Ansi("[Quest]\r\nName=Квест\r\n"));
    EXPECT_EQ(ReadBytes(Info()), Ansi("[Info]\r\nName=Diego_Hi\r\nQuest=Квест\r\nCondPlayerKnows=Знает\r\n"));
    EXPECT_FALSE(Exists(Quest()));
    EXPECT_EQ(FolderNames(mCache.File("renames")), std::vector<std::string>{});
    // The event's name comes as UTF-8, or with --raw as the files' bytes.
    EXPECT_EQ(RunCli({"--raw", "rename", "event", Ansi("Знает"), "Knows", mDir.File("Infos")}).code, 0);
    EXPECT_EQ(ReadBytes(Info()), Ansi("[Info]\r\nName=Diego_Hi\r\nQuest=Квест\r\nCondPlayerKnows=Knows\r\n"));
}

TEST_F(RenameCommand, RefusesBeforeWritingAndSaysWhenOldIsNamedNowhere) {
    const std::string before = Files();
    const struct {
        std::vector<std::string> args;
        int code;
        std::string err;
    } cases[] = {
        {{"quest", "Q1", "q2"}, 3, "Квест \"q2\" уже есть: " + mDir.File("Quests/Q2.quest") + "\n"},
        {{"info", "Diego_Hi", "a;b"}, 3, "Новое имя \"a;b\" не может содержать \";\"\n"},
        {{"info", "Diego_Hi", "Ω"}, 3, "NEW: символа «Ω» (U+03A9) нет в кодировке Windows-1251\n"},
        {{"event", "Nowhere", "E2"}, 1, "Событие \"Nowhere\" нигде не упоминается\n"},
    };
    for (const auto& c : cases) {
        const CliResult r = RunCli(Renaming(c.args));
        EXPECT_EQ(r.code, c.code) << c.args[2];
        EXPECT_EQ(r.err, c.err);
        EXPECT_EQ(r.out, "");
    }
    for (const std::vector<std::string>& usage : {std::vector<std::string>{"string", "S1", "S2"},
                                                  {"quest", "Q1", "Q3", "--with-strings"},
                                                  {"queST", "Q1", "Q3"},
                                                  {"quest", " ", "Q3"}})
        EXPECT_EQ(RunCli(Renaming(usage)).code, 2) << usage[0];
    EXPECT_EQ(Files(), before);
}

// Folders that hold only references to the quest, not its file: the rename would leave the quest named
// as before, so it is refused and says where it looked, unless only the references are asked for.
TEST_F(RenameCommand, AThingDefinedInNoRootIsRenamedInItsReferencesOnlyWhenAskedTo) {
    const std::string before = Files();
    const std::vector<std::string> args = {"rename", "quest", "Q1", "Q9", mDir.File("Infos")};
    const CliResult refused = RunCli(args);
    EXPECT_EQ(refused.code, 3);
    EXPECT_EQ(refused.err, "Квест \"Q1\" не определён: в папках " + mDir.File("Infos") +
                               " нет его файла, и изменились бы только ссылки на него.\n"
                               "Чтобы изменить только ссылки, добавьте --references-only.\n");
    EXPECT_EQ(Files(), before);

    std::vector<std::string> referencesOnly = args;
    referencesOnly.insert(referencesOnly.begin() + 2, "--references-only");
    const CliResult r = RunCli(referencesOnly);
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "Занятость имени \"Q9\" проверена только в папках " + mDir.File("Infos") + "\n");
    EXPECT_EQ(ReadBytes(Info()), Ansi("[Info]\r\nName=Diego_Hi\r\nQuest=Q9\r\nCondPlayerKnows=Знает\r\n"));
    EXPECT_EQ(ReadBytes(Quest()), "[Quest]\r\nName=Q1\r\n");
}

} // namespace
} // namespace pwtest
