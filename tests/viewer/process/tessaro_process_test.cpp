#include "tests/support/child_process.h"
#include "tests/support/creation_watch.h"
#include "tests/support/png_file_reader.h"
#include "tests/support/scratch_directory.h"
#include "tests/support/terrain_generator.h"
#include "tests/support/tga_file_builder.h"
#include "tests/support/x_windows.h"
#include "tests/support/xvfb_display.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <iomanip>
#include <numbers>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace zel {
namespace {

using namespace std::chrono_literals;
using test::ChildProcess;
using test::Picture;
using test::readPng;

const std::string tessaro = TESSARO_PATH;
const std::string windowTitle = "ZEL - Delaunay triangulation";

// Start-up under the sanitizers and Mesa's software renderer can take a few seconds.
constexpr auto startTimeout = 60s;

class TessaroProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Warped, so that the heights vary.
        files.write("terrain.tri", test::triangulationText(test::gridTerrain({.columns = 6,
                                                                              .rows = 6,
                                                                              .spacing = 30.0f,
                                                                              .originX = -75.0f,
                                                                              .originY = -75.0f,
                                                                              .warp = 0.3f})));
        files.write("low.tga", test::solidTga(40, 120, 40));
        files.write("high.tga", test::solidTga(230, 230, 230));
    }

    test::ScratchDirectory files;
};

// Failures before the window: started without DISPLAY, so an attempt to open a window
// would end in a failure report about the display instead.
TEST_F(TessaroProcessTest, MissingTriangulationFileFailsBeforeAnyWindow) {
    // A directory opens like a file but cannot be read: it is as good as missing.
    for (const std::string& name : {files.file("absent.tri"), files.path().string()}) {
        ChildProcess viewer({tessaro, name, files.file("low.tga")}, true);
        EXPECT_EQ(viewer.waitForExit(startTimeout), 1);
        EXPECT_EQ(viewer.standardError(), "Program failed:\nFile not found\n");
        EXPECT_EQ(viewer.standardOutput(), "");
    }
}

TEST_F(TessaroProcessTest, NoArgumentReportsTheUsage) {
    ChildProcess viewer({tessaro}, true);
    EXPECT_EQ(viewer.waitForExit(startTimeout), 1);
    EXPECT_EQ(viewer.standardError(),
              "Program failed:\nUsage: " + tessaro + " <triangulation-file> [<image.tga> ...]\n");
    EXPECT_EQ(viewer.standardOutput(), "");
}

// Also endless input, refused after a megabyte, and a huge sparse file, whose count is not
// taken for the memory to set aside.
TEST_F(TessaroProcessTest, MalformedTriangulationFileIsRejectedBeforeAnyWindow) {
    files.write("bad.tri", "3\n0 0\n10 0\n0 10\n1\n0 1 7\n");
    for (const char* name : {"sparse.ter", "sparse.tri"}) {
        const bool terrain = std::string(name) == "sparse.ter";
        files.write(name, terrain ? "4294967295 xyz\n" : "4294967295\n");
        std::filesystem::resize_file(files.file(name), std::uintmax_t{16} << 30);
    }
    struct Case {
        std::vector<std::string> arguments;
        std::string problem;
    };
    const std::vector<Case> cases{
        {{files.file("bad.tri")},
         "triangle 1 of 1 names vertex index 7, but there are 3 points (indices 0 to 2)"},
        {{"/dev/zero"}, "the point count cannot be read"},
        {{"--elevation", "/dev/zero"}, "the point count cannot be read"},
        {{"--elevation", files.file("sparse.ter")}, "point 1 of 4294967295 cannot be read"},
        {{files.file("sparse.tri")}, "point 1 of 4294967295 cannot be read"},
    };
    for (const Case& c : cases) {
        const std::string& name = c.arguments.back();
        SCOPED_TRACE(name);
        std::vector<std::string> arguments{tessaro};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        ChildProcess viewer(arguments, true);
        EXPECT_EQ(viewer.waitForExit(startTimeout), 1);
        EXPECT_EQ(viewer.standardError(),
                  "Program failed:\nBad triangulation file \"" + name + "\": " + c.problem + "\n");
        EXPECT_EQ(viewer.standardOutput(), "");
    }
}

TEST_F(TessaroProcessTest, NoDisplayIsReportedAsAFailure) {
    ChildProcess viewer({tessaro, files.file("terrain.tri")}, true);
    EXPECT_EQ(viewer.waitForExit(startTimeout), 1);
    EXPECT_EQ(viewer.standardError(),
              "Program failed:\nCannot show the window: failed to open display ''\n");
    EXPECT_EQ(viewer.standardOutput(), "");
}

