// The translation commands through the built command line: the counts of each language, a language
// exported for translators (checked by GNU gettext's msgfmt and read back by Debian's python3-polib) and
// imported again byte for byte, a language copied between tables, and the difference of two tables.

#include "CliRunner.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace pwtest {
namespace {

// A value in the game's layout from the texts of its languages (column, text) and second fields (column,
// text); every other field empty.
std::string Value(std::vector<std::pair<int, std::string>> texts,
                  std::vector<std::pair<int, std::string>> seconds = {}) {
    std::vector<std::string> fields(20);
    for (const auto& [column, text] : texts)
        fields[2 * (column - 1)] = text;
    for (const auto& [column, text] : seconds)
        fields[2 * (column - 1) + 1] = text;
    std::string value;
    for (std::size_t i = 0; i < fields.size(); ++i)
        value += (i ? ";" : "") + fields[i];
    return value;
}

const std::string kHeader = "[LocAdmin_Languages]\r\nLanguages=English;Italian;French;German;Spanish;Czech;"
                            "Hungarian;Polish;Russian;Japanese\r\nCurrentLanguage=Russian\r\n\r\n";

// The table of the tests, UTF-8.
std::string TableText() {
    return kHeader + "[LocAdmin_Strings]\r\n" +
           "A_01=" + Value({{1, "Hello"}, {2, "IT"}, {3, "Hello"}, {4, "Hallo"}, {9, "Привет"}}) + "\r\n" +
           "A_02=" + Value({{1, "Line one\\nLine two"}, {4, "Zeile"}}) + "\r\n" +
           "A_03=" + Value({{1, "Bye \"friend\""}, {9, "Пока"}}, {{9, "Diego"}}) + "\r\n" +
           "A_04=" + Value({{9, "Без английского"}}) + "\r\n" + "A_05=" + Value({{1, "Gold"}, {9, "[RUS]"}}) +
           "\r\n";
}

struct Translations : ::testing::Test {
    TempDir dir;
    std::string table = dir.File("stringtable.ini");
    std::string po = dir.File("ru.po");

