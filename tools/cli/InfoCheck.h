#pragma once
// check for one .info file: what the dialogue tab would say or refuse when it loads and compiles the file,
// and the names it refers to, each finding with the key and list element it is about.

#include "CheckReport.h"
#include "InfoPipeline.h"

namespace pw::cli {

struct InfoCheckOptions {
    bool lookUpIds = false; // the string IDs of Say rows are looked up in a table
    bool events = false;    // CondPlayerKnows is matched with the events SetGameEvent rows set
};

// Adds the findings of a dialogue that was loaded and prepared, and fills report.dialogueName,
// report.parent, report.references and, with options.events, report.playerKnows and report.setEvents.
void CheckInfoRun(const InfoRun& run, FileReport& report, const InfoCheckOptions& options);

} // namespace pw::cli
