#include "viewer/texture/sample_holder_index.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <limits>

namespace zel {
namespace {

struct IndexRange {
    int begin;
    int end;
};

constexpr IndexRange everySample{0, textureSize};

IndexRange widened(const IndexRange& range) {
    return IndexRange{std::max(range.begin - 1, 0), std::min(range.end + 1, textureSize)};
}

// Finds which sample positions along one axis fall within an interval. The positions are
// non-decreasing; they need not be evenly spaced once rounded (far from the origin several
// samples may share one float), so an evenly spaced guess is corrected by walking.
class AxisSamples {
public:
    explicit AxisSamples(const std::array<float, textureSize>& positions) : positions_(positions) {
        const float first = positions.front();
        const float last = positions.back();
        usable_ = std::all_of(positions.begin(), positions.end(),
                              [](float p) { return std::isfinite(p); }) &&
                  std::is_sorted(positions.begin(), positions.end());
        if (usable_ && last > first) {
            perUnit_ = (textureSize - 1) / (static_cast<double>(last) - first);
        }
    }

    bool usable() const { return usable_; }

    // The samples within [low, high].
    IndexRange within(float low, float high) const {
        return IndexRange{firstNotBelow(low), firstAbove(high)};
    }

private:
    int guess(float value) const {
        const double estimate = (static_cast<double>(value) - positions_.front()) * perUnit_;
        if (!(estimate > 0.0)) {
            return 0;
        }
        return estimate >= textureSize ? textureSize : static_cast<int>(estimate);
    }

    float at(int k) const { return positions_[static_cast<std::size_t>(k)]; }

    int firstNotBelow(float value) const {
        int k = guess(value);
        while (k > 0 && at(k - 1) >= value) {
            --k;
        }
        while (k < textureSize && at(k) < value) {
            ++k;
        }
        return k;
    }

    int firstAbove(float value) const {
        int k = guess(value);
        while (k > 0 && at(k - 1) > value) {
            --k;
        }
        while (k < textureSize && at(k) <= value) {
            ++k;
        }
        return k;
    }

    const std::array<float, textureSize>& positions_;
    bool usable_ = false;
    double perUnit_ = 0.0;
};

// The box of a triangle's corners on the ground, in the lattice's axes: the points' y is z.
Box groundBox(const Point2& p0, const Point2& p1, const Point2& p2) {
    return Box{{std::min({p0.x, p1.x, p2.x}), 0.0f, std::min({p0.y, p1.y, p2.y})},
               {std::max({p0.x, p1.x, p2.x}), 0.0f, std::max({p0.y, p1.y, p2.y})}};
}

bool isFinite(const Box& box) {
    return std::isfinite(box.min.x) && std::isfinite(box.max.x) && std::isfinite(box.min.z) &&
           std::isfinite(box.max.z);
}

// Tells whether a position `gap` or more beyond a triangle's box is out of the reach of
// rounding, so that locate cannot find it held. locate finds a position on an edge only within the
// edge's box, and inside only when all three edge values are negative. Each edge value is off by at
// most 2^-49 |e| R (|e| the edge's length, R the position's farthest coordinate distance from a
// corner). With A the area, L the longest edge and k = L^2 / A, a position whose gaps beyond the
// box add up to more than 2^-47 W k^2 (W the box's larger side) has, for a clockwise triangle, an
// edge value above that error, and for a counter-clockwise one cannot be that close to all three
// edge lines. So for k^2 below 2^40, a gap over 2^-40 W k^2 is safely out of reach.
class RoundingReach {
public:
    RoundingReach(const Point2& p0, const Point2& p1, const Point2& p2, const Box& box) {
        const double ax = static_cast<double>(p1.x) - p0.x, ay = static_cast<double>(p1.y) - p0.y;
        const double bx = static_cast<double>(p2.x) - p0.x, by = static_cast<double>(p2.y) - p0.y;
        const double cx = bx - ax, cy = by - ay;
        const double longest = std::max({ax * ax + ay * ay, bx * bx + by * by, cx * cx + cy * cy});
        // Twice the area, less a bound on its own rounding; k^2 = (2 L^2 / twiceArea)^2.
        twiceArea_ = std::abs(ax * by - ay * bx) - 0x1p-46 * longest;
        fourthPower_ = 4.0 * longest * longest;
        side_ = std::max(static_cast<double>(box.max.x) - box.min.x,
                         static_cast<double>(box.max.z) - box.min.z);
    }

