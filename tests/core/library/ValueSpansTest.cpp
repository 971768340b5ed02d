#include "core/library/ValueSpans.h"

#include "core/data/ProfileIni.h"
#include "TestText.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

using namespace pw;

// Where the renames find an entry must be where the profile layer reads it: the value at each line found
// is the value ProfileFindKeys gives, and a key it finds nowhere is found nowhere.
TEST(ValueSpans, EntriesAreFoundWhereTheProfileLayerReadsThem) {
    const std::vector<std::string> keys = {"Name", "Quest", "Parent", "Texts", "Long", "My Key"};
    const std::string longValue(2100, 'x');
    const std::string texts[] = {
        "Name=before any section\r\n[Info]\r\nName = \"A\" \r\nname=second\r\n[Info]\r\nQuest=later "
        "section\r\n",
        ";Quest=comment\r\n[ info ]\r\n;Quest=Q0\r\n  Quest\t= Q1 ;x\r\nSucceedQuest=Q2\r\n",
        "[Info]\rParent='P'\rTexts=\"\rMy Key = k\r\n[Other]\r\nName=N\r\n",
        "[Info]\nQuestX=1\nQuest = \nLong=" + longValue + "\n",
        "[Quest]\r\nName=no dialogue\r\n",
        "[Info]\r\n[Info2\r\nName=a[b]\r\n  [Next]\r\nParent=after\r\n",
    };
    for (const std::string& text : texts) {
        const ProfileValues expected = ProfileFindKeys(text, "Info", ProfileKeySet(keys));
        const std::vector<std::optional<KeyLine>> lines = FindKeyLines(text, "Info", keys);
        // Given in parts, each ending after a line feed, the search finds the same lines.
        KeyLineSearch parts("Info", keys);
        for (std::size_t start = 0, end; start < text.size(); start = end) {
            end = std::min(text.find('\n', start), text.size() - 1) + 1;
            parts.Feed(std::string_view(text).substr(start, end - start), start);
        }
        for (std::size_t k = 0; k < keys.size(); ++k) {
            ASSERT_EQ(parts.Found()[k].has_value(), lines[k].has_value());
            if (!lines[k])
                continue;
            const KeyLine& part = *parts.Found()[k];
            EXPECT_EQ(std::tie(part.number, part.name.begin, part.value.end),
                      std::tie(lines[k]->number, lines[k]->name.begin, lines[k]->value.end));
        }
        for (std::size_t k = 0; k < keys.size(); ++k) {
            ASSERT_EQ(lines[k].has_value(), expected.values[k].has_value()) << text << keys[k];
            if (!lines[k])
                continue;
            const KeyLine& line = *lines[k];
            EXPECT_EQ(text.substr(line.value.begin, line.value.end - line.value.begin), *expected.values[k]);
            EXPECT_EQ(line.cut, keys[k] == "Long");
            EXPECT_TRUE(
                AsciiEqualNoCase(text.substr(line.name.begin, line.name.end - line.name.begin), keys[k]));
        }
    }
    // Lines are counted at CR LF, CR and LF alike.
    const std::vector<std::optional<KeyLine>> lines = FindKeyLines(texts[2], "Info", keys);
    EXPECT_EQ(lines[2]->number, 2u);
    EXPECT_EQ(lines[5]->number, 4u);
}

TEST(ValueSpans, AUtf16FilesPositionsAreItsBytes) {
    const std::string bytes = pwtest::Utf16LeFileFromUtf8("[Info]\r\nName=Жук\r\n");
    const FileText text(bytes);
    const std::optional<KeyLine> name = FindKeyLines(text.Text(), "Info", {"Name"})[0];
    ASSERT_TRUE(name);
    EXPECT_EQ(bytes.substr(text.Offset(name->value.begin), 2 * (name->value.end - name->value.begin)),
              Cp1251ToUtf16Le(pwtest::Ansi("Жук")));
}

} // namespace
