#include "core/data/MessageText.h"

#include "core/data/Cp1251.h"

namespace pw {

std::string FillMessage(std::string_view utf8Template, std::initializer_list<std::string_view> cp1251Values) {
    std::string out;
    out.reserve(utf8Template.size());
    auto value = cp1251Values.begin();
    std::size_t from = 0;
    for (std::size_t at = 0;
         value != cp1251Values.end() && (at = utf8Template.find("%s", from)) != std::string_view::npos;
         from = at + 2) {
        out.append(utf8Template.substr(from, at - from));
        out += Cp1251ToUtf8(*value++);
    }
    out.append(utf8Template.substr(from));
    return out;
}

} // namespace pw
