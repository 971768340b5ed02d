#include "core/data/ProfileIni.h"

#include "core/data/Cp1251.h"
#include "core/data/PairProbe.h"
#include "ProfileReference.h"
#include "TempDir.h"
#include "TestText.h"

#include <gtest/gtest.h>

#include <random>

using namespace pw;
using pwtest::ReadBytes;
using pwtest::Utf16LeFile;
using pwtest::WriteBytes;

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
    const ProfileText text(
        Utf16LeFile("[LocAdmin_Strings]\r\nid_1= \"" + russian + ";dir;\" \r\nid_2=x\r\n") +
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
    const std::string before = Utf16LeFile("[A]\r\nk=1\r\n[LocAdmin_Strings]\r\nx=old\r\n");
    WriteBytes(path, before);
    ASSERT_TRUE(ProfileWriteString(path, "LocAdmin_Strings", "x", "\xCD\xEE\xE2\xEE\xE5;")); // "Новое;"
    ASSERT_TRUE(ProfileWriteString(path, "LocAdmin_Strings", "y", "2;"));
    ASSERT_TRUE(ProfileWriteString(path, "B", "z", "3"));
    EXPECT_EQ(
        ReadBytes(path),
        Utf16LeFile("[A]\r\nk=1\r\n[LocAdmin_Strings]\r\nx=\xCD\xEE\xE2\xEE\xE5;\r\ny=2;\r\n[B]\r\nz=3\r\n"));
    EXPECT_EQ(ProfileGetString(path, "LocAdmin_Strings", "x", ""), "\xCD\xEE\xE2\xEE\xE5;");
}

// The command line's forms: UTF-8 converted at the file, nothing turned into "?" and nothing written that
// the file's encoding cannot hold.
TEST(ProfileForms, TextIsConvertedAtTheFileAndWhatItCannotHoldIsRefused) {
    const std::string ansi = "[S]\r\n" + Utf8ToCp1251("Ключ=Меч\r\n");
    EXPECT_EQ(ProfileFind(ansi, "S", "Ключ", ProfileForm::Utf8), "Меч");
    EXPECT_EQ(ProfileFind(ansi, "S", Utf8ToCp1251("Ключ")), Utf8ToCp1251("Меч"));
#ifdef _WIN32
    // The system's code page (1251 in the tests) spoken as UTF-8.
    EXPECT_EQ(ProfileFind(ansi, "S", "Ключ", ProfileForm::BytesOrUtf8), "Меч");
#else
    EXPECT_EQ(ProfileFind(ansi, "S", Utf8ToCp1251("Ключ"), ProfileForm::BytesOrUtf8), Utf8ToCp1251("Меч"));
    EXPECT_EQ(ProfileFind(ansi, "S", "Ключ", ProfileForm::BytesOrUtf8), std::nullopt) << "bytes as they are";
#endif

    std::string many;
    for (int i = 0; i < 3000; ++i)
        many += "ą";
    const std::string wide =
        "\xFF\xFE" + *Utf8ToUtf16Le("[S]\r\nKey=Żółw\r\nQ=\"ą\"\r\nLong=" + many + "\r\n");
    for (ProfileForm form : {ProfileForm::Utf8, ProfileForm::BytesOrUtf8}) {
        EXPECT_EQ(ProfileFind(wide, "s", "KEY", form), "Żółw");
        EXPECT_EQ(ProfileFind(wide, "S", "Q", form), "ą");
        // Cut at 2047 characters, not inside the UTF-8 of one.
        EXPECT_EQ(ProfileFind(wide, "S", "Long", form), many.substr(0, 2 * kProfileValueLimit));
        EXPECT_EQ(ProfileFind(wide, "S", "Ключ中", form), std::nullopt);
    }
    EXPECT_EQ(ProfileFind(wide, "S", "Key"), "???w");

    const auto joined = [](const ProfileChange& change) {
        std::string bytes;
        for (std::string_view piece : change.Pieces())
            bytes += piece;
        return bytes;
    };
    const ProfileChange cyrillic(ansi, "S", {{"Ключ", "Щит"}}, ProfileForm::Utf8);
    ASSERT_TRUE(cyrillic.Possible());
    EXPECT_EQ(joined(cyrillic), "[S]\r\n" + Utf8ToCp1251("Ключ=Щит\r\n"));
    EXPECT_FALSE(ProfileChange(ansi, "S", {{"Ключ", "Żółw"}}, ProfileForm::Utf8).Possible());
#ifdef _WIN32
    EXPECT_FALSE(ProfileChange(ansi, "S", {{"Ключ", "Żółw"}}, ProfileForm::BytesOrUtf8).Possible());
#else
    EXPECT_TRUE(ProfileChange(ansi, "S", {{"Ключ", "Żółw"}}, ProfileForm::BytesOrUtf8).Possible());
#endif
    const ProfileChange emoji(wide, "S", {{"New", "😀"}}, ProfileForm::Utf8);
    ASSERT_TRUE(emoji.Possible());
    EXPECT_EQ(joined(emoji),
              "\xFF\xFE" + *Utf8ToUtf16Le("[S]\r\nKey=Żółw\r\nQ=\"ą\"\r\nLong=" + many + "\r\nNew=😀\r\n"));
    EXPECT_FALSE(ProfileChange(wide, "S", {{"Nowy_ł", "x"}}, ProfileForm::Utf8).Possible());
    EXPECT_FALSE(ProfileChange(wide, "S", {{"New", "\xFF"}}, ProfileForm::Utf8).Possible()) << "no UTF-8";

    pwtest::TempDir dir;
    const std::string path = dir.File("a.ini");
    WriteBytes(path, ansi);
    std::string reason;
    EXPECT_FALSE(ProfileWriteString(path, "S", "Ключ", "Żółw", &reason, ProfileForm::Utf8));
    EXPECT_EQ(reason, "Текст содержит символ, которого нет в кодировке файла");
    EXPECT_EQ(ReadBytes(path), ansi);
}

