#include "viewer/navigation_state.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>

namespace zel {
namespace {

constexpr double degreesPerPixel = 0.5;
constexpr double zoomStep = 0.8;
// Far enough out for any terrain that single-precision coordinates can hold.
constexpr double farthestDistance = 1e12;
// The share of the window that a fitted terrain fills along the side that limits it, and
// the share below which zooming out stops.
constexpr double fitShare = 0.9;
constexpr double smallestShare = 0.1;
// How close zooming in may bring the camera to the surface, as a share of the terrain's
// largest side: room for the surface between the samples that the camera knows of.
constexpr double clearanceShare = 0.01;
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

Point3 along(const Point3& from, const Point3& direction, double t) {
    return {from.x + t * direction.x, from.y + t * direction.y, from.z + t * direction.z};
}

// What the view matrix applies after moving the target to the origin: the turn about the
// vertical, the mirror along z, then the tilt. Its rows are the screen's right, its up and
// the direction back towards the camera, in terrain coordinates. The mirror is there because
// a terrain vertex is (x, height, y): without it, y (north) would point towards the viewer
// and every map would be seen mirrored.
using Rotation = std::array<Point3, 3>;

Rotation rotationOf(const OrbitView& view) {
    const double cosPitch = std::cos(radians(view.pitchDegrees));
    const double sinPitch = std::sin(radians(view.pitchDegrees));
    const double cosTurn = std::cos(radians(view.turnDegrees));
    const double sinTurn = std::sin(radians(view.turnDegrees));
    return {{{cosTurn, 0.0, sinTurn},
             {-sinPitch * sinTurn, cosPitch, sinPitch * cosTurn},
             {cosPitch * sinTurn, sinPitch, -cosPitch * cosTurn}}};
}

double dot(const Point3& a, const Point3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

Point3 rotated(const Rotation& r, const Point3& p) {
    return {dot(r[0], p), dot(r[1], p), dot(r[2], p)};
}

Point3 rotatedBack(const Rotation& r, const Point3& p) {
    return {r[0].x * p.x + r[1].x * p.y + r[2].x * p.z, r[0].y * p.x + r[1].y * p.y + r[2].y * p.z,
            r[0].z * p.x + r[1].z * p.y + r[2].z * p.z};
}

Point3 targetOf(const OrbitView& view) {
    return {view.targetX, view.targetY, view.targetZ};
}

Point3 eyeOf(const OrbitView& view) {
    return along(targetOf(view), rotationOf(view)[2], view.distance);
}

Point3 centreOf(const Box& bounds) {
    return {0.5 * (static_cast<double>(bounds.min.x) + bounds.max.x),
            0.5 * (static_cast<double>(bounds.min.y) + bounds.max.y),
            0.5 * (static_cast<double>(bounds.min.z) + bounds.max.z)};
}

// Half the box's diagonal: the radius of the smallest sphere about its centre that holds it.
double radiusOf(const Box& bounds) {
    const double dx = static_cast<double>(bounds.max.x) - bounds.min.x;
    const double dy = static_cast<double>(bounds.max.y) - bounds.min.y;
    const double dz = static_cast<double>(bounds.max.z) - bounds.min.z;
    return std::max(0.5 * std::sqrt(dx * dx + dy * dy + dz * dz), closestDistance);
}

// The box's corners in the camera's turned frame about the box's centre: x to the screen's
// right, y up, z back towards the camera. About the centre, so that a small box far from the
// origin (a plateau a billion units up) keeps its size against its distance.
struct TurnedCorners {
    std::array<double, 8> x, y, z;
};

TurnedCorners turnedCorners(const Rotation& turn, const Box& bounds) {
    const Point3 centre = centreOf(bounds);
    TurnedCorners corners{};
    for (std::size_t k = 0; k < 8; ++k) {
        const Point3 corner{((k & 1) ? bounds.max.x : bounds.min.x) - centre.x,
                            ((k & 2) ? bounds.max.y : bounds.min.y) - centre.y,
                            ((k & 4) ? bounds.max.z : bounds.min.z) - centre.z};
        const Point3 p = rotated(turn, corner);
        corners.x[k] = p.x;
        corners.y[k] = p.y;
        corners.z[k] = p.z;
    }
    return corners;
}

// The depth at which an eye sees every corner within `slope` (the tangent of the half angle)
// of its line of sight along one screen axis (`across`), both extreme corners touching.
double depthToFit(const std::array<double, 8>& across, const std::array<double, 8>& z,
                  double slope) {
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (std::size_t k = 0; k < 8; ++k) {
        low = std::min(low, across[k] - slope * z[k]);
        high = std::max(high, across[k] + slope * z[k]);
    }
    return (high - low) / (2.0 * slope);
}

// Where along one screen axis an eye at `depth` (beyond every corner) must sit for the
// corners' projections to reach equally far either way. Their sum falls as the eye moves
// right, so halving the span of the corners finds it.
double centredOffset(const std::array<double, 8>& across, const std::array<double, 8>& z,
                     double depth) {
    double low = *std::min_element(across.begin(), across.end());
    double high = *std::max_element(across.begin(), across.end());
    for (int i = 0; i < 200; ++i) {
        const double middle = 0.5 * (low + high);
        if (middle <= low || middle >= high) {
            break;
        }
        double leftmost = std::numeric_limits<double>::infinity();
        double rightmost = -leftmost;
        for (std::size_t k = 0; k < 8; ++k) {
            const double shown = (across[k] - middle) / (depth - z[k]);
            leftmost = std::min(leftmost, shown);
            rightmost = std::max(rightmost, shown);
        }
        (leftmost + rightmost > 0.0 ? low : high) = middle;
    }
    return 0.5 * (low + high);
}

double clearanceFor(const Box& bounds) {
    const double side = std::max({static_cast<double>(bounds.max.x) - bounds.min.x,
                                  static_cast<double>(bounds.max.y) - bounds.min.y,
                                  static_cast<double>(bounds.max.z) - bounds.min.z});
    return std::max(clearanceShare * side, closestDistance);
}

// The camera keeps `clearance` from the target and from the surface below it.
bool keepsClear(const OrbitView& view, const SurfaceHeights& surface, double clearance) {
    if (view.distance < clearance) {
        return false;
    }
    const Point3 eye = eyeOf(view);
    const std::optional<double> ground = heightUnder(surface, eye.x, eye.z);
    return !ground || eye.y - *ground >= clearance;
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
    // The terrain turns clockwise seen from above as the angle grows: a drag to the right
    // turns it the other way, so that the ground under the cursor follows the drag.
    result.turnDegrees -= dx * degreesPerPixel;
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
    // The screen's right and its "into the picture" direction, laid on the ground plane.
    const Rotation rows = rotationOf(view);
    const Point3 right = rows[0];
    const double backLength = std::hypot(rows[2].x, rows[2].z);
    const Point3 ahead{-rows[2].x / backLength, 0.0, -rows[2].z / backLength};
    // The ground follows the cursor, so the point looked at moves against the drag.
    OrbitView result = view;
    result.targetX += groundPerPixel * (-dx * right.x + dy * ahead.x);
    result.targetZ += groundPerPixel * (-dx * right.z + dy * ahead.z);
    return result;
}

double aspectRatio(int width, int height) {
    return static_cast<double>(std::max(width, 1)) / static_cast<double>(std::max(height, 1));
}

OrbitView fitted(const OrbitView& view, const Box& bounds, int width, int height) {
    const Rotation turn = rotationOf(view);
    const TurnedCorners corners = turnedCorners(turn, bounds);
    const double slopeY = std::tan(radians(viewFieldOfViewDegrees) / 2.0) * fitShare;
    const double slopeX = slopeY * aspectRatio(width, height);
    // The eye stays in front of the nearest corner even for a box that is a point.
    const double nearest = *std::max_element(corners.z.begin(), corners.z.end());
    const double depth =
        std::max({depthToFit(corners.x, corners.z, slopeX),
                  depthToFit(corners.y, corners.z, slopeY), nearest + closestDistance});

    // The target lies on the line of sight, as deep as the box's centre.
    const Point3 centre = centreOf(bounds);
    const Point3 offset = rotatedBack(turn, {centredOffset(corners.x, corners.z, depth),
                                             centredOffset(corners.y, corners.z, depth), 0.0});
    OrbitView result = view;
    result.targetX = centre.x + offset.x;
    result.targetY = centre.y + offset.y;
    result.targetZ = centre.z + offset.z;
    result.distance = depth;
    return result;
}

OrbitView seatedOnSurface(const OrbitView& view, const SurfaceHeights& surface) {
    const Point3 eye = eyeOf(view);
    const Point3 back = rotationOf(view)[2];
    const Point3 ahead{-back.x, -back.y, -back.z};
    const std::optional<double> reach =
        distanceToSurface(surface, {{eye.x, eye.y, eye.z}, {ahead.x, ahead.y, ahead.z}});
    if (!reach || !(*reach > 0.0)) {
        return view;
    }
    const Point3 met = along(eye, ahead, *reach);
    OrbitView result = view;
    result.targetX = met.x;
    result.targetY = met.y;
    result.targetZ = met.z;
    result.distance = *reach;
    return result;
}

OrbitView zoomedWithin(const OrbitView& view, int steps, const ZoomRoom& room) {
    OrbitView result = seatedOnSurface(view, room.surface);
    if (steps < 0) {
        const double fitDistance = fitted(result, room.bounds, room.width, room.height).distance;
        const double farthest = fitDistance * fitShare / smallestShare;
        result.distance =
            std::max(result.distance, std::min(zoomed(result, steps).distance, farthest));
        return result;
    }
    const double clearance = clearanceFor(room.bounds);
    for (int step = 0; step < steps; ++step) {
        const OrbitView closer = zoomed(result, 1);
        if (!keepsClear(closer, room.surface, clearance)) {
            break;
        }
        result = closer;
    }
    return result;
}

OrbitView heightsScaled(const OrbitView& view, double heightRatio, const ZoomRoom& room) {
    // Enough steps out to leave any terrain's box from the closest distance.
    constexpr int mostStepsOut = 400;
    OrbitView result = view;
    result.targetY *= heightRatio;
    const double clearance = clearanceFor(room.bounds);
    for (int step = 0; step < mostStepsOut && !keepsClear(result, room.surface, clearance);
         ++step) {
        result = zoomed(result, -1);
    }
    return result;
}

ClipPlanes clipPlanes(const OrbitView& view, const Box& bounds) {
    const Point3 centre = centreOf(bounds);
    const double offCentre =
        std::hypot(view.targetX - centre.x, view.targetY - centre.y, view.targetZ - centre.z);
    // No part of the terrain is farther than this from the point looked at.
    const double reach = offCentre + radiusOf(bounds);
    return {std::max(view.distance - reach, view.distance * nearestShareOfDistance),
            (view.distance + reach) * 1.01};
}

ViewMatrix viewMatrix(const OrbitView& view) {
    // Translate the target to the origin, turn the terrain, mirror z, tilt, then step back
    // by the distance: M = T(0, 0, -d) Rx(pitch) S(1, 1, -1) Ry(turn) T(-target).
    const Rotation rows = rotationOf(view);
    const Point3 moved = rotated(rows, targetOf(view));
    ViewMatrix m{};
    for (std::size_t r = 0; r < 3; ++r) {
        m[r] = rows[r].x;
        m[4 + r] = rows[r].y;
        m[8 + r] = rows[r].z;
    }
    m[12] = -moved.x;
    m[13] = -moved.y;
    m[14] = -moved.z - view.distance;
    m[15] = 1.0;
    return m;
}

std::array<double, 2> northOnScreen(const OrbitView& view) {
    const Rotation rows = rotationOf(view);
    const double length = std::hypot(rows[0].z, rows[1].z);
    if (!(length > 1e-9)) {
        return {0.0, 1.0};
    }
    return {rows[0].z / length, rows[1].z / length};
}

double pixelsPerUnitAtTarget(const OrbitView& view, int windowHeight) {
    return std::max(windowHeight, 1) /
           (2.0 * view.distance * std::tan(radians(viewFieldOfViewDegrees) / 2.0));
}

Sightline sightlineThrough(const OrbitView& view, int x, int y, int width, int height) {
    const double slopeY = std::tan(radians(viewFieldOfViewDegrees) / 2.0);
    const double slopeX = slopeY * aspectRatio(width, height);
    const double acrossX = 2.0 * (x + 0.5) / std::max(width, 1) - 1.0;
    const double acrossY = 1.0 - 2.0 * (y + 0.5) / std::max(height, 1);
    // In the camera's frame the line runs along -z; back in terrain coordinates by the
    // rotation's transpose.
    const Point3 ahead = rotatedBack(rotationOf(view), {acrossX * slopeX, acrossY * slopeY, -1.0});
    const double length = std::sqrt(dot(ahead, ahead));
    const Point3 eye = eyeOf(view);
    return {{eye.x, eye.y, eye.z}, {ahead.x / length, ahead.y / length, ahead.z / length}};
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
