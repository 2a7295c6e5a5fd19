#pragma once

#include "image/tga_file_writer.h"
#include "image/tga_image.h"
#include "image/tga_status.h"
#include "tests/support/scratch_directory.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// TGA files for the loader's tests, benchmark and fuzz corpus, and the viewer's tests.
namespace zel::test {

// 256 entries stored blue, green, red: entry i is (B, G, R) = (i, 255 - i, i ^ 0x5a).
Bytes testColourMap();
// `count` pixels of `pixelSize` bytes, each byte distinct from its neighbours.
Bytes patternPixels(int count, int pixelSize, int seed = 0);
// The same picture with its rows in the opposite order.
Bytes reversedRows(const Bytes& pixels, int rowLength);

// An uncompressed file stored top row first (descriptor 0x20). True-colour `pixels` are
// given R, G, B (, A); for a colour-mapped file they are the index bytes and `palette` the
// 256 R, G, B entries.
Bytes tgaBytes(int width, int height, int depth, const Bytes& pixels, const Bytes& palette = {});
// A true-colour file of 2 x 2 pixels of one colour, stored top row first.
Bytes solidTga(std::uint8_t r, std::uint8_t g, std::uint8_t b);

struct SampleFile {
    std::string name;
    Bytes bytes;
    TgaStatus expected;
};
// Valid and broken files covering every branch of the loader; the fuzz corpus seed.
std::vector<SampleFile> sampleFiles();

// Writes `bytes` to a scratch file and loads it into `image`.
TgaStatus loadBytes(TgaImage& image, const Bytes& bytes);

} // namespace zel::test
