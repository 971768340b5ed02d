#pragma once
// The section model of the .info file: the whole file is parsed into sections of normalised lines;
// lookups find the last section of a name and the last line of a key; writes merge into what was read.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pw {

class IniSections {
public:
    // Lines are trimmed; empty and ";" lines and lines before the first section are dropped;
    // "name = value" lines are rebuilt as "name=value".
    static IniSections Parse(std::string_view bytes);

    // Everything after the first "=" of the last line whose name equals key (A-Z folded) in the last
    // section named section; std::nullopt when missing.
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;

    // Reads the sections named section (A-Z folded) straight from bytes, for a reader that takes values
    // only and need not build the model: onSection(line) at each such section's header (lookups see the
    // last one, so a reader starts afresh there), then onKey(name, value, line) for each of its lines with
    // "=", in file order and as Value sees them. Lines are counted from 1; CR, LF and CR LF end one each.
    static void ReadSection(
        std::string_view bytes, std::string_view section,
        const std::function<void(std::size_t line)>& onSection,
        const std::function<void(std::string_view name, std::string_view value, std::size_t line)>& onKey);

    // Rewrites the last line of key in place as key + "=" + value, or appends it at the end of the
    // section; a missing section is created at the end.
    void SetValue(std::string_view section, std::string_view key, std::string_view value);

    // "[" + name + "]", the section's lines, then one empty line, for each section in order.
    std::vector<std::string> RenderLines() const;

private:
    struct Section {
        std::string name;
        std::vector<std::string> lines;
    };
    Section* LastSection(std::string_view name);
    const Section* LastSection(std::string_view name) const;

    std::vector<Section> mSections;
};

} // namespace pw
