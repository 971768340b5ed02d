#pragma once
// recompile, check and import-conversation: a .info file loaded as the dialogue tab loads it and
// compiled as its compile button compiles it.

#include "CliSupport.h"
#include "TextForm.h"

namespace pw::cli {

// Their arguments are paths, which are the file system's bytes whatever the text form.
int Recompile(const Args& args, const TextForm& form);
int Check(const Args& args, const TextForm& form);
// Adds a written conversation to a dialogue as Say rows and to the string table as their entries.
// PREFIX is a text of the text form; the conversation file is UTF-8 whatever the form.
int ImportConversation(const Args& args, const TextForm& form);

} // namespace pw::cli
