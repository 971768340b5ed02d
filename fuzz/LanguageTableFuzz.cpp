// A string table's languages: every entry it reads is one the profile layer finds, the counts of a table
// read line by line are those of its entries read whole, and a cell written into any entry changes that
// cell alone, whatever the table's bytes and encoding.

#include "FuzzInput.h"

#include "core/data/Cp1251.h"
#include "core/data/ProfileIni.h"
#include "core/data/StringTable.h"
#include "core/strings/LanguageTable.h"

namespace {

std::string Joined(const pw::FilePieces& pieces) {
    std::string bytes;
    for (std::string_view piece : pieces)
        bytes += piece;
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    for (const std::string& table : {bytes, "\xFF\xFE" + pw::Cp1251ToUtf16Le(bytes)}) {
        const pw::LanguageTable read(table);
        static pwfuzz::ScratchFile scratch;
        const pw::TableCounts streamed = pw::CountTableLanguages(scratch.Fill(table));
        std::vector<pw::LanguageCounts> whole(read.Layout().languages.All().size());
        std::string buffer;
        for (std::size_t i = 0; i < read.Size(); ++i)
            pw::CountCells(read.ValueText(i, buffer), read.Layout().languages, whole);
        pwfuzz::Require(streamed.layout.fieldCount == read.Layout().fieldCount &&
                            streamed.counts.size() == whole.size(),
                        "a table read line by line has the layout of the whole one");
        for (std::size_t c = 0; c < whole.size(); ++c)
            pwfuzz::Require(streamed.counts[c].states == whole[c].states,
                            "a table read line by line counts the cells of the whole one");
        for (std::size_t i = 0; i < read.Size(); ++i)
            if (const std::optional<std::string> id = pw::Utf8ToCp1251Exact(read.Id(i)))
                pwfuzz::Require(pw::ProfileFind(table, pw::kStringsSection, *id).has_value(),
                                "every entry read is one the profile layer finds");
        if (read.Size() == 0)
            continue;
        const std::size_t entry = size % read.Size();
        const std::size_t field = size % 23;
        const std::vector<pw::ByteEdit> edits = {*read.FieldEdit(entry, field, "Жук")};
        const pw::LanguageTable written(Joined(read.Pieces(edits)));
        pwfuzz::Require(written.Size() == read.Size(), "a cell written keeps every entry");
        for (std::size_t i = 0; i < read.Size(); ++i) {
            if (i != entry) {
                pwfuzz::Require(written.Value(i) == read.Value(i), "a cell written leaves the other entries");
                continue;
            }
            const std::string before = read.Value(i);
            const std::string after = written.Value(i);
            pwfuzz::Require(pw::FieldOf(after, field) == std::optional<std::string_view>("Жук"),
                            "the cell holds the text written");
            for (std::size_t other = 0; other < pw::FieldCount(before); ++other)
                if (other != field)
                    pwfuzz::Require(pw::FieldOf(after, other) == pw::FieldOf(before, other),
                                    "the entry's other cells stay");
        }
    }
    return 0;
}