TEST(ProfileWrite, EveryWrittenLineEndsWithCrLf) {
    pwtest::TempDir dir;
    const std::string path = dir.File("last.ini");
    WriteBytes(path, "[S]\r\nTestKey=TestValue");
    ASSERT_TRUE(ProfileWriteString(path, "S", "TestKey", "TestValue2"));
    EXPECT_EQ(ReadBytes(path), "[S]\r\nTestKey=TestValue2\r\n");
    // A line in the middle keeps the line end it had.
    WriteBytes(path, "[S]\nA=1\nB=2");
    ASSERT_TRUE(ProfileWriteString(path, "S", "A", "3"));
    EXPECT_EQ(ReadBytes(path), "[S]\nA=3\nB=2");
    const std::string wide = dir.File("wide.ini");
    WriteBytes(wide, Utf16LeFile("[S]\r\nK=1"));
    ASSERT_TRUE(ProfileWriteString(wide, "S", "K", "2"));
    EXPECT_EQ(ReadBytes(wide), Utf16LeFile("[S]\r\nK=2\r\n"));
}

TEST(ProfileWrite, EntriesThatCouldNeverBeReadBackAreRefused) {
    pwtest::TempDir dir;
    const std::string path = dir.File("keep.ini");
    WriteBytes(path, "[S]\r\nk=v\r\n");
    const struct {
        const char* section;
        const char* key;
        const char* message;
    } cases[] = {
        {"S", "a=b", "Ключ \"a=b\" не может содержать \"=\""},
        {"S", " ;note", "Ключ \";note\" не может начинаться с \";\""},
        {"S", "[X]", "Ключ \"[X]\" не может начинаться с \"[\""},
        {"S", "  ", "Ключ не задан"},
        {"S]", "k", "Имя раздела \"S]\" не может содержать \"]\""},
        {"S", "k\rx", "Ключ не может содержать перевод строки"},
        {"\xD0]", "k", "Имя раздела \"Р]\" не может содержать \"]\""}, // Windows-1251 "Р"
    };
    for (const auto& c : cases) {
        std::string reason;
        EXPECT_FALSE(ProfileWriteString(path, c.section, c.key, "v", &reason)) << c.key;
        EXPECT_EQ(reason, c.message);
    }
    EXPECT_EQ(ReadBytes(path), "[S]\r\nk=v\r\n");
    // Everything else is written and found again, "=" and "]" inside values and "[" inside keys too.
    ASSERT_TRUE(ProfileWriteString(path, "S", "a[1]", "x=y]"));
    EXPECT_EQ(ProfileGetString(path, "S", "a[1]", ""), "x=y]");
}

