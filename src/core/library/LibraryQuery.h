#pragma once
// A choice of dialogues from the library index: the AND of conditions on their fields, each comparing
// whole values trimmed and with A-Z folded, as the library search and check compare names.

#include "core/library/LibraryIndex.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pw {

enum class DialogueField {
    Name,
    Owner,
    Quest,
    Parent,
    Event,   // CondPlayerKnows, or the InfoScript_IDs1 cell of any SetGameEvent row
    Command, // the command of any CommandList row
    String,  // any element of InfoScript_Texts
};

class LibraryQuery {
public:
    // Adds the condition that field holds value (Windows-1251); an empty value asks for an empty field.
    LibraryQuery& Where(DialogueField field, std::string_view value);

    // Whether a file of kind with these bytes may hold a dialogue that matches: in an 8-bit file every
    // value is a run of the file's bytes, so one that lacks a condition's value (A-Z folded) cannot match.
    // UTF-16 files may always match.
    bool MayMatch(RecordKind kind, std::string_view bytes) const;
    // Whether entry is a dialogue that was read and meets every condition; without conditions every such
    // dialogue does.
    bool Matches(const LibraryEntry& entry) const;
    // The numbers of the entries of index that match, in library order, tested on all processors.
    std::vector<std::size_t> Select(const LibraryIndex& index) const;

private:
    std::vector<std::pair<DialogueField, std::string>> mConditions; // values trimmed
};

} // namespace pw
