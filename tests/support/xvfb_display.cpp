#include "tests/support/xvfb_display.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <stdexcept>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zel::test {
namespace {

constexpr int readyTimeoutMs = 30000;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool underSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool underSanitizer = true;
#else
constexpr bool underSanitizer = false;
#endif
#else
constexpr bool underSanitizer = false;
#endif

class XvfbServer {
public:
    XvfbServer() { start(); }
    ~XvfbServer() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    const std::string& display() const { return display_; }

private:
    void start() {
        int fds[2];
        if (pipe(fds) != 0) {
            throw std::runtime_error(std::string("Xvfb: pipe failed: ") + std::strerror(errno));
        }
        const pid_t parent = getpid();
        pid_ = fork();
        if (pid_ < 0) {
            throw std::runtime_error(std::string("Xvfb: fork failed: ") + std::strerror(errno));
        }
        if (pid_ == 0) {
            runServer(fds[1], fds[0], parent);
        }
        close(fds[1]);
        display_ = readDisplayNumber(fds[0]);
        close(fds[0]);
        setenv("DISPLAY", display_.c_str(), 1);
        // Mesa's software renderer: the same pixels on every machine, GPU or not.
        setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
        if (underSanitizer) {
            // llvmpipe registers the unwind tables of its JIT code with libgcc; the
            // sanitizer's full-stack unwinding inside malloc (needed to match the leak
            // suppressions) then deadlocks on libgcc's lock. softpipe without LLVM has no JIT
            // code. Child processes, the viewer under test among them, inherit the choice.
            setenv("GALLIUM_DRIVER", "softpipe", 1);
            setenv("DRAW_USE_LLVM", "0", 1);
        }
    }

    [[noreturn]] static void runServer(int writeFd, int readFd, pid_t parent) {
        close(readFd);
        // The server must not outlive a test process that crashes.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) {
            _exit(1);
        }
        const std::string fd = std::to_string(writeFd);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten",
               "tcp", "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }

    static std::string readDisplayNumber(int fd) {
        std::string number(1, ':');
        pollfd waitFor{fd, POLLIN, 0};
        while (true) {
            const int ready = poll(&waitFor, 1, readyTimeoutMs);
            if (ready <= 0) {
                throw std::runtime_error("Xvfb did not report a display within 30 seconds");
            }
            char c = 0;
            const ssize_t got = read(fd, &c, 1);
            if (got <= 0) {
                throw std::runtime_error("Xvfb ended before reporting a display "
                                         "(is the xvfb package installed?)");
            }
            if (c == '\n') {
                return number;
            }
            number.push_back(c);
        }
    }

    pid_t pid_ = -1;
    std::string display_;
};

} // namespace

const std::string& startPrivateDisplay() {
    static XvfbServer server;
    return server.display();
}

} // namespace zel::test
