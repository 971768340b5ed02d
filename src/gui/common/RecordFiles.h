#pragma once
// Reading a dialogue or quest file into an editor tab. A file the tab cannot show is refused with a box
// that says why, before any control changes, so the user's unsaved form stays as it is.

#include "core/data/FileIO.h"
#include "core/data/ReadReport.h"

#include <exception>
#include <string>

class QWidget;

namespace pw {

// "Не удалось открыть файл <path>": error icon, caption "Ошибка".
void ShowCannotOpenFile(QWidget* owner, const std::string& path);
// Why the file at path is no file of its kind (a RecordReadReport's notRecord), then its path, in the
// same kind of box.
void ShowNotRecordFile(QWidget* owner, const std::string& path, const std::string& why);

// Reads the file at path (the file system's bytes) into record, a TInfo or a TQuest. False, after one of
// the boxes above, when nothing is at path, the file cannot be read, or it is no file of the record's
// kind (empty, binary, a byte-order mark the reader does not take, no section); record is then to be
// dropped.
template <class Record> bool ReadRecordForEditor(QWidget* owner, const std::string& path, Record& record) {
    RecordReadReport report;
    try {
        // A missing file would read as a record of defaults.
        if (!FileExists(path)) {
            ShowCannotOpenFile(owner, path);
            return false;
        }
        record.ReadFromFile(path, &report);
    } catch (const std::exception&) {
        ShowCannotOpenFile(owner, path);
        return false;
    }
    if (!report.notRecord.empty()) {
        ShowNotRecordFile(owner, path, report.notRecord);
        return false;
    }
    return true;
}

} // namespace pw
