#pragma once

#include "common/point2.h"
#include "viewer/height_scale.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace zel {

// Where each vertex lies, (x, height, z): read from x, y, z triples, or worked out as the
// terrain's vertices are from its ground points and base heights under a height factor. The
// second needs no copy of the vertices for a reader on another thread, since neither the
// points nor the base heights change once the terrain is shown.
class VertexPositions {
public:
    explicit VertexPositions(std::span<const float> xyz) : xyz_(xyz) {}
    VertexPositions(std::span<const Point2> ground, std::span<const float> baseHeights,
                    double factor)
        : ground_(ground), baseHeights_(baseHeights), factor_(factor) {}

    std::size_t size() const { return xyz_.empty() ? ground_.size() : xyz_.size() / 3; }

    std::array<float, 3> operator[](std::uint32_t vertex) const {
        if (!xyz_.empty()) {
            const float* p = &xyz_[vertex * std::size_t{3}];
            return {p[0], p[1], p[2]};
        }
        return {ground_[vertex].x, exaggeratedHeight(baseHeights_[vertex], factor_),
                ground_[vertex].y};
    }

private:
    std::span<const float> xyz_;
    std::span<const Point2> ground_;
    std::span<const float> baseHeights_;
    double factor_ = 1.0;
};

} // namespace zel
