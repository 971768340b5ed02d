#include "core/strings/LanguageTable.h"

#include "core/data/Cp1251.h"
#include "core/data/ProfileIni.h"
#include "core/data/StringTable.h"
#include "core/data/StrUtilsEx.h"
#include "core/strings/SemicolonNorm.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace pw {
namespace {

// The lines of a table's bytes in its code units, found without decoding them.
class UnitLines {
public:
    UnitLines(std::string_view bytes, const TableCodec& codec)
        : mBytes(bytes), mCodec(codec), mUnit(codec.UnitSize()),
          mEnd(bytes.size() - (bytes.size() - codec.MarkSize()) % codec.UnitSize()), mPos(codec.MarkSize()) {}

    struct Line {
        std::size_t begin, end; // trimmed of units up to 32
    };

    // The next line; false at the end of the text.
    bool Next(Line& line) {
        if (mPos >= mEnd)
            return false;
        const std::size_t end = BreakAt(mPos);
        line = Trimmed(mPos, end);
        mPos = end;
        if (mPos < mEnd) {
            const bool cr = Unit(mPos) == '\r';
            mPos += mUnit;
            if (cr && mPos < mEnd && Unit(mPos) == '\n')
                mPos += mUnit;
        }
        return true;
    }

    unsigned Unit(std::size_t pos) const { return mCodec.Unit(mBytes, pos); }
    std::size_t UnitSize() const { return mUnit; }

    // The first unit c in [from, to), or to.
    std::size_t Find(std::size_t from, std::size_t to, unsigned c) const {
        if (mUnit == 1) {
            const void* hit = std::memchr(mBytes.data() + from, static_cast<int>(c), to - from);
            return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - mBytes.data()) : to;
        }
        for (std::size_t p = from; p < to; p += mUnit)
            if (Unit(p) == c)
                return p;
        return to;
    }

    Line Trimmed(std::size_t begin, std::size_t end) const {
        while (begin < end && Unit(begin) <= 32)
            begin += mUnit;
        while (end > begin && Unit(end - mUnit) <= 32)
            end -= mUnit;
        return {begin, end};
    }

private:
    std::size_t BreakAt(std::size_t pos) const {
        if (mUnit == 1) {
            const std::size_t lf = Find(pos, mEnd, '\n');
            return Find(pos, lf, '\r');
        }
        for (std::size_t p = pos; p < mEnd; p += mUnit) {
            const unsigned u = Unit(p);
            if (u == '\n' || u == '\r')
                return p;
        }
        return mEnd;
    }

    std::string_view mBytes;
    const TableCodec& mCodec;
    std::size_t mUnit;
    std::size_t mEnd;
    std::size_t mPos;
};

// The start of a table's bytes up to the end of its last whole line.
std::string CompleteLines(const std::string& prefix) {
    const TableCodec codec(TableEncodingOf(prefix));
    const std::size_t unit = codec.UnitSize();
    std::size_t end = prefix.size() - (prefix.size() - codec.MarkSize()) % unit;
    while (end > codec.MarkSize() && codec.Unit(prefix, end - unit) != '\n' &&
           codec.Unit(prefix, end - unit) != '\r')
        end -= unit;
    return prefix.substr(0, end);
}

TableLayout LayoutOf(std::optional<std::string> header, const SemicolonNorm& norm) {
    TableLayout layout;
    if (header) {
        layout.languages = TableLanguages::FromHeader(*header);
        layout.headerNamed = !TrimView(*header).empty();
    }
    layout.fieldCount = static_cast<std::size_t>(norm.Norm()) + 1;
    return layout;
}

} // namespace

TableEncoding TableEncodingOf(std::string_view bytes) {
    return bytes.substr(0, 2) == "\xFF\xFE" ? TableEncoding::Utf16Le : TableEncoding::Cp1251;
}

std::string_view EncodingName(TableEncoding encoding) {
    return encoding == TableEncoding::Utf16Le ? "UTF-16LE" : "Windows-1251";
}

