// An interrupted triangulate leaves no staging file behind, whichever signal ends it.
#include "tests/support/child_process.h"
#include "tests/support/scratch_directory.h"

#include <chrono>
#include <csignal>
#include <cstring>
#include <gtest/gtest.h>
#include <poll.h>
#include <random>
#include <string>
#include <sys/inotify.h>
#include <unistd.h>
#include <vector>

namespace zel::test {
namespace {

const std::string triangulatePath = TRIANGULATE_PATH;

// Waits, on the directory's own notices, for an entry whose name starts with `prefix` to be
// created in it; false when none came within a minute.
class CreationWatch {
public:
    explicit CreationWatch(const std::string& directory)
        : fd_(inotify_init1(IN_CLOEXEC | IN_NONBLOCK)) {
        inotify_add_watch(fd_, directory.c_str(), IN_CREATE);
    }
    ~CreationWatch() { close(fd_); }
    CreationWatch(const CreationWatch&) = delete;
    CreationWatch& operator=(const CreationWatch&) = delete;

    bool waitForEntryStartingWith(const std::string& prefix) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
        while (std::chrono::steady_clock::now() < deadline) {
            pollfd ready{fd_, POLLIN, 0};
            if (poll(&ready, 1, 1000) > 0 && createdOneStartingWith(prefix)) {
                return true;
            }
        }
        return false;
    }

private:
    bool createdOneStartingWith(const std::string& prefix) {
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

    int fd_;
};

TEST(TriangulateSignalTest, ASignalThatEndsTheRunRemovesTheStagingFile) {
    ScratchDirectory scratch;
    // Enough points that the triangulation, done with the staging file open, outlasts the
    // moment from the file's creation to the signal.
    std::mt19937 generator(19);
    std::uniform_int_distribution<int> coordinate(-1000000, 1000000);
    std::string points;
    for (int k = 0; k < 200000; ++k) {
        points += std::to_string(coordinate(generator)) + ' ' +
                  std::to_string(coordinate(generator)) + '\n';
    }
    const std::string in = scratch.write("in.txt", points);
    for (const int signal :
         {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE, SIGXFSZ, SIGUSR1, SIGALRM}) {
        SCOPED_TRACE(strsignal(signal));
        CreationWatch watch(scratch.path().string());
        ChildProcess triangulate(triangulatePath, {triangulatePath, in, scratch.file("out.tri")});
        ASSERT_TRUE(watch.waitForEntryStartingWith(".triangulate-"));
        kill(triangulate.id(), signal);
        EXPECT_EQ(triangulate.waitForExit(std::chrono::seconds(60)), -1);
        EXPECT_EQ(triangulate.terminatingSignal(), signal);
        EXPECT_EQ(scratch.entries(), std::vector<std::string>{"in.txt"});
    }
}

} // namespace
} // namespace zel::test