TEST_F(TessaroProcessTest, ABadExaggerationFactorIsAUsageError) {
    ChildProcess viewer({tessaro, files.file("terrain.tri"), "--exaggeration", "-1"}, true);
    EXPECT_EQ(viewer.waitForExit(startTimeout), 1);
    EXPECT_EQ(
        viewer.standardError(),
        "Program failed:\n--exaggeration needs a positive number, not \"-1\"\nUsage: " + tessaro +
            " [--elevation] [--exaggeration <factor>] [--levels <h1,h2,...> | --sea-level <h>] "
            "<triangulation-file> [<image.tga> ...]\n");
}

// The share of pixels that are not black.
double litShare(const std::vector<std::uint8_t>& rgb) {
    std::size_t lit = 0;
    for (std::size_t i = 0; i + 2 < rgb.size(); i += 3) {
        lit += (rgb[i] | rgb[i + 1] | rgb[i + 2]) != 0 ? 1 : 0;
    }
    return rgb.empty() ? 0.0 : static_cast<double>(lit) / static_cast<double>(rgb.size() / 3);
}

class TessaroWindowTest : public TessaroProcessTest {
protected:
    static void SetUpTestSuite() { test::startPrivateDisplay(); }
};

TEST_F(TessaroWindowTest, ShowsTheTerrainUntilEscapeEndsIt) {
    test::XWindows screen;
    ASSERT_TRUE(screen.connected());
    ChildProcess viewer(
        {tessaro, files.file("terrain.tri"), files.file("low.tga"), files.file("high.tga")}, false);

    ASSERT_TRUE(viewer.waitForOutputLine(startTimeout)) << viewer.standardError();
    EXPECT_TRUE(std::regex_match(viewer.standardOutput(),
                                 std::regex("Building terrain resources: [0-9.e+-]+ seconds\n")))
        << viewer.standardOutput();
    const auto window = screen.waitForWindow(windowTitle, startTimeout);
    ASSERT_TRUE(window.has_value());
    // The name that window managers and task bars know the viewer by.
    EXPECT_EQ(screen.classOf(*window), (std::pair<std::string, std::string>{"tessaro", "Tessaro"}));

    // The main loop keeps it running, drawing the terrain and turning it, until the user
    // ends it.
    const std::vector<std::uint8_t> before = screen.waitForShown(
        *window, 2, [](const auto& rgb) { return litShare(rgb) > 0.05; }, startTimeout);
    const std::vector<std::uint8_t> later = screen.waitForShown(
        *window, 2, [&before](const auto& rgb) { return rgb != before; }, startTimeout);
    EXPECT_TRUE(viewer.isRunning());
    EXPECT_GT(litShare(before), 0.05);
    EXPECT_NE(before, later);

    screen.pressEscape(*window);
    EXPECT_EQ(viewer.waitForExit(startTimeout), 0);
    EXPECT_EQ(viewer.standardError(), "");
    EXPECT_TRUE(std::regex_match(viewer.standardOutput(),
                                 std::regex("Building terrain resources: [0-9.e+-]+ seconds\n")));
    EXPECT_TRUE(screen.noWindowNamed(windowTitle));
}

TEST_F(TessaroWindowTest, WindowGeometryOptionIsNotTakenAsAnImage) {
    test::XWindows screen;
    ASSERT_TRUE(screen.connected());
    ChildProcess viewer({tessaro, files.file("terrain.tri"), "-geometry", "640x480",
                         files.file("low.tga"), files.file("high.tga")},
                        false);

    ASSERT_TRUE(viewer.waitForOutputLine(startTimeout)) << viewer.standardError();
    const auto window = screen.waitForWindow(windowTitle, startTimeout);
    ASSERT_TRUE(window.has_value());
    EXPECT_EQ(screen.sizeOf(*window), (std::pair{640, 480}));
    EXPECT_TRUE(viewer.isRunning());

    screen.pressEscape(*window);
    EXPECT_EQ(viewer.waitForExit(startTimeout), 0);
}

TEST_F(TessaroWindowTest, AWindowGeometryTheServerRefusesIsReportedAsAFailure) {
    ChildProcess viewer({tessaro, files.file("terrain.tri"), "-geometry", "0x0"}, false);
    EXPECT_EQ(viewer.waitForExit(startTimeout), 1);
    EXPECT_EQ(viewer.standardError(),
              "Program failed:\nCannot show the window: the X server refused a request "
              "(BadValue (integer parameter out of range for operation))\n");
}

