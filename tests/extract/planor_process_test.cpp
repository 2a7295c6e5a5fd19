// Runs the Planor executable and checks what a user sees: messages, exit codes and files.

#include "tests/support/child_process.h"
#include "tests/support/creation_watch.h"
#include "tests/support/scratch_directory.h"

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace zel::test {
namespace {

namespace fs = std::filesystem;

const std::string planorPath = PLANOR_PATH;
const std::string threePoints = "3\n1 2 3\n4.5 -5.25 6\n1000000 0.00001 7\n";
const std::string threePointsOut = "3\n1 2\n4.5 -5.25\n1e+06 1e-05\n";
const std::string keptContent = "this was here before\n";

std::string usage(const std::string& programName) {
    return "This program extracts 2D points from 3D points\nUsage: " + programName +
           "<in-file> <out-file>\n";
}

bool runsAsRoot() {
    return geteuid() == 0;
}

class PlanorTest : public ::testing::Test {
protected:
    ProcessResult planor(const std::vector<std::string>& arguments,
                         const ProcessOptions& options = {}) {
        std::vector<std::string> argv{planorPath};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        return runProcess(planorPath, argv, options);
    }

    void expectFailure(const ProcessResult& result, const std::string& message) {
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, message + "\n");
    }

    ScratchDirectory scratch;
};

TEST_F(PlanorTest, AnyArgumentCountButTwoPrintsUsageAndTouchesNoFile) {
    const std::string in = scratch.write("in.txt", threePoints);
    const std::string out = scratch.file("out.txt");
    for (const auto& arguments : std::vector<std::vector<std::string>>{
             {}, {in}, {in, out, out}, {in, out, "extra", "more"}}) {
        const ProcessResult result = planor(arguments);
        EXPECT_EQ(result.exitCode, 2) << arguments.size() << " arguments";
        EXPECT_EQ(result.out, usage(planorPath));
        EXPECT_EQ(result.err, "");
        EXPECT_EQ(scratch.entries(), std::vector<std::string>{"in.txt"});
    }
}

TEST_F(PlanorTest, UsageNamesTheProgramAsInvoked) {
    const ProcessResult result = runProcess(planorPath, {"./tools/Planor"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.out, usage("./tools/Planor"));
}

TEST_F(PlanorTest, EmptyArgumentVectorStillGetsUsage) {
    // Recent Linux kernels hand such a program one empty argument; older ones none at all.
    const ProcessResult result = runProcess(planorPath, {});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.out == usage("") || result.out == usage("Planor")) << result.out;
}

TEST_F(PlanorTest, ExtractsPointsAndReports) {
    const std::string in = scratch.write("in.txt", threePoints);
    const std::string out = scratch.file("out.txt");
    const ProcessResult result = planor({in, out});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, "Extracted 3 points\n");
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(readFile(out), threePointsOut);
    EXPECT_EQ(scratch.entries(), (std::vector<std::string>{"in.txt", "out.txt"}));
}

TEST_F(PlanorTest, ZeroPointsGiveTheCountLineOnly) {
    const std::string in = scratch.write("in.txt", "0\nnot read\n");
    const std::string out = scratch.file("out.txt");
    const ProcessResult result = planor({in, out});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, "Extracted 0 points\n");
    EXPECT_EQ(readFile(out), "0\n");
}

