// Reading the picture as a map: the point under a pixel, the values picked there, the
// scale bar and the north arrow, each checked against the textbook camera or worked numbers.
#include "tests/viewer/render/gl_reference.h"
#include "viewer/map_scale.h"
#include "viewer/navigation_state.h"
#include "viewer/pick_report.h"
#include "viewer/surface_pick.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <vector>

namespace zel {
namespace {

test::Matrix4 asMatrix(const ViewMatrix& m) {
    test::Matrix4 result;
    std::copy(m.begin(), m.end(), result.begin());
    return result;
}

// Where a terrain point lands in a window, in pixels from the top left, under the textbook
// perspective projection of the view.
std::array<double, 2> pixelOf(const OrbitView& view, const std::array<double, 3>& point, int width,
                              int height) {
    const test::Vector3 eye =
        test::transformPoint(asMatrix(viewMatrix(view)), {point[0], point[1], point[2]});
    const test::Vector3 clip = test::transformPoint(
        test::perspectiveMatrix(viewFieldOfViewDegrees, aspectRatio(width, height), 1.0, 1e6), eye);
    const double w = -eye.z;
    return {(clip.x / w + 1.0) / 2.0 * width, (1.0 - clip.y / w) / 2.0 * height};
}

TEST(MapReadingTest, TheSightlineThroughAPixelMeetsTheGroundThatThePixelShows) {
    // A square of ground at height 2, two triangles, 1000 units wide.
    const std::vector<Vec3> vertices = {{-500.0f, 2.0f, -500.0f},
                                        {500.0f, 2.0f, -500.0f},
                                        {500.0f, 2.0f, 500.0f},
                                        {-500.0f, 2.0f, 500.0f}};
    std::vector<Point2> points;
    for (const Vec3& v : vertices) {
        points.push_back({v.x, v.z});
    }
    const std::vector<Triangle> triangles = {Triangle(points, 0, 3, 2), Triangle(points, 0, 2, 1)};
    for (const double turn : {0.0, 33.0, -120.0}) {
        for (const double pitch : {25.0, 60.0, 89.0}) {
            OrbitView view = startingView(0.0f, turn);
            view.pitchDegrees = pitch;
            view.targetX = 5.0;
            view.targetY = 2.0;
            view.distance = 150.0;
            for (const auto& [x, y] : {std::pair{160, 120}, {100, 150}, {250, 90}}) {
                const auto hit =
                    firstSurfaceHit(vertices, triangles, sightlineThrough(view, x, y, 320, 240));
                ASSERT_TRUE(hit.has_value()) << turn << ' ' << pitch << ' ' << x << ' ' << y;
                EXPECT_NEAR((*hit)[1], 2.0, 1e-9);
                const auto shownAt = pixelOf(view, *hit, 320, 240);
                EXPECT_NEAR(shownAt[0], x + 0.5, 1e-6);
                EXPECT_NEAR(shownAt[1], y + 0.5, 1e-6);
            }
            // Above the horizon the line meets nothing.
            if (pitch < 30.0) {
                EXPECT_FALSE(
                    firstSurfaceHit(vertices, triangles, sightlineThrough(view, 160, 0, 320, 240)));
            }
        }
    }
}

TEST(MapReadingTest, APickGivesTheDataUnitsAndTheDensityItsCircumradius) {
    MapFrame identity;
    // A density height of 40 log10(5 / 5 + 1) belongs to a mean circumradius of 5; heights
    // shown twice as high are halved first.
    const double height = 40.0 * std::log10(2.0);
    const PickedValues density = pickedValues({3.0, 2.0 * height, -4.0}, 2.0, true, identity);
    EXPECT_DOUBLE_EQ(density.x, 3.0);
    EXPECT_DOUBLE_EQ(density.y, -4.0);
    EXPECT_NEAR(density.z, height, 1e-12);
    ASSERT_TRUE(density.meanCircumradius.has_value());
    EXPECT_NEAR(*density.meanCircumradius, 5.0, 1e-9);
    EXPECT_EQ(describePick(density), "x=3 y=-4 z=12.04119983 r=5");

    const PickedValues own = pickedValues({512000.25, 30.0, 4123000.5}, 3.0, false, identity);
    EXPECT_EQ(describePick(own), "x=512000.25 y=4123000.5 z=10");
}

TEST(MapReadingTest, TheScaleBarIsTheLongestRoundLengthThatFits) {
    struct Case {
        double pixelsPerUnit;
        const char* unit;
        double maxPixels;
        double pixels;
        const char* label;
    };
    for (const Case& c : std::vector<Case>{{1.0, "units", 200.0, 200.0, "200 units"},
                                           {0.37, "m", 200.0, 185.0, "500 m"},
                                           {0.037, "m", 200.0, 185.0, "5 km"},
                                           {0.09, "m", 200.0, 180.0, "2 km"},
                                           {3000.0, "units", 200.0, 150.0, "0.05 units"},
                                           {0.0, "m", 200.0, 0.0, ""}}) {
        const ScaleBar bar = scaleBar(c.pixelsPerUnit, c.unit, c.maxPixels);
        EXPECT_NEAR(bar.pixels, c.pixels, 1e-9) << c.label;
        EXPECT_EQ(bar.label, c.label);
    }
}

TEST(MapReadingTest, TheNorthArrowPointsWhereNorthIsShown) {
    for (const double turn : {0.0, 45.0, 90.0, 200.0}) {
        for (const double pitch : {20.0, 89.0}) {
            OrbitView view = startingView(0.0f, turn);
            view.pitchDegrees = pitch;
            view.distance = 300.0;
            // Where a step north of the point looked at appears, against the point itself.
            const auto from = pixelOf(view, {0.0, 0.0, 0.0}, 400, 400);
            const auto to = pixelOf(view, {0.0, 0.0, 1.0}, 400, 400);
            const double right = to[0] - from[0];
            const double up = from[1] - to[1];
            const double length = std::hypot(right, up);
            const auto north = northOnScreen(view);
            EXPECT_NEAR(north[0], right / length, 1e-3) << turn << ' ' << pitch;
            EXPECT_NEAR(north[1], up / length, 1e-3) << turn << ' ' << pitch;
        }
    }
    // Looking north at turn 0, north is straight up the screen.
    const auto ahead = northOnScreen(startingView(0.0f, 0.0));
    EXPECT_NEAR(ahead[0], 0.0, 1e-12);
    EXPECT_NEAR(ahead[1], 1.0, 1e-12);
}

} // namespace
} // namespace zel