// Real input through the XTEST extension. Xvfb has no window manager: the keyboard goes to
// the window under the pointer, so every test puts the pointer on the viewer first.
void sendInput(const std::vector<std::string>& actions) {
    std::vector<std::string> command{"/usr/bin/xdotool"};
    command.insert(command.end(), actions.begin(), actions.end());
    ChildProcess xdotool(command, false);
    ASSERT_EQ(xdotool.waitForExit(startTimeout), 0) << xdotool.standardError();
}

std::size_t lineCount(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

// Presses `keys` and then s, and reads the screenshot whose path the viewer prints.
Picture screenshotAfter(ChildProcess& viewer, std::vector<std::string> keys) {
    const std::size_t lines = lineCount(viewer.standardOutput());
    keys.insert(keys.begin(), "key");
    keys.push_back("s");
    sendInput(keys);
    if (!viewer.waitForOutputLines(lines + 1, startTimeout)) {
        return {};
    }
    const std::string& out = viewer.standardOutput();
    const std::size_t start = out.rfind('\n', out.size() - 2) + 1;
    const std::string line = out.substr(start, out.size() - 1 - start);
    const std::string prefix = "Screenshot saved: ";
    if (line.rfind(prefix, 0) != 0) {
        ADD_FAILURE() << "not a screenshot line: " << line;
        return {};
    }
    return readPng(line.substr(prefix.size()));
}

// Screenshots, one after another, until `span` has passed on the test's clock: the last is a
// frame drawn at least `span` after the call, however slow the machine.
Picture lastFrameAfter(ChildProcess& viewer, std::chrono::milliseconds span) {
    const auto end = std::chrono::steady_clock::now() + span;
    Picture last = screenshotAfter(viewer, {});
    while (std::chrono::steady_clock::now() < end && !last.rgb.empty()) {
        last = screenshotAfter(viewer, {});
    }
    return last;
}

// The bearing, in degrees, from the ground under one pixel left of the window's middle to the
// ground under one right of it, as the viewer's picks report them: it turns with the terrain.
double groundBearing(ChildProcess& viewer) {
    const std::size_t lines = lineCount(viewer.standardOutput());
    sendInput({"mousemove", "140", "125", "click", "1", "mousemove", "180", "125", "click", "1"});
    if (!viewer.waitForOutputLines(lines + 2, startTimeout)) {
        ADD_FAILURE() << "no picks: " << viewer.standardOutput();
        return 0.0;
    }
    std::istringstream out(viewer.standardOutput());
    std::vector<std::array<double, 2>> picks;
    for (std::string line; std::getline(out, line);) {
        double x = 0.0;
        double y = 0.0;
        if (std::sscanf(line.c_str(), "Picked x=%lf y=%lf", &x, &y) == 2) {
            picks.push_back({x, y});
        }
    }
    if (picks.size() < 2) {
        ADD_FAILURE() << "no picks: " << viewer.standardOutput();
        return 0.0;
    }
    const auto& [from, to] = std::pair{picks[picks.size() - 2], picks.back()};
    return std::atan2(to[1] - from[1], to[0] - from[0]) * 180.0 / std::numbers::pi;
}

// How far the bearing has turned, either way, from `before` to `after`.
double turnBetween(double before, double after) {
    return std::abs(std::remainder(after - before, 360.0));
}

std::size_t differingPixels(const Picture& a, const Picture& b) {
    std::size_t differing = 0;
    for (std::size_t i = 0; i + 2 < std::min(a.rgb.size(), b.rgb.size()); i += 3) {
        const bool same =
            a.rgb[i] == b.rgb[i] && a.rgb[i + 1] == b.rgb[i + 1] && a.rgb[i + 2] == b.rgb[i + 2];
        differing += same ? 0 : 1;
    }
    return differing;
}

TEST_F(TessaroWindowTest, TerrainFarFromTheOriginComesIntoViewWithF) {
    test::XWindows screen;
    ASSERT_TRUE(screen.connected());
    const test::WorkingDirectory here(files.path());
    files.write("far.tri", test::triangulationText(test::gridTerrain({.columns = 6,
                                                                      .rows = 6,
                                                                      .spacing = 30.0f,
                                                                      .originX = 925.0f,
                                                                      .originY = -75.0f,
                                                                      .warp = 0.3f})));
    ChildProcess viewer({tessaro, files.file("far.tri"), "-geometry", "320x240+0+0",
                         files.file("low.tga"), files.file("high.tga")},
                        false);
    ASSERT_TRUE(viewer.waitForOutputLine(startTimeout)) << viewer.standardError();
    const auto window = screen.waitForWindow(windowTitle, startTimeout);
    ASSERT_TRUE(window.has_value());
    // The map signs lie by the edges; the middle third shows only the terrain.
    sendInput({"mousemove", "100", "100"});
    const Picture before = screenshotAfter(viewer, {});
    std::vector<std::uint8_t> middle;
    for (int y = before.height / 3; y < before.height * 2 / 3; ++y) {
        const auto row = before.rgb.begin() + 3 * (y * before.width + before.width / 3);
        middle.insert(middle.end(), row, row + 3 * (before.width / 3));
    }
    EXPECT_EQ(litShare(middle), 0.0);

    sendInput({"key", "f"});
    const auto lit = [](const std::vector<std::uint8_t>& rgb) { return litShare(rgb) >= 0.05; };
    EXPECT_TRUE(lit(screen.waitForShown(*window, 2, lit, startTimeout)));

    sendInput({"key", "q"});
    EXPECT_EQ(viewer.waitForExit(startTimeout), 0);
}

// Whether a few pixels about the middle of what shownPixels returned are all lit.
bool middleIsLit(const std::vector<std::uint8_t>& rgb, int width, int height) {
    for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -2; dx <= 2; ++dx) {
            const auto at =
                3 * static_cast<std::size_t>((height / 2 + dy) * width + width / 2 + dx);
            if (at + 2 >= rgb.size() || (rgb[at] | rgb[at + 1] | rgb[at + 2]) == 0) {
                return false;
            }
        }
    }
    return true;
}

