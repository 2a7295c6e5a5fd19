#include "tests/image/tga_file_builder.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace zel::test {

namespace {

void appendU16(Bytes& bytes, std::uint16_t value) {
    bytes.push_back(static_cast<unsigned char>(value & 0xff));
    bytes.push_back(static_cast<unsigned char>(value >> 8));
}

Bytes operator+(Bytes left, const Bytes& right) {
    left.insert(left.end(), right.begin(), right.end());
    return left;
}

bool samePixel(const Bytes& pixels, std::size_t a, std::size_t b, std::size_t pixelSize) {
    return std::equal(pixels.begin() + static_cast<std::ptrdiff_t>(a * pixelSize),
                      pixels.begin() + static_cast<std::ptrdiff_t>((a + 1) * pixelSize),
                      pixels.begin() + static_cast<std::ptrdiff_t>(b * pixelSize));
}

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

TgaHeader trueColourHeader(int width, int height, int depth, int descriptor, bool runLength) {
    TgaHeader header;
    header.imageType = runLength ? 10 : 2;
    header.width = static_cast<std::uint16_t>(width);
    header.height = static_cast<std::uint16_t>(height);
    header.pixelDepth = static_cast<std::uint8_t>(depth);
    header.descriptor = static_cast<std::uint8_t>(descriptor);
    return header;
}

TgaHeader colourMappedHeader(int width, int height, int descriptor, bool runLength) {
    TgaHeader header = trueColourHeader(width, height, 8, descriptor, runLength);
    header.imageType = runLength ? 9 : 1;
    header.colourMapType = 1;
    header.colourMapLength = 256;
    header.colourMapEntrySize = 24;
    return header;
}

Bytes headerBytes(const TgaHeader& header) {
    Bytes bytes{header.idLength, header.colourMapType, header.imageType};
    appendU16(bytes, header.colourMapFirstEntry);
    appendU16(bytes, header.colourMapLength);
    bytes.push_back(header.colourMapEntrySize);
    appendU16(bytes, header.xOrigin);
    appendU16(bytes, header.yOrigin);
    appendU16(bytes, header.width);
    appendU16(bytes, header.height);
    bytes.push_back(header.pixelDepth);
    bytes.push_back(header.descriptor);
    return bytes;
}

Bytes tgaFile(const TgaHeader& header, const Bytes& colourMap, const Bytes& pixelData,
              const Bytes& trailer) {
    Bytes idField(header.idLength);
    for (std::size_t i = 0; i < idField.size(); ++i)
        idField[i] = static_cast<unsigned char>('A' + i % 26);
    return headerBytes(header) + idField + colourMap + pixelData + trailer;
}

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

Bytes encodeRunLength(const Bytes& pixels, int pixelSize) {
    const auto size = static_cast<std::size_t>(pixelSize);
    const std::size_t count = pixels.size() / size;
    Bytes packets;
    std::size_t i = 0;
    while (i < count) {
        std::size_t run = 1;
        while (i + run < count && run < 128 && samePixel(pixels, i, i + run, size))
            ++run;
        if (run > 1) {
            packets.push_back(static_cast<unsigned char>(0x80 | (run - 1)));
            packets.insert(packets.end(), pixels.begin() + static_cast<std::ptrdiff_t>(i * size),
                           pixels.begin() + static_cast<std::ptrdiff_t>((i + 1) * size));
            i += run;
            continue;
        }
        std::size_t raw = 1;
        while (i + raw < count && raw < 128 &&
               !(i + raw + 1 < count && samePixel(pixels, i + raw, i + raw + 1, size)))
            ++raw;
        packets.push_back(static_cast<unsigned char>(raw - 1));
        packets.insert(packets.end(), pixels.begin() + static_cast<std::ptrdiff_t>(i * size),
                       pixels.begin() + static_cast<std::ptrdiff_t>((i + raw) * size));
        i += raw;
    }
    return packets;
}

Bytes reversedRows(const Bytes& pixels, int rowLength) {
    Bytes reversed;
    const auto row = static_cast<std::ptrdiff_t>(rowLength);
    for (auto end = pixels.end(); end != pixels.begin(); end -= row)
        reversed.insert(reversed.end(), end - row, end);
    return reversed;
}

Bytes exchangedChannels(const Bytes& pixels, int pixelSize) {
    Bytes exchanged = pixels;
    for (std::size_t i = 0; i + 2 < exchanged.size(); i += static_cast<std::size_t>(pixelSize))
        std::swap(exchanged[i], exchanged[i + 2]);
    return exchanged;
}

std::vector<SampleFile> sampleFiles() {
    const Bytes map = testColourMap();
    std::vector<SampleFile> samples;
    auto add = [&](std::string name, Bytes bytes, TGAStatus expected) {
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

void writeFile(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    if (!file)
        throw std::runtime_error("cannot write " + path.string());
}

TGAStatus loadBytes(TGAImage& image, const Bytes& bytes) {
    static const ScratchDirectory scratch;
    const std::filesystem::path path = (scratch.path() / "image.tga");
    writeFile(path, bytes);
    return image.loadFile(path.c_str());
}

} // namespace zel::test
