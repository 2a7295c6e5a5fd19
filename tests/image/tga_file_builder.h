#pragma once

#include "tests/support/scratch_directory.h"

#include "image/tga_image.h"
#include "image/tga_status.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// Builds TGA files byte by byte for the loader's tests, benchmark and fuzz corpus.
namespace zel::test {

using Bytes = std::vector<unsigned char>;

// The 18-byte header, field by field; numbers are written little-endian.
struct TgaHeader {
    std::uint8_t idLength = 0;
    std::uint8_t colourMapType = 0;
    std::uint8_t imageType = 0;
    std::uint16_t colourMapFirstEntry = 0;
    std::uint16_t colourMapLength = 0;
    std::uint8_t colourMapEntrySize = 0;
    std::uint16_t xOrigin = 0;
    std::uint16_t yOrigin = 0;
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::uint8_t pixelDepth = 0;
    std::uint8_t descriptor = 0;
};

// Type 2 (or 10 with `runLength`), no colour map.
TgaHeader trueColourHeader(int width, int height, int depth = 24, int descriptor = 0,
                           bool runLength = false);
// Type 1 (or 9 with `runLength`) with a 256-entry, 24-bit colour map and 8-bit indices.
TgaHeader colourMappedHeader(int width, int height, int descriptor = 0, bool runLength = false);

Bytes headerBytes(const TgaHeader& header);
// Header, then `idLength` bytes of ID field, then `colourMap`, `pixelData` and `trailer`.
Bytes tgaFile(const TgaHeader& header, const Bytes& colourMap, const Bytes& pixelData,
              const Bytes& trailer = {});

// 256 entries stored blue, green, red: entry i is (B, G, R) = (i, 255 - i, i ^ 0x5a).
Bytes testColourMap();
// `count` pixels of `pixelSize` bytes, each byte distinct from its neighbours.
Bytes patternPixels(int count, int pixelSize, int seed = 0);
// A valid run-length stream for `pixels`: runs where pixels repeat, raw packets elsewhere.
Bytes encodeRunLength(const Bytes& pixels, int pixelSize);
// The same picture with its rows in the opposite order.
Bytes reversedRows(const Bytes& pixels, int rowLength);
// The first and third byte of each pixel exchanged.
Bytes exchangedChannels(const Bytes& pixels, int pixelSize);

struct SampleFile {
    std::string name;
    Bytes bytes;
    TGAStatus expected;
};
// Valid and broken files covering every branch of the loader; the fuzz corpus seed.
std::vector<SampleFile> sampleFiles();

void writeFile(const std::filesystem::path& path, const Bytes& bytes);

// Writes `bytes` to a scratch file and loads it into `image`.
TGAStatus loadBytes(TGAImage& image, const Bytes& bytes);

} // namespace zel::test
