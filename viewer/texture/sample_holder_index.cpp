#include "viewer/texture/sample_holder_index.h"

#include <algorithm>
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

    // The samples within [low, high], widened by one on each side: a triangle's edge
    // values are rounded, so a position just beyond its box might still count as held.
    IndexRange near(float low, float high) const {
        const int begin = firstNotBelow(low);
        const int end = firstAbove(high);
        return IndexRange{std::max(begin - 1, 0), std::min(end + 1, textureSize)};
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

struct GroundBox {
    float minX, maxX, minY, maxY;
};

GroundBox groundBox(const Point2& p0, const Point2& p1, const Point2& p2) {
    return GroundBox{std::min({p0.x, p1.x, p2.x}), std::max({p0.x, p1.x, p2.x}),
                     std::min({p0.y, p1.y, p2.y}), std::max({p0.y, p1.y, p2.y})};
}

bool isFinite(const GroundBox& box) {
    return std::isfinite(box.minX) && std::isfinite(box.maxX) && std::isfinite(box.minY) &&
           std::isfinite(box.maxY);
}

} // namespace

SampleHolderIndex::SampleHolderIndex(const std::list<Triangle*>& triangles,
                                     const std::vector<Point2>& pts, const SampleLattice& lattice)
    : holders_(static_cast<std::size_t>(textureSize * textureSize), nullptr) {
    const AxisSamples columns(lattice.x);
    const AxisSamples rows(lattice.z);
    const bool latticeUsable = columns.usable() && rows.usable();

    for (const Triangle* triangle : triangles) {
        const GroundBox box = groundBox(pts[static_cast<std::size_t>(triangle->indices[0])],
                                        pts[static_cast<std::size_t>(triangle->indices[1])],
                                        pts[static_cast<std::size_t>(triangle->indices[2])]);
        // Without finite numbers on both sides nearness means nothing; such a triangle
        // is tried on every sample, as the plain scan would.
        const bool bounded = latticeUsable && isFinite(box);
        const IndexRange columnRange = bounded ? columns.near(box.minX, box.maxX) : everySample;
        const IndexRange rowRange = bounded ? rows.near(box.minY, box.maxY) : everySample;

        for (int i = columnRange.begin; i < columnRange.end; ++i) {
            const float x = lattice.x[static_cast<std::size_t>(i)];
            for (int j = rowRange.begin; j < rowRange.end; ++j) {
                const Triangle*& holder = holders_[static_cast<std::size_t>(i * textureSize + j)];
                if (holder == nullptr &&
                    triangle->locate(pts, x, lattice.z[static_cast<std::size_t>(j)]) != Outside) {
                    holder = triangle;
                }
            }
        }
    }
}

} // namespace zel
