#include "tests/support/child_process.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zel::test {
namespace {

using Clock = std::chrono::steady_clock;

void makePipe(int fds[2]) {
    if (pipe2(fds, O_CLOEXEC) != 0) {
        throw std::runtime_error(std::string("pipe failed: ") + std::strerror(errno));
    }
}

// Appends what `fd` holds now; false once the writer has closed it.
bool readAvailable(int fd, std::string& into) {
    char buffer[4096];
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got > 0) {
        into.append(buffer, static_cast<std::size_t>(got));
        return true;
    }
    return got < 0 && (errno == EAGAIN || errno == EINTR);
}

// In the child, between fork and exec.
void limitFileSize(std::uint64_t bytes) {
    // Ignored, the signal turns a write past the limit into an EFBIG error.
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{bytes, bytes};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) {
        _exit(126);
    }
}

} // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                           const ProcessOptions& options) {
    int outPipe[2];
    int errPipe[2];
    makePipe(outPipe);
    makePipe(errPipe);

    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);

    pid_ = fork();
    if (pid_ < 0) {
        throw std::runtime_error(std::string("fork failed: ") + std::strerror(errno));
    }
    if (pid_ == 0) {
        dup2(outPipe[1], STDOUT_FILENO);
        dup2(errPipe[1], STDERR_FILENO);
        const int devNull = open("/dev/null", O_RDONLY);
        dup2(devNull, STDIN_FILENO);
        if (options.unsetDisplay) {
            unsetenv("DISPLAY");
        }
        // The program starts as from a shell, whatever this test process ignores.
        for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE, SIGXFSZ}) {
            std::signal(signal, SIG_DFL);
        }
        if (options.fileSizeLimit) {
            limitFileSize(*options.fileSizeLimit);
        }
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(outPipe[1]);
    close(errPipe[1]);
    outFd_ = outPipe[0];
    errFd_ = errPipe[0];
    fcntl(outFd_, F_SETFL, O_NONBLOCK);
    fcntl(errFd_, F_SETFL, O_NONBLOCK);
}

ChildProcess::~ChildProcess() {
    if (!ended_ && pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (outFd_ >= 0) {
        close(outFd_);
    }
    if (errFd_ >= 0) {
        close(errFd_);
    }
}

void ChildProcess::drainPipes(std::chrono::milliseconds timeout) {
    pollfd fds[2] = {{outFd_, POLLIN, 0}, {errFd_, POLLIN, 0}};
    const int open = (outFd_ >= 0 ? 1 : 0) + (errFd_ >= 0 ? 1 : 0);
    if (open == 0) {
        return;
    }
    poll(fds, 2, static_cast<int>(timeout.count()));
    int* const descriptors[2] = {&outFd_, &errFd_};
    std::string* const texts[2] = {&out_, &err_};
    for (int k = 0; k < 2; ++k) {
        if (*descriptors[k] >= 0 && (fds[k].revents & (POLLIN | POLLHUP)) != 0 &&
            !readAvailable(*descriptors[k], *texts[k])) {
            close(*descriptors[k]);
            *descriptors[k] = -1;
        }
    }
}

bool ChildProcess::waitForOutputLine(std::chrono::milliseconds timeout) {
    return waitForOutputLines(1, timeout);
}

bool ChildProcess::waitForOutputLines(std::size_t count, std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    const auto lines = [this] {
        return static_cast<std::size_t>(std::count(out_.begin(), out_.end(), '\n'));
    };
    while (lines() < count && Clock::now() < deadline) {
        if (outFd_ < 0 && errFd_ < 0) {
            break;
        }
        drainPipes(std::chrono::milliseconds(50));
    }
    return lines() >= count;
}

bool ChildProcess::reap(int options) {
    if (ended_) {
        return true;
    }
    const pid_t done = waitpid(pid_, &status_, options);
    ended_ = done == pid_;
    return ended_;
}

bool ChildProcess::isRunning() {
    return !reap(WNOHANG);
}

int ChildProcess::waitForExit(std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (!reap(WNOHANG) && Clock::now() < deadline) {
        drainPipes(std::chrono::milliseconds(50));
    }
    if (!ended_) {
        kill(pid_, SIGKILL);
        reap(0);
        return -1;
    }
    const auto drainDeadline = Clock::now() + std::chrono::seconds(10);
    while ((outFd_ >= 0 || errFd_ >= 0) && Clock::now() < drainDeadline) {
        drainPipes(std::chrono::milliseconds(100));
    }
    return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
}

int ChildProcess::terminatingSignal() const {
    return ended_ && WIFSIGNALED(status_) ? WTERMSIG(status_) : 0;
}

ProcessResult runProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const ProcessOptions& options) {
    ChildProcess child(program, arguments, options);
    ProcessResult result;
    result.exitCode = child.waitForExit(std::chrono::minutes(5));
    result.out = child.standardOutput();
    result.err = child.standardError();
    return result;
}

} // namespace zel::test
