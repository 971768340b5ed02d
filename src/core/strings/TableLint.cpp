#include "core/strings/TableLint.h"

#include "core/data/Cp1251.h"
#include "core/data/FileIO.h"
#include "core/data/StringTable.h"
#include "core/data/StrUtilsEx.h"
#include "core/data/TableEncoding.h"
#include "core/data/TextLines.h"
#include "core/strings/SemicolonNorm.h"

#include <algorithm>
#include <cerrno>
#include <stdexcept>

namespace pw {
namespace {

// The lint of one table, fed line by line; only the IDs and a few numbers a line are kept, because the
// norm of ";" is known only at the end.
class TableLinter {
public:
    // utf8: the lines are UTF-8 (of a UTF-16 or UTF-8 table) rather than Windows-1251.
    explicit TableLinter(bool utf8) : mUtf8(utf8) {}

    void Line(std::string_view raw);
    void Finish(const TableFindingSink& onFinding);
    // The IDs a lookup finds, in Windows-1251.
    NameSet TakeLookupIds();

private:
    enum Flags : unsigned char { kEntry = 1, kRepeated = 2, kNoFinalSemicolon = 4, kQuestionMarks = 8 };
    struct LineFacts {
        std::size_t line;
        std::size_t firstLine; // of a repeated ID
        int semicolons;
        unsigned char flags;
    };

    std::string Utf8(std::string_view text) const { return mUtf8 ? std::string(text) : Cp1251ToUtf8(text); }
    void Emit(const LineFacts& facts, std::string_view repeatedId, int norm,
              const TableFindingSink& onFinding) const;

    bool mUtf8;
    StringsSectionLines mLines;
    NameSet mIds;                      // every ID of every section "LocAdmin_Strings", in its first spelling
    std::vector<std::size_t> mIdLines; // the line each of mIds was first seen on
    std::vector<bool> mIdReadable;     // whether that line lies in the first section, where lookups look
    std::vector<LineFacts> mFacts;     // the entry lines and the lines without "="
    std::vector<std::string> mRepeatedIds; // the spelling of each repeated ID, in line order
    SemicolonNorm mNorm;
};

void TableLinter::Line(std::string_view raw) {
    const std::optional<std::string_view> line = mLines.Next(raw);
    if (!line)
        return;
    const std::size_t eq = line->find('=');
    if (eq == std::string_view::npos) {
        mFacts.push_back({mLines.Number(), 0, 0, 0});
        return;
    }
    const std::string_view id = TrimView(line->substr(0, eq));
    const std::string_view value = TrimView(line->substr(eq + 1));
    LineFacts facts{mLines.Number(), 0, mNorm.Add(value), kEntry};
    if (value.empty() || value.back() != ';')
        facts.flags |= kNoFinalSemicolon;
    if (value.find("???") != std::string_view::npos)
        facts.flags |= kQuestionMarks;
    const auto [number, added] = mIds.Insert(id);
    if (added) {
        mIdLines.push_back(mLines.Number());
        mIdReadable.push_back(mLines.Section() == 1);
    } else {
        facts.flags |= kRepeated;
        facts.firstLine = mIdLines[number];
        mRepeatedIds.emplace_back(id);
    }
    mFacts.push_back(facts);
}

void TableLinter::Emit(const LineFacts& facts, std::string_view repeatedId, int norm,
                       const TableFindingSink& onFinding) const {
    const auto add = [&](TableFindingKind kind, std::string text) {
        onFinding({facts.line, kind, std::move(text)});
    };
    if (!(facts.flags & kEntry))
        return add(TableFindingKind::NoEquals, "Строка без \"=\" не является записью.");
    if (facts.flags & kRepeated)
        add(TableFindingKind::RepeatedId, "ID " + Utf8(repeatedId) + " уже встречался в строке " +
                                              std::to_string(facts.firstLine) +
                                              "; читается только первая запись.");
    if (facts.semicolons != norm)
        add(TableFindingKind::SemicolonCount,
            "Знаков \";\" в значении: " + std::to_string(facts.semicolons) +
                ", а в большинстве значений таблицы: " + std::to_string(norm) + ".");
    if (facts.flags & kNoFinalSemicolon)
        add(TableFindingKind::NoFinalSemicolon, "Значение не оканчивается на \";\".");
    if (facts.flags & kQuestionMarks)
        add(TableFindingKind::QuestionMarks, "Значение содержит \"???\": так выглядит текст, сохранённый в "
                                             "кодировке, которая не могла его вместить.");
}

void TableLinter::Finish(const TableFindingSink& onFinding) {
    const int norm = mNorm.Norm();
    std::size_t repeated = 0;
    for (const LineFacts& facts : mFacts)
        Emit(facts, facts.flags & kRepeated ? std::string_view(mRepeatedIds[repeated++]) : std::string_view(),
             norm, onFinding);
    mFacts = {};
}

NameSet TableLinter::TakeLookupIds() {
    const bool allReadable = std::find(mIdReadable.begin(), mIdReadable.end(), false) == mIdReadable.end();
    if (allReadable && !mUtf8)
        return std::move(mIds);
    // Lookups ask in Windows-1251, so an ID of a UTF-16 or UTF-8 table that the code page cannot spell is
    // found by none of them (and must not be taken for one spelt with "?" instead).
    NameSet lookup;
    for (std::size_t number = 0; number < mIds.Size(); ++number) {
        if (!mIdReadable[number])
            continue;
        if (!mUtf8)
            lookup.Add(mIds.Name(number));
        else if (const std::optional<std::string> id = Utf8ToCp1251Exact(mIds.Name(number)))
            lookup.Add(*id);
    }
    return lookup;
}

} // namespace

std::optional<std::string_view> StringsSectionLines::Next(std::string_view raw) {
    ++mNumber;
    const std::string_view line = TrimView(raw);
    if (line.empty() || line.front() == ';')
        return std::nullopt;
    if (line.front() == '[') {
        const std::size_t close = line.find(']');
        const std::string_view name =
            TrimView(line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1));
        mInStrings = AsciiEqualNoCase(name, kStringsSection);
        if (mInStrings)
            ++mSection;
        return std::nullopt;
    }
    if (!mInStrings)
        return std::nullopt;
    return line;
}

