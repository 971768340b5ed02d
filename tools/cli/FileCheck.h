#pragma once
// check for one dialogue or quest file on its own: what the editor would refuse or change when it loads
// and compiles the file, each finding with the line of the key it concerns and the key and list element
// (for the language server, which points there), and the names the file gives and refers to, for the
// checks across files. check and the language server both take a file's findings from here.

#include "CheckReport.h"

#include "core/data/ReadReport.h"

#include <string>
#include <string_view>

namespace pw::cli {

struct FileCheckOptions {
    bool lookUpIds = false; // gather the string IDs the file names, to be looked up in a table
    bool events = false;    // gather the events a dialogue's SetGameEvent rows set, and its CondPlayerKnows
};

// The report of a file of kind at path, whose bytes the caller has read (or an editor holds): its
// findings, in the order of the file's checks, and its facts.
FileReport CheckRecordText(std::string path, RecordKind kind, std::string_view bytes,
                           const FileCheckOptions& options);
// The kind check takes a file at path for: a .quest file a quest, any other a dialogue.
RecordKind RecordKindOfPath(const std::string& path);
// The report of a file that could not be read: one file-error finding with message (UTF-8).
FileReport FileErrorReport(const std::string& path, std::string message);

// Removes the findings of a report that repeat an earlier one (the same kind, line and text).
void DropRepeatedFindings(FileReport& report);

} // namespace pw::cli
