#include "data/ProfileIni.h"

#include "data/Cp1251.h"
#include "TempDir.h"

#include <gtest/gtest.h>

using namespace pw;
using pwtest::ReadBytes;
using pwtest::WriteBytes;

namespace {

std::string Utf16File(const std::string& cp1251Text) {
    return "\xFF\xFE" + Cp1251ToUtf16Le(cp1251Text);
}

} // namespace

TEST(ProfileRead, LineRulesSectionsCommentsAndDefaults) {
    const ProfileText text("Top=outside\n  [ Sec ] trailing\r\n ; Key=comment\r\nKey = \"  quoted  \" \r"
                           "Other='single'\nMixed=\"abc'\nNested=''x''\nNoEquals\nEmpty=\n[sec]\nKey=second\n"
                           "[Open\nA=1\n[]\nB=2\n");
    EXPECT_EQ(text.Get("sec", "KEY", "d"), "  quoted  ");
    EXPECT_EQ(text.Get("Sec", "Other", "d"), "single");
    EXPECT_EQ(text.Get("Sec", "Mixed", "d"), "\"abc'");
    EXPECT_EQ(text.Get("Sec", "Nested", "d"), "'x'");
    EXPECT_EQ(text.Get("Sec", "NoEquals", "def  "), "def");
    EXPECT_EQ(text.Get("Sec", "Empty", "def"), "");
    EXPECT_EQ(text.Get("Sec", "Top", "none"), "none");
    EXPECT_EQ(text.Get("Open", "A", ""), "1");
    EXPECT_EQ(text.Get("", "B", ""), "2");
    EXPECT_EQ(text.Get("Missing", "Key", "d"), "d");
    // Names beyond A-Z match byte for byte in an 8-bit file, and only A-Z fold.
    const ProfileText russian("[\xD1\xE5\xEA\xF6\xE8\xFF]\r\n\xCA\xEB\xFE\xF7 = v\r\n"); // [Секция] Ключ
    EXPECT_EQ(russian.Get("\xD1\xE5\xEA\xF6\xE8\xFF", "\xCA\xEB\xFE\xF7", "d"), "v");
    EXPECT_EQ(russian.Get("\xD1\xE5\xEA\xF6\xE8\xFF", "\xEA\xEB\xFE\xF7", "d"), "d");
}

TEST(ProfileRead, FirstDuplicateWinsAndLongValuesAreCut) {
    const std::string longValue(3000, 'x');
    const ProfileText text("[S]\r\nk=first\r\nK=second\r\nLong=" + longValue + "\r\n");
    EXPECT_EQ(text.Get("S", "k", ""), "first");
    EXPECT_EQ(text.Get("S", "Long", "").size(), 2047u);
}

TEST(ProfileRead, MissingFileGivesTheDefault) {
    pwtest::TempDir dir;
    EXPECT_EQ(ProfileGetString(dir.File("none.ini"), "S", "K", "def"), "def");
    EXPECT_EQ(ProfileGetString(dir.Path(), "S", "K", "def"), "def");
}

TEST(ProfileWrite, ReplacesInPlaceAppendsAfterLastKeyAndAddsSections) {
    pwtest::TempDir dir;
    const std::string path = dir.File("a.ini");
    WriteBytes(path, "; top\r\n[One]\r\n  Alpha = 1 \r\nbeta=2\r\n; trailing comment\r\n\r\n[Two]\r\nx=1");
    ASSERT_TRUE(ProfileWriteString(path, "one", "ALPHA", "10"));
    ASSERT_TRUE(ProfileWriteString(path, "One", "Gamma", "3"));
    ASSERT_TRUE(ProfileWriteString(path, "Two", "y", "2"));
    ASSERT_TRUE(ProfileWriteString(path, "Three", "z", "\"q\""));
    ASSERT_TRUE(ProfileWriteString(path, "Three", "\xC8\xE4", "1")); // "Ид"
    ASSERT_TRUE(ProfileWriteString(path, "Three", "\xC8\xE4", "2"));
    EXPECT_EQ(ReadBytes(path), "; top\r\n[One]\r\nAlpha=10\r\nbeta=2\r\nGamma=3\r\n; trailing comment\r\n\r\n"
                               "[Two]\r\nx=1\r\ny=2\r\n[Three]\r\nz=\"q\"\r\n\xC8\xE4=2\r\n");
}

