#include "tests/support/tga_file_builder.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace zel::test {

using enum TgaStatus;

namespace {

// A picture with flat stretches and noisy ones, so that both packet kinds occur.
Bytes landscapePixels(int width, int height, int pixelSize) {
    Bytes pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < pixelSize; ++c)
                pixels.push_back(static_cast<unsigned char>(
                    x < width / 2 ? y * 16 + c : (x * 7 + y * 3 + c) & 0xff));
    return pixels;
}

} // namespace

Bytes testColourMap() {
    Bytes map;
    for (int i = 0; i < 256; ++i) {
        map.push_back(static_cast<unsigned char>(i));
        map.push_back(static_cast<unsigned char>(255 - i));
        map.push_back(static_cast<unsigned char>(i ^ 0x5a));
    }
    return map;
}

Bytes patternPixels(int count, int pixelSize, int seed) {
    Bytes pixels;
    for (int i = 0; i < count * pixelSize; ++i)
        pixels.push_back(static_cast<unsigned char>(seed * 31 + i * 7 + 1));
    return pixels;
}

Bytes reversedRows(const Bytes& pixels, int rowLength) {
    Bytes reversed;
    const auto row = static_cast<std::ptrdiff_t>(rowLength);
    for (auto end = pixels.end(); end != pixels.begin(); end -= row)
        reversed.insert(reversed.end(), end - row, end);
    return reversed;
}

Bytes tgaBytes(int width, int height, int depth, const Bytes& pixels, const Bytes& palette) {
    if (palette.empty()) {
        return tgaFile(trueColourHeader(width, height, depth, 0x20), {},
                       depth >= 24 ? exchangedChannels(pixels, depth / 8) : pixels);
    }
    return tgaFile(colourMappedHeader(width, height, 0x20), exchangedChannels(palette, 3), pixels);
}

Bytes solidTga(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return tgaBytes(2, 2, 24, {r, g, b, r, g, b, r, g, b, r, g, b});
}

std::vector<SampleFile> sampleFiles() {
    const Bytes map = testColourMap();
    std::vector<SampleFile> samples;
    auto add = [&](std::string name, Bytes bytes, TgaStatus expected) {
        samples.push_back({std::move(name), std::move(bytes), expected});
    };

    add("true_colour_bottom_up.tga", tgaFile(trueColourHeader(2, 2), {}, patternPixels(4, 3)),
        Success);
    add("true_colour_top_down.tga",
        tgaFile(trueColourHeader(2, 2, 24, 0x20), {}, patternPixels(4, 3)), Success);
    add("true_colour_32_bit.tga",
        tgaFile(trueColourHeader(3, 2, 32, 0x08), {}, patternPixels(6, 4)), Success);
    add(
        "with_id_and_footer.tga",
        [&] {
            TgaHeader header = trueColourHeader(2, 3, 24, 0x20);
            header.idLength = 255;
            return tgaFile(header, {}, patternPixels(6, 3), Bytes(26, 0));
        }(),
        Success);
    add(
        "with_origin.tga",
        [&] {
            TgaHeader header = trueColourHeader(5, 4);
            header.xOrigin = 2;
            header.yOrigin = 1;
            return tgaFile(header, {}, patternPixels(9, 3));
        }(),
        Success);
    add("run_length_24_bit.tga",
        tgaFile(trueColourHeader(17, 9, 24, 0, true), {},
                encodeRunLength(landscapePixels(17, 9, 3), 3)),
        Success);
    add("run_length_32_bit.tga",
        tgaFile(trueColourHeader(9, 5, 32, 0x20, true), {},
                encodeRunLength(landscapePixels(9, 5, 4), 4)),
        Success);
    add("run_packet_past_last_pixel.tga",
        tgaFile(trueColourHeader(2, 2, 24, 0, true), {}, {0x85, 1, 2, 3}), Success);
    add("colour_mapped.tga", tgaFile(colourMappedHeader(4, 3), map, patternPixels(12, 1)), Success);
    add("run_length_colour_mapped.tga",
        tgaFile(colourMappedHeader(13, 6, 0x20, true), map,
                encodeRunLength(landscapePixels(13, 6, 1), 1)),
        Success);

    add("shorter_than_header.tga", Bytes(17, 0), BadImageFormat);
    add("pixel_data_cut_short.tga", tgaFile(trueColourHeader(2, 2), {}, patternPixels(4, 3, 1)),
        BadImageFormat);
    samples.back().bytes.pop_back();
    add("packets_cut_short.tga",
        tgaFile(trueColourHeader(4, 4, 24, 0, true), {}, {0x83, 1, 2, 3, 0x05, 9, 9}),
        BadImageFormat);
    add("colour_map_cut_short.tga",
        tgaFile(colourMappedHeader(2, 2, 0, true), Bytes(map.begin(), map.begin() + 300), {}),
        BadImageFormat);
    add(
        "true_colour_with_colour_map.tga",
        [&] {
            TgaHeader header = colourMappedHeader(2, 2);
            header.imageType = 2;
            header.pixelDepth = 24;
            return tgaFile(header, map, patternPixels(4, 3));
        }(),
        BadImageFormat);
    add("zero_width.tga", tgaFile(trueColourHeader(0, 2), {}, {}), BadImageFormat);
    add("huge_run_length_claim.tga",
        tgaFile(trueColourHeader(32767, 32767, 32, 0, true), {}, Bytes(42, 0xff)), BadImageFormat);
    add(
        "colour_map_type_2.tga",
        [&] {
            TgaHeader header = trueColourHeader(2, 2);
            header.colourMapType = 2;
            return tgaFile(header, {}, patternPixels(4, 3));
        }(),
        UnsupportedImageFormat);
    add(
        "grey_scale.tga",
        [&] {
            TgaHeader header = trueColourHeader(2, 2, 8);
            header.imageType = 3;
            return tgaFile(header, {}, patternPixels(4, 1));
        }(),
        UnsupportedImageFormat);
    add("sixteen_bit.tga", tgaFile(trueColourHeader(2, 2, 16), {}, patternPixels(4, 2)),
        UnsupportedImageFormat);
    add(
        "colour_map_of_255.tga",
        [&] {
            TgaHeader header = colourMappedHeader(2, 2);
            header.colourMapLength = 255;
            return tgaFile(header, Bytes(map.begin(), map.end() - 3), patternPixels(4, 1));
        }(),
        UnsupportedImageFormat);
    add("descriptor_0x28.tga", tgaFile(trueColourHeader(2, 2, 32, 0x28), {}, patternPixels(4, 4)),
        UnsupportedImageFormat);
    return samples;
}

TgaStatus loadBytes(TgaImage& image, const Bytes& bytes) {
    static const ScratchDirectory scratch;
    const std::filesystem::path path = (scratch.path() / "image.tga");
    writeFile(path, bytes);
    return image.loadFile(path.c_str());
}

} // namespace zel::test
