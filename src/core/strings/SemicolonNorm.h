#pragma once
// The number of ";" that a string table's values hold by the table's own norm: the count most values
// have, the smaller one on a tie. The lint judges each value by it, and entries the program makes in
// bulk are written with it, so that the lint finds nothing new in them.

#include <cstddef>
#include <map>
#include <string_view>

namespace pw {

class SemicolonNorm {
public:
    // Counts one value (as it stands after its "=", trimmed); returns its number of ";".
    int Add(std::string_view value);
    // The norm of the values counted; 0 before any.
    int Norm() const;

private:
    std::map<int, std::size_t> mValues; // values by their number of ";"
};

} // namespace pw