    // Without a division: the comparisons fail for infinities and not-a-number alike.
    bool outOfReach(double gap) const {
        const double areaSquared = twiceArea_ * twiceArea_;
        return twiceArea_ > 0.0 && fourthPower_ < 0x1p40 * areaSquared &&
               0x1p-40 * side_ * fourthPower_ < gap * areaSquared;
    }

private:
    double twiceArea_;
    double fourthPower_;
    double side_;
};

// The gap between a box side and the nearest sample that `near` adds beyond it; infinite
// where it adds none.
double ringGap(const std::array<float, textureSize>& positions, const IndexRange& inside,
               const IndexRange& near, float low, float high) {
    double gap = std::numeric_limits<double>::infinity();
    if (near.begin < inside.begin) {
        gap = static_cast<double>(low) - positions[static_cast<std::size_t>(near.begin)];
    }
    if (near.end > inside.end) {
        gap = std::min(gap,
                       static_cast<double>(positions[static_cast<std::size_t>(inside.end)]) - high);
    }
    return gap;
}

} // namespace

SampleHolderIndex::SampleHolderIndex(const std::vector<Triangle>& triangles,
                                     const std::vector<Point2>& points,
                                     const SampleLattice& lattice)
    : holders_(static_cast<std::size_t>(textureSize * textureSize), nullptr) {
    const AxisSamples columns(lattice.x);
    const AxisSamples rows(lattice.z);
    const bool latticeUsable = columns.usable() && rows.usable();

    for (const Triangle& triangle : triangles) {
        const Point2& p0 = points[static_cast<std::size_t>(triangle.indices[0])];
        const Point2& p1 = points[static_cast<std::size_t>(triangle.indices[1])];
        const Point2& p2 = points[static_cast<std::size_t>(triangle.indices[2])];
        const Box box = groundBox(p0, p1, p2);
        // Without finite numbers on both sides nearness means nothing; such a triangle
        // is tried on every sample, as the plain scan would.
        const bool bounded = latticeUsable && isFinite(box);
        IndexRange columnRange = everySample;
        IndexRange rowRange = everySample;
        if (bounded) {
            // The samples inside the box, and one more on each side that rounding might let
            // the triangle hold; for most triangles that one is out of reach.
            columnRange = columns.within(box.min.x, box.max.x);
            rowRange = rows.within(box.min.z, box.max.z);
            const IndexRange nearColumns = widened(columnRange);
            const IndexRange nearRows = widened(rowRange);
            const double gap =
                std::min(ringGap(lattice.x, columnRange, nearColumns, box.min.x, box.max.x),
                         ringGap(lattice.z, rowRange, nearRows, box.min.z, box.max.z));
            if (!RoundingReach(p0, p1, p2, box).outOfReach(gap)) {
                columnRange = nearColumns;
                rowRange = nearRows;
            }
        }
        for (int i = columnRange.begin; i < columnRange.end; ++i) {
            const float x = lattice.x[static_cast<std::size_t>(i)];
            for (int j = rowRange.begin; j < rowRange.end; ++j) {
                const Triangle*& holder = holders_[static_cast<std::size_t>(i * textureSize + j)];
                if (holder == nullptr &&
                    triangle.locate(points, x, lattice.z[static_cast<std::size_t>(j)]) !=
                        PointLocation::Outside) {
                    holder = &triangle;
                }
            }
        }
    }
}

} // namespace zel
