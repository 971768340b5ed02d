#pragma once
// The program's messages for the user are UTF-8 wherever they are made; the values filled into them
// are record text (Windows-1251) and are converted on the way in. The windows and the command line
// show such a message as it is.

#include <initializer_list>
#include <string>
#include <string_view>

namespace pw {

// Replaces each "%s" of utf8Template, in order, with the next of cp1251Values converted to UTF-8; an
// empty value leaves its place empty, and a "%s" without a value is kept.
std::string FillMessage(std::string_view utf8Template,
                        std::initializer_list<std::string_view> cp1251Values = {});

} // namespace pw
