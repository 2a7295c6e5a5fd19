#include "viewer/detail_choice.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zel {
namespace {

using Point = std::array<double, 3>;

// The eye in terrain coordinates: the view matrix is a rotation R and a translation t, so the
// eye is -R^T t.
Point eyeOf(const ViewMatrix& m) {
    Point eye{};
    for (std::size_t axis = 0; axis < 3; ++axis) {
        eye[axis] = -(m[axis * 4] * m[12] + m[axis * 4 + 1] * m[13] + m[axis * 4 + 2] * m[14]);
    }
    return eye;
}

Point toEye(const ViewMatrix& m, const Point& p) {
    Point out{};
    for (std::size_t r = 0; r < 3; ++r) {
        out[r] = m[r] * p[0] + m[4 + r] * p[1] + m[8 + r] * p[2] + m[12 + r];
    }
    return out;
}

struct Box {
    Point min;
    Point max;
};

Box scaledBox(const DetailNode& node, double heightRatio) {
    Box box{{node.boxMin[0], node.boxMin[1] * heightRatio, node.boxMin[2]},
            {node.boxMax[0], node.boxMax[1] * heightRatio, node.boxMax[2]}};
    if (box.min[1] > box.max[1]) {
        std::swap(box.min[1], box.max[1]);
    }
    return box;
}

double distanceToBox(const Point& eye, const Box& box) {
    double sum = 0.0;
    for (std::size_t axis = 0; axis < 3; ++axis) {
        const double gap = std::max({box.min[axis] - eye[axis], 0.0, eye[axis] - box.max[axis]});
        sum += gap * gap;
    }
    return std::sqrt(sum);
}

double tangentOfHalfField() {
    return std::tan(viewFieldOfViewDegrees * std::numbers::pi / 360.0);
}

// The box's corners in eye coordinates (the eye looks along -z).
std::array<Point, 8> cornersInEye(const ViewMatrix& m, const Box& box) {
    std::array<Point, 8> corners{};
    for (std::size_t c = 0; c < 8; ++c) {
        corners[c] = toEye(m, {c & 1 ? box.max[0] : box.min[0], c & 2 ? box.max[1] : box.min[1],
                               c & 4 ? box.max[2] : box.min[2]});
    }
    return corners;
}

double windowCornerTanSquared(double aspect) {
    const double tanY = tangentOfHalfField();
    return tanY * tanY * (1.0 + aspect * aspect);
}

// The four sides of the view's pyramid: a box is beside the window when all its corners lie
// beyond one of them.
bool besideWindow(const std::array<Point, 8>& corners, double aspect) {
    const double tanY = tangentOfHalfField();
    const double tanX = tanY * aspect;
    std::array<bool, 4> allBeyond{true, true, true, true};
    for (const Point& p : corners) {
        const double depth = -p[2];
        allBeyond[0] = allBeyond[0] && p[0] > depth * tanX;
        allBeyond[1] = allBeyond[1] && -p[0] > depth * tanX;
        allBeyond[2] = allBeyond[2] && p[1] > depth * tanY;
        allBeyond[3] = allBeyond[3] && -p[1] > depth * tanY;
    }
    return std::ranges::any_of(allBeyond, [](bool beyond) { return beyond; });
}

// The largest squared tangent of the angle from the view's axis at which a point of the box
// seen in the window lies. A ratio of squares over depth squared is largest at a corner of
// a box in front of the eye; no point in the window lies further out than its corners.
double offAxisTanSquared(const std::array<Point, 8>& corners, double aspect) {
    const double window = windowCornerTanSquared(aspect);
    double largest = 0.0;
    for (const Point& p : corners) {
        const double depth = -p[2];
        if (!(depth > 0.0)) {
            return window;
        }
        largest = std::max(largest, (p[0] * p[0] + p[1] * p[1]) / (depth * depth));
    }
    return std::min(largest, window);
}

struct Chooser {
    std::span<const DetailNode> nodes;
    const DetailView& view;
    Point eye;
    double errorScale;
    std::vector<std::int32_t> chosen;

    void visit(std::int32_t index) {
        const DetailNode& node = nodes[static_cast<std::size_t>(index)];
        const Box box = scaledBox(node, view.heightRatio);
        const std::array<Point, 8> corners = cornersInEye(view.view, box);
        if (besideWindow(corners, view.aspect)) {
            return;
        }
        if (node.leaf() ||
            errorInPixels(node.error * errorScale, distanceToBox(eye, box), view.windowHeight,
                          offAxisTanSquared(corners, view.aspect)) <= view.pixelError) {
            chosen.push_back(index);
            return;
        }
        for (const std::int32_t child : node.children) {
            if (child >= 0) {
                visit(child);
            }
        }
    }
};

} // namespace

double errorInPixels(double error, double distance, int windowHeight, double offAxisTanSquared) {
    if (error <= 0.0) {
        return 0.0;
    }
    // Off the axis a length is magnified by up to 1 / cos^2 = 1 + tan^2 of its angle from it.
    return error / distance * windowHeight / (2.0 * tangentOfHalfField()) *
           (1.0 + offAxisTanSquared);
}

std::vector<std::int32_t> chosenNodes(std::span<const DetailNode> nodes, const DetailView& view) {
    // Scaling one axis by r stretches no distance by more than max(1, r).
    Chooser chooser{nodes, view, eyeOf(view.view), std::max(1.0, view.heightRatio), {}};
    if (!nodes.empty()) {
        chooser.visit(0);
    }
    return std::move(chooser.chosen);
}

} // namespace zel
