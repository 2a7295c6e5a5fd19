// The triangulate program as a user runs it: the viewer's own reader takes its file with the
// same floats, and survey points in projected coordinates reach the viewer's window.
#include "tests/support/child_process.h"
#include "tests/support/scratch_directory.h"
#include "tests/support/x_windows.h"
#include "tests/support/xvfb_display.h"
#include "viewer/map_frame.h"
#include "viewer/terrain_model.h"
#include "viewer/triangulation_reader.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
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
const std::string samples = SAMPLES_DIR;
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
    TerrainModel model;
    ASSERT_NO_THROW(model = readTriangulation(file));
    const std::vector<Point2>& points = model.points;
    ASSERT_EQ(points.size(), input.size() / 2);
    for (std::size_t i = 0; i < points.size(); ++i) {
        ASSERT_EQ(points[i].x, static_cast<float>(input[2 * i])) << "point " << i;
        ASSERT_EQ(points[i].y, static_cast<float>(input[2 * i + 1])) << "point " << i;
    }
    EXPECT_EQ(program.standardOutput(),
              "Triangulated 2000 points: " + std::to_string(model.triangles.size()) +
                  " triangles, 0 duplicate points\n");
}

// The transform travels with the file: the viewer's frame maps every framed point back to
// the input's own coordinates (degrees where they were degrees) and heights, within what the
// file's floats hold, and knows how long a file unit is on the ground.
TEST(TriangulateProcessTest, TheFrameRecordLeadsEveryPointBackToTheInput) {
    struct Case {
        const char* name;
        std::vector<std::string> options;
        const char* header;
        double x0, y0, step; // a 21 x 21 grid from (x0, y0)
        bool known;
        const char* unit;
        double perUnit; // ground units per file unit, from the box: its longer side / 200
    };
    const double metresPerDegree = 6371008.8 * M_PI / 180.0;
    const std::vector<Case> cases{
        {"HillInMetresFitted",
         {"--elevation", "--fit"},
         "easting,northing,elevation",
         512000.0,
         4100000.0,
         50.0,
         true,
         "units",
         1000.0 / 200.0},
        {"HillInDegreesFitted",
         {"--elevation", "--fit"},
         "lon,lat,elevation",
         7.5,
         46.0,
         0.001,
         true,
         "m",
         0.02 * metresPerDegree / 200.0},
        {"DegreesCentred", {"--center"}, "lon,lat,elevation", -120.0, -33.0, 0.01, true, "m", 1.0},
        {"DegreesAsProjected", {}, "lon,lat,elevation", 170.0, 60.0, 0.01, true, "m", 1.0},
        {"MetresCentred", {"--center"}, "x,y,z", 512000.0, 4100000.0, 50.0, true, "units", 1.0},
        {"NarrowerThanAnyDoubleScale",
         {"--fit"},
         "x,y,z",
         1e-300,
         2e-300,
         1e-308,
         true,
         "units",
         20.0 * 1e-308 / 200.0},
        {"AsGivenHasNoRecord", {}, "x,y,z", -50.0, 20.0, 5.0, false, "units", 1.0},
    };
    test::ScratchDirectory scratch;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const bool elevation = c.options.size() > 0 && c.options[0] == "--elevation";
        // A hill 150 m high, so that heights are framed too.
        const auto heightAt = [](int i, int j) {
            return 300.0 + 150.0 * std::exp(-((i - 10) * (i - 10) + (j - 7) * (j - 7)) / 30.0);
        };
        std::ostringstream text;
        text.precision(17);
        text << c.header << '\n';
        for (int j = 0; j <= 20; ++j) {
            for (int i = 0; i <= 20; ++i) {
                text << c.x0 + c.step * i << ',' << c.y0 + c.step * j << ',' << heightAt(i, j)
                     << '\n';
            }
        }
        const std::string in = scratch.write("points.csv", text.str());
        const std::string out = scratch.file("framed");
        std::vector<std::string> arguments{triangulate};
        arguments.insert(arguments.end(), c.options.begin(), c.options.end());
        arguments.push_back(in);
        arguments.push_back(out);
        ChildProcess program(arguments, true);
        ASSERT_EQ(program.waitForExit(timeout), 0) << program.standardError();

        TerrainModel model;
        std::ifstream file(out);
        ASSERT_NO_THROW(model = elevation ? readTerrain(file) : readTriangulation(file));
        const std::vector<Point2>& points = model.points;
        const MapFrame& frame = model.frame;
        EXPECT_EQ(frame.known, c.known);
        EXPECT_EQ(frame.unitName(), c.unit);
        EXPECT_NEAR(frame.dataUnitsPerFileUnit() / c.perUnit, 1.0, 1e-8);
        // A float holds a framed coordinate (at most 100 units in a fitted file, or the
        // metres themselves otherwise) to 2^-24 of it.
        const double fileReach = c.options.empty() || c.options[0] == "--center"
                                     ? std::fabs(std::string(c.header) == "x,y,z"
                                                     ? c.x0 + 20 * c.step
                                                     : (c.x0 + 20 * c.step) * metresPerDegree)
                                     : 100.0;
        const double groundTolerance = fileReach * 0x1p-23 * frame.dataUnitsPerFileUnit();
        const double degreesX = std::string(c.unit) == "m" ? 1.0 / (metresPerDegree * 0.3) : 1.0;
        const double degreesY = std::string(c.unit) == "m" ? 1.0 / metresPerDegree : 1.0;
        ASSERT_EQ(points.size(), 21u * 21u);
        for (int k = 0; k < 21 * 21; ++k) {
            const int i = k % 21;
            const int j = k / 21;
            const DataPosition data = frame.toData(points[k].x, points[k].y);
            ASSERT_NEAR(data.x, c.x0 + c.step * i, groundTolerance * degreesX) << "point " << k;
            ASSERT_NEAR(data.y, c.y0 + c.step * j, groundTolerance * degreesY) << "point " << k;
            if (elevation) {
                // Framed heights lie within 0 ... 150 m in file units.
                const double heightTolerance = 150.0 * 0x1p-23;
                ASSERT_NEAR(frame.heightToData(model.elevations[k]), heightAt(i, j),
                            heightTolerance)
                    << "point " << k;
                EXPECT_NEAR(frame.heightToFile(heightAt(i, j)), model.elevations[k],
                            heightTolerance / frame.dataUnitsPerFileUnit());
            }
        }
    }
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

