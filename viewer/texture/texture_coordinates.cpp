#include "viewer/texture/texture_coordinates.h"

namespace zel {
namespace {

float fraction(float coordinate, float lowest, float range) {
    return range == 0.0f ? 0.0f : (coordinate - lowest) / range;
}

} // namespace

std::vector<TexCoord> textureCoordinates(const std::vector<Vec3>& vertices,
                                         const BoundingBox& box) {
    const float rangeX = box.max.x - box.min.x;
    const float rangeZ = box.max.z - box.min.z;
    std::vector<TexCoord> coordinates;
    coordinates.reserve(vertices.size());
    for (const Vec3& v : vertices) {
        coordinates.push_back(
            TexCoord{fraction(v.x, box.min.x, rangeX), fraction(v.z, box.min.z, rangeZ)});
    }
    return coordinates;
}

} // namespace zel
