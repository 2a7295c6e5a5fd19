#include "viewer/triangle.h"

#include "viewer/circumcircle.h"
#include "viewer/point_list.h"

#include <cstddef>

namespace zel {

Triangle::Triangle(std::int32_t i0, std::int32_t i1, std::int32_t i2)
    : indices{i0, i1, i2}, circumcircle(computeCircumcircle(points[static_cast<std::size_t>(i0)],
                                                            points[static_cast<std::size_t>(i1)],
                                                            points[static_cast<std::size_t>(i2)])) {
}

} // namespace zel
