#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zel::test {

// A PNG file's pixels as RGB bytes, top row first, as libpng reads them.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
};

// The picture in the PNG file at `path`; empty (0 x 0) when it cannot be read.
Picture readPng(const std::string& path);

} // namespace zel::test
