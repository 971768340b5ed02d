#include "core/data/FileNames.h"

#include "core/data/Cp1251.h"

namespace pw {

std::string FileNameFromText(std::string_view cp1251Text) {
    return Cp1251ToUtf8(cp1251Text);
}

bool HoldsPathSeparator(std::string_view name) {
    return name.find_first_of(std::string_view("/\\\0", 3)) != std::string_view::npos;
}

bool IsFolderName(std::string_view name) {
    return name == "." || name == "..";
}

std::optional<char> FirstUnstorableCharacter(std::string_view name) {
    for (char c : name)
        if ((c >= 1 && c < 32) || std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos)
            return c;
    return std::nullopt;
}

} // namespace pw
