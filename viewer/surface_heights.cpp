#include "viewer/surface_heights.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

namespace zel {
namespace {

struct Cell {
    int first;       // lattice index of the sample at or below the position
    double fraction; // 0 at that sample, 1 at the next
};

// The lattice positions only grow (an empty extent repeats one position), so a binary search
// finds the cell; positions beyond either end have none.
std::optional<Cell> cellOf(const std::array<float, textureSize>& positions, double at) {
    if (!(at >= positions.front() && at <= positions.back())) {
        return std::nullopt;
    }
    const auto above = std::upper_bound(positions.begin(), positions.end(), at,
                                        [](double value, float p) { return value < p; });
    const int first =
        std::clamp(static_cast<int>(above - positions.begin()) - 1, 0, textureSize - 2);
    const double low = positions[static_cast<std::size_t>(first)];
    const double high = positions[static_cast<std::size_t>(first) + 1];
    return Cell{first, high > low ? std::clamp((at - low) / (high - low), 0.0, 1.0) : 0.0};
}

// The line is tested at least this often per sample spacing and at most this many times in
// all; a crossing found between two tests is narrowed down by this many halvings.
constexpr double testsPerSample = 2.0;
constexpr double mostTests = 4096.0;
constexpr int halvings = 48;

struct Span {
    double nearT, farT;
};

// The part of `line` inside the box that holds the surface: the lattice's ground extent and
// the heights' range. None when the surface is empty or the line passes the box by.
std::optional<Span> spanOverSurface(const SurfaceHeights& surface, const Sightline& line) {
    double lowest = std::numeric_limits<double>::infinity();
    double highest = -lowest;
    for (const std::optional<float>& h : surface.heights) {
        if (h && std::isfinite(*h)) {
            lowest = std::min(lowest, static_cast<double>(*h));
            highest = std::max(highest, static_cast<double>(*h));
        }
    }
    const SampleLattice& lattice = surface.lattice;
    const double lows[3] = {lattice.x.front(), lowest, lattice.z.front()};
    const double highs[3] = {lattice.x.back(), highest, lattice.z.back()};
    Span span{0.0, std::numeric_limits<double>::infinity()};
    for (std::size_t axis = 0; axis < 3; ++axis) {
        const double start = line.from[axis];
        const double step = line.direction[axis];
        if (step == 0.0) {
            if (start < lows[axis] || start > highs[axis]) {
                return std::nullopt;
            }
            continue;
        }
        const double a = (lows[axis] - start) / step;
        const double b = (highs[axis] - start) / step;
        span.nearT = std::max(span.nearT, std::min(a, b));
        span.farT = std::min(span.farT, std::max(a, b));
    }
    return lowest <= highest && span.nearT <= span.farT ? std::optional<Span>(span) : std::nullopt;
}

bool underSurface(const SurfaceHeights& surface, const Sightline& line, double t) {
    const std::optional<double> h = heightUnder(surface, line.from[0] + t * line.direction[0],
                                                line.from[2] + t * line.direction[2]);
    return h && line.from[1] + t * line.direction[1] <= *h;
}

double testsAlong(const SurfaceHeights& surface, const Sightline& line, const Span& span) {
    const SampleLattice& lattice = surface.lattice;
    const double spacing = std::max(static_cast<double>(lattice.x.back()) - lattice.x.front(),
                                    static_cast<double>(lattice.z.back()) - lattice.z.front()) /
                           (textureSize - 1);
    const double ground =
        (span.farT - span.nearT) * std::hypot(line.direction[0], line.direction[2]);
    return spacing > 0.0 ? std::clamp(std::ceil(testsPerSample * ground / spacing), 1.0, mostTests)
                         : 1.0;
}

} // namespace

std::optional<double> heightUnder(const SurfaceHeights& surface, double x, double z) {
    if (surface.heights.size() != static_cast<std::size_t>(textureSize * textureSize)) {
        return std::nullopt;
    }
    const std::optional<Cell> column = cellOf(surface.lattice.x, x);
    const std::optional<Cell> row = cellOf(surface.lattice.z, z);
    if (!column || !row) {
        return std::nullopt;
    }
    double corners[2][2] = {};
    bool complete = true;
    std::optional<double> highest;
    for (int di = 0; di < 2; ++di) {
        for (int dj = 0; dj < 2; ++dj) {
            const std::optional<float>& h = surface.heights[static_cast<std::size_t>(
                (column->first + di) * textureSize + row->first + dj)];
            if (h && std::isfinite(*h)) {
                corners[di][dj] = *h;
                highest = std::max(highest.value_or(*h), static_cast<double>(*h));
            } else {
                complete = false;
            }
        }
    }
    if (!complete) {
        return highest;
    }
    const double s = column->fraction;
    const double t = row->fraction;
    return (1 - s) * ((1 - t) * corners[0][0] + t * corners[0][1]) +
           s * ((1 - t) * corners[1][0] + t * corners[1][1]);
}

std::optional<double> distanceToSurface(const SurfaceHeights& surface, const Sightline& line) {
    const std::optional<Span> span = spanOverSurface(surface, line);
    if (!span) {
        return std::nullopt;
    }
    if (underSurface(surface, line, span->nearT)) {
        return span->nearT > 0.0 ? std::optional<double>(span->nearT) : std::nullopt;
    }
    const double tests = testsAlong(surface, line, *span);
    double above = span->nearT;
    for (double k = 1.0; k <= tests; ++k) {
        double below = span->nearT + (span->farT - span->nearT) * k / tests;
        if (!underSurface(surface, line, below)) {
            above = below;
            continue;
        }
        for (int i = 0; i < halvings; ++i) {
            const double middle = 0.5 * (above + below);
            (underSurface(surface, line, middle) ? below : above) = middle;
        }
        return below;
    }
    return std::nullopt;
}

} // namespace zel
