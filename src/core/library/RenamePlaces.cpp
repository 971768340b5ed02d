#include "core/library/RenameDetail.h"

#include "core/data/ContentHash.h"
#include "core/data/FileIO.h"
#include "core/data/ProfileIni.h"
#include "core/data/StringTable.h"
#include "core/data/TableEncoding.h"
#include "core/library/NamePlaces.h"
#include "core/library/ValueSpans.h"

#include <algorithm>
#include <cerrno>
#include <functional>
#include <stdexcept>

// The places of a dialogue's or quest's file and of the string table that name the renamed things, and the
// changes a rename makes there.

namespace pw::rename_detail {
namespace {

// The change of held, the text at byte offset of a file in encoding (one byte per character, see FileText;
// UTF-8 for a UTF-8 file), to newName (Windows-1251).
RenameEdit MakeEdit(std::size_t line, std::string_view key, std::string_view held, std::size_t offset,
                    TextEncoding encoding, const std::string& newName) {
    const bool wide = encoding == TextEncoding::Utf16LeBom;
    RenameEdit edit;
    edit.line = line;
    edit.key = key;
    edit.oldText = IsUtf8(encoding) ? Utf8ToCp1251(held) : std::string(held);
    edit.newText = newName;
    edit.offset = offset;
    edit.length = (wide ? 2 : 1) * held.size();
    edit.newBytes = wide ? Cp1251ToUtf16Le(newName) : IsUtf8(encoding) ? Cp1251ToUtf8(newName) : newName;
    return edit;
}

void SortEdits(RenameFile& file) {
    std::sort(file.edits.begin(), file.edits.end(),
              [](const RenameEdit& a, const RenameEdit& b) { return a.offset < b.offset; });
}

} // namespace

// The changes of one dialogue or quest file; std::nullopt when it names nothing renamed.
std::optional<FilePlan> PlanRecordFile(const std::string& path, RecordKind kind, std::string_view bytes,
                                       const RenameNames& names) {
    const FileText text(bytes);
    FilePlan plan;
    plan.file.path = path;
    for (const NamePlace& place : NamePlacesOf(text.Text(), kind)) {
        const std::string* newName = names.NewName(place.kind, Of(text.Text(), place.span));
        if (!newName)
            continue;
        const TextEncoding encoding = text.Wide() ? TextEncoding::Utf16LeBom : TextEncoding::Ansi;
        plan.file.edits.push_back(MakeEdit(place.line, place.key, Of(text.Text(), place.span),
                                           text.Offset(place.span.begin), encoding, *newName));
        plan.own = plan.own || place.own;
    }
    if (plan.file.edits.empty())
        return std::nullopt;
    SortEdits(plan.file);
    plan.file.size = bytes.size();
    plan.file.hash = ContentHash::Of(bytes);
    return plan;
}

namespace {

// Where the last line feed of data ends, in whole units of a UTF-16 file; 0 when it holds none.
std::size_t AfterLastLineFeed(std::string_view data, bool wide) {
    for (std::size_t end = data.size(); end > 0;) {
        const std::size_t at = data.rfind('\n', end - 1);
        if (at == std::string_view::npos)
            return 0;
        if (!wide)
            return at + 1;
        if (at % 2 == 0 && at + 1 < data.size() && data[at + 1] == '\0')
            return at + 2;
        end = at;
    }
    return 0;
}

// The string table read once, in blocks, as parts of whole lines, while every byte of the file is hashed
// for the plan. A UTF-16 table's parts hold one byte per character (see FileText), a UTF-8 or Windows-1251
// table's its bytes.
class TableReader {
public:
    // False when nothing is at path; throws std::runtime_error ("Cannot open file ...") when it cannot be
    // read.
    bool Open(const std::string& path) {
        mPath = path;
        std::string reason;
        mEncoding = DetectTableEncodingOfFile(path);
        if (mReader.Open(path, &reason))
            return true;
        if (PathExists(path))
            throw std::runtime_error(CannotOpenFileMessage(path, reason));
        return false;
    }
    // Calls part(text, position) for each part, the position its first character's in the whole text.
    void Read(const std::function<void(std::string_view, std::size_t)>& part) {
        std::size_t hashed = 0; // of the bytes held
        std::size_t position = 0;
        for (bool more = true; more;) {
            more = mReader.ReadMore();
            mHash.Add(mReader.Data().substr(hashed));
            mSize += mReader.Data().size() - hashed;
            hashed = mReader.Data().size();
            if (!PassMark(more, hashed))
                continue;
            const std::string_view data = mReader.Data();
            const std::size_t cut = more ? AfterLastLineFeed(data, Wide()) : data.size();
            if (cut == 0)
                continue;
            const std::string units = Wide() ? UnitsAsCp1251(data.substr(0, cut)) : std::string();
            const std::string_view text = Wide() ? std::string_view(units) : data.substr(0, cut);
            part(text, position);
            mReader.Consume(cut);
            hashed -= cut;
            position += text.size();
        }
        if (mReader.Failed())
            throw std::runtime_error(CannotOpenFileMessage(mPath, SystemErrorText(EIO)));
    }
    // Where the character at position starts in the file.
    std::size_t Offset(std::size_t position) const {
        return MarkOf(mEncoding).size() + (Wide() ? 2 * position : position);
    }
    TextEncoding Encoding() const { return mEncoding; }
    bool Wide() const { return mEncoding == TextEncoding::Utf16LeBom; }
    std::size_t Size() const { return mSize; }
    std::uint64_t Hash() const { return mHash.Value(); }

private:
    // Whether the byte-order mark is passed over (or there is none).
    bool PassMark(bool more, std::size_t& held) {
        if (mMarkPassed)
            return true;
        const std::size_t mark = MarkOf(mEncoding).size();
        if (more && held < mark)
            return false;
        mReader.Consume(std::min(mark, held));
        held -= std::min(mark, held);
        mMarkPassed = true;
        return true;
    }