// Runs that must refuse, each before it writes anything: an output that is the points file
// itself (by its name, through a link, as standard input or standard output), a device of
// endless garbage (refused at its first lines, not read into memory first), and a standard
// output that cannot take the file (with the system's reason).
TEST(TriangulateProcessTest, RefusedRunsSayWhyAndLeaveThePointsAsTheyWere) {
    struct Case {
        std::string shellLine; // triangulate as $0 on the points file $1
        std::string errStart;
    };
    const std::string itself = ": cannot be created: it is the points file\n";
    const std::vector<Case> cases{
        {"\"$0\" \"$1\" \"$1\"", "triangulate: $1" + itself},
        {"ln -s \"$1\" \"$1.link\" && \"$0\" \"$1\" \"$1.link\"", "triangulate: $1.link" + itself},
        {"\"$0\" - \"$1\" < \"$1\"", "triangulate: $1" + itself},
        {"\"$0\" \"$1\" - >> \"$1\"", "triangulate: standard output" + itself},
        {"\"$0\" /dev/urandom \"$1.tri\"", "triangulate: /dev/urandom:"},
        {"\"$0\" \"$1\" - > /dev/full",
         "triangulate: standard output: cannot be written: No space left on device\n"},
    };
    const std::string points = "0 0 5\n10 0 6\n0 10 7\n";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shellLine);
        test::ScratchDirectory scratch;
        const std::string in = scratch.write("in.txt", points);
        ChildProcess program({"/bin/sh", "-c", c.shellLine, triangulate, in}, true);
        EXPECT_EQ(program.waitForExit(timeout), 1);
        std::string errStart = c.errStart;
        if (const auto at = errStart.find("$1"); at != std::string::npos) {
            errStart.replace(at, 2, in);
        }
        EXPECT_EQ(program.standardError().substr(0, errStart.size()), errStart);
        EXPECT_EQ(test::readFile(in), points);
        EXPECT_FALSE(std::filesystem::exists(in + ".tri"));
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
    constexpr int inset = 2;
    const auto [width, height] = screen.sizeOf(*window);
    const auto lit = [&](const std::vector<std::uint8_t>& shown) {
        return shown.size() == 3u * (width - 2 * inset) * (height - 2 * inset) &&
               litShareInTheMiddle(shown, width - 2 * inset, height - 2 * inset) > 0.5;
    };
    EXPECT_TRUE(lit(screen.waitForShown(*window, inset, lit, timeout)));

    screen.pressEscape(*window);
    EXPECT_EQ(viewer.waitForExit(timeout), 0);
}