TEST_F(TessaroWindowTest, ZoomingInStopsBeforeTheSurface) {
    test::XWindows screen;
    ASSERT_TRUE(screen.connected());
    const test::WorkingDirectory here(files.path());
    ChildProcess viewer({tessaro, files.file("terrain.tri"), "-geometry", "320x240+0+0",
                         files.file("low.tga"), files.file("high.tga")},
                        false);
    ASSERT_TRUE(viewer.waitForOutputLine(startTimeout)) << viewer.standardError();
    const auto window = screen.waitForWindow(windowTitle, startTimeout);
    ASSERT_TRUE(window.has_value());
    // Wheel up is X button 4; ten steps, then forty more.
    sendInput({"mousemove", "160", "120", "click", "--repeat", "10", "--delay", "20", "4"});
    EXPECT_TRUE(middleIsLit(screenshotAfter(viewer, {}).rgb, 320, 240));
    sendInput({"click", "--repeat", "40", "--delay", "20", "4"});
    EXPECT_TRUE(middleIsLit(screenshotAfter(viewer, {}).rgb, 320, 240));

    sendInput({"key", "q"});
    EXPECT_EQ(viewer.waitForExit(startTimeout), 0);
    EXPECT_EQ(viewer.standardError(), "");
}

TEST_F(TessaroWindowTest, SpaceFreezesTheTurningAndSSavesTheFrameUnderANewName) {
    test::XWindows screen;
    ASSERT_TRUE(screen.connected());
    files.write("tessaro-0001.png", "taken");
    const test::WorkingDirectory here(files.path());
    ChildProcess viewer({tessaro, files.file("terrain.tri"), "-geometry", "320x240+0+0",
                         files.file("low.tga"), files.file("high.tga")},
                        false);
    ASSERT_TRUE(viewer.waitForOutputLine(startTimeout)) << viewer.standardError();
    ASSERT_TRUE(screen.waitForWindow(windowTitle, startTimeout).has_value());
    sendInput({"mousemove", "100", "100"});

    const Picture paused = screenshotAfter(viewer, {"space"});
    EXPECT_EQ(paused.width, 320);
    EXPECT_EQ(paused.height, 240);
    EXPECT_EQ(lastFrameAfter(viewer, 3s).rgb, paused.rgb);

    // Resumed, the terrain goes on from where it stopped: just after the key it has turned
    // by a frame or two at most, and a second later by about 24 degrees more. Had the three
    // seconds of pause counted, it would have jumped by 72 degrees or more at once. The turn
    // is read from the ground under two pixels, whatever the renderer's speed.
    const double pausedBearing = groundBearing(viewer);
    sendInput({"key", "space"});
    const double resumedTurn = turnBetween(pausedBearing, groundBearing(viewer));
    lastFrameAfter(viewer, 1s);
    const double laterTurn = turnBetween(pausedBearing, groundBearing(viewer));
    EXPECT_LT(resumedTurn, 36.0);
    EXPECT_GT(laterTurn, resumedTurn + 12.0);

    EXPECT_EQ(test::readFile(files.file("tessaro-0001.png")), "taken");
    EXPECT_TRUE(std::filesystem::exists(files.file("tessaro-0005.png")));
    sendInput({"key", "q"});
    EXPECT_EQ(viewer.waitForExit(startTimeout), 0);
    EXPECT_EQ(viewer.standardError(), "");
}

