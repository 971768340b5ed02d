#pragma once
// Runs plotwright-cli with arguments (passed as raw bytes, no shell) and captures what it prints.

#include "TestText.h"

#include <string>
#include <vector>

namespace pwtest {

struct CliResult {
    int code = -1;
    std::string out; // standard output, raw bytes
    std::string err; // standard error, UTF-8
};

CliResult RunCli(const std::vector<std::string>& args);
// The same with standard output sent to outPath (for example /dev/full); CliResult::out stays empty.
CliResult RunCliTo(const std::vector<std::string>& args, const std::string& outPath);

// The demo library of the repository.
std::string DemoPath(const std::string& relative);

} // namespace pwtest
