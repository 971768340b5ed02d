#include "core/library/NameCompletion.h"

#include "core/data/Cp1251.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Views = std::vector<std::string_view>;

// Every name of up to three signs over letters that fold and signs that sort between folded letters,
// each prefix looked up and compared with a plain filter of the whole list; then the limit.
TEST(NameCompletion, OffersWhatAFilterFindsInTheListsOrderUpToTheLimit) {
    std::vector<std::string> names{""};
    for (std::size_t from = 0, length = 0; length < 3; ++length) {
        const std::size_t to = names.size();
        for (std::size_t i = from; i < to; ++i)
            for (char c : std::string("aB_b[\xC4"))
                names.push_back(names[i] + c);
        from = to;
    }
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return pw::AsciiLessNoCase(a, b); });
    for (const std::string& prefix : names) {
        Views filtered;
        for (const std::string& name : names)
            if (pw::AsciiEqualNoCase(std::string_view(name).substr(0, prefix.size()), prefix))
                filtered.push_back(name);
        EXPECT_EQ(pw::NamesStartingWith(names, prefix, names.size()), filtered) << prefix;
    }
    EXPECT_EQ(pw::NamesStartingWith(names, "", 2), (Views{"", "a"}));
    const Views all = pw::NamesStartingWith(names, "AB", names.size());
    EXPECT_EQ(pw::NamesStartingWith(names, "AB", 3), Views(all.begin(), all.begin() + 3));
    EXPECT_EQ(pw::NamesStartingWith(names, "\xE4"), Views{}); // Cyrillic keeps its letter case
}

} // namespace