TEST(ProfileRead, FastLookupAgreesWithTheLineRules) {
    // Random tables made of few distinct bytes, so that keys recur inside names, values and headers.
    std::mt19937 rng(7);
    const std::string alphabet = "aAbB=;[] \t\r\n\xE0";
    for (int round = 0; round < 3000; ++round) {
        std::string bytes;
        const int length = static_cast<int>(rng() % 60);
        for (int i = 0; i < length; ++i)
            bytes += alphabet[rng() % alphabet.size()];
        for (const char* section : {"a", "B", "", "ab"})
            for (const char* key : {"a", "ab", "B", "", "a b", "aa"})
                ASSERT_EQ(ProfileText(bytes).Find(section, key), pwtest::ReferenceFind(bytes, section, key))
                    << "section \"" << section << "\" key \"" << key << "\" in \"" << bytes << "\"";
    }
}

TEST(ProfileRead, ManyKeysInOnePassAgreeWithOneLookupEach) {
    std::mt19937 rng(5);
    const std::string alphabet = "aAbB=;[] \t\r\n\xE0\"";
    // Keys that fold to one another, an empty one, one with "=" and one with a blank inside.
    const std::vector<std::string> names = {"a", "ab", "B", "", "a b", "A", " aa ", "a=b", "\xE0"};
    const ProfileKeySet keys(names);
    for (int round = 0; round < 3000; ++round) {
        std::string bytes;
        const int length = static_cast<int>(rng() % 60);
        for (int i = 0; i < length; ++i)
            bytes += alphabet[rng() % alphabet.size()];
        for (const std::string& file : {bytes, Utf16LeFile(bytes)}) {
            for (const char* section : {"a", "B", "", "ab"}) {
                const ProfileValues found = ProfileFindKeys(file, section, keys);
                EXPECT_EQ(found.sectionFound, ProfileText(file).HasSection(section)) << bytes;
                for (std::size_t k = 0; k < names.size(); ++k)
                    ASSERT_EQ(found.values[k], ProfileText(file).Find(section, names[k]))
                        << "section \"" << section << "\" key \"" << names[k] << "\" in \"" << bytes << "\"";
            }
        }
    }
    // A UTF-16 name the code page cannot spell is no "?".
    const std::string wide = pwtest::Utf16LeFileFromUtf8("[S]\r\nΩ=1\r\n?=2\r\n");
    EXPECT_EQ(ProfileFindKeys(wide, "S", ProfileKeySet({"?"})).values[0], "2");
}

TEST(ProfileRead, BlockwiseFileLookupAgreesWithTheWholeText) {
    pwtest::TempDir dir;
    // Lines of every length, one far longer than a read block, and line ends that fall on the blocks'
    // edges; the same table in UTF-16 crosses the edges elsewhere.
    std::mt19937 rng(11);
    std::string table = "[Other]\r\nK0=elsewhere\r\n[LocAdmin_Strings]\r\n";
    std::vector<std::string> ids;
    while (table.size() < 1200000) {
        const std::string id = "ID_" + std::to_string(ids.size());
        const std::size_t length = ids.size() == 300 ? 400000 : rng() % 3000;
        table +=
            id + "=" + std::string(length, static_cast<char>('a' + rng() % 26)) + (rng() % 2 ? "\r\n" : "\n");
        ids.push_back(id);
    }
    table += "LAST=end";
    const std::string narrow = dir.File("narrow.ini");
    const std::string wide = dir.File("wide.ini");
    WriteBytes(narrow, table);
    WriteBytes(wide, Utf16LeFile(table));
    const ProfileText narrowText(table);
    const ProfileText wideText(Utf16LeFile(table));
    ids.insert(ids.end(), {"LAST", "K0", "missing"});
    for (std::size_t i = 0; i < ids.size(); i += ids[i].starts_with("ID_") ? 41 : 1) {
        EXPECT_EQ(ProfileGetString(narrow, "LocAdmin_Strings", ids[i], "-"),
                  narrowText.Get("LocAdmin_Strings", ids[i], "-"))
            << ids[i];
        EXPECT_EQ(ProfileGetString(wide, "LocAdmin_Strings", ids[i], "-"),
                  wideText.Get("LocAdmin_Strings", ids[i], "-"))
            << ids[i];
    }
    EXPECT_EQ(ProfileGetString(narrow, "LocAdmin_Strings", "ID_300", "").size(), kProfileValueLimit);
    // Blocks of a few bytes cut every line, the byte-order mark and UTF-16 units too.
    const std::string small = dir.File("small.ini");
    const std::string smallTable =
        "[A]\r\nk=1\r\n[LocAdmin_Strings]\r\n x = \"quoted\"\r\nyy=2\ry=3\n[B]\r\nz=4";
    for (const std::string& bytes : {smallTable, Utf16LeFile(smallTable) + "x"}) {
        WriteBytes(small, bytes);
        for (std::size_t block = 1; block < 12; ++block)
            for (const char* key : {"x", "Y", "yy", "z", "k"})
                EXPECT_EQ(ProfileFindInFile(small, "LocAdmin_Strings", key, block),
                          ProfileText(bytes).Find("LocAdmin_Strings", key))
                    << key << " in blocks of " << block;
    }
    EXPECT_EQ(ProfileGetString(wide, "LocAdmin_Strings", "last", ""), "end");
}

