#include "extract/staging_cleanup.h"

#include <csignal>
#include <cstring>
#include <unistd.h>

namespace zel {
namespace {

constexpr int kTerminatingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE, SIGXFSZ};

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
    for (const int signal : kTerminatingSignals) {
        struct sigaction current {};
        if (sigaction(signal, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) {
            continue;
        }
        struct sigaction handler {};
        handler.sa_handler = removeStagingAndResignal;
        sigemptyset(&handler.sa_mask);
        handler.sa_flags = SA_RESETHAND;
        sigaction(signal, &handler, nullptr);
    }
}

} // namespace

void removeOnTerminatingSignals(const std::filesystem::path& stagingFile) {
    const std::string& name = stagingFile.native();
    stagingNameSet = 0;
    if (name.size() >= sizeof stagingName) {
        return; // no system call takes so long a name, so the file cannot exist either
    }
    std::memcpy(stagingName, name.c_str(), name.size() + 1);
    installHandlers();
    stagingNameSet = 1;
}

void forgetStagingFile() noexcept { stagingNameSet = 0; }

} // namespace zel
