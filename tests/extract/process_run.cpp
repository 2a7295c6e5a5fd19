#include "tests/extract/process_run.h"

#include "tests/support/scratch_directory.h"

#include <csignal>
#include <fcntl.h>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zel::test {

namespace {

[[noreturn]] void execInChild(const std::string& program, const std::vector<std::string>& arguments,
                              const std::string& outPath, const std::string& errPath,
                              const ProcessOptions& options) {
    const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    if (out < 0 || err < 0 || dup2(out, STDOUT_FILENO) < 0 || dup2(err, STDERR_FILENO) < 0) {
        _exit(126);
    }
    // The process starts as from a shell, whatever this test process ignores.
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE, SIGXFSZ}) {
        std::signal(signal, SIG_DFL);
    }
    if (options.fileSizeLimit) {
        // Ignored, the signal turns a write past the limit into an EFBIG error.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{*options.fileSizeLimit, *options.fileSizeLimit};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            _exit(126);
        }
    }
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
}

std::string capturePath(const std::filesystem::path& captureDirectory, const char* stream) {
    return (captureDirectory / (std::string("captured-") + stream)).string();
}

} // namespace

pid_t startProcess(const std::string& program, const std::vector<std::string>& arguments,
                   const std::filesystem::path& captureDirectory, const ProcessOptions& options) {
    const std::string outPath = capturePath(captureDirectory, "stdout");
    const std::string errPath = capturePath(captureDirectory, "stderr");
    std::filesystem::remove(outPath);
    std::filesystem::remove(errPath);

    const pid_t child = fork();
    if (child < 0) {
        throw std::runtime_error("cannot fork");
    }
    if (child == 0) {
        execInChild(program, arguments, outPath, errPath, options);
    }
    return child;
}

ProcessResult finishProcess(pid_t process, const std::filesystem::path& captureDirectory) {
    int status = 0;
    if (waitpid(process, &status, 0) != process) {
        throw std::runtime_error("cannot wait for process " + std::to_string(process));
    }
    const std::string outPath = capturePath(captureDirectory, "stdout");
    const std::string errPath = capturePath(captureDirectory, "stderr");
    ProcessResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    result.out = readFile(outPath);
    result.err = readFile(errPath);
    std::filesystem::remove(outPath);
    std::filesystem::remove(errPath);
    return result;
}

ProcessResult runProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const std::filesystem::path& captureDirectory,
                         const ProcessOptions& options) {
    return finishProcess(startProcess(program, arguments, captureDirectory, options),
                         captureDirectory);
}

} // namespace zel::test
