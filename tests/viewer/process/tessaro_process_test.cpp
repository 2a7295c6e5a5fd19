#include "tests/support/child_process.h"
#include "tests/support/scratch_directory.h"
#include "tests/support/terrain_generator.h"
#include "tests/support/tga_file_builder.h"
#include "tests/support/xvfb_display.h"
#include "tests/support/x_windows.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <gtest/gtest.h>
#include <regex>
#include <string>
#include <thread>
#include <vector>

namespace zel {
namespace {

using namespace std::chrono_literals;
using test::ChildProcess;

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
    ChildProcess viewer({tessaro, files.file("absent.tri"), files.file("low.tga")}, true);
    EXPECT_EQ(viewer.waitForExit(startTimeout), 1);
    EXPECT_EQ(viewer.standardError(), "Program failed:\nFile not found\n");
    EXPECT_EQ(viewer.standardOutput(), "");
}

TEST_F(TessaroProcessTest, NoArgumentReportsTheUsage) {
    ChildProcess viewer({tessaro}, true);
    EXPECT_EQ(viewer.waitForExit(startTimeout), 1);
    EXPECT_EQ(viewer.standardError(),
              "Program failed:\nUsage: " + tessaro + " <triangulation-file> [<image.tga> ...]\n");
    EXPECT_EQ(viewer.standardOutput(), "");
}

TEST_F(TessaroProcessTest, MalformedTriangulationFileIsRejectedBeforeAnyWindow) {
    files.write("bad.tri", "3\n0 0\n10 0\n0 10\n1\n0 1 7\n");
    ChildProcess viewer({tessaro, files.file("bad.tri")}, true);
    EXPECT_EQ(viewer.waitForExit(startTimeout), 1);
    EXPECT_EQ(viewer.standardError(), "Program failed:\nBad triangulation file \"" +
                                          files.file("bad.tri") +
                                          "\": triangle 1 of 1 names vertex index 7, "
                                          "but there are 3 points (indices 0 to 2)\n");
    EXPECT_EQ(viewer.standardOutput(), "");
}

TEST_F(TessaroProcessTest, NoDisplayIsReportedAsAFailure) {
    ChildProcess viewer({tessaro, files.file("terrain.tri")}, true);
    EXPECT_EQ(viewer.waitForExit(startTimeout), 1);
    EXPECT_EQ(viewer.standardError(),
              "Program failed:\nCannot show the window: failed to open display ''\n");
    EXPECT_EQ(viewer.standardOutput(), "");
}

std::vector<std::uint8_t> shownAfterAWhile(test::XWindows& screen, unsigned long window) {
    std::this_thread::sleep_for(500ms);
    return screen.shownPixels(window, 2);
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

    // The main loop keeps it running, drawing the terrain and turning it, until the user
    // ends it.
    const std::vector<std::uint8_t> before = shownAfterAWhile(screen, *window);
    const std::vector<std::uint8_t> later = shownAfterAWhile(screen, *window);
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

TEST_F(TessaroWindowTest, MissingImageIsReportedAndNothingIsPrinted) {
    const std::string absent = files.file("absent.tga");
    ChildProcess viewer({tessaro, files.file("terrain.tri"), files.file("low.tga"), absent}, false);
    EXPECT_EQ(viewer.waitForExit(startTimeout), 1);
    EXPECT_EQ(viewer.standardError(), "Program failed:\nLoading: " + absent + " - not found\n");
    EXPECT_EQ(viewer.standardOutput(), "");
}

} // namespace
} // namespace zel
