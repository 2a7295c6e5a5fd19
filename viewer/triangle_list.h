#pragma once

#include "viewer/triangle.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace zel {

// Three vertex indices, one triangle.
using TriangleCorners = std::array<std::uint32_t, 3>;

// The corners of numbered triangles, read from a list of corners or, without a copy, from the
// terrain's triangles, which no key changes once the terrain is shown.
class TriangleList {
public:
    explicit TriangleList(std::span<const TriangleCorners> corners) : corners_(corners) {}
    explicit TriangleList(std::span<const Triangle> triangles) : triangles_(triangles) {}

    std::size_t size() const { return triangles_.empty() ? corners_.size() : triangles_.size(); }

    TriangleCorners operator[](std::uint32_t triangle) const {
        if (triangles_.empty()) {
            return corners_[triangle];
        }
        const std::int32_t* indices = triangles_[triangle].indices;
        return {static_cast<std::uint32_t>(indices[0]), static_cast<std::uint32_t>(indices[1]),
                static_cast<std::uint32_t>(indices[2])};
    }

private:
    std::span<const TriangleCorners> corners_;
    std::span<const Triangle> triangles_;
};

} // namespace zel