// `Tessaro ... | head -n 1`: the reader has gone when the screenshot line comes. The line is
// lost, the screenshot and the viewer are not. The shell exits with the viewer's status.
TEST_F(TessaroWindowTest, AScreenshotLineNobodyReadsEndsNothing) {
    test::XWindows screen;
    ASSERT_TRUE(screen.connected());
    const test::WorkingDirectory here(files.path());
    ChildProcess viewer({"/bin/bash", "-c", "\"$0\" \"$@\" | head -n 1; exit ${PIPESTATUS[0]}",
                         tessaro, files.file("terrain.tri"), "-geometry", "320x240+0+0",
                         files.file("low.tga")},
                        false);
    ASSERT_TRUE(viewer.waitForOutputLine(startTimeout)) << viewer.standardError();
    ASSERT_TRUE(screen.waitForWindow(windowTitle, startTimeout).has_value());
    // The second screenshot is taken after the first one's line met the closed pipe.
    test::CreationWatch watch(files.path().string());
    sendInput({"mousemove", "100", "100", "key", "s"});
    ASSERT_TRUE(watch.waitForEntryStartingWith("tessaro-0001.png"));
    sendInput({"key", "s"});
    ASSERT_TRUE(watch.waitForEntryStartingWith("tessaro-0002.png"));
    EXPECT_TRUE(viewer.isRunning());
    EXPECT_EQ(readPng(files.file("tessaro-0001.png")).width, 320);

    sendInput({"key", "q"});
    EXPECT_EQ(viewer.waitForExit(startTimeout), 0);
}

// A hill given by its own heights, far from the origin: the view starts fitted to it. Started
// A terrain file of a grid 4400 units wide whose heights, about 10 units apart, are
// multiplied by `heightFactor`.
std::string hillTerrainText(float heightFactor) {
    const test::GridTerrain grid = test::gridTerrain(
        {.columns = 12, .rows = 12, .spacing = 400.0f, .originX = 5e5f, .originY = 4e6f});
    std::ostringstream text;
    text << std::setprecision(9) << grid.points.size() << " xyz\n";
    for (std::size_t i = 0; i < grid.points.size(); ++i) {
        text << grid.points[i].x << ' ' << grid.points[i].y << ' ' << heightFactor * grid.heights[i]
             << '\n';
    }
    text << grid.triangles.size() << '\n';
    for (const auto& t : grid.triangles) {
        text << t[0] << ' ' << t[1] << ' ' << t[2] << '\n';
    }
    return text.str();
}

// A flat elevation terrain starts raised, and says so; a steep one, a factor given and the
// density view start as they are. The window names an elevation terrain's file.
TEST_F(TessaroWindowTest, AutomaticExaggerationOnlyWhenItShould) {
    files.write("flat.ter", hillTerrainText(1.0f));
    files.write("steep.ter", hillTerrainText(100.0f));
    struct Case {
        std::vector<std::string> options;
        std::string file;
        std::string title;
        std::string firstLine; // empty for none before the timing line
    };
    const std::vector<Case> cases{
        {{"--elevation"},
         "flat.ter",
         "Tessaro - flat.ter",
         // 5 sin(0.55) = 2.615 of 4400 units: an eighth wants 210.
         "^Exaggeration: 200 \\(true relief is 0\\.059% of the width; --exaggeration 1 "
         "shows true proportions\\)\n"},
        {{"--elevation", "--exaggeration", "1"}, "flat.ter", "Tessaro - flat.ter", ""},
        {{"--elevation"}, "steep.ter", "Tessaro - steep.ter", ""},
        {{}, "terrain.tri", windowTitle, ""},
    };
    test::XWindows screen;
    ASSERT_TRUE(screen.connected());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        std::vector<std::string> arguments{tessaro, files.file(c.file)};
        arguments.insert(arguments.end(), c.options.begin(), c.options.end());
        ChildProcess viewer(arguments, false);
        const auto window = screen.waitForWindow(c.title, startTimeout);
        ASSERT_TRUE(window.has_value()) << viewer.standardError();
        ASSERT_TRUE(viewer.waitForOutputLines(c.firstLine.empty() ? 1 : 2, startTimeout));
        screen.pressEscape(*window);
        EXPECT_EQ(viewer.waitForExit(startTimeout), 0);
        EXPECT_TRUE(std::regex_match(
            viewer.standardOutput(),
            std::regex(c.firstLine.empty() ? "^Building terrain resources: [0-9.e+-]+ seconds\n"
                                           : c.firstLine + "Building terrain resources: .*\n")))
            << viewer.standardOutput();
    }
}

