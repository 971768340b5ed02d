#include "core/data/StringTable.h"

#include "core/data/Cp1251.h"
#include "core/data/FileIO.h"
#include "core/data/ProfileIni.h"
#include "core/data/StrUtilsEx.h"
#include "core/data/TableEncoding.h"
#include "core/data/TextLines.h"

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <unordered_set>

namespace pw {

TStringTable::TStringTable(std::string path) : mPath(std::move(path)) {}

std::string TStringTable::LookupTableString(const std::string& id) const {
    if (id == kEmptyPlaceholder || TrimView(id).empty())
        return {};
    return FindTableString(id).value_or(std::string(kDialogNotFound));
}

std::optional<std::string> TStringTable::FindTableString(const std::string& id, ProfileForm form) const {
    return ProfileFindInFile(mPath, kStringsSection, id, 256 * 1024, form, ProfileDialect::StringTable);
}

std::vector<std::optional<std::string>> TStringTable::FindTableStrings(std::vector<std::string> ids) const {
    const ProfileKeySet keys(std::move(ids));
    const std::optional<std::string> bytes = ReadWholeFile(mPath);
    if (!bytes)
        return std::vector<std::optional<std::string>>(keys.Size());
    return ProfileFindKeys(*bytes, kStringsSection, keys, ProfileDialect::StringTable).values;
}

TStringTable::AddResult TStringTable::AddTableString(const std::string& id, const std::string& text,
                                                     bool replaceExisting, ProfileForm form) const {
    const std::string name = Trim(id); // as the file is asked for it, in form
    if (name.empty())
        return {AddStatus::EmptyId, {}, {}};
    // The id's rules are those of its Windows-1251 spelling, which the file compares.
    const std::optional<std::string> key = form == ProfileForm::Cp1251 ? name : Utf8ToCp1251Exact(name);
    if (!key)
        return {AddStatus::NotInCodePage, {}, {}};
    if (std::optional<std::string> problem = InvalidIdMessage(*key))
        return {AddStatus::InvalidId, {}, std::move(*problem)};
    std::string value = text;
    if (value.empty() || value.back() != ';')
        value += ';';
    if (std::optional<std::string> problem = ProfileWriteProblem(kStringsSection, *key, value))
        return {AddStatus::InvalidId, {}, std::move(*problem)};
    // The duplicate check and the write are one step under the file's lock, so an entry another
    // process adds meanwhile is neither lost nor silently replaced. The table is read once, in blocks,
    // and written out as it is read: a rename's entry costs little more than a copy of the file.
    AddResult result{AddStatus::Written, {}, {}};
    std::string reason;
    const bool written = UpdateFileStreamed(
        mPath,
        [&](BlockReader* current, FileOutput& out) {
            // Told under the lock, before the one pass that reads and writes the table.
            ProfileStreamedWrite write(kStringsSection, name, value, form, DetectTableEncodingOfFile(mPath));
            result.existingValue = write.Seek(current, out).value_or(std::string());
            if (!result.existingValue.empty() && !replaceExisting) {
                result.status = AddStatus::NeedsConfirmation;
                return false;
            }
            if (!write.Possible()) {
                result.status = AddStatus::NotInCodePage;
                return false;
            }
            write.Finish(current, out);
            return true;
        },
        &reason);
    if (!written)
        throw std::runtime_error(UnableToWriteMessage(mPath, reason));
    return result;
}

bool ForEachTableEntry(TextLineReader& reader,
                       const std::function<void(std::string_view key, std::string_view value)>& onEntry) {
    bool inSection = false;
    bool done = false; // past the first section of the name, where lookups stop
    return reader.ReadLines([&](std::string_view raw) {
        const std::string_view line = TrimView(raw);
        if (done || line.empty() || line.front() == ';')
            return;
        if (line.front() == '[') {
            done = inSection;
            const std::string_view name = line.substr(1, line.find(']') - 1);
            inSection = AsciiEqualNoCase(TrimView(name), kStringsSection);
            return;
        }
        const std::size_t eq = inSection ? line.find('=') : std::string_view::npos;
        if (eq == std::string_view::npos)
            return;
        if (const std::string_view key = TrimView(line.substr(0, eq)); !key.empty())
            onEntry(key, TrimView(line.substr(eq + 1)));
    });
}

std::vector<std::string> ListTableIds(const std::string& path) {
    TextLineReader reader;
    if (!reader.Open(path))
        return {};
    const bool utf8 = reader.Utf8Lines();
    std::vector<std::string> ids;
    std::unordered_set<std::string, FoldedHash, FoldedEqual> seen;
    const bool read = ForEachTableEntry(reader, [&](std::string_view key, std::string_view) {
        std::optional<std::string> id = utf8 ? Utf8ToCp1251Exact(key) : std::string(key);
        if (id && seen.insert(*id).second)
            ids.push_back(std::move(*id));
    });
    return read ? ids : std::vector<std::string>();
}

std::optional<std::string>
TStringTable::AppendTableStrings(const std::vector<std::pair<std::string, std::string>>& entries) const {
    std::vector<std::string> ids;
    for (const auto& [id, value] : entries) {
        if (std::optional<std::string> problem = ProfileWriteProblem(kStringsSection, id, value))
            throw std::runtime_error(UnableToWriteMessage(mPath, *problem));
        ids.push_back(id);
    }
    const ProfileKeySet keys(std::move(ids));
    std::optional<std::string> held;
    std::optional<ProfileChange> change;
    std::string reason;
    const bool written = UpdateFileAtomic(
        mPath,
        [&](const std::optional<std::string>& current) -> std::optional<FilePieces> {
            const std::string_view bytes = current ? std::string_view(*current) : std::string_view();
            held.reset(); // decided afresh on every call
            const ProfileValues found =
                ProfileFindKeys(bytes, kStringsSection, keys, ProfileDialect::StringTable);
            for (std::size_t i = 0; i < found.values.size(); ++i)
                if (found.values[i]) {
                    held = entries[i].first;
                    return std::nullopt;
                }
            // Windows-1251 text fits a table of every encoding, so the change is always possible.
            change.emplace(bytes, kStringsSection, entries, ProfileForm::Cp1251, ProfileDialect::StringTable);
            return change->Pieces();
        },
        &reason);
    if (!written)
        throw std::runtime_error(UnableToWriteMessage(mPath, reason));
    return held;
}

std::vector<std::string>
TStringTable::TakeBackTableStrings(const std::vector<std::pair<std::string, std::string>>& entries) const {
    std::vector<std::string> left;
    std::optional<ProfileRemoval> removal;
    std::string reason;
    const bool written = UpdateFileAtomic(
        mPath,
        [&](const std::optional<std::string>& current) -> std::optional<FilePieces> {
            removal.emplace(current ? std::string_view(*current) : std::string_view(), kStringsSection,
                            entries, ProfileDialect::StringTable);
            const std::vector<bool>& removed = removal->Removed();
            if (std::find(removed.begin(), removed.end(), true) == removed.end())
                return std::nullopt;
            return removal->Pieces();
        },
        &reason);
    if (!written)
        throw std::runtime_error(UnableToWriteMessage(mPath, reason));
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (!removal || !removal->Removed()[i])
            left.push_back(entries[i].first);
    return left;
}

std::optional<std::string> InvalidIdMessage(const std::string& id) {
    return ProfileKeyProblemMessage(CheckProfileKey(id), "Идентификатор строки", Cp1251ToUtf8(id));
}

std::string EmptyIdMessage() {
    return *ProfileKeyProblemMessage(ProfileKeyProblem::Empty, "Идентификатор строки", {});
}

std::string DuplicateEntryMessage(const std::string& existing, const std::string& text) {
    return "Запись с аналогичным ID уже существует.\r\nСуществующая запись: " + existing +
           "\r\nНовая запись: " + text;
}

} // namespace pw