    // The encodings a table is kept in, and its bytes in each.
    enum class Form { Cp1251, Utf16, Utf8, Utf8Bom };
    static constexpr Form kForms[] = {Form::Cp1251, Form::Utf16, Form::Utf8, Form::Utf8Bom};
    static std::string Bytes(const std::string& utf8, Form form) {
        switch (form) {
        case Form::Cp1251:
            return Ansi(utf8);
        case Form::Utf16:
            return Utf16LeFileFromUtf8(utf8);
        case Form::Utf8:
            return utf8;
        case Form::Utf8Bom:
            break;
        }
        return "\xEF\xBB\xBF" + utf8;
    }
    CliResult Export(std::vector<std::string> options = {}) {
        std::vector<std::string> args = {"translation-export", table, "--lang", "ru", "-o", po};
        args.insert(args.end(), options.begin(), options.end());
        return RunCli(args);
    }
    CliResult Import(std::vector<std::string> options = {}) {
        std::vector<std::string> args = {"translation-import", table, po};
        args.insert(args.end(), options.begin(), options.end());
        return RunCli(args);
    }
};

std::string Replaced(std::string text, const std::string& before, const std::string& after) {
    const std::size_t at = text.find(before);
    EXPECT_NE(at, std::string::npos) << before;
    if (at != std::string::npos)
        text.replace(at, before.size(), after);
    return text;
}

TEST_F(Translations, StatusCountsEachLanguagesCells) {
    WriteBytes(table, Ansi(TableText()));
    const CliResult text = RunCli({"translation-status", table});
    ASSERT_EQ(text.code, 0) << text.err;
    EXPECT_NE(text.out.find(table + ": ru (9, Русский): переведено 3 из 5 (60 %), пусто 1, заглушки 1, "
                                    "как в английском 0\n"),
              std::string::npos)
        << text.out;
    EXPECT_NE(text.out.find(table + ": fr (3, Французский): переведено 0 из 5 (0 %), пусто 4, заглушки 0, "
                                    "как в английском 1\n"),
              std::string::npos)
        << text.out;
    const CliResult json = RunCli({"translation-status", "--format", "json", table});
    EXPECT_NE(json.out.find("{\"table\": \"" + table +
                            "\", \"language\": \"Russian\", \"code\": \"ru\", "
                            "\"column\": 9, \"translated\": 3, \"missing\": 1, \"placeholder\": 1, "
                            "\"same_as_english\": 0, \"total\": 5}"),
              std::string::npos)
        << json.out;
    EXPECT_EQ(json.out.front(), '[');

    WriteBytes(table, "[LocAdmin_Strings]\r\nA=Hello;\r\nB=Bye;\r\n");
    const CliResult single = RunCli({"translation-status", table});
    EXPECT_EQ(single.code, 0);
    EXPECT_EQ(single.out, "");
    EXPECT_NE(single.err.find("одноязычная"), std::string::npos);
    const CliResult refused = RunCli({"translation-export", table, "--lang", "ru"});
    EXPECT_EQ(refused.code, 3);
    EXPECT_EQ(ReadBytes(table), "[LocAdmin_Strings]\r\nA=Hello;\r\nB=Bye;\r\n");
}

TEST_F(Translations, ThePoFileCarriesEachEntryWithItsContext) {
    WriteBytes(table, Ansi(TableText()));
    const CliResult r = Export();
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "Пропущено записей без исходного текста (en): 1\n");
    const std::string text = ReadBytes(po);
    EXPECT_NE(text.find("\"Language: ru\\n\"\n"), std::string::npos);
    EXPECT_NE(text.find("\"Content-Type: text/plain; charset=UTF-8\\n\"\n"), std::string::npos);
    EXPECT_EQ(text.find("#. it:"), std::string::npos) << "placeholders are no texts";
    EXPECT_NE(
        text.find("\n#. fr: Hello\n#. de: Hallo\n#: stringtable.ini:6\nmsgctxt \"A_01\"\nmsgid \"Hello\"\n"
                  "msgstr \"Привет\"\n"),
        std::string::npos)
        << text;
    EXPECT_NE(text.find("msgctxt \"A_02\"\nmsgid \"Line one\\\\nLine two\"\nmsgstr \"\"\n"),
              std::string::npos);
    EXPECT_NE(text.find("#. ru (второе поле): Diego\n#: stringtable.ini:8\nmsgctxt \"A_03\"\n"
                        "msgid \"Bye \\\"friend\\\"\"\nmsgstr \"Пока\"\n"),
              std::string::npos);
    EXPECT_NE(text.find("msgctxt \"A_05\"\nmsgid \"Gold\"\nmsgstr \"\"\n"), std::string::npos);
    EXPECT_EQ(text.find("A_04"), std::string::npos);

    ASSERT_EQ(Export({"--only-missing"}).code, 0);
    const std::string missing = ReadBytes(po);
    EXPECT_EQ(missing.find("A_01"), std::string::npos);
    EXPECT_NE(missing.find("A_02"), std::string::npos);
    EXPECT_NE(missing.find("A_05"), std::string::npos);
}

