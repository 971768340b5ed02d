#include "ReferenceSets.h"

#include "data/Cp1251.h"
#include "data/FileIO.h"
#include "data/Library.h"
#include "data/ProfileIni.h"
#include "data/StrUtilsEx.h"
#include "data/StringTable.h"

#include <cerrno>
#include <stdexcept>

namespace pw::cli {
namespace {

std::string Folded(std::string_view name) {
    std::string folded(name);
    for (char& c : folded)
        c = AsciiUpper(c);
    return folded;
}

// Calls onKey with the name of every key line of the first section named section.
template <class OnKey> void ForEachKey(std::string_view text, std::string_view section, OnKey onKey) {
    bool inSection = false;
    bool seen = false;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = TrimView(text.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            if (inSection)
                return;
            const std::string_view name = TrimView(line.substr(1, line.find(']') - 1));
            inSection = !seen && AsciiEqualNoCase(name, section);
            seen = seen || inSection;
            continue;
        }
        const std::size_t eq = line.find('=');
        if (inSection && eq != std::string_view::npos)
            onKey(TrimView(line.substr(0, eq)));
    }
}

} // namespace

void NameSet::Add(std::string_view name) {
    mNames.insert(Folded(name));
}

bool NameSet::Contains(std::string_view name) const {
    return mNames.count(Folded(name)) > 0;
}

NameSet ReadTableIds(const std::string& path) {
    std::optional<std::string> bytes = ReadWholeFile(path);
    if (!bytes)
        throw std::runtime_error(CannotOpenFileMessage(path, SystemErrorText(ENOENT)));
    if (bytes->size() >= 2 && (*bytes)[0] == '\xFF' && (*bytes)[1] == '\xFE')
        *bytes = Utf16LeToCp1251(std::string_view(*bytes).substr(2));
    NameSet ids;
    ForEachKey(*bytes, kStringsSection, [&ids](std::string_view id) { ids.Add(id); });
    return ids;
}

NameSet ReadQuestNames(const std::string& folder) {
    if (!DirectoryExists(folder))
        throw std::runtime_error(CannotOpenFileMessage(folder, SystemErrorText(ENOENT)));
    std::vector<std::string> files;
    ScanLibraryFolder(folder, files);
    NameSet names;
    for (const std::string& file : files) {
        if (std::optional<std::string> name = ProfileText::Load(file).Find("Quest", "Name"))
            names.Add(*name);
    }
    return names;
}

} // namespace pw::cli
