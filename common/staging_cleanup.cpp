#include "common/staging_cleanup.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace zel {
namespace {

// Every signal whose default action ends the process (all but SIGKILL, which cannot be caught),
// the real-time signals included.
std::vector<int> terminatingSignals() {
    std::vector<int> signals{SIGHUP,  SIGINT,  SIGQUIT,   SIGILL,  SIGTRAP, SIGABRT, SIGBUS,
                             SIGFPE,  SIGUSR1, SIGSEGV,   SIGUSR2, SIGPIPE, SIGALRM, SIGTERM,
                             SIGXCPU, SIGXFSZ, SIGVTALRM, SIGPROF, SIGIO,   SIGPWR,  SIGSYS};
#ifdef SIGSTKFLT
    signals.push_back(SIGSTKFLT);
#endif
    for (int signal = SIGRTMIN; signal <= SIGRTMAX; ++signal) {
        signals.push_back(signal);
    }
    return signals;
}

// The handler may only read memory that is complete whenever it runs: the name is written
// before the flag is raised and the flag lowered before the name changes.
char stagingName[4096];
volatile std::sig_atomic_t stagingNameSet = 0;

extern "C" void removeStagingAndResignal(int signal) {
    if (stagingNameSet != 0) {
        unlink(stagingName);
    }
    // The handler was reset to the default action on entry, so the signal raised again ends
    // the process as soon as the handler returns.
    raise(signal);
}

void installHandlers() {
    static bool installed = false;
    if (installed) {
        return;
    }
    installed = true;
    for (const int signal : terminatingSignals()) {
        // An ignored signal stays ignored, and a handler someone else installed (a sanitizer's
        // for a crash, say) stays theirs.
        struct sigaction current {};
        if (sigaction(signal, nullptr, &current) != 0 || (current.sa_flags & SA_SIGINFO) != 0 ||
            current.sa_handler != SIG_DFL) {
            continue;
        }
        struct sigaction handler {};
        handler.sa_handler = removeStagingAndResignal;
        sigemptyset(&handler.sa_mask);
        handler.sa_flags = SA_RESETHAND;
        sigaction(signal, &handler, nullptr);
    }
}

// Holds back the terminating signals while a file is created and named to the handler, so
// that none can end the process between the two and leave the file unwatched.
class TerminatingSignalsHeld {
public:
    TerminatingSignalsHeld() {
        sigset_t held;
        sigemptyset(&held);
        for (const int signal : terminatingSignals()) {
            sigaddset(&held, signal);
        }
        sigprocmask(SIG_BLOCK, &held, &previous_);
    }
    ~TerminatingSignalsHeld() { sigprocmask(SIG_SETMASK, &previous_, nullptr); }
    TerminatingSignalsHeld(const TerminatingSignalsHeld&) = delete;
    TerminatingSignalsHeld& operator=(const TerminatingSignalsHeld&) = delete;

private:
    sigset_t previous_;
};

} // namespace

int createStagingFile(std::string& pattern, int suffixLength) {
    installHandlers();
    int descriptor = -1;
    int error = 0;
    {
        const TerminatingSignalsHeld held;
        descriptor = mkostemps(pattern.data(), suffixLength, O_CLOEXEC);
        error = errno;
        // A name that no system call takes could not have been created either.
        if (descriptor >= 0 && pattern.size() < sizeof stagingName) {
            stagingNameSet = 0;
            std::memcpy(stagingName, pattern.c_str(), pattern.size() + 1);
            stagingNameSet = 1;
        }
    }
    errno = error;
    return descriptor;
}

void forgetStagingFile() noexcept {
    stagingNameSet = 0;
}

} // namespace zel
