#include "core/library/NameCompletion.h"

#include "core/data/Cp1251.h"

#include <algorithm>

namespace pw {

std::vector<std::string_view> NamesStartingWith(const std::vector<std::string>& sorted,
                                                std::string_view prefix, std::size_t limit) {
    // Under the folded order the names that begin with prefix follow one another, from the first name
    // not less than prefix itself.
    auto name =
        std::lower_bound(sorted.begin(), sorted.end(), prefix,
                         [](const std::string& a, std::string_view b) { return AsciiLessNoCase(a, b); });
    std::vector<std::string_view> names;
    for (; name != sorted.end() && names.size() < limit; ++name) {
        const std::string_view view(*name);
        if (!AsciiEqualNoCase(view.substr(0, prefix.size()), prefix))
            break;
        names.push_back(view);
    }
    return names;
}

} // namespace pw
