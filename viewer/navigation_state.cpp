#include "viewer/navigation_state.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zel {
namespace {

constexpr double degreesPerPixel = 0.5;
constexpr double zoomStep = 0.8;
// Far enough out for any terrain that single-precision coordinates can hold.
constexpr double farthestDistance = 1e12;
// A little room around the fitted terrain, so that it does not touch the window's edges.
constexpr double fitMargin = 1.1;
// Keeps the depth range usable when the camera is close to or inside the terrain.
constexpr double nearestShareOfDistance = 1e-3;

double radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

double degrees(double radians) {
    return radians * 180.0 / std::numbers::pi;
}

struct Point3 {
    double x, y, z;
};

Point3 centreOf(const TerrainBounds& bounds) {
    return {0.5 * (static_cast<double>(bounds.min.x) + bounds.max.x),
            0.5 * (static_cast<double>(bounds.min.y) + bounds.max.y),
            0.5 * (static_cast<double>(bounds.min.z) + bounds.max.z)};
}

// Half the box's diagonal: the radius of the smallest sphere about its centre that holds it.
double radiusOf(const TerrainBounds& bounds) {
    const double dx = static_cast<double>(bounds.max.x) - bounds.min.x;
    const double dy = static_cast<double>(bounds.max.y) - bounds.min.y;
    const double dz = static_cast<double>(bounds.max.z) - bounds.min.z;
    return std::max(0.5 * std::sqrt(dx * dx + dy * dy + dz * dz), closestDistance);
}

} // namespace

OrbitView startingView(float top, double turnDegrees) {
    const double eyeHeight = static_cast<double>(top) + startingEyeAboveTop;
    OrbitView view;
    view.distance = std::hypot(eyeHeight, startingEyeDistance);
    view.pitchDegrees = degrees(std::atan2(eyeHeight, startingEyeDistance));
    view.turnDegrees = turnDegrees;
    return view;
}

OrbitView orbited(const OrbitView& view, double dx, double dy) {
    OrbitView result = view;
    result.turnDegrees += dx * degreesPerPixel;
    result.pitchDegrees = std::clamp(view.pitchDegrees + dy * degreesPerPixel, lowestPitchDegrees,
                                     highestPitchDegrees);
    return result;
}

OrbitView zoomed(const OrbitView& view, int steps) {
    OrbitView result = view;
    result.distance =
        std::clamp(view.distance * std::pow(zoomStep, steps), closestDistance, farthestDistance);
    return result;
}

OrbitView panned(const OrbitView& view, double dx, double dy, int windowHeight) {
    const double groundPerPixel = 2.0 * view.distance *
                                  std::tan(radians(viewFieldOfViewDegrees) / 2.0) /
                                  std::max(windowHeight, 1);
    const double turn = radians(view.turnDegrees);
    // The screen's right and its "into the picture" direction, laid on the ground plane.
    const double rightX = std::cos(turn);
    const double rightZ = std::sin(turn);
    const double aheadX = std::sin(turn);
    const double aheadZ = -std::cos(turn);
    // The ground follows the cursor, so the point looked at moves against the drag.
    OrbitView result = view;
    result.targetX += groundPerPixel * (-dx * rightX + dy * aheadX);
    result.targetZ += groundPerPixel * (-dx * rightZ + dy * aheadZ);
    return result;
}

double aspectRatio(int width, int height) {
    return static_cast<double>(std::max(width, 1)) / static_cast<double>(std::max(height, 1));
}

OrbitView fitted(const OrbitView& view, const TerrainBounds& bounds, int width, int height) {
    // A sphere fits in the window when it fits in the cone of the narrower field of view.
    const double halfHeightAngle = radians(viewFieldOfViewDegrees) / 2.0;
    const double halfWidthAngle = std::atan(std::tan(halfHeightAngle) * aspectRatio(width, height));
    const double halfAngle = std::min(halfHeightAngle, halfWidthAngle);

    const Point3 centre = centreOf(bounds);
    OrbitView result = view;
    result.targetX = centre.x;
    result.targetY = centre.y;
    result.targetZ = centre.z;
    result.distance = fitMargin * radiusOf(bounds) / std::sin(halfAngle);
    return result;
}

ClipPlanes clipPlanes(const OrbitView& view, const TerrainBounds& bounds) {
    const Point3 centre = centreOf(bounds);
    const double offCentre =
        std::hypot(view.targetX - centre.x, view.targetY - centre.y, view.targetZ - centre.z);
    // No part of the terrain is farther than this from the point looked at.
    const double reach = offCentre + radiusOf(bounds);
    return {std::max(view.distance - reach, view.distance * nearestShareOfDistance),
            (view.distance + reach) * 1.01};
}

ViewMatrix viewMatrix(const OrbitView& view) {
    // Translate the target to the origin, turn the terrain, tilt, then step back by the
    // distance: M = T(0, 0, -d) Rx(pitch) Ry(turn) T(-target).
    const double cosPitch = std::cos(radians(view.pitchDegrees));
    const double sinPitch = std::sin(radians(view.pitchDegrees));
    const double cosTurn = std::cos(radians(view.turnDegrees));
    const double sinTurn = std::sin(radians(view.turnDegrees));
    const double rows[3][3] = {
        {cosTurn, 0.0, sinTurn},
        {sinPitch * sinTurn, cosPitch, -sinPitch * cosTurn},
        {-cosPitch * sinTurn, sinPitch, cosPitch * cosTurn},
    };
    const double target[3] = {view.targetX, view.targetY, view.targetZ};
    ViewMatrix m{};
    for (int r = 0; r < 3; ++r) {
        double moved = 0.0;
        for (int c = 0; c < 3; ++c) {
            m[4 * c + r] = rows[r][c];
            moved -= rows[r][c] * target[c];
        }
        m[12 + r] = moved;
    }
    m[14] -= view.distance;
    m[15] = 1.0;
    return m;
}

double advanceTurning(Turning& turning, double now) {
    double angle = 0.0;
    if (turning.lastTime > 0.0 && !turning.paused) {
        angle = (now - turning.lastTime) * turnDegreesPerSecond;
    }
    turning.lastTime = now;
    return angle;
}

} // namespace zel
