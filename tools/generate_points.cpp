// Writes a deterministic set of 3-D survey points whose density varies: a sparse scatter
// over the whole area and a few dense clusters. Since the viewer lifts densely spaced points
// to high ground, the clusters become hills and the scatter the plains between them.
//
// Usage: generate_points <count> <seed> <out-file>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <random>
#include <string>

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

double clamp(double v) { return std::fmax(-halfSize, std::fmin(halfSize, v)); }

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

    std::uniform_real_distribution<double> field(-halfSize, halfSize);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::normal_distribution<double> gauss(0.0, 1.0);

    out << count << "\n";
    char line[96];
    for (unsigned long i = 0; i < count; ++i) {
        double x = 0.0, y = 0.0;
        double pick = unit(random) - scatterShare;
        if (pick < 0.0) {
            x = field(random);
            y = field(random);
        } else {
            const Cluster* chosen = &clusters[0];
            for (const Cluster& c : clusters) {
                chosen = &c;
                if ((pick -= c.share) < 0.0) {
                    break;
                }
            }
            x = clamp(chosen->x + gauss(random) * chosen->spread);
            y = clamp(chosen->y + gauss(random) * chosen->spread);
        }
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
