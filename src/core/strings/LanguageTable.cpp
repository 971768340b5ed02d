#include "core/strings/LanguageTable.h"

#include "core/data/Cp1251.h"
#include "core/data/ProfileIni.h"
#include "core/data/StringTable.h"
#include "core/data/StrUtilsEx.h"
#include "core/data/TextLines.h"
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
    const TableCodec codec(DetectTableEncoding(prefix));
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

std::string_view EncodingName(TextEncoding encoding) {
    if (encoding == TextEncoding::Utf16LeBom)
        return "UTF-16LE";
    return IsUtf8(encoding) ? "UTF-8" : "Windows-1251";
}

unsigned TableCodec::Unit(std::string_view bytes, std::size_t pos) const {
    const auto lo = static_cast<unsigned char>(bytes[pos]);
    if (mEncoding != TextEncoding::Utf16LeBom)
        return lo;
    return lo | (static_cast<unsigned>(static_cast<unsigned char>(bytes[pos + 1])) << 8);
}

std::string TableCodec::ToUtf8(std::string_view bytes) const {
    if (mEncoding == TextEncoding::Utf16LeBom)
        return Utf16LeToUtf8(bytes);
    return IsUtf8(mEncoding) ? std::string(bytes) : Cp1251ToUtf8(bytes);
}

std::optional<std::string> TableCodec::FromUtf8(std::string_view utf8) const {
    if (mEncoding == TextEncoding::Utf16LeBom)
        return Utf8ToUtf16Le(utf8);
    if (IsUtf8(mEncoding)) {
        Utf8Validator validator;
        validator.Feed(utf8);
        return validator.Valid() ? std::optional<std::string>(utf8) : std::nullopt;
    }
    return Utf8ToCp1251Exact(utf8);
}

std::string SingleLanguageMessage(const std::string& table) {
    return "Таблица строк " + table +
           " одноязычная (в значениях одно-два поля): языковые функции к ней не применяются.";
}

std::string MissingLanguageMessage(const std::string& table, std::string_view given,
                                   const TableLanguages& languages) {
    std::string known;
    for (const TableLanguage& language : languages.All())
        known += (known.empty() ? "" : ", ") + language.code;
    return "В таблице " + table + " нет языка «" + std::string(given) + "» (в ней: " + known + ").";
}

LanguageTable::LanguageTable(std::string bytes)
    : mBytes(std::move(bytes)), mCodec(DetectTableEncoding(mBytes)) {
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
    mLayout = LayoutOf(
        ProfileFind(mBytes, kLanguagesSection, kLanguagesKey, ProfileForm::Utf8, ProfileDialect::StringTable),
        norm);
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
    if (mCodec.Encoding() != TextEncoding::Utf16LeBom)
        return bytes;
    buffer = Utf16LeToUtf8(bytes);
    return buffer;
}

std::optional<std::pair<std::size_t, std::size_t>> LanguageTable::FieldSpan(std::size_t number,
                                                                            std::size_t field) const {
    const TableEntry& entry = mEntries[number];
    const std::size_t unit = mCodec.UnitSize();
    std::size_t start = entry.valueBegin;
    for (std::size_t i = 0;; ++i) {
        std::size_t end = start;
        while (end < entry.valueEnd && mCodec.Unit(mBytes, end) != ';')
            end += unit;
        if (i == field)
            return std::make_pair(start, end);
        if (end == entry.valueEnd)
            return std::nullopt;
        start = end + unit;
    }
}

std::optional<std::string> LanguageTable::FieldText(std::size_t number, std::size_t field) const {
    const auto span = FieldSpan(number, field);
    if (!span)
        return std::nullopt;
    return mCodec.ToUtf8(std::string_view(mBytes).substr(span->first, span->second - span->first));
}