// The density landscape of the same survey is a terrain file that the viewer's own reader
// takes: a grid of two triangles per cell, its highest ground (40 units under --fit) on the
// hill, which stands in the middle of the points' box.
TEST(TriangulateProcessTest, DensityTerrainIsReadByTheViewerWithItsPeakOnTheHill) {
    test::ScratchDirectory scratch;
    const std::string survey = scratch.write("survey.csv", projectedSurvey());
    const std::string terrain = scratch.file("density.ter");
    ChildProcess program({triangulate, "--density", "--fit", "--cells", "100", survey, terrain},
                         true);
    ASSERT_EQ(program.waitForExit(timeout), 0) << program.standardError();
    const std::string said = program.standardOutput();
    const std::size_t at = said.find("Density of 1500 points on 100 x ");
    ASSERT_NE(at, std::string::npos) << said;
    unsigned rows = 0;
    ASSERT_EQ(std::sscanf(said.c_str() + at, "Density of 1500 points on 100 x %u cells", &rows), 1);

    std::ifstream file(terrain);
    TerrainModel model;
    ASSERT_NO_THROW(model = readTerrain(file));
    const std::vector<Point2>& points = model.points;
    ASSERT_EQ(points.size(), 101u * (rows + 1));
    ASSERT_EQ(model.elevations.size(), points.size());
    EXPECT_EQ(model.triangles.size(), 2u * 100 * rows);
    const auto top = std::max_element(model.elevations.begin(), model.elevations.end());
    const Point2& peak = points[static_cast<std::size_t>(top - model.elevations.begin())];
    EXPECT_NEAR(*top, 40.0f, 1e-4f);
    EXPECT_LT(std::hypot(peak.x, peak.y), 10.0f);
    EXPECT_GE(*std::min_element(model.elevations.begin(), model.elevations.end()), 0.0f);
}

// A Gaussian hill 150 m high on a 1 km grid in projected metres; its corners lie below 0.1 m.
std::string hillSurvey() {
    std::ostringstream text;
    text.precision(12);
    text << "easting,northing,elevation\n";
    for (int i = 0; i < 41 * 41; ++i) {
        const double x = 25.0 * (i % 41) - 500.0;
        const double y = 25.0 * (i / 41) - 500.0;
        text << 512500.0 + x << ',' << 4100500.0 + y << ','
             << 150.0 * std::exp(-(x * x + y * y) / (2.0 * 180.0 * 180.0)) << '\n';
    }
    return text.str();
}

