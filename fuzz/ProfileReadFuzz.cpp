// The profile lookup against the line-by-line reference, in memory and block-wise from a file.
// Input: section, "\n", key, "\n", the file's bytes.

#include "FuzzInput.h"
#include "ProfileReference.h"

#include "core/data/Cp1251.h"
#include "core/data/ProfileIni.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    pwfuzz::FuzzInput input(data, size);
    const std::string_view section = input.Line();
    const std::string_view key = input.Line();
    const std::string_view bytes = input.Rest();
    const std::optional<std::string> found = pw::ProfileFind(bytes, section, key);
    pwfuzz::Require(pw::ProfileText(std::string(bytes)).Find(section, key) == found,
                    "a file's text held in memory gives the same");
    const bool wide = bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE';
    if (!wide) {
        pwfuzz::Require(found == pwtest::ReferenceFind(bytes, section, key),
                        "the lookup follows the line rules");
        // The command line's form: the same entry, its names and value in UTF-8.
        const std::optional<std::string> utf8 =
            pw::ProfileFind(bytes, pw::Cp1251ToUtf8(section), pw::Cp1251ToUtf8(key), pw::ProfileForm::Utf8);
        pwfuzz::Require(utf8 == (found ? std::optional(pw::Cp1251ToUtf8(*found)) : std::nullopt),
                        "an 8-bit file in UTF-8 gives the same entry converted");
    }
    static pwfuzz::ScratchFile scratch;
    const std::string& path = scratch.Fill(bytes);
    // Blocks of a few bytes for short inputs, so that every kind of line end falls on a block's edge; a
    // few blocks for long ones, to keep the runs quick.
    const std::size_t block = 1 + size % 37 + size / 8;
    pwfuzz::Require(pw::ProfileFindInFile(path, section, key, block) == found,
                    "a block-wise read finds what a whole read finds");
    return 0;
}