TEST_F(PlanorTest, ReplacesAnExistingOutputKeepingItsAccessRights) {
    const std::string in = scratch.write("in.txt", threePoints);
    const std::string out = scratch.write("out.txt", std::string(1000, 'x'));
    fs::permissions(out, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_EQ(planor({in, out}).exitCode, 0);
    EXPECT_EQ(readFile(out), threePointsOut);
    EXPECT_EQ(fs::status(out).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

// An XYZ file read as a count of 0 would be replaced by "0": the input is never the output,
// by its own name or through a link.
TEST_F(PlanorTest, OutputThatIsTheInputIsRefusedAndTheInputKept) {
    const std::string xyz = "0 0 1\n1 0 2\n0 1 3\n";
    const std::string file = scratch.write("points.xyz", xyz);
    const std::string link = scratch.file("link.xyz");
    fs::create_symlink("points.xyz", link);
    for (const std::string& out : {file, link}) {
        expectFailure(planor({file, out}),
                      "Cannot create file: " + out + " (it is the input file)");
        EXPECT_EQ(readFile(file), xyz);
    }
}

TEST_F(PlanorTest, WritesThroughALinkAndKeepsTheLink) {
    const std::string in = scratch.write("in.txt", threePoints);
    const std::string target = scratch.write("target.txt", keptContent);
    const std::string link = scratch.file("link.txt");
    fs::create_symlink("target.txt", link);
    ASSERT_EQ(planor({in, link}).exitCode, 0);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readFile(target), threePointsOut);
}

TEST_F(PlanorTest, OutputThatIsStandardOutputGetsThePointsAndTheSummaryGoesToStandardError) {
    // Each shell line runs Planor as $0 on the input $1 with the file $2 at hand.
    struct Case {
        std::string shellLine;
        std::string file; // what $2 holds afterwards
        std::string err;
        int exitCode;
    };
    const std::string summary = "Extracted 3 points\n";
    const std::vector<Case> cases{
        {"\"$0\" \"$1\" /dev/stdout > \"$2\"", threePointsOut, summary, 0},
        {"\"$0\" \"$1\" \"$2\" > \"$2\"", threePointsOut, summary, 0},
        {"\"$0\" \"$1\" /dev/stdout | cat > \"$2\"", threePointsOut, summary, 0},
        {"\"$0\" \"$1\" /dev/stdout >> \"$2\"", threePointsOut, summary, 0},
        {"\"$0\" \"$1\" \"$2\" > /dev/full", threePointsOut,
         "Cannot write the summary line to standard output\n", 1},
        {"\"$0\" \"$1\" \"$2\" >&-", threePointsOut,
         "Cannot write the summary line to standard output\n", 1},
    };
    const std::string in = scratch.write("in.txt", threePoints);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shellLine);
        const std::string file = scratch.write("file.txt", "");
        const ProcessResult result =
            runProcess("/bin/sh", {"sh", "-c", c.shellLine, planorPath, in, file});
        EXPECT_EQ(result.exitCode, c.exitCode);
        EXPECT_EQ(result.err, c.err);
        EXPECT_EQ(readFile(file), c.file);
    }
}

TEST_F(PlanorTest, UnopenableInputIsReportedAndOutputLeftAlone) {
    const std::string out = scratch.write("out.txt", keptContent);
    for (const std::string& in : {scratch.file("missing.txt"), scratch.path().string()}) {
        expectFailure(planor({in, out}), "Cannot open file: " + in);
        EXPECT_EQ(readFile(out), keptContent);
    }
}

TEST_F(PlanorTest, UnreadableInputIsReported) {
    if (runsAsRoot()) {
        GTEST_SKIP() << "access rights do not bind root";
    }
    const std::string in = scratch.write("in.txt", threePoints);
    fs::permissions(in, fs::perms::none);
    expectFailure(planor({in, scratch.file("out.txt")}), "Cannot open file: " + in);
    EXPECT_FALSE(fs::exists(scratch.file("out.txt")));
}

TEST_F(PlanorTest, OutputInAMissingDirectoryCannotBeCreated) {
    const std::string in = scratch.write("in.txt", threePoints);
    const std::string out = scratch.file("missing/out.txt");
    expectFailure(planor({in, out}), "Cannot create file: " + out);
}

TEST_F(PlanorTest, OutputWithoutWriteAccessCannotBeCreated) {
    if (runsAsRoot()) {
        GTEST_SKIP() << "access rights do not bind root";
    }
    const std::string in = scratch.write("in.txt", threePoints);
    const std::string readOnlyFile = scratch.write("read-only.txt", keptContent);
    fs::permissions(readOnlyFile, fs::perms::owner_read);
    expectFailure(planor({in, readOnlyFile}), "Cannot create file: " + readOnlyFile);
    EXPECT_EQ(readFile(readOnlyFile), keptContent);

    fs::create_directory(scratch.file("locked"));
    fs::permissions(scratch.file("locked"), fs::perms::owner_read | fs::perms::owner_exec);
    const std::string inLocked = scratch.file("locked/out.txt");
    expectFailure(planor({in, inLocked}), "Cannot create file: " + inLocked);
    fs::permissions(scratch.file("locked"), fs::perms::owner_all);
}

