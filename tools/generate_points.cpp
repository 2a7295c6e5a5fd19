// Writes a deterministic set of 3-D survey points whose density varies: a sparse scatter
// over the whole area and a few dense clusters. Since the viewer lifts densely spaced points
// to high ground, the clusters become hills and the scatter the plains between them.
// Points are spread evenly for their local density (best of several candidates), so the
// hills rise smoothly instead of in spikes where random points happen to bunch up.
//
// Usage: generate_points <count> <seed> <out-file>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <vector>

namespace {

struct Cluster {
    double x, y, spread, share;
};

// Hills of different size and steepness, in a field of [-100, 100] x [-100, 100].
constexpr Cluster clusters[] = {
    {-45.0, 35.0, 14.0, 0.22},
    {40.0, 45.0, 20.0, 0.16},
    {30.0, -40.0, 9.0, 0.14},
    {-35.0, -45.0, 24.0, 0.10},
};
constexpr double scatterShare = 0.38;
constexpr double halfSize = 100.0;
constexpr int candidatesPerPoint = 8;
constexpr double pi = 3.14159265358979;

struct Point {
    double x, y;
};

// Expected points per unit area (up to a constant factor) at (x, y).
double density(const Point& p) {
    double d = scatterShare / (4.0 * halfSize * halfSize);
    for (const Cluster& c : clusters) {
        const double dx = p.x - c.x, dy = p.y - c.y;
        d += c.share / (2.0 * pi * c.spread * c.spread) *
             std::exp(-(dx * dx + dy * dy) / (2.0 * c.spread * c.spread));
    }
    return d;
}

bool insideField(const Point& p) {
    return std::fabs(p.x) <= halfSize && std::fabs(p.y) <= halfSize;
}

Point drawFromDensity(std::mt19937_64& random) {
    std::uniform_real_distribution<double> field(-halfSize, halfSize);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::normal_distribution<double> gauss(0.0, 1.0);
    while (true) {
        double pick = unit(random) - scatterShare;
        if (pick < 0.0) {
            return Point{field(random), field(random)};
        }
        const Cluster* chosen = &clusters[0];
        for (const Cluster& c : clusters) {
            chosen = &c;
            if ((pick -= c.share) < 0.0) {
                break;
            }
        }
        const Point p{chosen->x + gauss(random) * chosen->spread,
                      chosen->y + gauss(random) * chosen->spread};
        if (insideField(p)) {
            return p;
        }
    }
}

// The points placed so far, filed in square cells so that the nearest one to a candidate is
// found by looking at a few cells around it rather than at every point. The cells shrink as
// points are added (about two points per cell), so a search stays short at any size.
class PlacedPoints {
public:
    void add(const Point& p) {
        all_.push_back(p);
        if (all_.size() > 2 * columns_ * columns_) {
            refile();
        } else {
            file(p);
        }
    }

    // The squared distance to the nearest placed point; 1e300 when there is none.
    double nearestDistanceSquared(const Point& p) const {
        double best = 1e300;
        if (all_.empty()) {
            return best;
        }
        const long column = columnOf(p.x), row = columnOf(p.y);
        const long last = static_cast<long>(columns_) - 1;
        // A point in ring r of cells around the candidate's cell is at least r - 1 cells'
        // widths away, so once the nearest so far is closer, no further ring can beat it.
        for (long r = 0; r <= last; ++r) {
            const double reach = static_cast<double>(r - 1) * cellSize_;
            if (r > 1 && best <= reach * reach) {
                break;
            }
            for (long y = row - r; y <= row + r; ++y) {
                const bool edgeRow = y == row - r || y == row + r;
                for (long x = column - r; x <= column + r; x += edgeRow ? 1 : 2 * r) {
                    if (x >= 0 && y >= 0 && x <= last && y <= last) {
                        best = std::fmin(best,
                                         nearestInCell(p, static_cast<std::size_t>(y) * columns_ +
                                                              static_cast<std::size_t>(x)));
                    }
                    if (r == 0) {
                        break;
                    }
                }
            }
        }
        return best;
    }

private:
    long columnOf(double coordinate) const {
        const long c = static_cast<long>((coordinate + halfSize) / cellSize_);
        return std::clamp(c, 0L, static_cast<long>(columns_) - 1);
    }

    void file(const Point& p) {
        const std::size_t cell = static_cast<std::size_t>(columnOf(p.y)) * columns_ +
                                 static_cast<std::size_t>(columnOf(p.x));
        cells_[cell].push_back(p);
    }

    void refile() {
        columns_ *= 2;
        cellSize_ = 2.0 * halfSize / static_cast<double>(columns_);
        cells_.assign(columns_ * columns_, {});
        for (const Point& p : all_) {
            cells_[static_cast<std::size_t>(columnOf(p.y)) * columns_ +
                   static_cast<std::size_t>(columnOf(p.x))]
                .push_back(p);
        }
    }

    double nearestInCell(const Point& p, std::size_t cell) const {
        double best = 1e300;
        for (const Point& q : cells_[cell]) {
            const double dx = q.x - p.x, dy = q.y - p.y;
            best = std::fmin(best, dx * dx + dy * dy);
        }
        return best;
    }

    std::vector<Point> all_;
    std::size_t columns_ = 1;
    double cellSize_ = 2.0 * halfSize;
    // Each cell holds copies of its points, so that a search reads them in one place.
    std::vector<std::vector<Point>> cells_ = std::vector<std::vector<Point>>(1);
};

// Of a few candidates, the one farthest from the points placed so far, measured in units of
// the spacing expected at the candidate.
Point placeNext(const PlacedPoints& placed, std::mt19937_64& random) {
    Point best{};
    double bestScore = -1.0;
    for (int k = 0; k < candidatesPerPoint; ++k) {
        const Point candidate = drawFromDensity(random);
        const double score = placed.nearestDistanceSquared(candidate) * density(candidate);
        if (score > bestScore) {
            bestScore = score;
            best = candidate;
        }
    }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "Usage: " << argv[0] << " <count> <seed> <out-file>\n";
        return 2;
    }
    const unsigned long count = std::strtoul(argv[1], nullptr, 10);
    std::mt19937_64 random(std::strtoull(argv[2], nullptr, 10));
    std::ofstream out(argv[3]);
    if (!out) {
        std::cerr << "Cannot create file: " << argv[3] << "\n";
        return 1;
    }

    out << count << "\n";
    PlacedPoints placed;
    char line[96];
    for (unsigned long i = 0; i < count; ++i) {
        const Point next = placeNext(placed, random);
        placed.add(next);
        const double x = next.x, y = next.y;
        // The surveyed elevation travels with the point but the viewer does not use it.
        const double z = 20.0 + 5.0 * std::sin(x * 0.05) * std::cos(y * 0.05);
        std::snprintf(line, sizeof line, "%.3f %.3f %.2f\n", x, y, z);
        out << line;
    }
    out.flush();
    if (!out) {
        std::cerr << "Cannot write file: " << argv[3] << "\n";
        return 1;
    }
    return 0;
}
