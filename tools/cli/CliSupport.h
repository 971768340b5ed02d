#pragma once
// Exit codes, failures and output of plotwright-cli. Values go to standard output as raw bytes;
// messages go to standard error in UTF-8.

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace pw::cli {

enum ExitCode : int {
    kExitOk = 0,
    kExitFindings = 1, // check found errors (or warnings with --strict)
    kExitNotFound = 1, // string-get: the table holds no such ID
    kExitUsage = 2,
    kExitRefused = 3,
    kExitFileError = 4,
};

// A failure that ends the command with code; message is UTF-8.
class CliFailure : public std::runtime_error {
public:
    CliFailure(int code, const std::string& message) : std::runtime_error(message), mCode(code) {}
    int Code() const { return mCode; }

private:
    int mCode;
};

// A usage error: message (UTF-8), then the short usage, exit code 2.
[[noreturn]] void ThrowUsage(const std::string& message);
// A message of the program's own (UTF-8) that refuses the command, exit code 3.
[[noreturn]] void ThrowRefused(const std::string& message);

using Args = std::vector<std::string>;

// A command's arguments taken apart: its options in order (each "--name", with the argument after it for
// one that takes a value) and its operands. "--" ends the options: every argument after it is an operand,
// so a text may start with "--". Before it, an argument that starts with "--" and names none of the
// command's options is a usage error.
struct KnownOption {
    std::string_view name;
    bool takesValue = false;
};
struct CommandArgs {
    std::vector<std::pair<std::string, std::string>> options; // name, value ("" for a flag)
    Args operands;
    bool Has(std::string_view name) const;
};
CommandArgs ParseArgs(const Args& args, std::initializer_list<KnownOption> options);

// Prints to standard output (on a Windows console as UTF-16 text). A failure is kept for OutputProblem, so the first reason is the one told.
void WriteOut(std::string_view bytes);
// Flushes standard output; the system's reason when something printed did not arrive.
std::optional<std::string> OutputProblem();
// One message line on standard error (on a Windows console as UTF-16 text); CR LF inside the message becomes LF.
void WriteErrLine(std::string_view utf8);
std::string MessageToUtf8(std::string_view cp1251Message);

// A usage error when text holds a line break: the files keep one entry per line, so such a value
// would be cut or would forge further lines. what names the argument in the message.
void RequireOneLine(std::string_view what, std::string_view text);

// Whether path ends in extension (".info", ".quest"), letter case ignored.
bool HasExtension(std::string_view path, std::string_view extension);

// Fails with a file error when nothing exists at path, so reading a mistyped path is not mistaken
// for reading an empty record.
void RequireExistingFile(const std::string& path);
// Fails with a file error when something other than a regular file is at path (a FIFO, a device, a
// folder); nothing at path is fine.
void RequireRegularIfPresent(const std::string& path);
// The same for a folder to scan: a file or nothing at path is a file error.
void RequireExistingFolder(const std::string& path);

} // namespace pw::cli
