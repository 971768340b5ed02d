#pragma once
// list and tree: the dialogues of a library chosen by their fields, as lines or as conversation trees;
// unused-strings: the string table's entries that nothing in the library names; rename: a quest, dialogue,
// event or string ID renamed across the library. All read the library through the library index.

#include "CliSupport.h"
#include "TextForm.h"

#include "core/library/LibraryIndex.h"
#include "core/library/LibraryQuery.h"

namespace pw::cli {

int List(const Args& args, const TextForm& form);
int Tree(const Args& args, const TextForm& form);
int UnusedStrings(const Args& args, const TextForm& form);
int Rename(const Args& args, const TextForm& form);
// The language server over standard input and output, until the client ends it.
int Lsp(const Args& args, const TextForm& form);

// The files below the ROOT folders, in the order of the roots and of each one's scan. A ROOT that is no
// folder is a file error: a mistyped one would otherwise look like a library without matches.
std::vector<std::string> ScanRoots(const Args& roots);
// The conditions among the options parsed (--owner NAME and the like; others are left alone), their
// values taken as record text.
LibraryQuery QueryOf(const CommandArgs& parsed, const TextForm& form);
// Names each file of the index that could not be read on standard error, as check does. The exit code:
// 0, or 4 when a file could not be read, so a script learns that the answer may lack something.
int ReportUnread(const LibraryIndex& index);

} // namespace pw::cli
