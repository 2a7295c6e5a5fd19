#pragma once

#include "common/frame_transform.h"
#include "common/point2.h"
#include "triangulate/point_input.h"

#include <optional>
#include <string>
#include <vector>

namespace zel {

// The viewer's camera is fixed on the origin and shows a field of about 200 units whole.
inline constexpr double viewerFieldSize = 200.0;

enum class FramingMode { AsGiven, Centre, Fit };

struct Bounds {
    double minX;
    double minY;
    double maxX;
    double maxY;

    // Halves first, so that no sum overflows.
    double centreX() const { return minX / 2.0 + maxX / 2.0; }
    double centreY() const { return minY / 2.0 + maxY / 2.0; }
    double longerSide() const;
    // Half the longer side, finite for any finite box (the side itself may overflow).
    double halfLongerSide() const;
};

// The box around the points; none for no points.
std::optional<Bounds> boundsOf(const std::vector<PlanePoint>& points);

// Where a point goes (see FrameTransform), which the file records for the viewer.
using Framing = FrameTransform;

// AsGiven leaves the points where they are; Centre moves the box's centre to the origin;
// Fit also scales uniformly so that the box's longer side spans the viewer's field, however
// narrow the box, unless it is a single point. Under Centre and Fit, heights whose lowest is
// `lowestHeight` move down by it and scale with x and y.
Framing framingFor(const Bounds& bounds, FramingMode mode,
                   std::optional<double> lowestHeight = std::nullopt);

// The transform as a line for the user, to map positions in the viewer back, each number
// with at most 10 significant digits: "x' = (x - 512000) * 0.01, y' = (y - 4123000) * 0.01",
// then ", z' = (z - 120) * 0.01" when heights are framed (", z' = z * 0.004" by heightScale).
std::string describe(const Framing& framing);

// The box that the viewer gets of the points' box under AsGiven or Centre.
Bounds shownBounds(const Bounds& bounds, FramingMode mode);

// True when the fixed camera cannot show the points well: the box's centre lies more than
// 100 units from the origin, or its longer side is above 400 or below 2 units (but not 0:
// points all at one place are no question of framing).
bool outsideViewerField(const Bounds& bounds);

// The framed points as the viewer holds them, in single precision. Throws std::range_error
// naming the point when a framed coordinate lies beyond the range of a float.
std::vector<Point2> framedFloats(const std::vector<PlanePoint>& points, const Framing& framing);

// The framed heights in single precision, as the viewer holds them. Throws std::range_error
// naming the point when a framed height lies beyond the range of a float.
std::vector<float> framedHeights(const std::vector<double>& heights, const Framing& framing);

// The lowest of the heights; none for none.
std::optional<double> lowestHeight(const std::vector<double>& heights);

} // namespace zel
