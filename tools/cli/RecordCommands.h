#pragma once
// info-read, info-write, quest-read, quest-write: a dialogue or quest record as Key=Value lines.

#include "CliSupport.h"

namespace pw::cli {

int InfoRead(const Args& args);
int InfoWrite(const Args& args);
int QuestRead(const Args& args);
int QuestWrite(const Args& args);

} // namespace pw::cli
