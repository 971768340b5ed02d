#include "CliRunner.h"

#include "TempDir.h"

#include <stdexcept>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace pwtest {

CliResult RunCli(const std::vector<std::string>& args) {
    TempDir capture;
    const std::string outPath = capture.File("out");
    CliResult result = RunCliTo(args, outPath);
    result.out = ReadBytes(outPath);
    return result;
}

#ifdef _WIN32
namespace {

// An argument as a user types it: UTF-8 text, or Windows-1251 bytes (which a script passes with --raw)
// typed as the characters they stand for.
std::wstring Wide(const std::string& text) {
    UINT codePage = CP_UTF8;
    int size = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                                   nullptr, 0);
    if (size == 0 && !text.empty()) {
        codePage = 1251;
        size = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    }
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return wide;
}

// One argument quoted as the C runtime's command-line parser takes it apart again.
std::wstring Quoted(const std::wstring& arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos)
        return arg;
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L"\"";
}

HANDLE Inheritable(const std::string& path) {
    SECURITY_ATTRIBUTES security{sizeof security, nullptr, TRUE};
    return CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &security,
                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

} // namespace

CliResult RunCliTo(const std::vector<std::string>& args, const std::string& outPath) {
    TempDir capture;
    const std::string errPath = capture.File("err");
    std::wstring line = Quoted(Wide(PLOTWRIGHT_CLI));
    for (const std::string& arg : args)
        line += L" " + Quoted(Wide(arg));
    const HANDLE out = Inheritable(outPath);
    const HANDLE err = Inheritable(errPath);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = INVALID_HANDLE_VALUE;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process{};
    // Wine now and then fails to start a process while many start at once (one failure in a few thousand
    // runs of the suite): a start is tried three times before the test fails, with the system's error.
    bool started = false;
    DWORD error = 0;
    for (int attempt = 0; attempt < 3 && !started; ++attempt) {
        if (attempt > 0)
            Sleep(200);
        started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                 nullptr, &startup, &process);
        error = started ? 0 : GetLastError();
    }
    CloseHandle(out);
    CloseHandle(err);
    if (!started)
        throw std::runtime_error("CreateProcess failed, error " + std::to_string(error));
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    CliResult result;
    result.code = static_cast<int>(code);
    result.err = ReadBytes(errPath);
    return result;
}
#else
CliResult RunCliTo(const std::vector<std::string>& args, const std::string& outPath) {
    TempDir capture;
    const std::string errPath = capture.File("err");
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(PLOTWRIGHT_CLI));
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    const pid_t pid = fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        dup2(out, STDOUT_FILENO);
        dup2(err, STDERR_FILENO);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    CliResult result;
    result.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.err = ReadBytes(errPath);
    return result;
}
#endif

std::string DemoPath(const std::string& relative) {
    return std::string(PLOTWRIGHT_DEMO) + "/" + relative;
}

} // namespace pwtest
