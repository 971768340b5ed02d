#pragma once
// search info|quest QUERY ROOT...: the library search of the editor's search boxes.

#include "CliSupport.h"

namespace pw::cli {

int Search(const Args& args);

} // namespace pw::cli