unsigned TableCodec::Unit(std::string_view bytes, std::size_t pos) const {
    const auto lo = static_cast<unsigned char>(bytes[pos]);
    if (mEncoding != TableEncoding::Utf16Le)
        return lo;
    return lo | (static_cast<unsigned>(static_cast<unsigned char>(bytes[pos + 1])) << 8);
}

std::string TableCodec::ToUtf8(std::string_view bytes) const {
    return mEncoding == TableEncoding::Utf16Le ? Utf16LeToUtf8(bytes) : Cp1251ToUtf8(bytes);
}

std::optional<std::string> TableCodec::FromUtf8(std::string_view utf8) const {
    return mEncoding == TableEncoding::Utf16Le ? Utf8ToUtf16Le(utf8) : Utf8ToCp1251Exact(utf8);
}

std::string SingleLanguageMessage(const std::string& table) {
    return "Таблица строк " + table +
           " одноязычная (в значениях одно-два поля): языковые функции к ней не применяются.";
}

LanguageTable::LanguageTable(std::string bytes) : mBytes(std::move(bytes)), mCodec(TableEncodingOf(mBytes)) {
    Parse();
}

LanguageTable LanguageTable::Read(const std::string& path) {
    std::optional<std::string> bytes = ReadWholeFile(path);
    if (!bytes)
        throw std::runtime_error(CannotOpenFileMessage(path, SystemErrorText(ENOENT)));
    return LanguageTable(std::move(*bytes));
}

void LanguageTable::Parse() {
    UnitLines lines(mBytes, mCodec);
    UnitLines::Line line{};
    SemicolonNorm norm;
    bool inSection = false;
    std::size_t number = 0;
    while (lines.Next(line)) {
        ++number;
        if (line.begin == line.end || lines.Unit(line.begin) == ';')
            continue;
        if (lines.Unit(line.begin) == '[') {
            if (inSection)
                break; // only the first section of the name is read, as the game reads it
            const std::size_t close = lines.Find(line.begin, line.end, ']');
            const UnitLines::Line name = lines.Trimmed(line.begin + lines.UnitSize(), close);
            inSection = AsciiEqualNoCase(
                mCodec.ToUtf8(std::string_view(mBytes).substr(name.begin, name.end - name.begin)),
                kStringsSection);
            continue;
        }
        const std::size_t eq = inSection ? lines.Find(line.begin, line.end, '=') : line.end;
        if (eq == line.end)
            continue;
        const UnitLines::Line id = lines.Trimmed(line.begin, eq);
        const UnitLines::Line value = lines.Trimmed(eq + lines.UnitSize(), line.end);
        if (id.begin == id.end)
            continue;
        const auto [index, added] =
            mIds.Insert(mCodec.ToUtf8(std::string_view(mBytes).substr(id.begin, id.end - id.begin)));
        if (!added)
            continue;
        mEntries.push_back({number, value.begin, value.end});
        if (index < kLayoutSample) {
            std::string buffer;
            norm.Add(ValueText(index, buffer));
        }
    }
    mLayout = LayoutOf(ProfileFind(mBytes, kLanguagesSection, kLanguagesKey, ProfileForm::Utf8), norm);
}

std::optional<std::size_t> LanguageTable::Find(std::string_view id) const {
    return mIds.Find(TrimView(id));
}

std::string LanguageTable::Value(std::size_t number) const {
    const TableEntry& entry = mEntries[number];
    return mCodec.ToUtf8(
        std::string_view(mBytes).substr(entry.valueBegin, entry.valueEnd - entry.valueBegin));
}

std::string_view LanguageTable::ValueText(std::size_t number, std::string& buffer) const {
    const TableEntry& entry = mEntries[number];
    const std::string_view bytes =
        std::string_view(mBytes).substr(entry.valueBegin, entry.valueEnd - entry.valueBegin);
    if (mCodec.Encoding() != TableEncoding::Utf16Le)
        return bytes;
    buffer = Utf16LeToUtf8(bytes);
    return buffer;
}