TEST_F(PlanorTest, FullDeviceIsAWriteFailure) {
    const std::string in = scratch.write("in.txt", threePoints);
    expectFailure(planor({in, "/dev/full"}), "Cannot write file: /dev/full");
}

TEST_F(PlanorTest, WriteFailureLeavesNoPartialFileAndKeepsTheOldOne) {
    std::string manyPoints = "5000\n";
    for (int i = 0; i < 5000; ++i) {
        manyPoints += "123.456 654.321 1\n";
    }
    const std::string in = scratch.write("in.txt", manyPoints);
    const std::string out = scratch.write("out.txt", keptContent);
    expectFailure(planor({in, out}, {.fileSizeLimit = 16 * 1024}), "Cannot write file: " + out);
    EXPECT_EQ(readFile(out), keptContent);
    EXPECT_EQ(scratch.entries(), (std::vector<std::string>{"in.txt", "out.txt"}));
}

TEST_F(PlanorTest, ASignalThatEndsTheRunRemovesTheStagingFile) {
    const std::string in = scratch.file("in.fifo");
    ASSERT_EQ(mkfifo(in.c_str(), 0600), 0);
    // Every signal whose default action ends the process, but those a sanitizer takes for its
    // own reports (a crash) and SIGKILL, which no process can catch.
    for (const int signal : {SIGINT,  SIGTERM, SIGHUP,    SIGQUIT,   SIGPIPE,  SIGXFSZ, SIGUSR1,
                             SIGUSR2, SIGALRM, SIGVTALRM, SIGPROF,   SIGXCPU,  SIGIO,   SIGPWR,
                             SIGSYS,  SIGABRT, SIGTRAP,   SIGSTKFLT, SIGRTMIN, SIGRTMAX}) {
        SCOPED_TRACE(strsignal(signal));
        CreationWatch watch(scratch.path().string());
        ChildProcess planor(planorPath, {planorPath, in, scratch.file("out.txt")});
        // Planor waits for more points than it is given, with its staging file open.
        const int feed = open(in.c_str(), O_WRONLY);
        ASSERT_GE(feed, 0);
        const std::string somePoints = "1000\n1 2 3\n";
        ASSERT_EQ(write(feed, somePoints.data(), somePoints.size()),
                  static_cast<ssize_t>(somePoints.size()));
        EXPECT_TRUE(watch.waitForEntryStartingWith(".planor-"));
        kill(planor.id(), signal);
        EXPECT_EQ(planor.waitForExit(std::chrono::seconds(30)), -1);
        close(feed);
        EXPECT_EQ(planor.terminatingSignal(), signal);
        EXPECT_EQ(scratch.entries(), std::vector<std::string>{"in.fifo"});
    }
}

TEST_F(PlanorTest, MalformedInputStopsWithoutTouchingTheOutput) {
    struct Case {
        std::string input;
        std::string problem;
    };
    const std::vector<Case> cases{
        {"", "the point count in file: IN (end of file)"},
        {"three\n", "the point count in file: IN (not a number)"},
        {"3\n1 2 3\n4 5 6\n", "the x coordinate of point 3 of 3 in file: IN (end of file)"},
        {"2\n1 2 3\n4 five 6\n", "the y coordinate of point 2 of 2 in file: IN (not a number)"},
    };
    for (const Case& c : cases) {
        const std::string in = scratch.write("in.txt", c.input);
        const std::string kept = scratch.write("kept.txt", keptContent);
        const std::string fresh = scratch.file("fresh.txt");
        std::string message = "Cannot read " + c.problem;
        message.replace(message.find("IN"), 2, in);
        expectFailure(planor({in, kept}), message);
        expectFailure(planor({in, fresh}), message);
        EXPECT_EQ(readFile(kept), keptContent);
        EXPECT_EQ(scratch.entries(), (std::vector<std::string>{"in.txt", "kept.txt"}));
    }
}

} // namespace
} // namespace zel::test
