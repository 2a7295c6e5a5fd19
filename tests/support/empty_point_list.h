#pragma once

#include "viewer/point_list.h"

namespace zel::test {

// The point list is process-wide. Whatever holds one of these (a test fixture, a terrain
// built for a test or a benchmark) starts with the list empty and leaves it empty.
class EmptyPointList {
public:
    EmptyPointList() { points.clear(); }
    ~EmptyPointList() { points.clear(); }
    EmptyPointList(const EmptyPointList&) = delete;
    EmptyPointList& operator=(const EmptyPointList&) = delete;
};

} // namespace zel::test
