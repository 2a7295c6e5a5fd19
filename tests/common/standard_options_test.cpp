// --help, -h and --version of the three programs and of the helper scripts, and the bytes
// their messages show, run as a user runs them.
#include "tests/support/child_process.h"
#include "tests/support/scratch_directory.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace zel {
namespace {

struct Case {
    std::vector<std::string> command;
    int exitCode;
    std::string outStart; // standard output begins with this
    std::string err;
};

std::string script(const std::string& name) {
    return std::string(SOURCE_ROOT) + "/" + name;
}

TEST(StandardOptions, AnsweredOnStandardOutputAndOnlyAsTheFirstArgument) {
    const std::vector<Case> cases{
        {{TESSARO_PATH, "--help"},
         0,
         "Usage: Tessaro [--elevation] [--exaggeration <factor>] [--levels <h1,h2,...> | "
         "--sea-level <h>] <triangulation-file> [<image.tga> ...]\n"
         "  or:  Tessaro --help | -h | --version\n\n",
         ""},
        {{TESSARO_PATH, "-h"}, 0, "Usage: Tessaro [--elevation]", ""},
        {{TESSARO_PATH, "--version", "more"}, 0, "Tessaro " ZEL_VERSION "\n", ""},
        {{TESSARO_PATH, "./--help"}, 1, "", "Program failed:\nFile not found\n"},
        {{PLANOR_PATH, "--help"},
         0,
         "Usage: Planor <in-file> <out-file>\n  or:  Planor --help | -h | --version\n\n",
         ""},
        {{PLANOR_PATH, "-h"},
         0,
         "Usage: Planor <in-file> <out-file>\n  or:  Planor --help | -h | --version\n\n",
         ""},
        {{PLANOR_PATH, "--version"}, 0, "Planor " ZEL_VERSION "\n", ""},
        {{PLANOR_PATH, "./--help", "out.txt"}, 1, "", "Cannot open file: ./--help\n"},
        {{TRIANGULATE_PATH, "-h"},
         0,
         "Usage: triangulate [--center | --fit] [--no-projection] [--max-edge <length>] "
         "<points-file> <triangulation-file>\n"
         "  or:  triangulate --elevation [--center | --fit] [--no-projection] "
         "[--max-edge <length>] <points-file> <terrain-file>\n"
         "  or:  triangulate --density [--bandwidth <length>] [--cells <n>] [--log] "
         "[--center | --fit] [--no-projection] <points-file> <terrain-file>\n"
         "  or:  triangulate --help | -h | --version\n",
         ""},
        {{TRIANGULATE_PATH, "--version"}, 0, "triangulate " ZEL_VERSION "\n", ""},
        {{script("scripts/bench"), "--help"}, 0, "Measures", ""},
        {{script("scripts/ensure-packages"), "-h"}, 0, "Installs", ""},
        {{script("scripts/fuzz-smoke"), "--help"}, 0, "Builds", ""},
        {{script("scripts/quiet-build"), "--help"}, 0, "Builds", ""},
        {{script("scripts/run-tests"), "--help"}, 0, "Runs", ""},
        {{script("tests/package/package_test"), "--help"}, 0, "Makes", ""},
        {{script("scripts/run-viewer"), "--help"}, 0, "Opens", ""},
        {{script("tools/make-sample"), "--help"}, 0, "Regenerates", ""},
        {{script("tools/make-icon"), "--help"}, 0, "Makes", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command[0] + " " + c.command[1]);
        const test::ProcessResult result = test::runProcess(c.command[0], c.command);
        EXPECT_EQ(result.exitCode, c.exitCode);
        EXPECT_EQ(result.out.substr(0, c.outStart.size()), c.outStart);
        EXPECT_EQ(result.err, c.err);
        if (c.command[1] != "--version" && c.exitCode == 0) {
            // Usage and a description; the scripts name their usage among their lines.
            EXPECT_NE(result.out.find("Usage: "), std::string::npos) << result.out;
            EXPECT_GT(result.out.size(), 120u) << result.out;
        }
    }
}

// A help or version text that cannot be written is a failure, said on standard error.
TEST(StandardOptions, AnswerThatCannotBeWrittenFails) {
    const std::vector<std::pair<std::string, std::string>> programs{
        {TESSARO_PATH, "Tessaro"}, {PLANOR_PATH, "Planor"}, {TRIANGULATE_PATH, "triangulate"}};
    for (const auto& [path, name] : programs) {
        for (const std::string option : {"--help", "-h", "--version"}) {
            SCOPED_TRACE(name + " " + option);
            const test::ProcessResult result = test::runProcess(
                "/bin/sh", {"sh", "-c", "exec \"$0\" \"$1\" >/dev/full", path, option});
            EXPECT_EQ(result.exitCode, 1);
            EXPECT_EQ(result.err, name + ": cannot write to standard output\n");
        }
    }
}

// Names and file content in messages cannot drive the terminal: every program shows a byte
// outside printable ASCII as \xNN.
TEST(ProgramMessages, ShowBytesOutsidePrintableAsciiEscaped) {
    test::ScratchDirectory scratch;
    const std::string dir = scratch.path().string() + "/";
    const std::string name = "in\x1B[2J\x01\xFF";
    const std::string shown = dir + "in\\x1B[2J\\x01\\xFF";
    scratch.write(name + ".tri", "2\n0 0\n");
    const std::vector<Case> cases{
        {{TESSARO_PATH, dir + name + ".tri"},
         1,
         "",
         "Program failed:\nBad triangulation file \"" + shown +
             ".tri\": the file ends before point 2 of 2 is complete\n"},
        {{PLANOR_PATH, dir + name, dir + "out.txt"}, 1, "", "Cannot open file: " + shown + "\n"},
        {{TRIANGULATE_PATH, dir + name, dir + "out.tri"},
         1,
         "",
         "triangulate: " + shown + ": cannot be opened: No such file or directory\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command[0]);
        const test::ProcessResult result =
            test::runProcess(c.command[0], c.command, test::withDisplayUnset(true));
        EXPECT_EQ(result.exitCode, c.exitCode);
        EXPECT_EQ(result.err, c.err);
    }
}

} // namespace
} // namespace zel
