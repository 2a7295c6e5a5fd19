#include "viewer/texture/bounding_box.h"

namespace zel {
namespace {

void widen(float coordinate, float& max, float& min) {
    if (coordinate > max) {
        max = coordinate;
    }
    if (coordinate < min) {
        min = coordinate;
    }
}

} // namespace

BoundingBox boundingBox(const std::vector<Vec3>& vertices) {
    BoundingBox box;
    if (vertices.empty()) {
        return box;
    }
    box.max = box.min = vertices.front();
    for (const Vec3& v : vertices) {
        widen(v.x, box.max.x, box.min.x);
        widen(v.y, box.max.y, box.min.y);
        widen(v.z, box.max.z, box.min.z);
    }
    return box;
}

} // namespace zel
