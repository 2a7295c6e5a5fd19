#include "tests/viewer/render/gl_reference.h"
#include "viewer/navigation_state.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <vector>

namespace zel {
namespace {

using test::Matrix4;
using test::Vector3;

Matrix4 asMatrix(const ViewMatrix& m) {
    Matrix4 result;
    for (std::size_t i = 0; i < 16; ++i) {
        result[i] = m[i];
    }
    return result;
}

TEST(NavigationStateTest, StartingViewIsTheDefaultCameraTurnedAboutTheOrigin) {
    for (const double turn : {0.0, 37.5, -200.0}) {
        const Matrix4 expected =
            test::multiply(test::viewerCamera(30.0), test::rotationAboutY(turn));
        EXPECT_LT(test::matrixDifference(asMatrix(viewMatrix(startingView(30.0f, turn))), expected),
                  1e-12)
            << turn;
    }
}

TEST(NavigationStateTest, OrbitTurnsAndTiltsWithinTheHorizonAndTheVertical) {
    struct Case {
        double pitch, dx, dy, expectedPitch, expectedTurn;
    };
    for (const Case& c : std::vector<Case>{{30.0, 10.0, 10.0, 35.0, 5.0},
                                           {30.0, -20.0, -10.0, 25.0, 20.0},
                                           {30.0, 0.0, 500.0, highestPitchDegrees, 10.0},
                                           {30.0, 0.0, -500.0, lowestPitchDegrees, 10.0}}) {
        OrbitView view;
        view.pitchDegrees = c.pitch;
        view.turnDegrees = 10.0;
        const OrbitView turned = orbited(view, c.dx, c.dy);
        EXPECT_DOUBLE_EQ(turned.pitchDegrees, c.expectedPitch);
        EXPECT_DOUBLE_EQ(turned.turnDegrees, c.expectedTurn);
    }
    EXPECT_GT(lowestPitchDegrees, 0.0);
    EXPECT_LT(highestPitchDegrees, 90.0);
}

TEST(NavigationStateTest, ZoomNeverReachesTheTargetAndComesBackTheWayItWent) {
    OrbitView view;
    view.distance = 300.0;
    for (int step = 0; step < 2000; ++step) {
        const OrbitView closer = zoomed(view, 1);
        ASSERT_GT(closer.distance, 0.0);
        ASSERT_LE(closer.distance, view.distance);
        view = closer;
    }
    OrbitView out;
    out.distance = 300.0;
    EXPECT_NEAR(zoomed(zoomed(out, 5), -5).distance, 300.0, 1e-9);
    EXPECT_GT(zoomed(out, -3).distance, 300.0);
}

TEST(NavigationStateTest, HorizontalPanKeepsTheGroundUnderTheCursor) {
    OrbitView view = startingView(30.0f, 70.0);
    view.targetY = 5.0;
    const int height = 600;
    const OrbitView moved = panned(view, 40.0, 0.0, height);
    EXPECT_DOUBLE_EQ(moved.targetY, view.targetY);
    // The point looked at before the pan now lies 40 pixels to the right of the centre.
    const Vector3 old = test::transformPoint(asMatrix(viewMatrix(moved)),
                                             {view.targetX, view.targetY, view.targetZ});
    const double pixelsRight =
        old.x / -old.z / std::tan(viewFieldOfViewDegrees * std::numbers::pi / 360.0) * height / 2.0;
    EXPECT_NEAR(pixelsRight, 40.0, 1e-6);
}

// Where the box's corners land in normalised device coordinates (-1 ... 1 across the window).
struct ShownExtent {
    double left = 1e300, right = -1e300, bottom = 1e300, top = -1e300;
};

// Every corner of the box in front of the camera, within the near and far planes and
// inside the window, under the textbook perspective projection; `shown` receives their extent.
void expectBoxInView(const OrbitView& view, const Box& box, int width, int height,
                     ShownExtent& shown) {
    const ClipPlanes planes = clipPlanes(view, box);
    ASSERT_GT(planes.nearPlane, 0.0);
    const Matrix4 projection =
        test::perspectiveMatrix(viewFieldOfViewDegrees, static_cast<double>(width) / height,
                                planes.nearPlane, planes.farPlane);
    for (int corner = 0; corner < 8; ++corner) {
        const Vector3 point{(corner & 1) ? box.max.x : box.min.x,
                            (corner & 2) ? box.max.y : box.min.y,
                            (corner & 4) ? box.max.z : box.min.z};
        const Vector3 eye = test::transformPoint(asMatrix(viewMatrix(view)), point);
        const Vector3 clip = test::transformPoint(projection, eye);
        const double w = -eye.z;
        ASSERT_GT(w, 0.0);
        EXPECT_LE(std::abs(clip.x / w), 1.0) << "corner " << corner;
        EXPECT_LE(std::abs(clip.y / w), 1.0) << "corner " << corner;
        EXPECT_LE(std::abs(clip.z / w), 1.0) << "corner " << corner;
        shown = {std::min(shown.left, clip.x / w), std::max(shown.right, clip.x / w),
                 std::min(shown.bottom, clip.y / w), std::max(shown.top, clip.y / w)};
    }
}

TEST(NavigationStateTest, FitShowsTheWholeBoxFromTheSameDirectionInAnyWindow) {
    const std::vector<Box> boxes = {
        {{-100.0f, 0.0f, -100.0f}, {100.0f, 40.0f, 100.0f}},
        {{900.0f, 0.0f, -90.0f}, {1080.0f, 12.0f, 90.0f}},
        {{512000.0f, 3.0f, 4123000.0f}, {512200.0f, 45.0f, 4123200.0f}},
        {{-0.002f, 0.0f, -0.001f}, {0.001f, 0.0005f, 0.003f}},
        {{-1e6f, -50.0f, -2e6f}, {3e6f, 400.0f, 1e6f}},
        {{7.0f, 7.0f, 7.0f}, {7.0f, 7.0f, 7.0f}},
        {{0.0f, 1e12f, 0.0f}, {100.0f, 1e12f, 100.0f}},
    };
    const int windows[][2] = {{600, 600}, {1600, 400}, {300, 900}};
    OrbitView from = startingView(30.0f, 123.0);
    from.pitchDegrees = 60.0;
    for (const Box& box : boxes) {
        for (const auto& window : windows) {
            SCOPED_TRACE(testing::Message() << box.min.x << " " << window[0] << "x" << window[1]);
            const OrbitView fit = fitted(from, box, window[0], window[1]);
            EXPECT_EQ(fit.pitchDegrees, from.pitchDegrees);
            EXPECT_EQ(fit.turnDegrees, from.turnDegrees);
            ShownExtent shown;
            expectBoxInView(fit, box, window[0], window[1], shown);
            // Centred, and filling most of the window along the side that limits the box
            // (a box that is a single point fills nothing).
            EXPECT_NEAR(shown.left + shown.right, 0.0, 1e-6);
            EXPECT_NEAR(shown.bottom + shown.top, 0.0, 1e-6);
            if (box.max.x > box.min.x) {
                EXPECT_NEAR(std::max(shown.right - shown.left, shown.top - shown.bottom) / 2.0, 0.9,
                            1e-6);
            }
            // The clip planes still hold the terrain when the user moves far off.
            const ClipPlanes off = clipPlanes(zoomed(panned(fit, 5000.0, 0.0, 10), -20), box);
            EXPECT_GT(off.nearPlane, 0.0);
            EXPECT_LT(off.nearPlane, off.farPlane);
        }
    }
}

// A box that is one point far from the origin (too far for a double to place a corner within
// the closest distance) still gets a camera that far from it, and a near plane before it.
TEST(NavigationStateTest, FitOfAFarPointKeepsTheClosestDistance) {
    for (const float far : {7.0f, 1e12f, 1e17f, 3e38f}) {
        SCOPED_TRACE(far);
        const Box point{{0.0f, far, 0.0f}, {0.0f, far, 0.0f}};
        const OrbitView fit = fitted(startingView(far, 30.0), point, 800, 600);
        EXPECT_GE(fit.distance, closestDistance);
        const ClipPlanes planes = clipPlanes(fit, point);
        EXPECT_GT(planes.nearPlane, 0.0);
        EXPECT_LT(planes.nearPlane, fit.distance);
        EXPECT_GT(planes.farPlane, fit.distance);
    }
}

// The camera's position and line of sight, read off its view matrix.
struct Sight {
    Vector3 eye, ahead;
};

Sight sightOf(const OrbitView& view) {
    const ViewMatrix m = viewMatrix(view);
    const auto eye = [&m](int c) {
        return -(m[4 * c] * m[12] + m[4 * c + 1] * m[13] + m[4 * c + 2] * m[14]);
    };
    return {{eye(0), eye(1), eye(2)}, {-m[2], -m[6], -m[10]}};
}

// A terrain over -100 ... 100 on both ground axes whose surface is `height` at every sample.
using HeightField = double (*)(double x, double z);
constexpr Box fieldBounds{{-100.0f, 0.0f, -100.0f}, {100.0f, 60.0f, 100.0f}};
constexpr double fieldClearance = 2.0; // a hundredth of the largest side

SurfaceHeights sampledSurface(HeightField height) {
    SurfaceHeights surface{sampleLattice(fieldBounds), {}};
    for (const float x : surface.lattice.x) {
        for (const float z : surface.lattice.z) {
            surface.heights.emplace_back(static_cast<float>(height(x, z)));
        }
    }
    return surface;
}

double distanceFromLine(const Sight& line, const Vector3& p) {
    const Vector3 d{p.x - line.eye.x, p.y - line.eye.y, p.z - line.eye.z};
    const double t = d.x * line.ahead.x + d.y * line.ahead.y + d.z * line.ahead.z;
    return std::hypot(d.x - t * line.ahead.x, d.y - t * line.ahead.y, d.z - t * line.ahead.z);
}

TEST(NavigationStateTest, ZoomingInStopsShortOfTheSurfaceAndLooksAtWhereTheSightMeetsIt) {
    struct Case {
        const char* name;
        HeightField height;
        OrbitView from;
        bool meetsSurface;
    };
    const OrbitView grazing{.targetY = 10.0, .distance = 150.0, .pitchDegrees = 2.0};
    OrbitView beyond = startingView(60.0f, 0.0);
    beyond.targetX = 300.0;
    const std::vector<Case> cases = {
        {"plateau above the ground plane", [](double, double) { return 50.0; },
         startingView(50.0f, 0.0), true},
        {"ridge before the target",
         [](double, double z) { return 60.0 * std::max(0.0, 1.0 - std::abs(z - 40.0) / 20.0); },
         startingView(60.0f, 30.0), true},
        {"flat ground seen almost edge-on", [](double, double) { return 10.0; }, grazing, true},
        {"sight beside the terrain", [](double, double) { return 60.0; }, beyond, false},
    };
    for (const Case& c : cases) {
        const SurfaceHeights surface = sampledSurface(c.height);
        const ZoomRoom room{fieldBounds, surface, 800, 600};
        const Sight before = sightOf(c.from);
        for (const int steps : {10, 50}) {
            SCOPED_TRACE(testing::Message() << c.name << ", " << steps << " steps");
            const OrbitView in = zoomedWithin(c.from, steps, room);
            const Sight after = sightOf(in);
            const Vector3 target{in.targetX, in.targetY, in.targetZ};
            // The same line of sight, with the target on the surface where it meets it.
            EXPECT_LT(distanceFromLine(before, after.eye), 1e-9);
            EXPECT_LT(distanceFromLine(before, target), 1e-9);
            if (c.meetsSurface) {
                EXPECT_NEAR(in.targetY, c.height(in.targetX, in.targetZ), 1e-6);
            } else {
                EXPECT_NEAR(in.targetX, c.from.targetX, 1e-9);
            }
            // Clear of the target and of the surface below.
            EXPECT_GE(in.distance, fieldClearance);
            if (std::abs(after.eye.x) <= 100.0 && std::abs(after.eye.z) <= 100.0) {
                EXPECT_GE(after.eye.y - c.height(after.eye.x, after.eye.z), fieldClearance - 1e-9);
            }
            if (steps == 50) {
                EXPECT_NEAR(zoomedWithin(in, 1, room).distance, in.distance, 1e-9);
            }
        }
    }
}

TEST(NavigationStateTest, ZoomingOutStopsWhereTheTerrainSpansATenthOfTheWindow) {
    const SurfaceHeights surface = sampledSurface([](double, double) { return 30.0; });
    const ZoomRoom room{fieldBounds, surface, 800, 600};
    const OrbitView out = zoomedWithin(startingView(60.0f, 20.0), -40, room);
    ShownExtent shown;
    expectBoxInView(out, fieldBounds, 800, 600, shown);
    EXPECT_NEAR(std::max(shown.right - shown.left, shown.top - shown.bottom) / 2.0, 0.1, 0.02);
    EXPECT_EQ(zoomedWithin(out, -1, room).distance, out.distance);
    EXPECT_LT(zoomedWithin(out, 1, room).distance, out.distance);
}

// Zoomed in as far as it goes at the lowest tilt, then every height times 1.5 (or divided by
// it): the point looked at stays on the surface, the camera above it and the line of sight
// keeps its direction.
TEST(NavigationStateTest, AHeightKeyKeepsTheCameraAboveTheSurfaceAndTheTargetOnIt) {
    struct Case {
        const char* name;
        HeightField height;
    };
    const std::vector<Case> cases = {
        {"plateau", [](double, double) { return 30.0; }},
        {"slope rising away (north)", [](double, double z) { return 30.0 + 0.2 * z; }},
        {"hill", [](double x, double z) { return 50.0 * std::exp(-(x * x + z * z) / 3000.0); }},
    };
    for (const Case& c : cases) {
        for (const double ratio : {1.5, 1.5 * 1.5 * 1.5, 1.0 / 1.5}) {
            SCOPED_TRACE(testing::Message() << c.name << " times " << ratio);
            const SurfaceHeights surface = sampledSurface(c.height);
            OrbitView low = startingView(60.0f, 20.0);
            low.targetY = c.height(0.0, 0.0);
            low.pitchDegrees = lowestPitchDegrees;
            const OrbitView close = zoomedWithin(low, 200, {fieldBounds, surface, 800, 600});

            static double scale = 1.0;
            static HeightField base = nullptr;
            scale = ratio;
            base = c.height;
            const SurfaceHeights scaledSurface =
                sampledSurface([](double x, double z) { return scale * base(x, z); });
            Box scaledBounds = fieldBounds;
            scaledBounds.max.y = static_cast<float>(scaledBounds.max.y * ratio);
            const OrbitView after =
                heightsScaled(close, ratio, {scaledBounds, scaledSurface, 800, 600});

            EXPECT_NEAR(after.targetY, ratio * c.height(after.targetX, after.targetZ), 0.1);
            EXPECT_EQ(after.pitchDegrees, close.pitchDegrees);
            EXPECT_EQ(after.turnDegrees, close.turnDegrees);
            const Sight sight = sightOf(after);
            if (std::abs(sight.eye.x) <= 100.0 && std::abs(sight.eye.z) <= 100.0) {
                // Less what the samples' straight lines miss of the hill's curve.
                EXPECT_GE(sight.eye.y - ratio * c.height(sight.eye.x, sight.eye.z),
                          fieldClearance - 0.1);
            }
        }
    }
}

TEST(NavigationStateTest, TurningSkipsTheFirstFrameAndTheTimeSpentPaused) {
    Turning turning;
    struct Frame {
        double now;
        bool paused;
        double expectedDegrees;
    };
    for (const Frame& frame : std::vector<Frame>{{10.0, false, 0.0},
                                                 {10.5, false, 12.0},
                                                 {11.0, true, 0.0},
                                                 {15.0, true, 0.0},
                                                 {15.25, false, 6.0}}) {
        turning.paused = frame.paused;
        EXPECT_DOUBLE_EQ(advanceTurning(turning, frame.now), frame.expectedDegrees) << frame.now;
    }
}

} // namespace
} // namespace zel
