#pragma once
// recompile and check: a .info file loaded as the dialogue tab loads it and compiled as its compile
// button compiles it.

#include "CliSupport.h"
#include "TextForm.h"

namespace pw::cli {

// Their arguments are paths, which are the file system's bytes whatever the text form.
int Recompile(const Args& args, const TextForm& form);
int Check(const Args& args, const TextForm& form);

} // namespace pw::cli
