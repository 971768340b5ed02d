#pragma once
// What plotwright-cli says about itself: the short usage after a usage error (standard error), and the
// full help of --help and COMMAND --help (standard output).

#include <string_view>

namespace pw::cli {

// The synopsis of every command, for a usage error.
void PrintUsage();
// The synopsis and summary of every command, the global options and the exit codes.
void PrintHelp();
// One command's synopsis, what it does and a line for each of its options; false for an unknown command.
bool PrintCommandHelp(std::string_view command);

} // namespace pw::cli
