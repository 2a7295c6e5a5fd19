// Writes uniformly random points fast, for the triangulation benchmarks: a count, then one
// point per line. "plane" points are "x y" in [-100, 100], with three decimals; "survey"
// points are "easting northing height" in projected coordinates (a 10 km square near
// easting 505000, northing 4125000), the form real survey data takes.
// The benchmark script writes it under a temporary name and renames it when complete.
//
// Usage: random_points <plane|survey> <count> <seed> <out-file>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

int main(int argc, char* argv[]) {
    const std::string kind = argc == 5 ? argv[1] : "";
    if (kind != "plane" && kind != "survey") {
        std::fprintf(stderr, "Usage: %s <plane|survey> <count> <seed> <out-file>\n", argv[0]);
        return 2;
    }
    const unsigned long count = std::strtoul(argv[2], nullptr, 10);
    std::mt19937_64 random(std::strtoull(argv[3], nullptr, 10));
    const std::string out = argv[4];
    std::FILE* file = std::fopen(out.c_str(), "w");
    if (file == nullptr) {
        std::perror(out.c_str());
        return 1;
    }
    std::fprintf(file, "%lu\n", count);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (unsigned long i = 0; i < count; ++i) {
        if (kind == "plane") {
            std::fprintf(file, "%.3f %.3f\n", unit(random) * 200.0 - 100.0,
                         unit(random) * 200.0 - 100.0);
        } else {
            std::fprintf(file, "%.2f %.2f %.2f\n", 500000.0 + unit(random) * 10000.0,
                         4120000.0 + unit(random) * 10000.0, 100.0 + unit(random) * 300.0);
        }
    }
    const bool writeFailed = std::ferror(file) != 0;
    if (std::fclose(file) != 0 || writeFailed) {
        std::perror(out.c_str());
        return 1;
    }
    return 0;
}