// The share of the lit pixels from `inner` to `outer` half widths off the picture's middle
// whose colour is that of the lowest sample image (blue: water) or the highest (snow: a light
// grey, as the light falls on flat ground).
double shareOf(bool snow, const std::vector<std::uint8_t>& rgb, int side, double inner,
               double outer) {
    int hits = 0;
    int lit = 0;
    for (int i = 0; i < side * side; ++i) {
        const int r = rgb[3 * i];
        const int g = rgb[3 * i + 1];
        const int b = rgb[3 * i + 2];
        const double off = std::hypot(i % side - side / 2.0, i / side - side / 2.0) / (side / 2.0);
        if (off >= inner && off < outer && (r | g | b) != 0) {
            ++lit;
            const bool grey =
                std::min({r, g, b}) > 110 && std::max({r, g, b}) - std::min({r, g, b}) < 25;
            hits += (snow ? grey : b > r + 50 && b > g + 20) ? 1 : 0;
        }
    }
    return lit == 0 ? 0.0 : static_cast<double>(hits) / lit;
}

// How far off the picture's middle, in half widths, the farthest lit pixel lies.
double farthestLit(const std::vector<std::uint8_t>& rgb, int side) {
    double farthest = 0.0;
    for (int i = 0; i < side * side; ++i) {
        if ((rgb[3 * i] | rgb[3 * i + 1] | rgb[3 * i + 2]) != 0) {
            farthest = std::max(farthest, std::hypot(i % side - side / 2.0, i / side - side / 2.0));
        }
    }
    return farthest / (side / 2.0);
}

// Seen straight down, the hill by its own heights shows the highest image on top and the
// lowest at its foot. The same points by density lie flat (a grid is evenly dense).
TEST(TriangulateProcessTest, HillWithItsOwnHeightsShowsSnowOnTopAndWaterAtItsFoot) {
    test::startPrivateDisplay();
    test::ScratchDirectory scratch;
    const std::string survey = scratch.write("hill.csv", hillSurvey());
    for (const bool elevation : {true, false}) {
        SCOPED_TRACE(elevation ? "elevation" : "density");
        const std::string terrain = scratch.file("hill");
        std::vector<std::string> triangulating{triangulate, "--fit", survey, terrain};
        std::vector<std::string> viewing{tessaro, terrain, "-geometry", "300x300+0+0"};
        for (const char* image : {"water", "grass", "rock", "snow"}) {
            viewing.push_back(samples + "/" + image + ".tga");
        }
        if (elevation) {
            triangulating.insert(triangulating.begin() + 1, "--elevation");
            viewing.insert(viewing.begin() + 1, "--elevation");
        }
        ChildProcess program(triangulating, true);
        ASSERT_EQ(program.waitForExit(timeout), 0) << program.standardError();

        test::XWindows screen;
        ASSERT_TRUE(screen.connected());
        ChildProcess viewer(viewing, false);
        ASSERT_TRUE(viewer.waitForOutputLine(timeout)) << viewer.standardError();
        const auto window = screen.waitForWindow(
            elevation ? "Tessaro - hill" : "ZEL - Delaunay triangulation", timeout);
        ASSERT_TRUE(window.has_value());
        // Dragged down, the view tilts to straight down; f frames the terrain again, o hides
        // the map signs, which would count as ground.
        ChildProcess input({"/usr/bin/xdotool", "mousemove", "150", "10", "mousedown", "1",
                            "mousemove", "150", "290", "mouseup", "1", "key", "f", "o"},
                           false);
        ASSERT_EQ(input.waitForExit(timeout), 0) << input.standardError();
        // The frame after the drag and `f` may be long in coming on a busy machine. The foot
        // is the ground farther out than 0.85 of the farthest lit pixel, whatever the angle at
        // which the turning stopped: 600 m and more from the top, under 0.6 m high.
        const auto foot = [](const std::vector<std::uint8_t>& rgb) {
            return shareOf(false, rgb, 296, 0.85 * farthestLit(rgb, 296), 1.5);
        };
        const auto seenFromAbove = [&](const std::vector<std::uint8_t>& rgb) {
            if (rgb.size() != 3u * 296 * 296) {
                return false;
            }
            return elevation ? shareOf(true, rgb, 296, 0.0, 0.1) > 0.9 && foot(rgb) > 0.9
                             : shareOf(true, rgb, 296, 0.0, 0.1) < 0.1;
        };
        const std::vector<std::uint8_t> shown =
            screen.waitForShown(*window, 2, seenFromAbove, timeout);
        ASSERT_EQ(shown.size(), 3u * 296 * 296);
        if (elevation) {
            EXPECT_GT(shareOf(true, shown, 296, 0.0, 0.1), 0.9);
            EXPECT_GT(foot(shown), 0.9);
        } else {
            EXPECT_LT(shareOf(true, shown, 296, 0.0, 0.1), 0.1);
        }
        screen.pressEscape(*window);
        EXPECT_EQ(viewer.waitForExit(timeout), 0);
    }
}