TEST(ProfileWrite, NewFileAndSectionAtEndWithoutLineBreak) {
    pwtest::TempDir dir;
    const std::string path = dir.File("new.ini");
    ASSERT_TRUE(ProfileWriteString(path, "S", "k", "v"));
    EXPECT_EQ(ReadBytes(path), "[S]\r\nk=v\r\n");
    WriteBytes(path, "[S]\r\nk=v");
    ASSERT_TRUE(ProfileWriteString(path, "T", "a", "b"));
    EXPECT_EQ(ReadBytes(path), "[S]\r\nk=v\r\n[T]\r\na=b\r\n");
    WriteBytes(path, "[S]");
    ASSERT_TRUE(ProfileWriteString(path, "S", "a", "b"));
    EXPECT_EQ(ReadBytes(path), "[S]\r\na=b\r\n");
}

TEST(ProfileWrite, SeveralKeysInOneUpdateEqualSingleWrites) {
    pwtest::TempDir dir;
    const std::string one = dir.File("one.ini");
    const std::string two = dir.File("two.ini");
    const std::string start = "[Q]\r\nB=old\r\n[R]\r\nz=1\r\n";
    WriteBytes(one, start);
    WriteBytes(two, start);
    ASSERT_TRUE(ProfileWriteStrings(one, "Q", {{"A", "1"}, {"B", "2"}, {"C", ""}}));
    ASSERT_TRUE(ProfileWriteString(two, "Q", "A", "1"));
    ASSERT_TRUE(ProfileWriteString(two, "Q", "B", "2"));
    ASSERT_TRUE(ProfileWriteString(two, "Q", "C", ""));
    EXPECT_EQ(ReadBytes(one), ReadBytes(two));
    EXPECT_EQ(ReadBytes(one), "[Q]\r\nB=2\r\nA=1\r\nC=\r\n[R]\r\nz=1\r\n");
}

TEST(ProfileWrite, FailuresLeaveTheFileWhole) {
    pwtest::TempDir dir;
    EXPECT_FALSE(ProfileWriteString(dir.File("missing/x.ini"), "S", "k", "v"));
    EXPECT_FALSE(pwtest::Exists(dir.File("missing")));
    EXPECT_FALSE(ProfileWriteString(dir.Path(), "S", "k", "v"));
    const std::string path = dir.File("keep.ini");
    WriteBytes(path, "[S]\r\nk=v\r\n");
    EXPECT_FALSE(ProfileWriteString(path, "S", "k", "two\r\n[Forged]\r\nx=1"));
    EXPECT_EQ(ReadBytes(path), "[S]\r\nk=v\r\n");
}

TEST(ProfileUnicode, ReadsUtf16AsCodePageText) {
    const std::string russian = "\xD2\xE5\xEA\xF1\xF2"; // "Текст"
    const ProfileText text(Utf16File("[LocAdmin_Strings]\r\nid_1= \"" + russian + ";dir;\" \r\nid_2=x\r\n") +
                           Cp1251ToUtf16Le("id_3=") + "\x2d\x4e" + Cp1251ToUtf16Le("\r\n"));
    EXPECT_EQ(text.Get("locadmin_strings", "ID_1", ""), russian + ";dir;");
    EXPECT_EQ(text.Get("LocAdmin_Strings", "id_2", ""), "x");
    EXPECT_EQ(text.Get("LocAdmin_Strings", "id_3", ""), "?");
    EXPECT_EQ(text.Get("LocAdmin_Strings", "id_4", "none"), "none");
    // A UTF-8 mark is not recognised: the first line is no section header.
    EXPECT_EQ(ProfileText("\xEF\xBB\xBF[S]\r\nk=v\r\n").Get("S", "k", "d"), "d");
}

TEST(ProfileUnicode, WritesKeepUtf16AndTouchOnlyTheirLines) {
    pwtest::TempDir dir;
    const std::string path = dir.File("table.ini");
    const std::string before = Utf16File("[A]\r\nk=1\r\n[LocAdmin_Strings]\r\nx=old\r\n");
    WriteBytes(path, before);
    ASSERT_TRUE(ProfileWriteString(path, "LocAdmin_Strings", "x", "\xCD\xEE\xE2\xEE\xE5;")); // "Новое;"
    ASSERT_TRUE(ProfileWriteString(path, "LocAdmin_Strings", "y", "2;"));
    ASSERT_TRUE(ProfileWriteString(path, "B", "z", "3"));
    EXPECT_EQ(
        ReadBytes(path),
        Utf16File("[A]\r\nk=1\r\n[LocAdmin_Strings]\r\nx=\xCD\xEE\xE2\xEE\xE5;\r\ny=2;\r\n[B]\r\nz=3\r\n"));
    EXPECT_EQ(ProfileGetString(path, "LocAdmin_Strings", "x", ""), "\xCD\xEE\xE2\xEE\xE5;");
}
