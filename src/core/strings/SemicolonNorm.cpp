#include "core/strings/SemicolonNorm.h"

#include <algorithm>

namespace pw {

int SemicolonNorm::Add(std::string_view value) {
    const int count = static_cast<int>(std::count(value.begin(), value.end(), ';'));
    ++mValues[count];
    return count;
}

int SemicolonNorm::Norm() const {
    int norm = 0;
    std::size_t most = 0;
    for (const auto& [count, values] : mValues) // ascending, so a tie keeps the smaller count
        if (values > most) {
            norm = count;
            most = values;
        }
    return norm;
}

} // namespace pw
