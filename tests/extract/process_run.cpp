#include "tests/extract/process_run.h"

#include "tests/support/scratch_directory.h"

#include <csignal>
#include <fcntl.h>
#include <stdexcept>
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

} // namespace

ProcessResult runProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const std::filesystem::path& captureDirectory,
                         const ProcessOptions& options) {
    const std::string outPath = (captureDirectory / "captured-stdout").string();
    const std::string errPath = (captureDirectory / "captured-stderr").string();
    std::filesystem::remove(outPath);
    std::filesystem::remove(errPath);

    const pid_t child = fork();
    if (child < 0) {
        throw std::runtime_error("cannot fork");
    }
    if (child == 0) {
        execInChild(program, arguments, outPath, errPath, options);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child) {
        throw std::runtime_error("cannot wait for " + program);
    }
    ProcessResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = readFile(outPath);
    result.err = readFile(errPath);
    std::filesystem::remove(outPath);
    std::filesystem::remove(errPath);
    return result;
}

} // namespace zel::test
