#include "viewer/bounding_box.h"

namespace zel {
namespace {

void widen(float coordinate, float& min, float& max) {
    if (coordinate > max) {
        max = coordinate;
    }
    if (coordinate < min) {
        min = coordinate;
    }
}

} // namespace

Box boundingBox(const std::vector<Vec3>& vertices) {
    Box box;
    if (vertices.empty()) {
        return box;
    }
    box.min = box.max = vertices.front();
    for (const Vec3& v : vertices) {
        widen(v.x, box.min.x, box.max.x);
        widen(v.y, box.min.y, box.max.y);
        widen(v.z, box.min.z, box.max.z);
    }
    return box;
}

} // namespace zel
