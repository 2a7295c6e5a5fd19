#include "tests/viewer/process/fixture_files.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace zel::test {

std::string gridTriangulation(int side, double shiftX) {
    std::ostringstream text;
    text << side * side << '\n';
    for (int row = 0; row < side; ++row) {
        for (int column = 0; column < side; ++column) {
            const double x = 12.0 * column + 4.5 * column * column - 90.0 + shiftX;
            text << x << ' ' << 18.0 * row - 45.0 << '\n';
        }
    }
    const int cells = side - 1;
    text << 2 * cells * cells << '\n';
    for (int row = 0; row < cells; ++row) {
        for (int column = 0; column < cells; ++column) {
            const int p00 = row * side + column;
            const int p10 = p00 + 1;
            const int p01 = p00 + side;
            const int p11 = p01 + 1;
            text << p00 << ' ' << p01 << ' ' << p11 << '\n';
            text << p00 << ' ' << p11 << ' ' << p10 << '\n';
        }
    }
    return text.str();
}

std::string solidTga(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    std::string file(18, '\0');
    file[2] = 2;     // uncompressed true colour
    file[12] = 2;    // width
    file[14] = 2;    // height
    file[16] = 24;   // bits per pixel
    file[17] = 0x20; // rows from the top
    for (int pixel = 0; pixel < 4; ++pixel) {
        file += static_cast<char>(b);
        file += static_cast<char>(g);
        file += static_cast<char>(r);
    }
    return file;
}

} // namespace zel::test
