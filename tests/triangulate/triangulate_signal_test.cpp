// An interrupted triangulate leaves no staging file behind, whichever signal ends it.
#include "tests/support/child_process.h"
#include "tests/support/creation_watch.h"
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
