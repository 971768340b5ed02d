#include "core/strings/CellWrite.h"

#include "core/data/Cp1251.h"
#include "core/data/FileIO.h"
#include "core/data/ProfileIni.h"
#include "core/data/StringTable.h"
#include "core/data/StrUtilsEx.h"
#include "core/data/TableEncoding.h"

#include <stdexcept>

namespace pw {
namespace {

// Why the write is refused before the table is read, or std::nullopt.
std::optional<CellWriteResult> Refusal(const std::string& id, const std::string& text) {
    CellWriteResult result;
    if (id.empty()) {
        result.status = CellWriteStatus::EmptyId;
        return result;
    }
    const std::optional<std::string> key = Utf8ToCp1251Exact(id); // ids are compared in Windows-1251
    if (!key) {
        result.status = CellWriteStatus::NotInEncoding;
        return result;
    }
    std::optional<std::string> problem = InvalidIdMessage(*key);
    if (!problem)
        problem = CellTextProblem(text);
    if (!problem)
        return std::nullopt;
    result.status = CellWriteStatus::InvalidId;
    result.problem = std::move(*problem);
    return result;
}

} // namespace

CellWriteResult WriteTableCell(const std::string& path, const CellWrite& write) {
    const std::string id = Trim(write.id);
    if (std::optional<CellWriteResult> refused = Refusal(id, write.text))
        return *refused;
    CellWriteResult result;
    std::string reason;
    const bool written = UpdateFileStreamed(
        path,
        [&](BlockReader* current, FileOutput& out) {
            result = {};
            // The encoding is told under the lock, before the one pass that reads and writes the table.
            ProfileStreamedWrite entry(kStringsSection, id, {}, ProfileForm::Utf8,
                                       DetectTableEncodingOfFile(path));
            entry.Seek(current, out);
            result.value = entry.WholeValue();
            if (write.expectedValue && *write.expectedValue != result.value) {
                result.status = CellWriteStatus::ChangedOnDisk;
                return false;
            }
            // A text the table cannot hold is refused before anyone is asked about replacing a cell.
            std::string value =
                WithField(result.value.value_or(std::string()), write.field, write.text, write.fieldCount);
            if (!entry.SetValue(value)) {
                result.status = CellWriteStatus::NotInEncoding;
                return false;
            }
            const std::string_view present =
                result.value ? FieldOf(*result.value, write.field).value_or(std::string_view())
                             : std::string_view();
            if (!write.replaceFilled && !TrimView(present).empty() && present != write.text) {
                result.status = CellWriteStatus::NeedsConfirmation;
                result.existingText = std::string(present);
                return false;
            }
            entry.Finish(current, out);
            result.value = std::move(value);
            return true;
        },
        &reason);
    if (!written)
        throw std::runtime_error(UnableToWriteMessage(path, reason));
    return result;
}

} // namespace pw
