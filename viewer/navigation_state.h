#pragma once

#include "viewer/geometry.h"
#include "viewer/surface_heights.h"

#include <array>

namespace zel {

// The user's camera. It looks at `target` from `distance` away, raised `pitchDegrees` above
// the ground plane, and the terrain is turned by `turnDegrees` (clockwise seen from above)
// about the vertical line through the target. At a turn of 0 the camera looks north (along
// the file's +y, which is the terrain's +z), with east (+x) on the right.
struct OrbitView {
    double targetX = 0.0;
    double targetY = 0.0;
    double targetZ = 0.0;
    double distance = 1.0;
    double pitchDegrees = 0.0;
    double turnDegrees = 0.0;
};

struct ClipPlanes {
    double nearPlane;
    double farPlane;
};

// The turning of the terrain by the clock while the user looks around.
struct Turning {
    bool paused = false;
    double lastTime = -1.0; // no frame yet
};

// What bounds the zoom: the terrain, its surface and the window it is shown in.
struct ZoomRoom {
    const Box& bounds;
    const SurfaceHeights& surface;
    int width;
    int height;
};

// Column-major, as glLoadMatrixd takes it.
using ViewMatrix = std::array<double, 16>;

// The camera at start-up: the vertical field of view, and the eye 100 units above the
// highest vertex and 250 units south of the origin (along -z, the file's -y), which it
// looks at.
inline constexpr double viewFieldOfViewDegrees = 45.0;
inline constexpr double startingEyeAboveTop = 100.0;
inline constexpr double startingEyeDistance = 250.0;
inline constexpr double turnDegreesPerSecond = 24.0;
// The tilt stays strictly between the ground plane and the vertical.
inline constexpr double lowestPitchDegrees = 1.0;
inline constexpr double highestPitchDegrees = 89.0;
// Keeps the distance positive however often the user zooms in.
inline constexpr double closestDistance = 1e-6;

// The view that start-up shows, turned by `turnDegrees`: the origin seen from 250 units
// south and 100 units above the highest vertex (`top`).
OrbitView startingView(float top, double turnDegrees);

// A drag of (dx, dy) pixels: horizontal motion turns the terrain the way the cursor moves,
// vertical motion tilts (down tilts the view towards the vertical), within the pitch limits.
OrbitView orbited(const OrbitView& view, double dx, double dy);

// Positive steps move towards the target, negative ones away, each by a fixed share of
// the distance, so the camera never reaches or passes the target.
OrbitView zoomed(const OrbitView& view, int steps);

// The same picture with the target moved along the line of sight to where it first meets
// the surface; unchanged when it meets none or the camera is inside the terrain.
OrbitView seatedOnSurface(const OrbitView& view, const SurfaceHeights& surface);

// `zoomed` from the seated target, within limits: a step in is taken only while the camera
// stays a clearance (a hundredth of the terrain's largest side) away from the target and
// above the surface under it; zooming out stops where the whole terrain spans about a
// tenth of the window.
OrbitView zoomedWithin(const OrbitView& view, int steps, const ZoomRoom& room);

// The view after every height was multiplied by `heightRatio` (a press of ] or [): the target
// rises or falls with the surface, and the camera then backs away along its line of sight until
// it keeps zoomedWithin's clearance from the surface below it, so that no height key puts it
// under the ground.
OrbitView heightsScaled(const OrbitView& view, double heightRatio, const ZoomRoom& room);

// A drag of (dx, dy) pixels in a window `windowHeight` pixels tall moves the target across
// the ground plane by about the ground distance those pixels cover at the target.
OrbitView panned(const OrbitView& view, double dx, double dy, int windowHeight);

// Looks from the same direction at the box from where its projected corners fill nine
// tenths of a window of width x height pixels along the side that limits them, centred.
OrbitView fitted(const OrbitView& view, const Box& bounds, int width, int height);

// Near and far planes that hold the whole terrain, however far away or large it is.
ClipPlanes clipPlanes(const OrbitView& view, const Box& bounds);

// Width over height, with empty sides counted as one pixel.
double aspectRatio(int width, int height);

ViewMatrix viewMatrix(const OrbitView& view);

// Which way north (the file's +y) points on the screen: the unit (right, up) direction, or
// straight up where north points along the line of sight.
std::array<double, 2> northOnScreen(const OrbitView& view);

// How many pixels one unit across the ground spans at the point looked at, in a window
// `windowHeight` pixels tall.
double pixelsPerUnitAtTarget(const OrbitView& view, int windowHeight);

// The half-line from the camera through the middle of pixel (x, y), counted from the top
// left of a window of width x height pixels, in terrain coordinates.
Sightline sightlineThrough(const OrbitView& view, int x, int y, int width, int height);

// Degrees to turn the terrain at a frame drawn at `now` (seconds): none on the first frame
// and none while paused, so the time spent paused is never made up for.
double advanceTurning(Turning& turning, double now);

} // namespace zel
