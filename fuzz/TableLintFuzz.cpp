// The string table's lint: findings in line order, each kind once a line, the same whether the table is
// read whole or in blocks and whether it is 8-bit or UTF-16; and every ID it gives lookups is one the
// profile layer finds.

#include "FuzzInput.h"

#include "core/strings/TableLint.h"

#include "core/data/Cp1251.h"
#include "core/data/ProfileIni.h"
#include "core/data/StringTable.h"
#include "core/data/TableEncoding.h"

namespace {

bool SameFindings(const std::vector<pw::TableFinding>& a, const std::vector<pw::TableFinding>& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].line != b[i].line || a[i].kind != b[i].kind || a[i].text != b[i].text)
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<pw::TableFinding> findings = pw::LintStringTable(bytes);
    for (std::size_t i = 1; i < findings.size(); ++i)
        pwfuzz::Require(
            findings[i - 1].line < findings[i].line ||
                (findings[i - 1].line == findings[i].line && findings[i - 1].kind < findings[i].kind),
            "findings come in line order, each kind once a line");

    static pwfuzz::ScratchFile scratch;
    std::vector<pw::TableFinding> streamed;
    const std::size_t block = 1 + size % 29 + size / 8;
    const pw::NameSet ids = pw::ReadStringTable(
        scratch.Fill(bytes), [&streamed](pw::TableFinding&& f) { streamed.push_back(std::move(f)); },
        block);
    pwfuzz::Require(SameFindings(streamed, findings), "a table read in blocks is judged as a whole one");

    for (std::size_t i = 0; i < ids.Size(); ++i)
        pwfuzz::Require(pw::ProfileFind(bytes, pw::kStringsSection, ids.Name(i), pw::ProfileForm::Cp1251,
                                        pw::ProfileDialect::StringTable)
                            .has_value(),
                        "every ID given to lookups is found by the profile layer");
    if (pw::DetectTableEncoding(bytes) == pw::TextEncoding::Ansi)
        pwfuzz::Require(
            SameFindings(pw::LintStringTable("\xFF\xFE" + pw::Cp1251ToUtf16Le(bytes)), findings),
            "a table is judged the same in UTF-16");
    return 0;
}