TEST(ProfileRead, BothFormsOfTheLookupsByteProbeMarkEveryMatch) {
    std::mt19937 rng(3);
    const std::string alphabet = "aAbB_1\xE0\xC0";
    for (int round = 0; round < 2000; ++round) {
        std::string text(64, ' ');
        for (char& c : text)
            c = alphabet[rng() % alphabet.size()];
        const std::size_t offsetA = rng() % 20, offsetB = rng() % 20;
        const auto byteA = static_cast<unsigned char>(alphabet[rng() % alphabet.size()]);
        const auto byteB = static_cast<unsigned char>(alphabet[rng() % alphabet.size()]);
        const PairProbe probe(byteA, offsetA, byteB, offsetB);
        const PairProbe::Marks vector = probe.Test16(text.data());
        const PairProbe::Marks words = probe.Test16Words(text.data());
        for (std::size_t i = 0; i < 16; ++i) {
            const auto same = [](char c, unsigned char b) {
                return AsciiUpper(c) == AsciiUpper(static_cast<char>(b));
            };
            const bool match = same(text[i + offsetA], byteA) && same(text[i + offsetB], byteB);
            const std::uint64_t bit = 0x80ULL << (8 * (i % 8));
            EXPECT_EQ((vector[i / 8] & bit) != 0, match) << round << " " << i;
            if (match) {
                EXPECT_NE(words[i / 8] & bit, 0u) << round << " " << i;
            }
        }
    }
}

namespace {

class CollectedOutput : public FileOutput {
public:
    void Write(std::string_view bytes) override { text.append(bytes); }
    std::string text;
};

struct StreamedResult {
    std::optional<std::string> present;
    bool possible = false;
    std::string bytes; // what was written
};

// The streamed write of key=value into the file at path (missing: absent), read in blocks of block bytes.
StreamedResult StreamWrite(const std::string& path, std::size_t block, std::string_view section,
                           std::string_view key, std::string_view value, ProfileForm form) {
    BlockReader reader(block);
    BlockReader* current = reader.Open(path) ? &reader : nullptr;
    ProfileStreamedWrite write(section, key, value, form);
    CollectedOutput out;
    StreamedResult result;
    result.present = write.Seek(current, out);
    result.possible = write.Possible();
    if (result.possible)
        write.Finish(current, out);
    result.bytes = std::move(out.text);
    return result;
}

// The general write's new bytes, or nothing when it cannot write.
std::string PlannedWrite(std::string_view bytes, std::string_view section, const std::string& key,
                         const std::string& value, ProfileForm form) {
    const ProfileChange change(bytes, section, {{key, value}}, form);
    std::string joined;
    if (change.Possible())
        for (std::string_view piece : change.Pieces())
            joined += piece;
    return joined;
}

// The streamed write against the general one, for every block size given: the same bytes, the same
// present value as a lookup gives, and nothing written where the file cannot hold the text.
void ExpectStreamedWriteAsPlanned(const std::string& path, const std::string& bytes, std::string_view section,
                                  const std::string& key, const std::string& value, ProfileForm form,
                                  std::initializer_list<std::size_t> blocks, const std::string& name) {
    const std::string planned = PlannedWrite(bytes, section, key, value, form);
    const std::optional<std::string> present = ProfileFind(bytes, section, key, form);
    for (std::size_t block : blocks) {
        const StreamedResult streamed = StreamWrite(path, block, section, key, value, form);
        ASSERT_EQ(streamed.bytes, planned) << name << ", key \"" << key << "\", blocks of " << block;
        ASSERT_EQ(streamed.present, present) << name << ", key \"" << key << "\", blocks of " << block;
        ASSERT_EQ(streamed.possible, !planned.empty()) << name << ", key \"" << key << "\"";
    }
}

} // namespace

