#pragma once
// search info|quest QUERY ROOT...: the library search of the editor's search boxes.

#include "CliSupport.h"
#include "TextForm.h"

namespace pw::cli {

int Search(const Args& args, const TextForm& form);

} // namespace pw::cli
