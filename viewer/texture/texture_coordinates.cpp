#include "viewer/texture/texture_coordinates.h"

#include "viewer/huge_pages.h"

#include <cmath>

namespace zel {
namespace {

// Where `coordinate` lies between `lowest` and `highest`, as a fraction in 0..1. An extent
// that float cannot hold (from -2e38 to 2e38, say) is worked out in double, where it is
// finite; any other extent in float, as it always was.
class AxisFraction {
public:
    AxisFraction(float low, float high) : lowest_(low), range_(high - low) {
        if (!std::isfinite(range_)) {
            wideRange_ = static_cast<double>(high) - static_cast<double>(low);
        }
    }

    float operator()(float coordinate) const {
        if (wideRange_ != 0.0) {
            return static_cast<float>((static_cast<double>(coordinate) - lowest_) / wideRange_);
        }
        return range_ == 0.0f ? 0.0f : (coordinate - lowest_) / range_;
    }

private:
    float lowest_;
    float range_;
    double wideRange_ = 0.0;
};

} // namespace

std::vector<TexCoord> textureCoordinates(const std::vector<Vec3>& vertices, const Box& box) {
    const AxisFraction fractionX(box.min.x, box.max.x);
    const AxisFraction fractionZ(box.min.z, box.max.z);
    std::vector<TexCoord> coordinates;
    reserveHugePages(coordinates, vertices.size());
    for (const Vec3& v : vertices) {
        coordinates.push_back(TexCoord{fractionX(v.x), fractionZ(v.z)});
    }
    return coordinates;
}

} // namespace zel