std::optional<ByteEdit> LanguageTable::FieldEdit(std::size_t number, std::size_t field,
                                                 std::string_view text) const {
    const TableEntry& entry = mEntries[number];
    const std::size_t unit = mCodec.UnitSize();
    const auto fieldEnd = [&](std::size_t from) {
        while (from < entry.valueEnd && mCodec.Unit(mBytes, from) != ';')
            from += unit;
        return from;
    };
    std::size_t start = entry.valueBegin;
    std::size_t count = 1; // the fields up to and including the one at start
    for (; count <= field; ++count) {
        const std::size_t end = fieldEnd(start);
        if (end == entry.valueEnd)
            break;
        start = end + unit;
    }
    if (count > field) {
        std::optional<std::string> encoded = mCodec.FromUtf8(text);
        if (!encoded)
            return std::nullopt;
        return ByteEdit{start, fieldEnd(start) - start, std::move(*encoded)};
    }
    // The value ends before the field: empty fields up to it, and after it up to the table's count.
    const std::size_t total = std::max(mLayout.fieldCount, field + 1);
    std::string added(field - count + 1, ';');
    added.append(text).append(total - 1 - field, ';');
    std::optional<std::string> encoded = mCodec.FromUtf8(added);
    if (!encoded)
        return std::nullopt;
    return ByteEdit{entry.valueEnd, 0, std::move(*encoded)};
}

FilePieces LanguageTable::Pieces(const std::vector<ByteEdit>& edits) const {
    FilePieces pieces;
    std::size_t at = 0;
    const std::string_view bytes = mBytes;
    for (const ByteEdit& edit : edits) {
        pieces.push_back(bytes.substr(at, edit.pos - at));
        pieces.push_back(edit.bytes);
        at = edit.pos + edit.length;
    }
    pieces.push_back(bytes.substr(at));
    return pieces;
}

std::size_t LanguageCounts::Total() const {
    std::size_t total = 0;
    for (std::size_t count : states)
        total += count;
    return total;
}

int LanguageCounts::Percent() const {
    const std::size_t total = Total();
    return total == 0 ? 0 : static_cast<int>(Translated() * 100 / total);
}

void CountCells(std::string_view value, const TableLanguages& languages,
                std::vector<LanguageCounts>& counts) {
    const TableLanguage* english = languages.English();
    const std::vector<std::string_view> fields = SplitFields(value);
    const auto cell = [&fields](std::size_t field) {
        return field < fields.size() ? std::optional<std::string_view>(fields[field]) : std::nullopt;
    };
    const std::optional<std::string_view> englishCell = english ? cell(english->TextField()) : std::nullopt;
    for (const TableLanguage& language : languages.All()) {
        const CellState state = StateOfCell(cell(language.TextField()), englishCell, &language == english);
        ++counts[static_cast<std::size_t>(language.column - 1)].states[static_cast<std::size_t>(state)];
    }
}

std::vector<LanguageCounts> CountLanguages(const LanguageTable& table) {
    const TableLanguages& languages = table.Layout().languages;
    std::vector<LanguageCounts> counts(languages.All().size());
    std::string buffer;
    for (std::size_t i = 0; i < table.Size(); ++i)
        CountCells(table.ValueText(i, buffer), languages, counts);
    return counts;
}

TableLayout ReadTableLayout(const std::string& path) {
    BlockReader reader;
    if (!reader.Open(path))
        return {};
    // Blocks until enough values are seen or the file ends; the table is parsed again each time what has
    // been read doubles, so a table without strings costs one pass.
    std::string prefix;
    bool more = true;
    std::size_t parsed = 0;
    while ((more = reader.ReadMore())) {
        prefix.append(reader.Data());
        reader.Consume(reader.Data().size());
        if (prefix.size() >= 2 * parsed) {
            parsed = prefix.size();
            if (LanguageTable(CompleteLines(prefix)).Size() >= kLayoutSample)
                break;
        }
    }
    if (reader.Failed())
        return {};
    TableLayout layout = LanguageTable(more ? CompleteLines(prefix) : prefix).Layout();
    if (more) {
        const std::optional<std::string> header =
            ProfileFindInFile(path, kLanguagesSection, kLanguagesKey, 256 * 1024, ProfileForm::Utf8);
        layout.languages = header ? TableLanguages::FromHeader(*header) : TableLanguages();
        layout.headerNamed = header && !TrimView(*header).empty();
    }
    return layout;
}

} // namespace pw
