#include "data/StringTable.h"

#include "data/Cp1251.h"
#include "data/FileIO.h"
#include "data/ProfileIni.h"
#include "data/StrUtilsEx.h"

#include <stdexcept>

namespace pw {

TStringTable::TStringTable(std::string path) : mPath(std::move(path)) {}

std::string TStringTable::LookupTableString(const std::string& id) const {
    if (id == kEmptyPlaceholder || TrimView(id).empty())
        return {};
    return ProfileGetString(mPath, kStringsSection, id, kDialogNotFound);
}

TStringTable::AddResult TStringTable::AddTableString(const std::string& id, const std::string& text,
                                                     bool replaceExisting) const {
    const std::string key = Trim(id);
    if (key.empty())
        return {AddStatus::EmptyId, {}};
    const std::string existing = ProfileGetString(mPath, kStringsSection, key, "");
    if (!existing.empty() && !replaceExisting)
        return {AddStatus::NeedsConfirmation, existing};
    std::string value = text;
    if (value.empty() || value.back() != ';')
        value += ';';
    if (!ProfileWriteString(mPath, kStringsSection, key, value))
        throw std::runtime_error(UnableToWriteMessage(mPath));
    return {AddStatus::Written, existing};
}

std::string EmptyIdMessage() {
    return Utf8ToCp1251("Идентификатор строки не задан");
}

std::string DuplicateEntryMessage(const std::string& existing, const std::string& text) {
    return Utf8ToCp1251("Запись с аналогичным ID уже существует.\r\nСуществующая запись: ") + existing +
           Utf8ToCp1251("\r\nНовая запись: ") + text;
}

} // namespace pw
