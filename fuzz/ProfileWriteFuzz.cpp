// The profile writer: an entry it accepts is found again with the value written, writing it a second
// time changes nothing, and the streamed write of a large file writes the same bytes, in blocks of any
// size. Input: section, "\n", key, "\n", value, "\n", the file's bytes.

#include "FuzzInput.h"
#include "ProfileReference.h"

#include "core/data/Cp1251.h"
#include "core/data/ProfileIni.h"

namespace {

class StringOutput : public pw::FileOutput {
public:
    void Write(std::string_view bytes) override { text.append(bytes); }
    std::string text;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    pwfuzz::FuzzInput input(data, size);
    const std::string section(input.Line());
    const std::string key(input.Line());
    const std::string value(input.Line());
    const std::string_view bytes = input.Rest();
    if (pw::ProfileWriteProblem(section, key, value))
        return 0;
    const std::vector<std::pair<std::string, std::string>> entry = {{key, value}};
    std::string written;
    const pw::ProfileChange first(bytes, section, entry);
    for (std::string_view piece : first.Pieces())
        written += piece;
    pwfuzz::Require(pw::ProfileFind(written, section, key) == pwtest::ReferenceClean(value),
                    "a written entry reads back as written");
    std::string twice;
    const pw::ProfileChange second(written, section, entry);
    for (std::string_view piece : second.Pieces())
        twice += piece;
    pwfuzz::Require(twice == written, "writing an entry again changes nothing");
    static pwfuzz::ScratchFile scratch;
    pw::BlockReader reader(size % 9 + 1);
    pwfuzz::Require(reader.Open(scratch.Fill(bytes)), "the scratch file opens");
    StringOutput streamed;
    pw::ProfileStreamedWrite write(section, key, value);
    pwfuzz::Require(write.Seek(&reader, streamed) == pw::ProfileFind(bytes, section, key) && write.Possible(),
                    "the streamed write finds the present value");
    write.Finish(&reader, streamed);
    pwfuzz::Require(streamed.text == written, "the streamed write writes what the whole-file write does");
    // The command line's form writes the same bytes from the same text in UTF-8.
    if (bytes.substr(0, 2) != "\xFF\xFE") {
        const pw::ProfileChange utf8(bytes, pw::Cp1251ToUtf8(section),
                                     {{pw::Cp1251ToUtf8(key), pw::Cp1251ToUtf8(value)}},
                                     pw::ProfileForm::Utf8);
        std::string converted;
        for (std::string_view piece : utf8.Pieces())
            converted += piece;
        pwfuzz::Require(utf8.Possible() && converted == written, "UTF-8 text is written in Windows-1251");
    }
    return 0;
}
