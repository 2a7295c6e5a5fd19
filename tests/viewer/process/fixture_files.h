#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zel::test {

// A triangulation of a `side` x `side` grid of points whose spacing widens from left to
// right (so the heights vary), about the origin moved by `shiftX` along x, every cell split
// into two clockwise triangles.
std::string gridTriangulation(int side, double shiftX = 0.0);

// A type-2 (uncompressed, 24-bit, top-left origin) TGA file of 2 x 2 pixels of one colour.
std::string solidTga(std::uint8_t r, std::uint8_t g, std::uint8_t b);

} // namespace zel::test
