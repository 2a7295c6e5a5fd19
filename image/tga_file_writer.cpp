#include "image/tga_file_writer.h"

#include "common/staged_output_file.h"

#include <algorithm>

namespace zel {

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

Bytes exchangedChannels(const Bytes& pixels, int pixelSize) {
    Bytes exchanged = pixels;
    for (std::size_t i = 0; i + 2 < exchanged.size(); i += static_cast<std::size_t>(pixelSize))
        std::swap(exchanged[i], exchanged[i + 2]);
    return exchanged;
}

void writeFile(const std::filesystem::path& path, const Bytes& bytes) {
    StagedOutputFile file(path.string(), ".tga-");
    file.write({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
    file.commit();
}

} // namespace zel
