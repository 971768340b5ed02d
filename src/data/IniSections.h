#pragma once
// The section model of the .info file: the whole file is parsed into sections of normalised lines;
// lookups find the last section of a name and the last line of a key; writes merge into what was read.

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

    // Calls onKey(name, value) for every line with "=" in the last section named section, in file order;
    // name and value are as Value sees them.
    template <class OnKey> void ForEachKey(std::string_view section, OnKey onKey) const {
        if (const Section* s = LastSection(section))
            for (const std::string& line : s->lines)
                if (const std::size_t eq = line.find('='); eq != std::string::npos)
                    onKey(std::string_view(line).substr(0, eq), std::string_view(line).substr(eq + 1));
    }

    // Whether a section of that name (A-Z folded) is in the file.
    bool HasSection(std::string_view section) const { return LastSection(section) != nullptr; }

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
