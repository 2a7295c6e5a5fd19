// Writes a triangulation file of any size for tests and benchmarks: a warped, jittered grid
// of about <points> points over [-100, 100] x [-100, 100], two clockwise triangles per cell.
// The warp packs the grid densely in some places and sparsely in others, so the terrain
// has hills and plains. Deterministic for a given size and seed. With `xyz` it writes a
// terrain file of the same points instead, each with the height of a smooth hill and valley.
//
// Usage: generate_terrain <points> <seed> <out-file> [xyz]
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr double halfSize = 100.0;

// Monotonic on [-1, 1] (its slope stays positive), so the warped grid never folds over.
double warp(double t) {
    return t + 0.09 * std::sin(3.0 * 3.14159265358979 * t);
}

class Writer {
public:
    explicit Writer(std::FILE* file) : file_(file) { buffer_.reserve(1 << 20); }
    ~Writer() { flush(); }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    template <typename T> void number(T value) {
        char text[32];
        const auto result = std::to_chars(text, text + sizeof text, value);
        buffer_.append(text, result.ptr);
    }
    void put(char c) {
        buffer_.push_back(c);
        if (buffer_.size() >= (1 << 20)) {
            flush();
        }
    }
    bool flush() {
        const bool ok = std::fwrite(buffer_.data(), 1, buffer_.size(), file_) == buffer_.size();
        buffer_.clear();
        return ok;
    }

private:
    std::FILE* file_;
    std::string buffer_;
};

// A broad hill in one half and a valley in the other, 0 to about 40 units high.
double groundHeight(double x, double y) {
    return 20.0 + 20.0 * std::sin(x / 60.0) * std::cos(y / 45.0);
}

} // namespace

int main(int argc, char** argv) {
    const bool withHeights = argc == 5 && std::string(argv[4]) == "xyz";
    if (argc != 4 && !withHeights) {
        std::cerr << "Usage: " << argv[0] << " <points> <seed> <out-file> [xyz]\n";
        return 2;
    }
    const long requested = std::strtol(argv[1], nullptr, 10);
    if (requested < 4) {
        std::cerr << "At least 4 points are needed\n";
        return 2;
    }
    const long columns = std::lround(std::sqrt(static_cast<double>(requested)));
    const long rows = (requested + columns - 1) / columns;
    std::mt19937_64 random(std::strtoull(argv[2], nullptr, 10));
    std::uniform_real_distribution<double> jitter(-0.15, 0.15);

    std::FILE* file = std::fopen(argv[3], "wb");
    if (!file) {
        std::cerr << "Cannot create file: " << argv[3] << "\n";
        return 1;
    }
    {
        Writer out(file);
        out.number(columns * rows);
        if (withHeights) {
            out.put(' ');
            out.put('x');
            out.put('y');
            out.put('z');
        }
        out.put('\n');
        for (long r = 0; r < rows; ++r) {
            for (long c = 0; c < columns; ++c) {
                const double u = (c + jitter(random)) / static_cast<double>(columns - 1);
                const double v = (r + jitter(random)) / static_cast<double>(rows - 1);
                const auto x = static_cast<float>(halfSize * warp(2.0 * u - 1.0));
                const auto y = static_cast<float>(halfSize * warp(2.0 * v - 1.0));
                out.number(x);
                out.put(' ');
                out.number(y);
                if (withHeights) {
                    out.put(' ');
                    out.number(static_cast<float>(groundHeight(x, y)));
                }
                out.put('\n');
            }
        }
        out.number(2 * (columns - 1) * (rows - 1));
        out.put('\n');
        const auto index = [columns](long r, long c) { return r * columns + c; };
        const auto triangle = [&out](long a, long b, long c) {
            out.number(a);
            out.put(' ');
            out.number(b);
            out.put(' ');
            out.number(c);
            out.put('\n');
        };
        for (long r = 0; r + 1 < rows; ++r) {
            for (long c = 0; c + 1 < columns; ++c) {
                // Clockwise with x to the right and y upward.
                triangle(index(r, c), index(r + 1, c), index(r, c + 1));
                triangle(index(r, c + 1), index(r + 1, c), index(r + 1, c + 1));
            }
        }
        if (!out.flush()) {
            std::cerr << "Cannot write file: " << argv[3] << "\n";
            std::fclose(file);
            return 1;
        }
    }
    if (std::fclose(file) != 0) {
        std::cerr << "Cannot write file: " << argv[3] << "\n";
        return 1;
    }
    return 0;
}
