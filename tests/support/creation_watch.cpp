#include "tests/support/creation_watch.h"

#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

namespace zel::test {

CreationWatch::CreationWatch(const std::string& directory)
    : fd_(inotify_init1(IN_CLOEXEC | IN_NONBLOCK)) {
    inotify_add_watch(fd_, directory.c_str(), IN_CREATE);
}

CreationWatch::~CreationWatch() {
    close(fd_);
}

bool CreationWatch::waitForEntryStartingWith(const std::string& prefix,
                                             std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd ready{fd_, POLLIN, 0};
        if (poll(&ready, 1, 100) > 0 && createdOneStartingWith(prefix)) {
            return true;
        }
    }
    return false;
}

bool CreationWatch::createdOneStartingWith(const std::string& prefix) {
    alignas(inotify_event) char buffer[4096];
    const ssize_t size = read(fd_, buffer, sizeof buffer);
    for (ssize_t at = 0; at < size;) {
        const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
        if (event->len > 0 && std::string(event->name).rfind(prefix, 0) == 0) {
            return true;
        }
        at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
    }
    return false;
}

} // namespace zel::test
