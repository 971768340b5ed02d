#pragma once
// recompile and check: a .info file loaded as the dialogue tab loads it and compiled as its compile
// button compiles it.

#include "CliSupport.h"

namespace pw::cli {

int Recompile(const Args& args);
int Check(const Args& args);

} // namespace pw::cli
