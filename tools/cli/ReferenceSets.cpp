#include "ReferenceSets.h"

#include "CliSupport.h"

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

// The next line end (CR or LF) at or after pos, found with memchr rather than byte by byte.
std::size_t LineEnd(std::string_view text, std::size_t pos) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos)
        end = text.size();
    const std::size_t cr = text.substr(0, end).find('\r', pos);
    return cr == std::string_view::npos ? end : cr;
}

// Calls onKey with the name of every key line of the first section named section.
template <class OnKey> void ForEachKey(std::string_view text, std::string_view section, OnKey onKey) {
    bool inSection = false;
    bool seen = false;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = LineEnd(text, pos);
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

std::size_t FoldedHash::operator()(std::string_view name) const noexcept {
    std::size_t hash = 14695981039346656037ull;
    for (char c : name)
        hash = (hash ^ static_cast<unsigned char>(AsciiUpper(c))) * 1099511628211ull;
    return hash;
}

bool FoldedEqual::operator()(std::string_view a, std::string_view b) const noexcept {
    return AsciiEqualNoCase(a, b);
}

void NameSet::Add(std::string_view name) {
    if (!Contains(name))
        mNames.insert(mCopies.emplace_back(name));
}

bool NameSet::Contains(std::string_view name) const {
    return mNames.count(name) > 0;
}

std::string ReadTableBytes(const std::string& path) {
    std::optional<std::string> bytes = ReadWholeFile(path);
    if (!bytes)
        throw std::runtime_error(CannotOpenFileMessage(path, SystemErrorText(ENOENT)));
    return std::move(*bytes);
}

NameSet TableIdsOf(std::string bytes) {
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE')
        bytes = Utf16LeToCp1251(std::string_view(bytes).substr(2));
    NameSet ids;
    ids.mText = std::make_unique<const std::string>(std::move(bytes));
    ids.mNames.reserve(ids.mText->size() / 64);
    ForEachKey(*ids.mText, kStringsSection, [&ids](std::string_view id) { ids.mNames.insert(id); });
    return ids;
}

NameSet ReadQuestNames(const std::string& folder) {
    RequireExistingFolder(folder);
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
