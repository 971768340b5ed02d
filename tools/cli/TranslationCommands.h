#pragma once
// translation-status, translation-export, translation-import, translation-copy and table-diff: the
// languages of the string table, handed to translators and taken back.

#include "CliSupport.h"
#include "TextForm.h"

namespace pw::cli {

int TranslationStatus(const Args& args, const TextForm& form);
int TranslationExport(const Args& args, const TextForm& form);
int TranslationImport(const Args& args, const TextForm& form);
int TranslationCopy(const Args& args, const TextForm& form);
int TableDiff(const Args& args, const TextForm& form);

} // namespace pw::cli
