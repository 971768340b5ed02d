#pragma once
// ini-get, ini-set, string-get, string-add: single values of INI files and of the string table.

#include "CliSupport.h"

namespace pw::cli {

int IniGet(const Args& args);
int IniSet(const Args& args);
int StringGet(const Args& args);
int StringAdd(const Args& args);

} // namespace pw::cli
