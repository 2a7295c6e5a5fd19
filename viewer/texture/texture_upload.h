#pragma once

#include <cstdint>

namespace zel {

// Makes a new 2-D texture object of width x height RGB texels (rows of width x 3 bytes,
// first row first), linear filtering, repeat wrapping, and leaves it bound. Needs a
// current OpenGL context.
std::uint32_t createTexture(int width, int height, const unsigned char* texels);

} // namespace zel
