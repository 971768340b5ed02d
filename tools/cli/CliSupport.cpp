#include "CliSupport.h"

#include "core/data/Cp1251.h"
#include "core/data/FileIO.h"
#include "core/data/Platform.h"

#include <cerrno>
#include <cstdio>

namespace pw::cli {

void ThrowUsage(const std::string& message) {
    throw CliFailure(kExitUsage, message);
}

void ThrowRefused(const std::string& message) {
    throw CliFailure(kExitRefused, message);
}

bool CommandArgs::Has(std::string_view name) const {
    for (const auto& option : options)
        if (option.first == name)
            return true;
    return false;
}

CommandArgs ParseArgs(const Args& args, std::initializer_list<KnownOption> options) {
    CommandArgs parsed;
    bool ended = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (ended || arg.size() < 2 || arg.compare(0, 2, "--") != 0) {
            parsed.operands.push_back(arg);
            continue;
        }
        if (arg == "--") {
            ended = true;
            continue;
        }
        const KnownOption* known = nullptr;
        for (const KnownOption& option : options)
            if (option.name == arg)
                known = &option;
        if (!known)
            ThrowUsage("unknown option \"" + arg + "\" (a text that starts with \"--\" goes after \"--\")");
        if (known->takesValue && i + 1 >= args.size())
            ThrowUsage(arg + " takes a value");
        parsed.options.emplace_back(arg, known->takesValue ? args[++i] : std::string());
    }
    return parsed;
}

namespace {

// The system's error of the first write to standard output that failed; 0 while none did.
int gOutputError = 0;

void KeepOutputError() {
    if (gOutputError == 0)
        gOutputError = errno != 0 ? errno : EIO;
}

} // namespace

void WriteOut(std::string_view bytes) {
    if (platform::WriteToConsole(1, bytes))
        return;
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size())
        KeepOutputError();
}

std::optional<std::string> OutputProblem() {
    errno = 0;
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        KeepOutputError();
    if (gOutputError == 0)
        return std::nullopt;
    return SystemErrorText(gOutputError);
}

void WriteErrLine(std::string_view utf8) {
    std::string line;
    line.reserve(utf8.size() + 1);
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n')
            continue;
        line += utf8[i];
    }
    line += '\n';
    if (!platform::WriteToConsole(2, line))
        std::fwrite(line.data(), 1, line.size(), stderr);
}

std::string MessageToUtf8(std::string_view cp1251Message) {
    return Cp1251ToUtf8(cp1251Message);
}

void RequireOneLine(std::string_view what, std::string_view text) {
    if (text.find_first_of("\r\n") != std::string_view::npos)
        ThrowUsage(std::string(what) + " must not contain a line break");
}

bool HasExtension(std::string_view path, std::string_view extension) {
    return path.size() >= extension.size() &&
           AsciiEqualNoCase(path.substr(path.size() - extension.size()), extension);
}

void RequireExistingFile(const std::string& path) {
    if (!FileExists(path))
        throw CliFailure(kExitFileError, CannotOpenFileMessage(
                                             path, SystemErrorText(DirectoryExists(path) ? EISDIR : ENOENT)));
    RequireRegularIfPresent(path);
}

void RequireRegularIfPresent(const std::string& path) {
    if (DirectoryExists(path))
        throw CliFailure(kExitFileError, CannotOpenFileMessage(path, SystemErrorText(EISDIR)));
    if (IsSpecialFile(path))
        throw CliFailure(kExitFileError, CannotOpenFileMessage(path, NotRegularFileText()));
}

void RequireExistingFolder(const std::string& path) {
    if (!DirectoryExists(path))
        throw CliFailure(kExitFileError,
                         CannotOpenFileMessage(path, SystemErrorText(PathExists(path) ? ENOTDIR : ENOENT)));
}

} // namespace pw::cli