    std::string mPath;
    BlockReader mReader;
    ContentHash mHash;
    std::size_t mSize = 0;
    TextEncoding mEncoding = TextEncoding::Ansi;
    bool mMarkPassed = false;
};

} // namespace

TableScan ScanTable(const std::string& path, const std::vector<IdRename>& ids, const RenameNames& names) {
    TableScan scan;
    scan.taken.resize(ids.size());
    TableReader reader;
    if (!reader.Open(path))
        return scan; // no table holds no ID
    // The IDs as the table spells them.
    const auto spelled = [utf8 = IsUtf8(reader.Encoding())](const std::string& id) {
        return utf8 ? Cp1251ToUtf8(id) : id;
    };
    std::vector<std::string> keys;
    for (const IdRename& id : ids)
        keys.push_back(spelled(id.first));
    for (const IdRename& id : ids)
        keys.push_back(spelled(id.second));
    KeyLineSearch search(std::string(kStringsSection), keys);
    RenameFile file;
    const std::string key = "[" + std::string(kStringsSection) + "]";
    bool searching = true;
    reader.Read([&](std::string_view text, std::size_t position) {
        searching = searching && search.Feed(text, position);
        // The old IDs' entries found in this part: their names are still at hand.
        for (std::size_t k = 0; k < ids.size(); ++k) {
            const std::optional<KeyLine>& line = search.Found()[k];
            if (!line || line->name.begin < position || line->name.begin >= position + text.size())
                continue;
            const std::string_view held =
                text.substr(line->name.begin - position, line->name.end - line->name.begin);
            const std::string oldId = IsUtf8(reader.Encoding()) ? Utf8ToCp1251(held) : std::string(held);
            file.edits.push_back(MakeEdit(line->number, key, held, reader.Offset(line->name.begin),
                                          reader.Encoding(), *names.NewName(RenameKind::String, oldId)));
        }
    });
    for (std::size_t n = 0; n < ids.size(); ++n)
        scan.taken[n] = search.Found()[ids.size() + n].has_value();
    if (!file.edits.empty()) {
        file.path = path;
        file.stage = RenameStage::Table;
        SortEdits(file);
        file.size = reader.Size();
        file.hash = reader.Hash();
        scan.file = std::move(file);
    }
    return scan;
}

} // namespace pw::rename_detail