NameSet ReadStringTable(const std::string& path, const TableFindingSink& onFinding, std::size_t blockSize) {
    TextLineReader reader(blockSize);
    std::string reason;
    if (!reader.Open(path, &reason))
        throw std::runtime_error(CannotOpenFileMessage(path, reason));
    TableLinter linter(reader.Utf8Lines());
    if (!reader.ReadLines([&linter](std::string_view line) { linter.Line(line); }))
        throw std::runtime_error(CannotOpenFileMessage(path, SystemErrorText(EIO)));
    linter.Finish(onFinding);
    return linter.TakeLookupIds();
}

std::vector<TableFinding> LintStringTable(std::string_view bytes) {
    const TextEncoding encoding = DetectTableEncoding(bytes);
    const bool wide = encoding == TextEncoding::Utf16LeBom;
    const std::string_view text = bytes.substr(MarkOf(encoding).size());
    const std::string decoded = wide ? Utf16LeToUtf8(text) : std::string();
    TableLinter linter(encoding != TextEncoding::Ansi);
    ForEachTextLine(wide ? std::string_view(decoded) : text,
                    [&linter](std::string_view line) { linter.Line(line); });
    std::vector<TableFinding> findings;
    linter.Finish([&findings](TableFinding&& finding) { findings.push_back(std::move(finding)); });
    return findings;
}

std::string UnlistedTableFindings(TableFindingKind kind, std::size_t count) {
    const char* what = "";
    switch (kind) {
    case TableFindingKind::RepeatedId:
        what = "повторённые ID";
        break;
    case TableFindingKind::NoEquals:
        what = "строки без \"=\"";
        break;
    case TableFindingKind::SemicolonCount:
        what = "значения с числом \";\" не как у большинства";
        break;
    case TableFindingKind::NoFinalSemicolon:
        what = "значения без \";\" в конце";
        break;
    case TableFindingKind::QuestionMarks:
        what = "значения с \"???\"";
        break;
    }
    return "… и ещё " + std::to_string(count) + ": " + what;
}

} // namespace pw
