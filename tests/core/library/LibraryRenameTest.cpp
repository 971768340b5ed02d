#include "core/library/LibraryRename.h"

#include "core/data/Library.h"
#include "FolderNames.h"
#include "TempDir.h"
#include "TestText.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <stdexcept>
#include <tuple>

namespace {

using namespace pw;
using pwtest::Ansi;
using Files = std::map<std::string, std::string>; // path below the library -> text (UTF-8)

// A library below Infos/ and Quests/ with a string table beside it, in a temporary folder; the notes of
// renames go to a cache folder of the test's own.
class Rename : public testing::Test {
protected:
    void Write(const Files& files) {
        for (const auto& [file, text] : files)
            pwtest::WriteBytes(mDir.File(file), Ansi(text));
    }
    // Every file of the library with its text (UTF-8), the table's included.
    Files Library() const {
        Files files;
        const std::filesystem::path root = pwtest::FsPath(mDir.Path());
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
            if (entry.is_regular_file())
                files[pwtest::Utf8Path(entry.path().lexically_relative(root))] =
                    Cp1251ToUtf8(pwtest::ReadBytes(pwtest::Utf8Path(entry.path())));
        return files;
    }
    static std::size_t FileOf(const RenamePlan& plan, const std::string& name) {
        for (std::size_t i = 0; i < plan.files.size(); ++i)
            if (plan.files[i].path.ends_with(name))
                return i;
        throw std::logic_error("no " + name + " in the plan");
    }
    RenamePlan Plan(RenameKind kind, const std::string& oldName, const std::string& newName,
                    bool withStrings = false, std::vector<std::string> roots = {"Infos", "Quests"}) {
        RenameRequest request;
        request.kind = kind;
        request.oldName = Ansi(oldName);
        request.newName = Ansi(newName);
        for (const std::string& root : roots)
            request.roots.push_back(mDir.File(root));
        request.stringTable = mDir.File("stringtable.ini");
        request.withStrings = withStrings;
        std::vector<std::string> files;
        for (const std::string& root : request.roots)
            ScanLibraryFolder(root, files);
        return PlanRename(LibraryIndex(files, {request.oldName, request.newName}), request);
    }
    // Plans and applies a rename that must finish.
    void Apply(RenameKind kind, const std::string& oldName, const std::string& newName,
               bool withStrings = false) {
        const RenamePlan plan = Plan(kind, oldName, newName, withStrings);
        ASSERT_EQ(plan.refusal, "");
        ASSERT_FALSE(plan.files.empty());
        EXPECT_TRUE(ApplyRename(plan).complete);
        EXPECT_EQ(pwtest::FolderNames(mCache.Path() + "/renames"), std::vector<std::string>{});
    }

