#pragma once
// One .info file through the dialogue tab's load and the compile button's checks, without a window.

#include "core/data/ReadReport.h"
#include "core/dialogue/InfoEditorModel.h"

#include <string>
#include <string_view>
#include <vector>

namespace pw::cli {

struct InfoRun {
    RecordReadReport read;         // whether it is a dialogue file, and the numbers that could not be read
    LoadedInfo loaded;             // the editor's content and the notices loading raised
    CompileOutcome compiled;       // Ready, or the refusal the compile button would show
    ScriptListsWarning misaligned; // for InfoScript lists that do not pair up; its text empty when they do
};

// The storage of LoadAndCheck: the record read and its run, whose strings and rows are used again for
// the next file (a check of a library would otherwise spend much of its time allocating them).
struct InfoCheckWork {
    TInfo info;
    InfoRun run;
};

// Reads path (throws the reader's std::runtime_error when it cannot be read), maps it onto the editor
// and prepares the compile. Writes nothing.
InfoRun LoadAndPrepare(const std::string& path);
// The same for a file's bytes (read by the caller, or an editor's text), with the compile's checks only
// (see CheckInfoCompile): compiled holds no record. For check and the language server, which read many
// files and write none. The run returned is work's, valid until work is used again.
const InfoRun& LoadAndCheck(std::string_view bytes, InfoCheckWork& work);

// The compile button's checks of the editor's content and the record it would write (Ready), or its
// refusal. Writes nothing.
CompileOutcome PrepareCompile(const InfoEditorModel& model);

// Refuses (exit code 3) a file that is no record file rather than writing it out as a record of
// defaults; says on standard error each number that read as 0 or -1, as the editor would write it so.
void RefuseNonsense(const RecordReadReport& read);

} // namespace pw::cli
