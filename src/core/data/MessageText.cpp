#include "core/data/MessageText.h"

#include "core/data/Cp1251.h"

namespace pw {

std::string FillMessage(std::string_view utf8Template, std::initializer_list<std::string_view> cp1251Values) {
    std::string out;
    out.reserve(utf8Template.size());
    auto value = cp1251Values.begin();
    for (std::size_t i = 0; i < utf8Template.size(); ++i) {
        if (utf8Template.compare(i, 2, "%s") == 0 && value != cp1251Values.end()) {
            out += Cp1251ToUtf8(*value++);
            ++i;
        } else {
            out += utf8Template[i];
        }
    }
    return out;
}

} // namespace pw
