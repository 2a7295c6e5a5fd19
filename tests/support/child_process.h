#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace zel::test {

struct ProcessOptions {
    // Starts the child without DISPLAY, so that any attempt to open a window fails loudly
    // instead of going unnoticed.
    bool unsetDisplay = false;
    // Largest file the child may write, in bytes; a write past it fails with EFBIG.
    std::optional<std::uint64_t> fileSizeLimit;
};

inline ProcessOptions withDisplayUnset(bool unsetDisplay) {
    ProcessOptions options;
    options.unsetDisplay = unsetDisplay;
    return options;
}

// A program started with its standard output and standard error captured through pipes,
// and its standard input empty. The destructor kills a child that is still running, so a
// failed test leaves none behind.
class ChildProcess {
public:
    // Runs `program` with exactly the argument vector `arguments`, which may be empty or
    // start with any name.
    ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                 const ProcessOptions& options = {});
    // Runs arguments[0].
    ChildProcess(const std::vector<std::string>& arguments, bool unsetDisplay)
        : ChildProcess(arguments.at(0), arguments, withDisplayUnset(unsetDisplay)) {}
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Reads what the child has written so far, waiting up to `timeout` for a first line
    // end on standard output. True when standard output holds a complete line.
    bool waitForOutputLine(std::chrono::milliseconds timeout);
    // The same for `count` complete lines.
    bool waitForOutputLines(std::size_t count, std::chrono::milliseconds timeout);

    bool isRunning();

    // Waits up to `timeout` for the child to end, collecting all its output. Returns its
    // exit status, or -1 when it was killed by a signal or had to be killed after the timeout.
    int waitForExit(std::chrono::milliseconds timeout);

    // The signal that ended the child, or 0 while it runs or when it exited by itself.
    int terminatingSignal() const;

    pid_t id() const { return pid_; }
    const std::string& standardOutput() const { return out_; }
    const std::string& standardError() const { return err_; }

private:
    // Moves what the pipes hold into the strings, waiting up to `timeout` for the first byte.
    void drainPipes(std::chrono::milliseconds timeout);
    bool reap(int options);

    pid_t pid_ = -1;
    int outFd_ = -1;
    int errFd_ = -1;
    int status_ = 0;
    bool ended_ = false;
    std::string out_;
    std::string err_;
};

struct ProcessResult {
    int exitCode = -1; // -1 when the process did not exit normally
    std::string out;
    std::string err;
};

// Runs `program` (as the constructor above) to its end and returns what it wrote.
ProcessResult runProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const ProcessOptions& options = {});

} // namespace zel::test