TEST_F(Translations, GettextsMsgfmtAcceptsTheExport) {
    if (std::system("msgfmt --version > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "GNU gettext's msgfmt is not installed (scripts/install-deps installs it)";
    WriteBytes(table, Utf16LeFileFromUtf8(TableText()));
    ASSERT_EQ(Export().code, 0);
    const std::string log = dir.File("msgfmt.txt");
    const std::string command = "msgfmt -c -o /dev/null \"" + po + "\" > \"" + log + "\" 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << ReadBytes(log);
}

TEST_F(Translations, AFileRewrappedByGettextImportsAsItWas) {
    if (std::system("msgcat --version > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "GNU gettext's msgcat is not installed (scripts/install-deps installs it)";
    const std::string before = Ansi(TableText());
    WriteBytes(table, before);
    ASSERT_EQ(Export().code, 0);
    // gettext's tools wrap long strings over several lines and sort nothing away.
    const std::string wrapped = dir.File("wrapped.po");
    ASSERT_EQ(std::system(("msgcat --width=12 -o \"" + wrapped + "\" \"" + po + "\"").c_str()), 0);
    EXPECT_NE(ReadBytes(wrapped).find("msgid \"\"\n\"Line one\\\\nLine \"\n\"two\""), std::string::npos)
        << ReadBytes(wrapped);
    const CliResult r = RunCli({"translation-import", table, wrapped});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(ReadBytes(table), before);
}

TEST_F(Translations, PythonsPolibReadsTheExportBack) {
#ifdef _WIN32
    GTEST_SKIP() << "Debian's python3-polib runs on Linux only";
#endif
    // Debian's own Python, which python3-polib is installed for, whatever python3 comes first in PATH.
    const std::string python = "/usr/bin/python3";
    if (!Exists(python) || std::system((python + " -c 'import polib' 2>/dev/null").c_str()) != 0)
        GTEST_SKIP() << "Debian's python3-polib is not installed (scripts/install-deps installs it)";
    WriteBytes(table, Ansi(TableText()));
    ASSERT_EQ(Export().code, 0);
    const std::string script = dir.File("read.py");
    WriteBytes(
        script,
        "import polib, sys\n"
        "po = polib.pofile(sys.argv[1])\n"
        "print(po.metadata['Language'])\n"
        "for e in po:\n"
        "    print('%s|%s|%s|%s' % (e.msgctxt, e.msgid, e.msgstr, ' / '.join(e.comment.split('\\n'))))\n");
    const std::string out = dir.File("polib.txt");
    ASSERT_EQ(std::system((python + " \"" + script + "\" \"" + po + "\" > \"" + out + "\"").c_str()), 0);
    EXPECT_EQ(ReadBytes(out), "ru\n"
                              "A_01|Hello|Привет|fr: Hello / de: Hallo\n"
                              "A_02|Line one\\nLine two||de: Zeile\n"
                              "A_03|Bye \"friend\"|Пока|ru (второе поле): Diego\n"
                              "A_05|Gold||\n");
}

TEST_F(Translations, AnUnchangedExportImportedChangesNoByte) {
    for (const Form form : kForms)
        for (const std::string format : {"po", "csv"}) {
            const std::string before = Bytes(TableText(), form);
            WriteBytes(table, before);
            ASSERT_EQ(Export({"--format", format}).code, 0);
            const CliResult r = Import(format == "csv" ? std::vector<std::string>{"--lang", "9"}
                                                       : std::vector<std::string>{});
            EXPECT_EQ(r.code, 0) << r.err;
            EXPECT_NE(r.err.find("Записано переводов: 0, уже совпадали: 2. Ничего не изменилось: таблица не "
                                 "записана."),
                      std::string::npos)
                << r.err;
            EXPECT_EQ(ReadBytes(table), before) << static_cast<int>(form) << format;
        }
}

TEST_F(Translations, AnImportChangesExactlyTheTranslatedCells) {
    for (const Form form : kForms) {
        WriteBytes(table, Bytes(TableText(), form));
        ASSERT_EQ(Export().code, 0);
        std::string file = ReadBytes(po);
        file = Replaced(file, "msgid \"Gold\"\nmsgstr \"\"", "msgid \"Gold\"\nmsgstr \"Золото\"");
        file = Replaced(file, "msgstr \"Привет\"", "msgstr \"Здравствуй,\\nдруг\"");
        WriteBytes(po, file);
        const CliResult r = Import();
        EXPECT_EQ(r.code, 0) << r.err;
        EXPECT_NE(r.err.find("не записано: A_02 — пустой перевод\n"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("Записано переводов: 2, уже совпадали: 1."), std::string::npos) << r.err;
        std::string expected = Replaced(TableText(), "Привет", "Здравствуй,\\nдруг");
        expected = Replaced(expected, "[RUS]", "Золото");
        EXPECT_EQ(ReadBytes(table), Bytes(expected, form)) << static_cast<int>(form);
    }
}

TEST_F(Translations, StaleFuzzyRemovedAndEmptyMessagesAreListedNotWritten) {
    WriteBytes(table, Ansi(TableText()));
    ASSERT_EQ(Export().code, 0);
    std::string file = ReadBytes(po);
    file = Replaced(file, "msgid \"Gold\"\nmsgstr \"\"", "msgid \"Gold\"\nmsgstr \"Золото\"");
    file = Replaced(file, "msgctxt \"A_03\"", "#, fuzzy\nmsgctxt \"A_03\"");
    file = Replaced(file, "msgstr \"Пока\"", "msgstr \"Прощай\"");
    file = Replaced(file, "msgstr \"Привет\"", "msgstr \"Здорово\"");
    file += "\nmsgctxt \"GONE_01\"\nmsgid \"Away\"\nmsgstr \"Нет\"\n";
    WriteBytes(po, file);
    // The English of A_01 changes after the export.
    std::string changed = Replaced(TableText(), "A_01=Hello", "A_01=Hello there");
    WriteBytes(table, Ansi(changed));
    const CliResult r = Import();
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "не записано: A_01 — исходный текст в таблице изменился после выгрузки\n"
                     "не записано: A_02 — пустой перевод\n"
                     "не записано: A_03 — перевод помечен как неточный (fuzzy)\n"
                     "не записано: GONE_01 — такого ID в таблице больше нет\n"
                     "Записано переводов: 1, уже совпадали: 0.\n");
    EXPECT_EQ(ReadBytes(table), Ansi(Replaced(changed, "[RUS]", "Золото")));
}

TEST_F(Translations, ASemicolonOrAnUnheldCharacterRefusesTheWholeImport) {
    WriteBytes(table, Ansi(TableText()));
    ASSERT_EQ(Export().code, 0);
    const std::string exported = ReadBytes(po);
    const std::string before = ReadBytes(table);
    WriteBytes(po, Replaced(Replaced(exported, "msgstr \"Пока\"", "msgstr \"Пока; друг\""),
                            "msgid \"Gold\"\nmsgstr \"\"", "msgid \"Gold\"\nmsgstr \"Золото\""));
    CliResult r = Import();
    EXPECT_EQ(r.code, 3);
    EXPECT_NE(r.err.find("ID A_03: "), std::string::npos) << r.err;
    EXPECT_EQ(ReadBytes(table), before);

    WriteBytes(po, Replaced(exported, "msgstr \"Пока\"", "msgstr \"Cześć\""));
    r = Import();
    EXPECT_EQ(r.code, 3);
    EXPECT_NE(r.err.find("ID A_03: в переводе есть символ «ś» (U+015B), которого нет в кодировке таблицы "
                         "(Windows-1251)"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(ReadBytes(table), before);

    // A UTF-16 or UTF-8 table holds it.
    for (const Form form : {Form::Utf16, Form::Utf8, Form::Utf8Bom}) {
        WriteBytes(table, Bytes(TableText(), form));
        EXPECT_EQ(Import().code, 0);
        EXPECT_EQ(ReadBytes(table), Bytes(Replaced(TableText(), "Пока", "Cześć"), form));
    }
}

TEST_F(Translations, TheCsvFileHasWeblatesColumns) {
    WriteBytes(table, Ansi(TableText()));
    ASSERT_EQ(Export({"--format", "csv"}).code, 0);
    const std::string csv = ReadBytes(po);
    EXPECT_EQ(
        csv.rfind("location,source,target,id,fuzzy,context,translator_comments,developer_comments\r\n", 0),
        0u);
    EXPECT_NE(
        csv.find("stringtable.ini:8,\"Bye \"\"friend\"\"\",Пока,A_03,,A_03,,ru (второе поле): Diego\r\n"),
        std::string::npos)
        << csv;
    EXPECT_NE(csv.find("stringtable.ini:6,Hello,Привет,A_01,,A_01,,\"fr: Hello\nde: Hallo\"\r\n"),
              std::string::npos);
    WriteBytes(po, Replaced(csv, "Gold,,A_05,", "Gold,Золото,A_05,"));
    EXPECT_EQ(Import().code, 2) << "a CSV file names no language";
    EXPECT_EQ(Import({"--lang", "ru"}).code, 0);
    EXPECT_EQ(ReadBytes(table), Ansi(Replaced(TableText(), "[RUS]", "Золото")));
}

TEST_F(Translations, CopyTakesOneLanguageOfTheIdsBothTablesHold) {
    const std::string from = dir.File("translated.ini");
    WriteBytes(table, Ansi(TableText()));
    WriteBytes(from, Utf16LeFileFromUtf8(kHeader + "[LocAdmin_Strings]\r\n" +
                                         "a_01=" + Value({{1, "Hello"}, {9, "Привет!"}}) + "\r\n" +
                                         "A_02=" + Value({{1, "Line one\\nLine two"}, {9, "Строка"}}) +
                                         "\r\n" + "A_03=" + Value({{1, "Bye"}}) + "\r\n" +
                                         "NEW_01=" + Value({{1, "New"}, {9, "Новая"}}) + "\r\n"));
    const std::string before = ReadBytes(table);
    CliResult r = RunCli({"translation-copy", table, from, "--lang", "ru", "--dry-run"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(ReadBytes(table), before);
    r = RunCli({"translation-copy", table, from, "--lang", "ru"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "нет в " + table + ": NEW_01\nБез текста в " + from +
                         " (не скопировано): 1\nСкопировано переводов: 2, уже совпадали: 0.\n");
    EXPECT_EQ(ReadBytes(table),
              Ansi(Replaced(Replaced(TableText(), "Привет", "Привет!"),
                            "A_02=" + Value({{1, "Line one\\nLine two"}, {4, "Zeile"}}),
                            "A_02=" + Value({{1, "Line one\\nLine two"}, {4, "Zeile"}, {9, "Строка"}}))));
}

TEST_F(Translations, TableDiffListsAddedRemovedChangedAndStale) {
    const std::string newer = dir.File("new.ini");
    WriteBytes(table, Ansi(TableText()));
    std::string text = Replaced(TableText(), "A_01=Hello", "A_01=Hello there");
    text = Replaced(text, "A_03=Bye", "A_03=Goodbye");
    text = Replaced(text, "Пока", "До встречи");
    text = Replaced(text, "A_02=", "B_01=" + Value({{1, "Fresh"}}) + "\r\nA_02=");
    text = Replaced(text, "A_04=" + Value({{9, "Без английского"}}) + "\r\n", "");
    WriteBytes(newer, Utf16LeFileFromUtf8(text));
    CliResult r = RunCli({"table-diff", table, newer});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "+B_01\n-A_04\n~A_01\n~A_03\n");
    r = RunCli({"table-diff", table, newer, "--lang", "ru"});
    EXPECT_EQ(r.out, "+B_01\n-A_04\n~A_01\n~A_03\nstale A_01\n");
}

TEST_F(Translations, CheckWarnsAboutNamedIdsNotTranslatedInTheRequiredLanguage) {
    WriteBytes(table, Ansi(TableText()));
    const std::string info = dir.File("Diego_Test_info_G3_World_01.info");
    WriteBytes(
        info,
        "[Info]\r\nName=Diego_Test\r\nOwner=Diego\r\nInfoScript_Commands=Say;Say;Say;End\r\n"
        "InfoScript_Entities1=owner;player;owner;\r\nInfoScript_Entities2=;;;\r\nInfoScript_IDs1=;;;\r\n"
        "InfoScript_IDs2=;;;\r\nInfoScript_Texts=A_01;A_02;A_05;\r\n");
    const CliResult r = RunCli({"check", "--stringtable", table, "--require-language", "ru", info});
    EXPECT_NE(r.out.find(info +
                         ":9: warning: ID строки A_02: текст на языке «Русский» (ru) не переведён: текста "
                         "нет."),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("ID строки A_05: текст на языке «Русский» (ru) не переведён: стоит заглушка."),
              std::string::npos);
    EXPECT_EQ(r.out.find("ID строки A_01:"), std::string::npos);
    EXPECT_EQ(RunCli({"check", "--stringtable", table, "--require-language", "xx", info}).code, 3);
}

} // namespace
} // namespace pwtest
