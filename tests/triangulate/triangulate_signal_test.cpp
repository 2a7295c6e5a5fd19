// An interrupted triangulate leaves no staging file behind, whichever signal ends it.
#include "tests/support/child_process.h"
#include "tests/support/scratch_directory.h"

#include <chrono>
#include <csignal>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace zel::test {
namespace {

const std::string triangulatePath = TRIANGULATE_PATH;

TEST(TriangulateSignalTest, ASignalThatEndsTheRunRemovesTheStagingFile) {
    ScratchDirectory scratch;
    // Enough points that the triangulation, done with the staging file open, takes a while.
    std::mt19937 generator(19);
    std::uniform_int_distribution<int> coordinate(-1000000, 1000000);
    std::string points;
    for (int k = 0; k < 1000000; ++k) {
        points += std::to_string(coordinate(generator)) + ' ' +
                  std::to_string(coordinate(generator)) + '\n';
    }
    const std::string in = scratch.write("in.txt", points);
    const auto stagingFileExists = [&] { return scratch.holdsEntryStartingWith(".triangulate-"); };
    for (const int signal :
         {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE, SIGXFSZ, SIGUSR1, SIGALRM}) {
        SCOPED_TRACE(strsignal(signal));
        ChildProcess triangulate(triangulatePath, {triangulatePath, in, scratch.file("out.tri")});
        for (int wait = 0; wait < 60000 && !stagingFileExists() && triangulate.isRunning();
             ++wait) {
            usleep(1000);
        }
        ASSERT_TRUE(stagingFileExists());
        kill(triangulate.id(), signal);
        EXPECT_EQ(triangulate.waitForExit(std::chrono::seconds(60)), -1);
        EXPECT_EQ(triangulate.terminatingSignal(), signal);
        EXPECT_EQ(scratch.entries(), std::vector<std::string>{"in.txt"});
    }
}

} // namespace
} // namespace zel::test