TEST(ProfileStreamedWrite, WritesTheBytesOfTheGeneralWriteInEveryTableShape) {
    pwtest::TempDir dir;
    const std::string path = dir.File("table.ini");
    const std::string longValue(700, 'L');
    const struct {
        const char* name;
        std::string text; // Windows-1251; each is also tried as UTF-16, and with a stray last byte
    } shapes[] = {
        {"present in the middle", "[LocAdmin_Languages]\r\nLanguage0=Russian\r\n[LocAdmin_Strings]\r\n"
                                  "A_01=one;\r\nID_02=two;\r\nC_03=" +
                                      longValue + "\r\n"},
        {"key case and blanks", "[ locadmin_strings ]\r\n  id_02 = \"old\" \r\nID_021=x\r\n"},
        {"first of duplicate keys", "[LocAdmin_Strings]\r\nID_02=first\r\nID_02=second\r\n"},
        {"first of duplicate sections",
         "[LocAdmin_Strings]\r\nA=1\r\n[Other]\r\nID_02=x\r\n[LocAdmin_Strings]\r\nID_02=later\r\n"},
        {"comments and blanks after the last key",
         "[LocAdmin_Strings]\r\nA=1\r\n; ID_02=commented\r\n\r\n \t\r\n[Next]\r\nk=v\r\n"},
        {"the key only in a comment and a header",
         "[LocAdmin_Strings]\r\n;ID_02=c\r\n[ID_02=h]\r\nID_02=y\r\n"},
        {"no line break at the end", "[LocAdmin_Strings]\r\nA=1\r\nID_02=last"},
        {"a comment last without a line break", "[LocAdmin_Strings]\r\nA=1\r\n;note"},
        {"LF and CR line ends", "[LocAdmin_Strings]\nA=1\rID_02=2\n\n\r\rB=3\r"},
        {"empty value", "[LocAdmin_Strings]\r\nID_02=\r\n"},
        {"section missing", "[Other]\r\nk=v\r\n"},
        {"section missing, no line break at the end", "[Other]\r\nk=v"},
        {"header alone without a line break", "[LocAdmin_Strings]"},
        {"empty", ""},
    };
    for (const auto& shape : shapes) {
        for (const std::string& bytes :
             {shape.text, Utf16LeFile(shape.text), Utf16LeFile(shape.text) + "x"}) {
            WriteBytes(path, bytes);
            for (const char* key : {"ID_02", "id_02", "New_01"})
                ExpectStreamedWriteAsPlanned(path, bytes, "LocAdmin_Strings", key, "\xCD\xEE\xE2\xEE\xE5;",
                                             ProfileForm::Cp1251, {1, 2, 3, 5, 8, 4096}, shape.name);
            // Text an 8-bit file cannot hold: its present value is still found, and nothing written.
            ExpectStreamedWriteAsPlanned(path, bytes, "LocAdmin_Strings", "ID_02", "Żółw", ProfileForm::Utf8,
                                         {3, 4096}, shape.name);
        }
    }
    ExpectStreamedWriteAsPlanned(dir.File("missing.ini"), "", "LocAdmin_Strings", "ID_02", "x;",
                                 ProfileForm::Cp1251, {1}, "no file");
}