// One height for each image, or a usage error before the window opens.
TEST_F(TessaroWindowTest, LevelsForOtherThanEachImageAreAUsageError) {
    ChildProcess viewer({tessaro, files.file("terrain.tri"), "--levels", "0,10,20",
                         files.file("low.tga"), files.file("high.tga")},
                        false);
    EXPECT_EQ(viewer.waitForExit(startTimeout), 1);
    EXPECT_EQ(viewer.standardError(),
              "Program failed:\n--levels gives 3 heights, one for each image, but there are 2 "
              "images\nUsage: " +
                  tessaro +
                  " [--elevation] [--exaggeration <factor>] [--levels <h1,h2,...> | --sea-level "
                  "<h>] <triangulation-file> [<image.tga> ...]\n");
    EXPECT_EQ(viewer.standardOutput(), "");
}

// with standard output closed, the viewer must not take descriptor 1 for its window
// connection: its timing line would go into the X protocol.
TEST_F(TessaroWindowTest, ElevationModeWithStandardOutputClosedShowsTheTerrainFitted) {
    test::XWindows screen;
    ASSERT_TRUE(screen.connected());
    files.write("hill.ter", hillTerrainText(100.0f));
    ChildProcess viewer("/bin/sh", {"sh", "-c", "exec \"$0\" \"$@\" >&-", tessaro, "--elevation",
                                    files.file("hill.ter"), "-geometry", "320x240+0+0",
                                    files.file("low.tga"), files.file("high.tga")});
    const auto window = screen.waitForWindow("Tessaro - hill.ter", startTimeout);
    ASSERT_TRUE(window.has_value()) << viewer.standardError();

    // The window shows before its first frame, which may be long in coming on a busy machine.
    const std::vector<std::uint8_t> shown = screen.waitForShown(
        *window, 2, [](const auto& rgb) { return litShare(rgb) > 0.05; }, startTimeout);
    EXPECT_GT(litShare(shown), 0.05);
    EXPECT_TRUE(middleIsLit(shown, 316, 236));

    screen.pressEscape(*window);
    EXPECT_EQ(viewer.waitForExit(startTimeout), 0);
    EXPECT_EQ(viewer.standardError(), "");
}

// Three flat islands of a map: A in the south-west, B east of it and C north of it, each a
// grid of its own spacing (so that the density heights differ too) and, in a terrain file,
// its own height. With images red, green and blue from the lowest ground to the highest,
// A shows red, B green and C blue in either mode.
std::string islandMap(bool withHeights) {
    struct Island {
        int points;
        float spacing, x, y, height;
    };
    const Island islands[] = {{3, 20.0f, -60.0f, -60.0f, 0.0f},
                              {9, 5.0f, 20.0f, -60.0f, 10.0f},
                              {21, 2.0f, -60.0f, 20.0f, 20.0f}};
    std::ostringstream pointText;
    std::ostringstream triangleText;
    std::size_t pointCount = 0;
    std::size_t triangleCount = 0;
    for (const Island& island : islands) {
        const test::GridTerrain grid = test::gridTerrain({.columns = island.points,
                                                          .rows = island.points,
                                                          .spacing = island.spacing,
                                                          .originX = island.x,
                                                          .originY = island.y});
        for (const Point2& p : grid.points) {
            pointText << p.x << ' ' << p.y;
            if (withHeights) {
                pointText << ' ' << island.height;
            }
            pointText << '\n';
        }
        for (const auto& t : grid.triangles) {
            triangleText << t[0] + pointCount << ' ' << t[1] + pointCount << ' '
                         << t[2] + pointCount << '\n';
        }
        pointCount += grid.points.size();
        triangleCount += grid.triangles.size();
    }
    return std::to_string(pointCount) + (withHeights ? " xyz\n" : "\n") + pointText.str() +
           std::to_string(triangleCount) + '\n' + triangleText.str();
}

struct ScreenPoint {
    double x = 0.0, y = 0.0; // pixels, y downward
};

// The middle of the pixels in which colour channel `channel` clearly dominates.
std::optional<ScreenPoint> middleOfChannel(const Picture& picture, int channel) {
    double sumX = 0.0, sumY = 0.0, count = 0.0;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const std::uint8_t* rgb =
                &picture.rgb[3 * static_cast<std::size_t>(y * picture.width + x)];
            const int own = rgb[channel];
            if (own > 30 && own > 2 * rgb[(channel + 1) % 3] && own > 2 * rgb[(channel + 2) % 3]) {
                sumX += x;
                sumY += y;
                count += 1.0;
            }
        }
    }
    if (count < 20.0) {
        return std::nullopt;
    }
    return ScreenPoint{sumX / count, sumY / count};
}