std::optional<ByteEdit> LanguageTable::FieldEdit(std::size_t number, std::size_t field,
                                                 std::string_view text) const {
    const TableEntry& entry = mEntries[number];
    if (const auto span = FieldSpan(number, field)) {
        std::optional<std::string> encoded = mCodec.FromUtf8(text);
        if (!encoded)
            return std::nullopt;
        return ByteEdit{span->first, span->second - span->first, std::move(*encoded)};
    }
    // The value ends before the field: empty fields up to it, and after it up to the table's count.
    std::string_view value =
        std::string_view(mBytes).substr(entry.valueBegin, entry.valueEnd - entry.valueBegin);
    std::size_t count = 1;
    for (std::size_t p = 0; p < value.size(); p += mCodec.UnitSize())
        count += mCodec.Unit(value, p) == ';';
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

std::size_t AppendCellStates(std::string_view value, const TableLanguages& languages,
                             std::vector<std::uint8_t>& states) {
    const TableLanguage* english = languages.English();
    thread_local std::vector<std::string_view> fields; // its storage serves every value
    SplitFields(value, fields);
    const auto cell = [](std::size_t field) {
        return field < fields.size() ? std::optional<std::string_view>(fields[field]) : std::nullopt;
    };
    const std::optional<std::string_view> englishCell = english ? cell(english->TextField()) : std::nullopt;
    for (const TableLanguage& language : languages.All())
        states.push_back(static_cast<std::uint8_t>(
            StateOfCell(cell(language.TextField()), englishCell, &language == english)));
    return fields.size();
}

void CountCells(std::string_view value, const TableLanguages& languages,
                std::vector<LanguageCounts>& counts) {
    thread_local std::vector<std::uint8_t> states;
    states.clear();
    AppendCellStates(value, languages, states);
    for (std::size_t column = 0; column < states.size(); ++column)
        ++counts[column].states[states[column]];
}

namespace {

// The entries of a table read line by line, with each cell's state kept, so that the IDs repeated are told
// apart once all are read: one sort of their hashes costs less than a look-up per line.
class EntryCounter {
public:
    // bytes: about how large the table is, so the lists are made big enough at once.
    EntryCounter(const TableLanguages& languages, std::uint64_t bytes) : mLanguages(languages) {
        // A value of the game's layout takes a few hundred bytes and an ID a few dozen.
        const auto entries = static_cast<std::size_t>(bytes / 200);
        mIds.reserve(entries * 32);
        mStarts.reserve(entries);
        mHashes.reserve(entries);
        mSemicolons.reserve(entries);
        mStates.reserve(entries * languages.All().size());
    }

    void Add(std::string_view id, std::string_view value) {
        mHashes.push_back({FoldedHash()(id), static_cast<std::uint32_t>(mStarts.size())});
        mStarts.push_back(mIds.size());
        mIds.append(id);
        mSemicolons.push_back(static_cast<int>(AppendCellStates(value, mLanguages, mStates)) - 1);
    }

    // The counts of the entries the game reads (the first of each ID, A-Z folded), and the norm of ";" of
    // the first of them.
    void Finish(TableCounts& result) const {
        const std::vector<bool> repeated = Repeated();
        const std::size_t languages = mLanguages.All().size();
        result.counts.assign(languages, LanguageCounts());
        SemicolonNorm norm;
        std::size_t kept = 0;
        for (std::size_t entry = 0; entry < mStarts.size(); ++entry) {
            if (repeated[entry])
                continue;
            if (++kept <= kLayoutSample)
                norm.Add(std::string(static_cast<std::size_t>(mSemicolons[entry]), ';'));
            for (std::size_t column = 0; column < languages; ++column)
                ++result.counts[column].states[mStates[entry * languages + column]];
        }
        result.layout.fieldCount = static_cast<std::size_t>(norm.Norm()) + 1;
    }

private:
    struct Hashed {
        std::size_t hash;
        std::uint32_t entry;
    };

    std::string_view Id(std::size_t entry) const {
        const std::size_t end = entry + 1 < mStarts.size() ? mStarts[entry + 1] : mIds.size();
        return std::string_view(mIds).substr(mStarts[entry], end - mStarts[entry]);
    }

    // For each entry, whether an earlier one has its ID.
    std::vector<bool> Repeated() const {
        std::vector<Hashed> sorted = mHashes;
        std::sort(sorted.begin(), sorted.end(), [](const Hashed& a, const Hashed& b) {
            return a.hash != b.hash ? a.hash < b.hash : a.entry < b.entry;
        });
        std::vector<bool> repeated(mStarts.size(), false);
        for (std::size_t run = 0; run < sorted.size();) {
            std::size_t end = run + 1;
            while (end < sorted.size() && sorted[end].hash == sorted[run].hash)
                ++end;
            for (std::size_t later = run + 1; later < end; ++later)
                for (std::size_t earlier = run; earlier < later; ++earlier)
                    if (!repeated[sorted[earlier].entry] &&
                        AsciiEqualNoCase(Id(sorted[earlier].entry), Id(sorted[later].entry))) {
                        repeated[sorted[later].entry] = true;
                        break;
                    }
            run = end;
        }
        return repeated;
    }

    const TableLanguages& mLanguages;
    std::string mIds;
    std::vector<std::size_t> mStarts;
    std::vector<Hashed> mHashes;
    std::vector<int> mSemicolons;
    std::vector<std::uint8_t> mStates; // each entry's cells, one a language
};

} // namespace

TableCounts CountTableLanguages(const std::string& path) {
    TextLineReader reader;
    std::string reason;
    if (!reader.Open(path, &reason))
        throw std::runtime_error(CannotOpenFileMessage(path, reason));
    const std::optional<std::string> header = ProfileFindInFile(
        path, kLanguagesSection, kLanguagesKey, 256 * 1024, ProfileForm::Utf8, ProfileDialect::StringTable);
    TableCounts result;
    result.layout = LayoutOf(header, SemicolonNorm());
    // The entries as LanguageTable reads them: the first section of the name, blank IDs left out.
    EntryCounter entries(result.layout.languages, reader.SizeHint());
    const bool read = ForEachTableEntry(
        reader, [&entries](std::string_view id, std::string_view value) { entries.Add(id, value); });
    if (!read)
        throw std::runtime_error(CannotOpenFileMessage(path, SystemErrorText(EIO)));
    entries.Finish(result);
    return result;
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
            ProfileFindInFile(path, kLanguagesSection, kLanguagesKey, 256 * 1024, ProfileForm::Utf8,
                              ProfileDialect::StringTable);
        layout.languages = header ? TableLanguages::FromHeader(*header) : TableLanguages();
        layout.headerNamed = header && !TrimView(*header).empty();
    }
    return layout;
}

} // namespace pw
