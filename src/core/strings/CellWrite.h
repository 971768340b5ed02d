#pragma once
// One language's cell of one entry written into the string table as one step under the file's lock: the
// table is read again under it, block by block, and only that cell of the entry's value changes. The
// window's write button in a language and its translations grid use it.

#include "core/strings/TableLanguages.h"

#include <cstddef>
#include <optional>
#include <string>

namespace pw {

struct CellWrite {
    std::string id;             // UTF-8, as typed (trimmed here)
    std::size_t field = 0;      // the field written, TableLanguage::TextField()
    std::string text;           // UTF-8
    std::size_t fieldCount = 1; // a new entry's fields, and those a shorter value is lengthened to
    // Without it a cell that holds a text other than text is not overwritten (NeedsConfirmation).
    bool replaceFilled = false;
    // When set, the entry's whole value (UTF-8; std::nullopt: no entry) as the caller read it: an entry
    // that holds anything else by now is left alone (ChangedOnDisk).
    std::optional<std::optional<std::string>> expectedValue;
};

enum class CellWriteStatus {
    Written,
    EmptyId,           // nothing written
    InvalidId,         // the ID could never be read back, or the text is no cell (see problem)
    NotInEncoding,     // the ID (compared in Windows-1251) or the text cannot be held by the table
    NeedsConfirmation, // the cell holds another text (existingText)
    ChangedOnDisk,     // the entry is not as expectedValue says (value holds what it is now)
};

struct CellWriteResult {
    CellWriteStatus status = CellWriteStatus::Written;
    std::string existingText;         // the cell's present text, UTF-8
    std::optional<std::string> value; // the entry's whole value now on disk, UTF-8; std::nullopt: none
    std::string problem;              // for InvalidId: the message, UTF-8
};

// Writes the cell of write into the table at path; an entry the table lacks is added with write.fieldCount
// fields. Throws std::runtime_error("Unable to write to %s. %s") when the file cannot be written; it is
// then unchanged.
CellWriteResult WriteTableCell(const std::string& path, const CellWrite& write);

} // namespace pw
