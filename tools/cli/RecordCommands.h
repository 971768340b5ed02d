#pragma once
// info-read, info-write, quest-read, quest-write: a dialogue or quest record as Key=Value lines.

#include "CliSupport.h"
#include "TextForm.h"

namespace pw::cli {

int InfoRead(const Args& args, const TextForm& form);
int InfoWrite(const Args& args, const TextForm& form);
int QuestRead(const Args& args, const TextForm& form);
int QuestWrite(const Args& args, const TextForm& form);

} // namespace pw::cli