// Whether the picture shows the islands as a map drawn north up shows them: B to the right
// of A, C above it. A mirror image gives the opposite turn from A's east to its north,
// which no turn of the view undoes.
void expectNorthUp(const Picture& picture, const std::string& view) {
    SCOPED_TRACE(view);
    const auto a = middleOfChannel(picture, 0);
    const auto b = middleOfChannel(picture, 1);
    const auto c = middleOfChannel(picture, 2);
    ASSERT_TRUE(a && b && c);
    const ScreenPoint east{b->x - a->x, b->y - a->y};
    const ScreenPoint north{c->x - a->x, c->y - a->y};
    EXPECT_GT(east.x, 2.0 * std::abs(east.y));
    EXPECT_GT(-north.y, 2.0 * std::abs(north.x));
    EXPECT_LT(east.x * north.y - east.y * north.x, 0.0);
}

std::size_t litPixelsInTheTopRight(const Picture& picture) {
    std::size_t lit = 0;
    for (int y = 0; y < 70 && y < picture.height; ++y) {
        for (int x = std::max(0, picture.width - 70); x < picture.width; ++x) {
            const std::uint8_t* rgb =
                &picture.rgb[3 * static_cast<std::size_t>(y * picture.width + x)];
            lit += (rgb[0] | rgb[1] | rgb[2]) != 0 ? 1 : 0;
        }
    }
    return lit;
}

TEST_F(TessaroWindowTest, MapsAreShownNorthUpWithEastOnTheRightAndOShowsTheirSigns) {
    files.write("red.tga", test::solidTga(255, 0, 0));
    files.write("green.tga", test::solidTga(0, 255, 0));
    files.write("blue.tga", test::solidTga(0, 0, 255));
    files.write("islands.tri", islandMap(false));
    files.write("islands.ter", islandMap(true));
    const test::WorkingDirectory here(files.path());
    for (const bool elevation : {false, true}) {
        test::XWindows screen;
        ASSERT_TRUE(screen.connected());
        std::vector<std::string> command{tessaro};
        if (elevation) {
            command.push_back("--elevation");
        }
        for (const char* argument : {elevation ? "islands.ter" : "islands.tri", "-geometry",
                                     "320x240+0+0", "red.tga", "green.tga", "blue.tga"}) {
            command.push_back(argument);
        }
        ChildProcess viewer(command, false);
        ASSERT_TRUE(viewer.waitForOutputLine(startTimeout)) << viewer.standardError();
        ASSERT_TRUE(
            screen.waitForWindow(elevation ? "Tessaro - islands.ter" : windowTitle, startTimeout)
                .has_value());
        // Back to the starting view, which is paused before it has turned by more than a
        // frame's worth; o hides the north arrow, scale bar and legend, whose colours would
        // count as land.
        sendInput({"mousemove", "160", "120", "key", "--delay", "0", "r", "space", "o"});
        expectNorthUp(screenshotAfter(viewer, {}), elevation ? "elevation, start" : "start");
        // Straight down: a drag from the top of the window to near its bottom, the pointer
        // staying on the window, which takes the keys.
        sendInput({"mousemove", "160", "20", "mousedown", "1", "mousemove_relative", "--", "0",
                   "200", "mouseup", "1"});
        const Picture fromAbove = screenshotAfter(viewer, {"f"});
        expectNorthUp(fromAbove, elevation ? "elevation, from above" : "from above");
        // o again: the north arrow stands in the top right corner, where no island lies.
        const Picture withMap = screenshotAfter(viewer, {"o"});
        EXPECT_EQ(litPixelsInTheTopRight(fromAbove), 0u);
        EXPECT_GT(litPixelsInTheTopRight(withMap), 100u);
        sendInput({"key", "q"});
        EXPECT_EQ(viewer.waitForExit(startTimeout), 0);
    }
}

// The share of `plain`'s lit pixels that drawing the triangle edges changes in `withEdges`.
double shareUnderEdges(const Picture& plain, const Picture& withEdges) {
    const double lit = litShare(plain.rgb) * plain.width * plain.height;
    return lit == 0 ? 0.0 : static_cast<double>(differingPixels(plain, withEdges)) / lit;
}

