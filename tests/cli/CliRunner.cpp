#include "CliRunner.h"

#include "TempDir.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

namespace pwtest {

CliResult RunCli(const std::vector<std::string>& args) {
    TempDir capture;
    const std::string outPath = capture.File("out");
    CliResult result = RunCliTo(args, outPath);
    result.out = ReadBytes(outPath);
    return result;
}

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

std::string DemoPath(const std::string& relative) {
    return std::string(PLOTWRIGHT_DEMO) + "/" + relative;
}

} // namespace pwtest