// The values under the cursor: a click on the hill, seen straight down and north up, gives
// the easting, northing and height of the survey itself, on the hill's own formula.
TEST(TriangulateProcessTest, AClickGivesThePointUnderTheCursorInTheSurveysOwnUnits) {
    test::startPrivateDisplay();
    test::ScratchDirectory scratch;
    const std::string survey = scratch.write("hill.csv", hillSurvey());
    const std::string terrain = scratch.file("hill.ter");
    ChildProcess program({triangulate, "--elevation", "--fit", survey, terrain}, true);
    ASSERT_EQ(program.waitForExit(timeout), 0) << program.standardError();

    test::XWindows screen;
    ASSERT_TRUE(screen.connected());
    ChildProcess viewer({tessaro, "--elevation", terrain, "-geometry", "300x300+0+0"}, false);
    ASSERT_TRUE(viewer.waitForOutputLine(timeout)) << viewer.standardError();
    ASSERT_TRUE(screen.waitForWindow("Tessaro - hill.ter", timeout).has_value());
    ChildProcess input({"/usr/bin/xdotool", "mousemove", "150", "10", "key", "--delay", "0", "r",
                        "space", "mousedown", "1", "mousemove", "150", "290", "mouseup", "1", "key",
                        "f"},
                       false);
    ASSERT_EQ(input.waitForExit(timeout), 0) << input.standardError();

    struct Click {
        int x, y;
        bool north; // above the middle of the window
    };
    std::size_t lines = 1;
    std::vector<double> northings;
    for (const Click click : {Click{150, 150, false}, Click{150, 80, true}}) {
        ChildProcess clicking({"/usr/bin/xdotool", "mousemove", std::to_string(click.x),
                               std::to_string(click.y), "click", "1"},
                              false);
        ASSERT_EQ(clicking.waitForExit(timeout), 0);
        ASSERT_TRUE(viewer.waitForOutputLines(++lines, timeout)) << viewer.standardOutput();
        const std::string out = viewer.standardOutput();
        const std::string line = out.substr(out.rfind("Picked "));
        double x = 0.0, y = 0.0, z = 0.0;
        ASSERT_EQ(std::sscanf(line.c_str(), "Picked x=%lf y=%lf z=%lf\n", &x, &y, &z), 3) << line;
        const double dx = x - 512500.0;
        const double dy = y - 4100500.0;
        // Between the survey's points the surface is flat: within half a metre of the hill.
        EXPECT_NEAR(z, 150.0 * std::exp(-(dx * dx + dy * dy) / (2.0 * 180.0 * 180.0)), 0.5) << line;
        EXPECT_LT(std::abs(dx), click.north ? 100.0 : 60.0) << line;
        northings.push_back(dy);
    }
    EXPECT_LT(std::abs(northings[0]), 60.0);
    EXPECT_GT(northings[1], northings[0] + 100.0);

    screen.pressEscape(*screen.waitForWindow("Tessaro - hill.ter", timeout));
    EXPECT_EQ(viewer.waitForExit(timeout), 0);
}

} // namespace
} // namespace zel
