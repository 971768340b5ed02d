#pragma once
// What check finds, file by file, before it is printed.

#include <cstddef>
#include <string>
#include <vector>

namespace pw::cli {

struct Finding {
    bool error = false;
    std::string text;     // UTF-8
    std::size_t line = 0; // the line it is about, counted from 1; 0 for the file as a whole
};

// A name a file refers to that is looked up once every file is read and the table's IDs are known, so
// that files are checked while the table is still being read; the quests wait beside the string IDs, to
// keep the order.
struct Reference {
    enum class Kind { Quest, StringId } kind = Kind::StringId;
    std::string name;    // trimmed (Windows-1251)
    std::string context; // for a string ID of a quest, the key that names it ("LogTopic")
};

struct FileReport {
    std::string path;
    std::vector<Finding> findings;
    std::size_t unlistedWarnings = 0; // warnings summed up rather than listed, still counted

    // Facts for the checks across files, gathered while each file is checked (Windows-1251).
    std::string dialogueName;                // a dialogue's Name, trimmed
    std::string parent;                      // a dialogue's parent dialogue
    std::string playerKnows;                 // a dialogue's CondPlayerKnows, trimmed
    std::vector<std::string> setEvents;      // the events a dialogue's SetGameEvent rows set, trimmed
    std::string questName;                   // a quest's Name
    std::vector<std::string> finishedQuests; // a quest's FinishedQuests, one name each
    std::vector<Reference> references;       // in the order their findings are listed, after the others
};

} // namespace pw::cli