    pwtest::TempDir mDir;
    pwtest::TempDir mCache;
    pwtest::ScopedEnvironment mCacheDir{"PLOTWRIGHT_CACHE_DIR", mCache.Path()};
};

TEST_F(Rename, AQuestInEveryPlaceWholeNamesOnlyWithSeparatorsBlanksAndQuotesKept) {
    const std::string table = "[LocAdmin_Strings]\r\nQ1=Q1;\r\n";
    Write(
        {{"Quests/q1_QUEST_g3_world_01.quest", "[Quest]\r\nname = \"Q1\" \r\nFinishedQuests=Q0; q1 ,Q10\r\n"},
         {"Quests/Other.quest", "[Quest]\r\nName=Q3\r\nFinishedQuests=Q1,Q1x;Q1\r\nLogTopic=Q1\r\n"
                                "[Quest]\r\nFinishedQuests=Q1\r\n"},
         {"Infos/a/A.info", "[Info]\r\nName=A\r\nQuest= q1\r\nInfoScript_Commands=Say;runquest;SetGameEvent;"
                            "SucceedQuest ;CloseQuest;Give\r\nInfoScript_IDs1=Q1;Q1;Q1; Q1 ;Q1x;Q1\r\n"
                            "InfoScript_Texts=Q1\r\n"},
         {"Infos/B.info", "[Info]\r\nName=B\r\nQuest=Q1_Side\r\nParent=Q1\r\nCondPlayerKnows=Q1\r\n"},
         {"stringtable.ini", table}});
    Apply(RenameKind::Quest, " Q1 ", "Квест_2");
    EXPECT_EQ(
        Library(),
        (Files{{"Quests/Квест_2_QUEST_g3_world_01.quest",
                "[Quest]\r\nname = \"Квест_2\" \r\nFinishedQuests=Q0; Квест_2 ,Q10\r\n"},
               {"Quests/Other.quest", "[Quest]\r\nName=Q3\r\nFinishedQuests=Квест_2,Q1x;Квест_2\r\n"
                                      "LogTopic=Q1\r\n[Quest]\r\nFinishedQuests=Q1\r\n"},
               {"Infos/a/A.info",
                "[Info]\r\nName=A\r\nQuest= Квест_2\r\nInfoScript_Commands=Say;runquest;SetGameEvent;"
                "SucceedQuest ;CloseQuest;Give\r\nInfoScript_IDs1=Q1;Квест_2;Q1; Квест_2 ;Q1x;Q1\r\n"
                "InfoScript_Texts=Q1\r\n"},
               {"Infos/B.info", "[Info]\r\nName=B\r\nQuest=Q1_Side\r\nParent=Q1\r\nCondPlayerKnows=Q1\r\n"},
               {"stringtable.ini", table}}));
}

TEST_F(Rename, ADialogueItsFileParentsAndWithItsStringsTheirEntriesAndPlaces) {
    Write({{"Infos/Diego_Hi_info_G3_World_01.info",
            "[Info]\r\nName=Diego_Hi\r\nInfoScript_Commands=Say;Say;Say\r\n"
            "InfoScript_Texts=Diego_Hi_01;diego_hi_2;Diego_Hi_x\r\n"},
           {"Infos/Copy.info",
            "[Info]\r\nName=Diego_Hi_Old\r\nParent=DIEGO_HI\r\nInfoScript_Texts=Diego_Hi_01\r\n"},
           {"Quests/Q.quest", "[Quest]\r\nName=Diego_Hi\r\nLogText=diego_hi_2\r\nLogTopic=Diego_Hi_01x\r\n"},
           {"stringtable.ini",
            "[LocAdmin_Strings]\r\nDiego_Hi_x=x;\r\n diego_hi_2 = two;\r\nDiego_Hi_01=one;\r\n"
            "[More]\r\nDiego_Hi_01=not the table's;\r\n"}});
    Apply(RenameKind::Dialogue, "Diego_Hi", "Gorn_Hi", true);
    EXPECT_EQ(Library(),
              (Files{{"Infos/Gorn_Hi_info_G3_World_01.info",
                      "[Info]\r\nName=Gorn_Hi\r\nInfoScript_Commands=Say;Say;Say\r\n"
                      "InfoScript_Texts=Gorn_Hi_01;Gorn_Hi_2;Diego_Hi_x\r\n"},
                     {"Infos/Copy.info",
                      "[Info]\r\nName=Diego_Hi_Old\r\nParent=Gorn_Hi\r\nInfoScript_Texts=Gorn_Hi_01\r\n"},
                     {"Quests/Q.quest",
                      "[Quest]\r\nName=Diego_Hi\r\nLogText=Gorn_Hi_2\r\nLogTopic=Diego_Hi_01x\r\n"},
                     {"stringtable.ini",
                      "[LocAdmin_Strings]\r\nDiego_Hi_x=x;\r\n Gorn_Hi_2 = two;\r\nGorn_Hi_01=one;\r\n"
                      "[More]\r\nDiego_Hi_01=not the table's;\r\n"}}));
}

TEST_F(Rename, AnEventAndAStringIdInUtf16FilesTooAndTheTableOnlyForStrings) {
    // A UTF-16 table longer than a block of its reading, the entry far down it.
    std::string table = "[LocAdmin_Strings]\r\nKnows=k;\r\n";
    for (int i = 0; i < 20000; ++i)
        table += "Filler_" + std::to_string(i) + "=x;\r\n";
    const auto tableWith = [&table](const std::string& id) {
        return pwtest::Utf16LeFileFromUtf8(table + id + " =Привет;\r\n[More]\r\nHi_0=not the table's\r\n");
    };
    Write({{"Infos/A.info",
            "[Info]\r\nName=A\r\nCondPlayerKnows=knows\r\nInfoScript_Commands=SetGameEvent;Say\r\n"
            "InfoScript_IDs1=Knows;Knows\r\nInfoScript_Texts=;Hi_0\r\n"},
           {"Quests/Q.quest", "[Quest]\r\nName=Knows\r\nLogTopic=Hi_0\r\nLogText=\"Hi_0\"\r\n"}});
    pwtest::WriteBytes(mDir.File("stringtable.ini"), tableWith("Hi_0"));
    pwtest::WriteBytes(mDir.File("Infos/W.info"),
                       pwtest::Utf16LeFileFromUtf8("[Info]\r\nName=Ж\r\nCondPlayerKnows=Knows\r\n"));
    Apply(RenameKind::Event, "Knows", "Знает");
    EXPECT_EQ(pwtest::ReadBytes(mDir.File("Infos/W.info")),
              pwtest::Utf16LeFileFromUtf8("[Info]\r\nName=Ж\r\nCondPlayerKnows=Знает\r\n"));
    EXPECT_EQ(pwtest::ReadBytes(mDir.File("stringtable.ini")), tableWith("Hi_0"));

    const RenamePlan plan = Plan(RenameKind::String, "hi_0", "Hello_0");
    ASSERT_EQ(plan.files.size(), 3u);
    EXPECT_EQ(plan.files.back().edits.front().line, 20003u);
    Apply(RenameKind::String, "hi_0", "Hello_0");
    EXPECT_EQ(pwtest::ReadBytes(mDir.File("stringtable.ini")), tableWith("Hello_0"));
    Files library = Library();
    library.erase("Infos/W.info");
    library.erase("stringtable.ini");
    EXPECT_EQ(
        library,
        (Files{{"Infos/A.info", "[Info]\r\nName=A\r\nCondPlayerKnows=Знает\r\nInfoScript_Commands="
                                "SetGameEvent;Say\r\nInfoScript_IDs1=Знает;Knows\r\n"
                                "InfoScript_Texts=;Hello_0\r\n"},
               {"Quests/Q.quest", "[Quest]\r\nName=Knows\r\nLogTopic=Hello_0\r\nLogText=\"Hello_0\"\r\n"}}));
}

// A table saved as UTF-8 keeps its mark, or its lack of one, and gets the new ID in UTF-8.
TEST_F(Rename, AStringIdInAUtf8TableWithOrWithoutItsMark) {
    for (const std::string mark : {"", "\xEF\xBB\xBF"}) {
        const auto table = [&mark](const std::string& id) {
            return mark + "[LocAdmin_Strings]\r\nПривет=x;\r\n " + id + " =Привет;\r\n";
        };
        Write({{"Infos/A.info", "[Info]\r\nName=A\r\nInfoScript_Commands=Say\r\nInfoScript_Texts=Ид_0\r\n"}});
        pwtest::WriteBytes(mDir.File("stringtable.ini"), table("Ид_0"));
        Apply(RenameKind::String, "Ид_0", "Слово_0");
        EXPECT_EQ(pwtest::ReadBytes(mDir.File("stringtable.ini")), table("Слово_0"));
        EXPECT_EQ(Library()["Infos/A.info"],
                  "[Info]\r\nName=A\r\nInfoScript_Commands=Say\r\nInfoScript_Texts=Слово_0\r\n");
    }
}

TEST_F(Rename, RefusesANewNameThatIsNoNameOrIsTakenAndFindsAnOldOneNamedNowhere) {
    Write({{"Infos/Diego_Hi_info_G3_World_01.info",
            "[Info]\r\nName=Diego_Hi\r\nQuest=Q1\r\nCondPlayerKnows=E1\r\n"},
           {"Infos/Gorn_info_G3_World_01.info", "[Info]\r\nName=Gorn\r\nQuest=Q3\r\nInfoScript_Commands="
                                                "SetGameEvent;Say\r\nInfoScript_IDs1=E2;\r\n"
                                                "InfoScript_Texts=;S3\r\n"},
           {"Infos/Milten_info_G3_World_01.info", "[Info]\r\nName=Lester\r\n"},
           {"Quests/Q1.quest", "[Quest]\r\nName=Q1\r\n"},
           {"Quests/Q2.quest", "[Quest]\r\nName=q2\r\n"},
           {"stringtable.ini", "[LocAdmin_Strings]\r\nS1=a;\r\nS2=b;\r\n"}});
    const struct {
        RenameKind kind;
        std::string oldName, newName, refusal;
    } cases[] = {
        {RenameKind::Quest, "Q1", "", "Новое имя не задано"},
        {RenameKind::Quest, "Q1", " Q3", "Новое имя \" Q3\" не может начинаться или кончаться пробелом"},
        {RenameKind::Dialogue, "Diego_Hi", "a/b", "Новое имя \"a/b\" не может содержать \"/\" или \"\\\""},
        {RenameKind::Dialogue, "Diego_Hi", "..", "Новое имя не может быть \".\" или \"..\""},
        {RenameKind::Event, "E1", "E;3", "Новое имя \"E;3\" не может содержать \";\""},
        {RenameKind::Quest, "Q1", "Q,3", "Имя квеста \"Q,3\" не может содержать \",\""},
        {RenameKind::String, "S1", "[S3", "Идентификатор строки \"[S3\" не может начинаться с \"[\""},
        {RenameKind::Quest, "Q1", "Q2", "Квест \"Q2\" уже есть: " + mDir.File("Quests/Q2.quest")},
        {RenameKind::Dialogue, "Diego_Hi", "GORN",
         "Диалог \"GORN\" уже есть: " + mDir.File("Infos/Gorn_info_G3_World_01.info")},
        {RenameKind::Event, "E1", "e2",
         "Событие \"e2\" уже есть: " + mDir.File("Infos/Gorn_info_G3_World_01.info")},
        {RenameKind::String, "S1", "s2",
         "Идентификатор строки \"s2\" уже есть: " + mDir.File("stringtable.ini")},
        {RenameKind::Dialogue, "Diego_Hi", "Milten",
         "Файл \"" + mDir.File("Infos/Milten_info_G3_World_01.info") + "\" уже есть"},
        // A quest's or dialogue's name becomes a file name, which Windows must be able to store.
        {RenameKind::Quest, "Q1", "Q:3",
         "Новое имя \"Q:3\" не может содержать \":\": оно станет именем файла, а в Windows такой знак в "
         "имени "
         "файла недопустим"},
        {RenameKind::Dialogue, "Diego_Hi", "Who?",
         "Новое имя \"Who?\" не может содержать \"?\": оно станет именем файла, а в Windows такой знак в "
         "имени файла недопустим"},
        {RenameKind::Dialogue, "Diego_Hi", "A\tB",
         "Новое имя не может содержать табуляцию и другие управляющие символы: оно станет именем файла"},
        // Only references name these: the definition of OLD lies outside the library.
        {RenameKind::String, "S3", "S4",
         "Идентификатор строки \"S3\" не определён: в таблице строк " + mDir.File("stringtable.ini") +
             " нет его записи, и изменились бы только ссылки на него"},
        {RenameKind::Quest, "Q3", "Q4",
         "Квест \"Q3\" не определён: в папках " + mDir.File("Infos") + ", " + mDir.File("Quests") +
             " нет его файла, и изменились бы только ссылки на него"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Plan(c.kind, c.oldName, c.newName).refusal, c.refusal) << c.newName;
    const RenamePlan nowhere = Plan(RenameKind::Quest, "Diego_Hi", "Q5");
    EXPECT_EQ(nowhere.refusal, "");
    EXPECT_TRUE(nowhere.files.empty());
    EXPECT_EQ(NamedNowhereMessage(nowhere.request), "Квест \"Diego_Hi\" нигде не упоминается");
    EXPECT_THROW(ApplyRename(Plan(RenameKind::Quest, "Q1", "Q2")), std::runtime_error);
}

// A renamed file cannot take the name of anything in its folder, a link that leads nowhere included: the
// plan says so before a file is written.
TEST_F(Rename, ADanglingLinkAtAFilesNewNameRefusesThePlan) {
    Write({{"Infos/Diego_Hi_info_G3_World_01.info", "[Info]\r\nName=Diego_Hi\r\n"},
           {"Infos/A.info", "[Info]\r\nName=A\r\nParent=Diego_Hi\r\n"}});
    const std::string link = mDir.File("Infos/Diego_Bye_info_G3_World_01.info");
    std::error_code error;
    std::filesystem::create_symlink("nowhere", pwtest::FsPath(link), error);
    if (error)
        GTEST_SKIP() << "no symbolic link can be made here: " << error.message();
    const Files before = Library();
    EXPECT_EQ(Plan(RenameKind::Dialogue, "Diego_Hi", "Diego_Bye").refusal, "Файл \"" + link + "\" уже есть");
    EXPECT_EQ(Library(), before);
}

TEST_F(Rename, AFileChangedSincePlanIsLeftAloneAndACutShortRenameFinishesWhenRunAgain) {
    Write({{"Infos/A.info", "[Info]\r\nName=A\r\nCondPlayerKnows=E1\r\n"},
           {"Infos/B.info", "[Info]\r\nName=B\r\nCondPlayerKnows=E1\r\n"},
           {"Infos/C.info", "[Info]\r\nName=C\r\nCondPlayerKnows=E1\r\n"},
           {"Infos/D.info", "[Info]\r\nName=D\r\nCondPlayerKnows=E1\r\n"}});
    RenamePlan plan = Plan(RenameKind::Event, "E1", "E2");
    ASSERT_EQ(plan.files.size(), 4u);
    plan.files[FileOf(plan, "C.info")].included = false;
    pwtest::WriteBytes(mDir.File("Infos/B.info"), "[Info]\r\nName=B\r\nCondPlayerKnows=E1 \r\n");
    std::filesystem::remove(pwtest::FsPath(mDir.File("Infos/D.info")));
    std::filesystem::create_directory(pwtest::FsPath(mDir.File("Infos/D.info")));
    const RenameResult cut = ApplyRename(plan);
    std::map<std::size_t, RenameOutcome> outcomes;
    std::string reason;
    for (const RenameFileResult& file : cut.files) {
        outcomes[file.file] = file.outcome;
        reason += file.reason;
    }
    EXPECT_EQ(outcomes,
              (std::map<std::size_t, RenameOutcome>{{FileOf(plan, "A.info"), RenameOutcome::Done},
                                                    {FileOf(plan, "B.info"), RenameOutcome::Changed},
                                                    {FileOf(plan, "D.info"), RenameOutcome::Failed}}));
    EXPECT_EQ(reason.rfind("Unable to write to " + mDir.File("Infos/D.info") + ". ", 0), 0u);
    EXPECT_FALSE(cut.complete);
    std::filesystem::remove(pwtest::FsPath(mDir.File("Infos/D.info")));
    EXPECT_EQ(pwtest::ReadBytes(mDir.File("Infos/B.info")), "[Info]\r\nName=B\r\nCondPlayerKnows=E1 \r\n");
    EXPECT_EQ(pwtest::ReadBytes(mDir.File("Infos/C.info")), "[Info]\r\nName=C\r\nCondPlayerKnows=E1\r\n");

    // Another rename, over other folders, finds E2 taken.
    EXPECT_EQ(
        Plan(RenameKind::Event, "E1", "E2", false, {"Infos"}).refusal.rfind("Событие \"E2\" уже есть: ", 0),
        0u);
    // Run again, it finds its note: E2 is an event now, which only the note lets pass. Stopped by its
    // caller, it stays unfinished; the next run finishes it and removes the note.
    plan = Plan(RenameKind::Event, "E1", "E2");
    ASSERT_TRUE(plan.resumed);
    ASSERT_EQ(plan.refusal, "");
    ASSERT_EQ(plan.files.size(), 2u);
    EXPECT_THROW(ApplyRename(plan, [](const RenameFileResult&) { throw std::runtime_error("stopped"); }),
                 std::runtime_error);
    EXPECT_EQ(pwtest::FolderNames(mCache.Path() + "/renames").size(), 1u);
    pwtest::WriteBytes(mDir.File("Infos/D.info"), "[Info]\r\nName=D\r\nCondPlayerKnows=E1\r\n");
    const RenamePlan rest = Plan(RenameKind::Event, "E1", "E2");
    EXPECT_TRUE(rest.resumed);
    EXPECT_TRUE(ApplyRename(rest).complete);
    EXPECT_EQ(pwtest::FolderNames(mCache.Path() + "/renames"), std::vector<std::string>{});
    EXPECT_EQ(Library(), (Files{{"Infos/A.info", "[Info]\r\nName=A\r\nCondPlayerKnows=E2\r\n"},
                                {"Infos/B.info", "[Info]\r\nName=B\r\nCondPlayerKnows=E2 \r\n"},
                                {"Infos/C.info", "[Info]\r\nName=C\r\nCondPlayerKnows=E2\r\n"},
                                {"Infos/D.info", "[Info]\r\nName=D\r\nCondPlayerKnows=E2\r\n"}}));
    // Finished, it has nothing left to do.
    const RenamePlan again = Plan(RenameKind::Event, "E1", "E2");
    EXPECT_EQ(std::tie(again.resumed, again.refusal), std::make_tuple(false, std::string()));
    EXPECT_TRUE(again.files.empty());
}

} // namespace

namespace {

TEST_F(Rename, AStopAsksForLeavesTheFilesNotReachedWholeAndRunningAgainFinishes) {
    Files library;
    for (char c = 'A'; c <= 'F'; ++c)
        library["Infos/" + std::string(1, c) + ".info"] =
            "[Info]\r\nName=" + std::string(1, c) + "\r\nQuest=Q1\r\n";
    library["Quests/Q1_quest_G3_World_01.quest"] = "[Quest]\r\nName=Q1\r\n";
    Write(library);
    const RenamePlan plan = Plan(RenameKind::Quest, "Q1", "Q2");
    ASSERT_EQ(plan.files.size(), 7u);
    // Three files may be written; the hook says stop before the fourth.
    std::vector<std::size_t> asked;
    const RenameResult cut = ApplyRename(plan, {}, [&asked](std::size_t begun, std::size_t total) {
        EXPECT_EQ(total, 7u);
        asked.push_back(begun);
        return begun < 3;
    });
    EXPECT_TRUE(cut.stopped);
    EXPECT_FALSE(cut.complete);
    EXPECT_EQ(asked, (std::vector<std::size_t>{0, 1, 2, 3}));
    std::map<RenameOutcome, int> outcomes;
    for (const RenameFileResult& file : cut.files)
        ++outcomes[file.outcome];
    EXPECT_EQ(outcomes,
              (std::map<RenameOutcome, int>{{RenameOutcome::Done, 3}, {RenameOutcome::Stopped, 4}}));
    // Every file is either as it was or renamed whole, and the quest keeps its name.
    int renamed = 0;
    for (const auto& [path, text] : Library())
        if (path.starts_with("Infos/")) {
            std::string after = library[path];
            after.replace(after.size() - 4, 2, "Q2");
            renamed += text == after ? 1 : 0;
            EXPECT_TRUE(text == after || text == library[path]) << path << ": " << text;
        }
    EXPECT_EQ(renamed, 3);
    EXPECT_EQ(pwtest::ReadBytes(mDir.File("Quests/Q1_quest_G3_World_01.quest")), "[Quest]\r\nName=Q1\r\n");
    EXPECT_EQ(pwtest::FolderNames(mCache.Path() + "/renames").size(), 1u);

    const RenamePlan rest = Plan(RenameKind::Quest, "Q1", "Q2");
    EXPECT_EQ(rest.files.size(), 4u);
    EXPECT_TRUE(ApplyRename(rest).complete);
    for (const auto& [path, text] : Library())
        EXPECT_TRUE(text.ends_with("Q2\r\n")) << path << ": " << text;
    EXPECT_TRUE(pwtest::Exists(mDir.File("Quests/Q2_quest_G3_World_01.quest")));
}

} // namespace
