// The .info section model: parsing anything, and the merge-on-write form being stable, so writing a
// record twice gives the same file.

#include "FuzzInput.h"

#include "core/data/IniSections.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const pw::IniSections ini = pw::IniSections::Parse(bytes);
    (void)ini.Value("Info", "Name");
    std::string rendered;
    for (const std::string& line : ini.RenderLines())
        rendered.append(line).append("\r\n");
    std::string again;
    for (const std::string& line : pw::IniSections::Parse(rendered).RenderLines())
        again.append(line).append("\r\n");
    pwfuzz::Require(again == rendered, "a rendered file parses back to itself");
    return 0;
}
