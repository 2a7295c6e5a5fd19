#include "viewer/point_list.h"

namespace zel {

std::vector<Point2> points;

} // namespace zel
