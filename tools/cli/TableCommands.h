#pragma once
// ini-get, ini-set, string-get, string-add: single values of INI files and of the string table.

#include "CliSupport.h"
#include "TextForm.h"

namespace pw::cli {

int IniGet(const Args& args, const TextForm& form);
int IniSet(const Args& args, const TextForm& form);
int StringGet(const Args& args, const TextForm& form);
int StringAdd(const Args& args, const TextForm& form);

} // namespace pw::cli
