#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

// Writes TGA files byte by byte: the bundled sample's textures, and the files of the tests,
// the benchmarks and the fuzz corpus.
namespace zel {

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

// A valid run-length stream for `pixels`: runs where pixels repeat, raw packets elsewhere.
// Packets run across row ends: the picture is one stream of pixels.
Bytes encodeRunLength(const Bytes& pixels, int pixelSize);
// The first and third byte of each pixel exchanged: R, G, B order to the file's B, G, R.
Bytes exchangedChannels(const Bytes& pixels, int pixelSize);

// Creates or replaces the file, which appears complete or not at all (see StagedOutputFile);
// throws OutputFileException, a std::runtime_error naming it, when that fails.
void writeFile(const std::filesystem::path& path, const Bytes& bytes);

} // namespace zel
