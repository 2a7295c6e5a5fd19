// Writes the sample terrain's ground textures as 24-bit TGA files, from the lowest ground
// to the highest: water.tga, grass.tga, rock.tga, snow.tga. The pictures are procedural
// (value noise) and deterministic. Water and snow are run-length encoded (type 10), grass
// and rock stored raw (type 2), so the sample exercises both kinds of file. The files are
// written with the project's TGA writer.
//
// Usage: generate_textures <out-dir>
#include "image/tga_file_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr int size = 64;

struct Rgb {
    std::uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};

using Picture = std::vector<Rgb>; // size x size, top row first

double hashNoise(int x, int y, unsigned seed) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u +
                      static_cast<std::uint32_t>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return static_cast<double>((h ^ (h >> 16)) & 0xFFFFu) / 65535.0;
}

// Smooth noise in [0, 1] that tiles with the picture's size, so tiled copies meet seamlessly.
double valueNoise(double x, double y, int cells, unsigned seed) {
    const double fx = x * cells / size, fy = y * cells / size;
    const int x0 = static_cast<int>(std::floor(fx)), y0 = static_cast<int>(std::floor(fy));
    const double tx = fx - x0, ty = fy - y0;
    const auto at = [&](int cx, int cy) {
        return hashNoise((cx % cells + cells) % cells, (cy % cells + cells) % cells, seed);
    };
    const double sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
    const double top = at(x0, y0) + (at(x0 + 1, y0) - at(x0, y0)) * sx;
    const double bottom = at(x0, y0 + 1) + (at(x0 + 1, y0 + 1) - at(x0, y0 + 1)) * sx;
    return top + (bottom - top) * sy;
}

double fractalNoise(int x, int y, unsigned seed) {
    return 0.55 * valueNoise(x, y, 4, seed) + 0.3 * valueNoise(x, y, 8, seed + 1) +
           0.15 * valueNoise(x, y, 16, seed + 2);
}

std::uint8_t channel(double v) {
    return static_cast<std::uint8_t>(std::clamp(v, 0.0, 255.0));
}

Rgb mix(Rgb a, Rgb b, double t) {
    return Rgb{channel(a.r + (b.r - a.r) * t), channel(a.g + (b.g - a.g) * t),
               channel(a.b + (b.b - a.b) * t)};
}

template <typename Shade> Picture paint(Shade shade) {
    Picture picture(size * size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            picture[static_cast<std::size_t>(y * size + x)] = shade(x, y);
        }
    }
    return picture;
}

// Water comes in a few flat bands of colour, which run-length encoding packs well.
Picture water() {
    return paint([](int x, int y) {
        const double wave = fractalNoise(x, y, 11);
        const int band = static_cast<int>(wave * 5.0);
        return mix(Rgb{20, 50, 120}, Rgb{60, 120, 190}, band / 4.0);
    });
}

Picture grass() {
    return paint([](int x, int y) {
        return mix(Rgb{40, 95, 30}, Rgb{120, 170, 60}, fractalNoise(x, y, 23));
    });
}

Picture rock() {
    return paint([](int x, int y) {
        const double n = fractalNoise(x, y, 37);
        const double crack = std::fabs(valueNoise(x, y, 8, 41) - 0.5) < 0.03 ? 0.4 : 1.0;
        return mix(Rgb{70, 65, 60}, Rgb{160, 150, 140}, n * crack);
    });
}

Picture snow() {
    return paint([](int x, int y) {
        return fractalNoise(x, y, 53) > 0.62 ? Rgb{215, 225, 240} : Rgb{250, 250, 252};
    });
}

// Stored top row first (descriptor 0x20), each pixel blue, green, red.
zel::Bytes pixelBytes(const Picture& picture) {
    zel::Bytes bytes;
    for (Rgb p : picture) {
        bytes.insert(bytes.end(), {p.b, p.g, p.r});
    }
    return bytes;
}

zel::Bytes encodeRaw(const Picture& picture) {
    return zel::tgaFile(zel::trueColourHeader(size, size, 24, 0x20), {}, pixelBytes(picture));
}

zel::Bytes encodeRunLength(const Picture& picture) {
    return zel::tgaFile(zel::trueColourHeader(size, size, 24, 0x20, true), {},
                        zel::encodeRunLength(pixelBytes(picture), 3));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "Usage: " << argv[0] << " <out-dir>\n";
        return 2;
    }
    const std::string dir = argv[1];
    try {
        zel::writeFile(dir + "/water.tga", encodeRunLength(water()));
        zel::writeFile(dir + "/grass.tga", encodeRaw(grass()));
        zel::writeFile(dir + "/rock.tga", encodeRaw(rock()));
        zel::writeFile(dir + "/snow.tga", encodeRunLength(snow()));
    } catch (const std::exception& failure) {
        std::cerr << failure.what() << "\n";
        return 1;
    }
    return 0;
}
