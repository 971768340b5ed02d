#pragma once
// The look-up behind completion: the names of a sorted list that begin with what is typed, found by a
// binary search, so that a list of a hundred thousand string IDs answers as fast as one of ten names.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace pw {

// As many names as a completion list shows at once.
inline constexpr std::size_t kCompletionLimit = 100;

// The first limit names of sorted (ordered by AsciiLessNoCase) that begin with prefix, A-Z folded, in the
// list's order; views into sorted. An empty prefix begins every name.
std::vector<std::string_view> NamesStartingWith(const std::vector<std::string>& sorted,
                                                std::string_view prefix,
                                                std::size_t limit = kCompletionLimit);

} // namespace pw
