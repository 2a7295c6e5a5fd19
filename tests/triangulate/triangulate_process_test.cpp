// The triangulate program as a user runs it: the viewer's own reader takes its file with the
// same floats, and survey points in projected coordinates reach the viewer's window.
#include "tests/support/child_process.h"
#include "tests/support/scratch_directory.h"
#include "tests/support/x_windows.h"
#include "tests/support/xvfb_display.h"
#include "viewer/point_list.h"
#include "viewer/terrain_model.h"
#include "viewer/triangulation_reader.h"

#include <chrono>
#include <cmath>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace zel {
namespace {

using namespace std::chrono_literals;
using test::ChildProcess;

const std::string triangulate = TRIANGULATE_PATH;
const std::string tessaro = TESSARO_PATH;
// Start-up under the sanitizers and Mesa's software renderer can take a few seconds.
constexpr auto timeout = 60s;

TEST(TriangulateProcessTest, ViewerReaderTakesTheFileWithTheSameFloats) {
    test::ScratchDirectory scratch;
    std::mt19937 random(9);
    std::uniform_real_distribution<double> field(-100.0, 100.0);
    std::vector<double> input(2 * 2000);
    std::ostringstream text;
    text.precision(17);
    text << input.size() / 2 << "\n";
    for (std::size_t i = 0; i < input.size(); i += 2) {
        input[i] = field(random);
        input[i + 1] = field(random);
        text << input[i] << " " << input[i + 1] << " 0\n";
    }
    const std::string in = scratch.write("survey.txt", text.str());
    const std::string out = scratch.file("terrain.tri");

    ChildProcess program({triangulate, in, out}, true);
    ASSERT_EQ(program.waitForExit(timeout), 0) << program.standardError();

    std::ifstream file(out);
    ASSERT_NO_THROW(file >> terrainModel);
    ASSERT_EQ(points.size(), input.size() / 2);
    for (std::size_t i = 0; i < points.size(); ++i) {
        ASSERT_EQ(points[i].x, static_cast<float>(input[2 * i])) << "point " << i;
        ASSERT_EQ(points[i].y, static_cast<float>(input[2 * i + 1])) << "point " << i;
    }
    EXPECT_EQ(program.standardOutput(),
              "Triangulated 2000 points: " + std::to_string(terrainModel.triangles.size()) +
                  " triangles, 0 duplicate points\n");
}

// The triangulation goes through standard output itself when the output is standard output,
// and the lines about it go to standard error; a summary that cannot be written is a failure.
TEST(TriangulateProcessTest, OutputThatIsStandardOutputAndSummaryThatCannotBeWritten) {
    // Each shell line runs triangulate as $0 on the points $1 with the file $2 at hand.
    struct Case {
        std::string shellLine;
        bool fileHoldsTheTriangulation;
        std::string err;
        int exitCode;
    };
    const std::string summary = "Triangulated 3 points: 1 triangle, 0 duplicate points\n";
    const std::string unwritten = "triangulate: cannot write the summary to standard output\n";
    const std::vector<Case> cases{
        {"\"$0\" \"$1\" /dev/stdout > \"$2\"", true, summary, 0},
        {"\"$0\" \"$1\" /dev/stdout | cat > \"$2\"", true, summary, 0},
        {"\"$0\" - - < \"$1\" > \"$2\"", true, summary, 0},
        {"\"$0\" \"$1\" \"$2\" > /dev/full", true, unwritten, 1},
        {"\"$0\" \"$1\" \"$2\" >&-", true, unwritten, 1},
        {"\"$0\" \"$1\" - >&-", false, "triangulate: standard output: cannot be written\n", 1},
    };
    test::ScratchDirectory scratch;
    const std::string in = scratch.write("in.txt", "0 0\n10 0\n0 10\n");
    const std::string triangulation = "3\n0 0\n10 0\n0 10\n1\n1 0 2\n";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shellLine);
        const std::string file = scratch.write("file.tri", "");
        const test::ProcessResult result =
            test::runProcess("/bin/sh", {"sh", "-c", c.shellLine, triangulate, in, file});
        EXPECT_EQ(result.exitCode, c.exitCode);
        EXPECT_EQ(result.err, c.err);
        EXPECT_EQ(test::readFile(file), c.fileHoldsTheTriangulation ? triangulation : "");
    }
}

// A survey of a hill in projected coordinates: dense near its top, sparse at its foot.
std::string projectedSurvey() {
    std::mt19937 random(4);
    std::normal_distribution<double> hill(0.0, 150.0);
    std::uniform_real_distribution<double> plain(-600.0, 600.0);
    std::ostringstream text;
    text.precision(12);
    text << "easting,northing,height\n";
    for (int i = 0; i < 1500; ++i) {
        const bool onHill = i % 3 != 0;
        text << 512000.0 + (onHill ? hill(random) : plain(random)) << ","
             << 4123000.0 + (onHill ? hill(random) : plain(random)) << ",200\n";
    }
    return text.str();
}

// The share of pixels that are not black in the middle ninth of an RGB picture.
double litShareInTheMiddle(const std::vector<std::uint8_t>& rgb, int width, int height) {
    int lit = 0;
    int all = 0;
    for (int y = height / 3; y < 2 * height / 3; ++y) {
        for (int x = width / 3; x < 2 * width / 3; ++x) {
            const std::size_t at = 3 * (static_cast<std::size_t>(y) * width + x);
            lit += (rgb[at] | rgb[at + 1] | rgb[at + 2]) != 0 ? 1 : 0;
            ++all;
        }
    }
    return all == 0 ? 0.0 : static_cast<double>(lit) / all;
}

TEST(TriangulateProcessTest, ProjectedSurveyFittedShowsTheTerrainInTheViewer) {
    test::startPrivateDisplay();
    test::ScratchDirectory scratch;
    const std::string survey = scratch.write("survey.csv", projectedSurvey());
    const std::string terrain = scratch.file("terrain.tri");
    ChildProcess program({triangulate, "--fit", survey, terrain}, true);
    ASSERT_EQ(program.waitForExit(timeout), 0) << program.standardError();

    test::XWindows screen;
    ASSERT_TRUE(screen.connected());
    ChildProcess viewer({tessaro, terrain, "-geometry", "300x300+0+0"}, false);
    ASSERT_TRUE(viewer.waitForOutputLine(timeout)) << viewer.standardError();
    const auto window = screen.waitForWindow("ZEL - Delaunay triangulation", timeout);
    ASSERT_TRUE(window.has_value());
    std::this_thread::sleep_for(500ms);
    constexpr int inset = 2;
    const auto [width, height] = screen.sizeOf(*window);
    const std::vector<std::uint8_t> shown = screen.shownPixels(*window, inset);
    ASSERT_EQ(shown.size(), 3u * (width - 2 * inset) * (height - 2 * inset));
    EXPECT_GT(litShareInTheMiddle(shown, width - 2 * inset, height - 2 * inset), 0.5);

    screen.pressEscape(*window);
    EXPECT_EQ(viewer.waitForExit(timeout), 0);
}

} // namespace
} // namespace zel
