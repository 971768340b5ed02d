// Texts typed in a UTF-8 terminal: converted to each file's encoding and back, refused where the file
// cannot hold them, and passed as bytes with --raw. "--" lets a text start with "--".

#include "CliRunner.h"
#include "TempDir.h"

#include "core/data/Cp1251.h"

#include <gtest/gtest.h>

namespace pwtest {
namespace {

using namespace std::string_literals;

const std::string kTableHead = "[LocAdmin_Strings]\r\n";

TEST(Utf8Arguments, WhatWindows1251CannotHoldIsRefusedAndNothingIsWritten) {
    TempDir dir;
    const std::string table = dir.File("t.ini");
    WriteBytes(table, kTableHead + "A=1;\r\n");
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const Case cases[] = {
        {{"string-add", table, "Pl_01", "Zażółć"}, "TEXT: символа «ż» (U+017C) нет в кодировке Windows-1251"},
        {{"string-add", table, "Id_中", "x"}, "ID: символа «中» (U+4E2D) нет в кодировке Windows-1251"},
        {{"string-get", table, "Id_😀"}, "ID: символа «😀» (U+1F600) нет в кодировке Windows-1251"},
        {{"info-write", dir.File("a.info"), "Name=A", "Owner=Łukasz"},
         "Key=Value: символа «Ł» (U+0141) нет в кодировке Windows-1251"},
        {{"quest-write", dir.File("a.quest"), "LogText=…ok", "Name=ǅ"},
         "Key=Value: символа «ǅ» (U+01C5) нет в кодировке Windows-1251"},
        {{"search", "info", "Diego中", dir.Path()},
         "QUERY: символа «中» (U+4E2D) нет в кодировке Windows-1251"},
#ifndef _WIN32 // a UTF-16 command line carries characters, never bytes that are no UTF-8
        // Windows-1251 bytes are no UTF-8; a script that works in them says --raw.
        {{"string-add", table, "Ru_01", Ansi("Меч")},
         "TEXT не является текстом в UTF-8 (байты Windows-1251 передаются с --raw)"},
#endif
    };
    for (const Case& c : cases) {
        const CliResult r = RunCli(c.args);
        EXPECT_EQ(r.code, 3) << c.message;
        EXPECT_EQ(r.err, c.message + "\n");
        EXPECT_EQ(r.out, "");
    }
    EXPECT_EQ(ReadBytes(table), kTableHead + "A=1;\r\n");
    EXPECT_FALSE(Exists(dir.File("a.info")));
    EXPECT_FALSE(Exists(dir.File("a.quest")));

    // What the code page holds is converted, "…" and "№" among it.
    ASSERT_EQ(RunCli({"string-add", table, "Ru_01", "Меч № 1…"}).code, 0);
    ASSERT_EQ(RunCli({"--raw", "string-add", table, "Ru_02", Ansi("Щит")}).code, 0);
    EXPECT_EQ(ReadBytes(table),
              kTableHead + "A=1;\r\nRu_01=" + Ansi("Меч № 1…;") + "\r\nRu_02=" + Ansi("Щит;") + "\r\n");
    EXPECT_EQ(RunCli({"string-get", table, "ru_02"}).out, "Щит;\n");
}

TEST(Utf8Arguments, AUtf16TableTakesAndGivesEveryCharacter) {
    TempDir dir;
    const std::string table = dir.File("t.ini");
    WriteBytes(table, Utf16LeFileFromUtf8("[LocAdmin_Strings]\r\nOld_01=Стар;Old;Alt;Stary żuk;\r\n"));
    ASSERT_EQ(RunCli({"string-add", table, "New_01", "Меч;Sword;Schwert;Miecz żelazny 😀"}).code, 0);
    EXPECT_EQ(ReadBytes(table), Utf16LeFileFromUtf8("[LocAdmin_Strings]\r\nOld_01=Стар;Old;Alt;Stary żuk;\r\n"
                                                    "New_01=Меч;Sword;Schwert;Miecz żelazny 😀;\r\n"));
    EXPECT_EQ(RunCli({"string-get", table, "new_01"}).out, "Меч;Sword;Schwert;Miecz żelazny 😀;\n");

    const CliResult duplicate = RunCli({"string-add", table, "Old_01", "Ślad"});
    EXPECT_EQ(duplicate.code, 3);
    EXPECT_EQ(duplicate.err,
              "Запись с аналогичным ID уже существует.\nСуществующая запись: Стар;Old;Alt;Stary żuk;\n"
              "Новая запись: Ślad\n");
    // IDs are compared in the code page, in a UTF-16 table too.
    EXPECT_EQ(RunCli({"string-add", table, "Ślad_01", "x"}).code, 3);
}

TEST(Utf8Arguments, IniFilesStayByteExactWhen8BitAndSpeakUtf8WhenUtf16) {
    TempDir dir;
    const std::string ansi = dir.File("a.ini");
#ifdef _WIN32
    // The settings file holds paths in the system's code page (1251 in the tests), spoken as UTF-8.
    ASSERT_EQ(RunCli({"ini-set", ansi, "Paths", "Infos", "C:\\моды\\Infos"}).code, 0);
    EXPECT_EQ(ReadBytes(ansi), "[Paths]\r\nInfos=" + Ansi("C:\\моды\\Infos") + "\r\n");
    EXPECT_EQ(RunCli({"ini-get", ansi, "Paths", "Infos"}).out, "C:\\моды\\Infos\n");
    const CliResult outside = RunCli({"ini-set", ansi, "Paths", "Old", "C:\\Żółw"});
    EXPECT_EQ(outside.code, 3) << "the code page has no Ż";
#else
    // The settings file holds the file system's own paths: bytes go in and out as they are.
    ASSERT_EQ(RunCli({"ini-set", ansi, "Paths", "Infos", "/home/моды/Infos"}).code, 0);
    ASSERT_EQ(RunCli({"ini-set", ansi, "Paths", "Old", Ansi("/mnt/старое")}).code, 0);
    EXPECT_EQ(ReadBytes(ansi), "[Paths]\r\nInfos=/home/моды/Infos\r\nOld=" + Ansi("/mnt/старое") + "\r\n");
    EXPECT_EQ(RunCli({"ini-get", ansi, "Paths", "Infos"}).out, "/home/моды/Infos\n");
    EXPECT_EQ(RunCli({"ini-get", ansi, "Paths", "Old"}).out, Ansi("/mnt/старое") + "\n");
#endif

    const std::string wide = dir.File("w.ini");
    WriteBytes(wide, Utf16LeFileFromUtf8("[Ustawienia]\r\nJęzyk=Polski\r\n"));
    ASSERT_EQ(RunCli({"ini-set", wide, "Ustawienia", "Nazwa", "Źródło – ąę"}).code, 0);
    EXPECT_EQ(ReadBytes(wide), Utf16LeFileFromUtf8("[Ustawienia]\r\nJęzyk=Polski\r\nNazwa=Źródło – ąę\r\n"));
    EXPECT_EQ(RunCli({"ini-get", wide, "USTAWIENIA", "nazwa"}).out, "Źródło – ąę\n");
    EXPECT_EQ(RunCli({"--raw", "ini-get", wide, "Ustawienia", "Nazwa"}).out, "?r?d?o \x96 ??\n");
    const CliResult name = RunCli({"ini-get", wide, "Ustawienia", "Język"});
    EXPECT_EQ(name.code, 3);
    EXPECT_EQ(name.err, "KEY: символа «ę» (U+0119) нет в кодировке Windows-1251\n");
#ifndef _WIN32 // a UTF-16 command line carries no bytes that are no UTF-8
    EXPECT_EQ(RunCli({"ini-set", wide, "Ustawienia", "X", Ansi("Меч")}).code, 3);
#endif
}

TEST(CommandLineOptions, DoubleDashLetsATextStartWithDashes) {
    TempDir dir;
    const std::string table = dir.File("t.ini");
    WriteBytes(table, kTableHead);
    CliResult r = RunCli({"string-add", table, "Id_1", "--replace me"});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.err.rfind(
                  "unknown option \"--replace me\" (a text that starts with \"--\" goes after \"--\")\n", 0),
              0u)
        << r.err;
    ASSERT_EQ(RunCli({"string-add", table, "Id_1", "--", "--replace"}).code, 0);
    ASSERT_EQ(RunCli({"string-add", "--replace", table, "Id_1", "--", "--"}).code, 0);
    EXPECT_EQ(ReadBytes(table), kTableHead + "Id_1=--;\r\n");
    EXPECT_EQ(RunCli({"--", "string-get", table, "Id_1"}).out, "--;\n");
    EXPECT_EQ(RunCli({"--raw", "--", "string-get", "--", table, "Id_1"}).out, "--;\n");

    // --raw goes before COMMAND; elsewhere it is an unknown option, like any other.
    r = RunCli({"string-get", table, "Id_1", "--raw"});
    EXPECT_EQ(r.code, 2);
    r = RunCli({"--verbose", "check", table});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.err.rfind("unknown option \"--verbose\"\nusage:", 0), 0u) << r.err;
    EXPECT_EQ(RunCli({"--raw"}).code, 2);
}

} // namespace
} // namespace pwtest
