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

struct FileReport {
    std::string path;
    std::vector<Finding> findings;
    std::size_t unlistedWarnings = 0; // warnings summed up rather than listed, still counted

    // Facts for the checks across files, gathered while each file is checked (Windows-1251).
    std::string dialogueName;                // a dialogue's Name, trimmed
    std::string parent;                      // a dialogue's parent dialogue
    std::string questName;                   // a quest's Name
    std::vector<std::string> finishedQuests; // a quest's FinishedQuests, one name each
};

} // namespace pw::cli
