#include "viewer/texture/sample_holder_index.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

namespace zel {
namespace {

struct IndexRange {
    int begin;
    int end;
};

constexpr IndexRange everySample{0, textureSize};

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
        // A triangle holds no position beyond the box of its corners: locate finds one on an
        // edge only within that edge's box, and inside only when all three edge values are
        // negative, which rounding has not been found to give beyond every corner, not even
        // for slivers whose edge values cancel or far corners whose differences round (the
        // search tests keep the hardest of those).
        if (bounded) {
            columnRange = columns.within(box.min.x, box.max.x);
            rowRange = rows.within(box.min.z, box.max.z);
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
