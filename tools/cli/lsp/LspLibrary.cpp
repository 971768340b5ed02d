#include "LspLibrary.h"

#include "core/data/Cp1251.h"
#include "core/data/FileIO.h"
#include "core/data/StringTable.h"
#include "core/data/StrUtilsEx.h"
#include "core/library/ValueSpans.h"
#include "core/strings/SemicolonNorm.h"
#include "core/data/TextLines.h"
#include "core/strings/TableLint.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>

namespace pw::lsp {

std::pair<std::uintmax_t, std::int64_t> FileStamp(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path file(std::u8string(path.begin(), path.end()));
    const std::uintmax_t size = fs::file_size(file, error);
    if (error)
        return {0, 0};
    const auto time = fs::last_write_time(file, error);
    return {size, error ? 0 : static_cast<std::int64_t>(time.time_since_epoch().count())};
}

TableView::TableView(std::string path) : mPath(std::move(path)) {
    std::tie(mSize, mTime) = FileStamp(mPath);
    const std::optional<std::string> bytes = ReadWholeFile(mPath);
    if (!bytes)
        return;
    mEncoding = DetectTableEncoding(*bytes);
    const std::string_view text = std::string_view(*bytes).substr(MarkOf(mEncoding).size());
    if (mEncoding == TextEncoding::Utf16LeBom)
        mWideBytes = text;
    else if (IsUtf8(mEncoding))
        mWideBytes = Utf8ToUtf16Le(text).value_or(std::string()); // valid UTF-8, as it was told to be
    mText = mEncoding == TextEncoding::Ansi ? *bytes : UnitsAsCp1251(mWideBytes);
    mEndsWithBreak = mText.empty() || mText.back() == '\n' || mText.back() == '\r';
    // Every line ended, so that the lines handed out lie in the text itself.
    if (!mEndsWithBreak)
        mText += '\n';
    Parse();
    mLayout = ReadTableLayout(mPath);
}

void TableView::Parse() {
    const std::size_t firstBreak = mText.find('\n');
    mCrLf = firstBreak == std::string::npos || (firstBreak > 0 && mText[firstBreak - 1] == '\r');
    StringsSectionLines lines;
    SemicolonNorm norm;
    std::size_t lastLine = 0;
    bool seen = false;
    ForEachTextLine(mText, [&](std::string_view raw) {
        const std::optional<std::string_view> line = lines.Next(raw);
        if (!line || lines.Section() != 1)
            return;
        lastLine = lines.Number() - 1;
        seen = true;
        const std::size_t equals = line->find('=');
        if (equals == std::string_view::npos)
            return;
        const std::string_view id = TrimView(line->substr(0, equals));
        const std::string_view value = TrimView(line->substr(equals + 1));
        norm.Add(value);
        if (!id.empty() && mIds.Insert(id).second)
            mEntries.push_back({lines.Number() - 1, id, value});
    });
    mNorm = norm.Norm();
    std::size_t lineCount = 0;
    ForEachTextLine(mText, [&](std::string_view) { ++lineCount; });
    mInsertLine = seen ? lastLine + 1 : lineCount;
    mInsertAtEnd = mInsertLine >= lineCount;
    mSortedIds.reserve(mEntries.size());
    for (const Entry& entry : mEntries)
        mSortedIds.emplace_back(entry.id);
    std::sort(mSortedIds.begin(), mSortedIds.end(),
              [](const std::string& a, const std::string& b) { return AsciiLessNoCase(a, b); });
}

const TableView::Entry* TableView::Find(std::string_view id) const {
    const std::optional<std::size_t> number = mIds.Find(TrimView(id));
    return number ? &mEntries[*number] : nullptr;
}

std::string TableView::ValueText(const Entry& entry) const {
    if (mEncoding == TextEncoding::Ansi)
        return Cp1251ToUtf8(entry.value);
    const auto begin = static_cast<std::size_t>(entry.value.data() - mText.data());
    return Utf16LeToUtf8(std::string_view(mWideBytes).substr(2 * begin, 2 * entry.value.size()));
}

std::optional<TableLanguage> ChosenLanguage(const TableView& table, const std::string& given,
                                            std::string* problem) {
    std::string why;
    const TableLanguage* language = nullptr;
    if (!given.empty() && table.Layout().SingleLanguage())
        why = SingleLanguageMessage(table.Path());
    else if (!given.empty() && !(language = table.Layout().languages.Find(given)))
        why = MissingLanguageMessage(table.Path(), given, table.Layout().languages);
    if (problem)
        *problem = why;
    return language ? std::optional<TableLanguage>(*language) : std::nullopt;
}

bool TableView::Stale() const {
    return FileStamp(mPath) != std::make_pair(mSize, mTime);
}

} // namespace pw::lsp