// 40,000 points seen from above. The levels of detail, built while the frames go on, leave the
// triangle edges readable where the full mesh's, which l brings back, turn the terrain all
// grey; zoomed in until the terrain fills the window, neither shows the background anywhere.
TEST_F(TessaroWindowTest, LSwitchesBetweenLevelsAndTheFullMeshWithoutCracks) {
    test::XWindows screen;
    ASSERT_TRUE(screen.connected());
    files.write("dense.tri", test::triangulationText(test::gridTerrain({.columns = 200,
                                                                        .rows = 200,
                                                                        .spacing = 1.0f,
                                                                        .originX = -100.0f,
                                                                        .originY = -100.0f,
                                                                        .warp = 1.0f})));
    const test::WorkingDirectory here(files.path());
    ChildProcess viewer({tessaro, "dense.tri", "-geometry", "320x240+0+0", "low.tga", "high.tga"},
                        false);
    ASSERT_TRUE(viewer.waitForOutputLine(startTimeout)) << viewer.standardError();
    ASSERT_TRUE(screen.waitForWindow(windowTitle, startTimeout).has_value());
    sendInput({"mousemove", "160", "20", "key", "space", "o", "mousedown", "1",
               "mousemove_relative", "--", "0", "200", "mouseup", "1"});
    const Picture full = screenshotAfter(viewer, {"f", "l"});
    const Picture fullEdges = screenshotAfter(viewer, {"w"});
    Picture levels = screenshotAfter(viewer, {"w", "l"});
    Picture levelEdges = screenshotAfter(viewer, {"w"});
    // Until the levels are built, the full mesh is drawn either way.
    const auto deadline = std::chrono::steady_clock::now() + startTimeout;
    while (shareUnderEdges(levels, levelEdges) > 0.8 &&
           std::chrono::steady_clock::now() < deadline) {
        levels = screenshotAfter(viewer, {"w"});
        levelEdges = screenshotAfter(viewer, {"w"});
    }
    EXPECT_GT(litShare(full.rgb), 0.3);
    EXPECT_GT(shareUnderEdges(full, fullEdges), 0.9);
    EXPECT_LT(shareUnderEdges(levels, levelEdges), 0.8);
    EXPECT_GT(differingPixels(full, levels), 0u);

    // Six steps in: the terrain, however turned when paused, covers the window.
    const Picture nearLevels =
        screenshotAfter(viewer, {"w", "plus", "plus", "plus", "plus", "plus", "plus"});
    const Picture nearFull = screenshotAfter(viewer, {"l"});
    EXPECT_EQ(litShare(nearFull.rgb), 1.0);
    EXPECT_EQ(litShare(nearLevels.rgb), 1.0);
    EXPECT_GT(differingPixels(nearFull, nearLevels), 0u);
    sendInput({"key", "q"});
    EXPECT_EQ(viewer.waitForExit(startTimeout), 0);
    EXPECT_EQ(viewer.standardError(), "");
}

// A flat square 100 units wide a trillion units up shows as any terrain does, at start and
// after f (the graphics card's single precision cannot place it where it is).
TEST_F(TessaroWindowTest, APlateauFarUpShowsAtStartAndAfterF) {
    test::XWindows screen;
    ASSERT_TRUE(screen.connected());
    files.write("plateau.ter",
                "4 xyz\n0 0 1e12\n100 0 1e12\n100 100 1e12\n0 100 1e12\n2\n0 3 2\n0 2 1\n");
    ChildProcess viewer({tessaro, "--elevation", files.file("plateau.ter"), "-geometry",
                         "320x240+0+0", files.file("low.tga")},
                        false);
    ASSERT_TRUE(viewer.waitForOutputLine(startTimeout)) << viewer.standardError();
    const auto window = screen.waitForWindow("Tessaro - plateau.ter", startTimeout);
    ASSERT_TRUE(window.has_value());
    const auto middleLit = [](const std::vector<std::uint8_t>& rgb) {
        return middleIsLit(rgb, 316, 236);
    };
    EXPECT_TRUE(middleLit(screen.waitForShown(*window, 2, middleLit, startTimeout)));
    sendInput({"mousemove", "160", "120", "key", "f"});
    EXPECT_TRUE(middleLit(screen.waitForShown(*window, 2, middleLit, startTimeout)));

    sendInput({"key", "q"});
    EXPECT_EQ(viewer.waitForExit(startTimeout), 0);
    EXPECT_EQ(viewer.standardError(), "");
}

TEST_F(TessaroWindowTest, MissingImageIsReportedAndNothingIsPrinted) {
    const std::string absent = files.file("absent.tga");
    ChildProcess viewer({tessaro, files.file("terrain.tri"), files.file("low.tga"), absent}, false);
    EXPECT_EQ(viewer.waitForExit(startTimeout), 1);
    EXPECT_EQ(viewer.standardError(), "Program failed:\nLoading: " + absent + " - not found\n");
    EXPECT_EQ(viewer.standardOutput(), "");
}

} // namespace
} // namespace zel
