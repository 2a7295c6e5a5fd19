#include "image/tga_image.h"

#include "common/input_file.h"
#include "image/tga_exception.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <limits>
#include <new>
#include <utility>

namespace zel {

// The loader speaks in statuses throughout.
using enum TgaStatus;

namespace {

constexpr std::size_t headerSize = 18;
constexpr std::size_t paletteEntries = 256;
constexpr std::size_t paletteSize = paletteEntries * 3;
constexpr unsigned topRowFirst = 0x20;
constexpr unsigned largestDescriptor = 0x20;
// A run-length packet holds at most this many pixels: its count field has 7 bits.
constexpr std::uint64_t pixelsPerPacket = 128;

enum HeaderOffset : std::size_t {
    IdLength = 0,
    ColourMapType = 1,
    ImageType = 2,
    ColourMapFirstEntry = 3,
    ColourMapLength = 5,
    ColourMapEntrySize = 7,
    XOrigin = 8,
    YOrigin = 10,
    Width = 12,
    Height = 14,
    PixelDepth = 16,
    Descriptor = 17,
};

enum ColourMapKind : unsigned { NoColourMap = 0, WithColourMap = 1 };

enum ImageKind : int {
    ColourMapped = 1,
    TrueColour = 2,
    RunLengthColourMapped = 9,
    RunLengthTrueColour = 10,
    LargestKnownType = 11,
};

unsigned readU16(const unsigned char* bytes) {
    return bytes[0] | (bytes[1] << 8);
}

// Never throws: a failed allocation is reported as null, and the caller turns it into
// MemoryAllocationFailed.
unsigned char* allocateBytes(std::uint64_t count) {
    if (count > std::numeric_limits<std::size_t>::max())
        return nullptr;
    return new (std::nothrow) unsigned char[static_cast<std::size_t>(count)];
}

bool isTrueColourDepth(int depth) {
    return depth == 24 || depth == 32;
}
bool isColourIndexDepth(int depth) {
    return depth == 8;
}

} // namespace

TgaImage::~TgaImage() {
    releasePicture();
    releaseFileContents();
}

void TgaImage::load(const std::string& fileName) {
    const TgaStatus status = loadFile(fileName.c_str());
    if (status != Success)
        throw TgaException(fileName, status);
}

TgaStatus TgaImage::loadFile(const char* fileName) {
    try {
        releasePicture();
        if (fileName == nullptr)
            return NotFound;
        if (const TgaStatus status = readFileContents(fileName); status != Success)
            return status;
        if (const TgaStatus status = validateHeader(); status != Success)
            return status;
        if (const TgaStatus status = decode(); status != Success)
            return status;
        if ((fileContents_[Descriptor] & topRowFirst) == 0)
            reverseRows();
        releaseFileContents();
        return Success;
    } catch (const std::bad_alloc&) {
        // The stream may allocate its buffer; no allocation failure may escape.
        return MemoryAllocationFailed;
    }
}

TgaStatus TgaImage::readFileContents(const char* fileName) {
    // A directory, which reports a nonsensical length, is refused here, before allocating.
    const InputFile opened = openInputFile(fileName);
    if (!opened.stream)
        return NotFound;
    std::ifstream& file = *opened.stream;
    file.seekg(0, std::ios::end);
    const std::streamoff length = file.tellg();
    file.seekg(0, std::ios::beg);
    if (length < 0 || !file)
        return NotFound;

    releaseFileContents();
    fileContents_ = allocateBytes(static_cast<std::uint64_t>(length));
    if (fileContents_ == nullptr)
        return MemoryAllocationFailed;
    fileLength_ = static_cast<std::size_t>(length);
    file.read(reinterpret_cast<char*>(fileContents_), static_cast<std::streamsize>(length));
    if (file.gcount() != length)
        return NotFound;
    return Success;
}

TgaStatus TgaImage::validateHeader() {
    if (fileLength_ < headerSize)
        return BadImageFormat;
    const unsigned char* header = fileContents_;

    const unsigned colourMapType = header[ColourMapType];
    if (colourMapType > WithColourMap)
        return UnsupportedImageFormat;

    // Codes 128 to 255 become negative here and are refused by decode().
    imageType_ = static_cast<std::int8_t>(header[ImageType]);
    if (imageType_ > LargestKnownType)
        return UnsupportedImageFormat;

    if (colourMapType == WithColourMap &&
        (readU16(header + ColourMapFirstEntry) != 0 ||
         readU16(header + ColourMapLength) != paletteEntries || header[ColourMapEntrySize] != 24))
        return UnsupportedImageFormat;

    // The extent is the size less the origin. An origin at or past the size leaves no image;
    // subtracted anyway on the unsigned fields, it would wrap round to a large extent.
    const unsigned fullWidth = readU16(header + Width);
    const unsigned fullHeight = readU16(header + Height);
    const unsigned xOrigin = readU16(header + XOrigin);
    const unsigned yOrigin = readU16(header + YOrigin);
    if (xOrigin >= fullWidth || yOrigin >= fullHeight)
        return BadImageFormat;
    // An extent above 32767 becomes negative here and is refused as well.
    width_ = static_cast<std::int16_t>(static_cast<std::uint16_t>(fullWidth - xOrigin));
    height_ = static_cast<std::int16_t>(static_cast<std::uint16_t>(fullHeight - yOrigin));
    if (width_ < 1 || height_ < 1)
        return BadImageFormat;

    pixelDepth_ = header[PixelDepth];
    if (header[Descriptor] > largestDescriptor)
        return UnsupportedImageFormat;

    // Up to 32767 x 32767 x 31 bytes: more than 32 bits hold. Only depths that are
    // refused anyway can get there.
    const std::uint64_t dataSize = std::uint64_t{static_cast<std::uint16_t>(width_)} *
                                   static_cast<std::uint16_t>(height_) * bytesPerPixel();
    if (dataSize > std::numeric_limits<std::uint32_t>::max())
        return UnsupportedImageFormat;
    dataSize_ = static_cast<std::uint32_t>(dataSize);
    return Success;
}

TgaStatus TgaImage::decode() {
    const std::size_t idLength = fileContents_[IdLength];
    const unsigned colourMapType = fileContents_[ColourMapType];
    const std::size_t colourMapOffset = headerSize + idLength;
    const std::uint64_t fileLength = fileLength_;

    switch (imageType_) {
    case ColourMapped: {
        const std::size_t pixelDataOffset = colourMapOffset + paletteSize;
        if (fileLength < pixelDataOffset + std::uint64_t{dataSize_} ||
            colourMapType != WithColourMap)
            return BadImageFormat;
        if (!isColourIndexDepth(pixelDepth_))
            return UnsupportedImageFormat;
        if (const TgaStatus status = copyPixels(pixelDataOffset); status != Success)
            return status;
        return copyPalette(colourMapOffset);
    }
    case TrueColour: {
        const std::size_t pixelDataOffset = colourMapOffset;
        if (fileLength < pixelDataOffset + std::uint64_t{dataSize_} || colourMapType != NoColourMap)
            return BadImageFormat;
        if (!isTrueColourDepth(pixelDepth_))
            return UnsupportedImageFormat;
        if (const TgaStatus status = copyPixels(pixelDataOffset); status != Success)
            return status;
        exchangeFirstAndThirdChannels();
        return Success;
    }
    case RunLengthColourMapped: {
        if (colourMapType != WithColourMap)
            return BadImageFormat;
        if (!isColourIndexDepth(pixelDepth_))
            return UnsupportedImageFormat;
        if (const TgaStatus status = decodeRunLength(colourMapOffset + paletteSize);
            status != Success)
            return status;
        return copyPalette(colourMapOffset);
    }
    case RunLengthTrueColour: {
        if (colourMapType != NoColourMap)
            return BadImageFormat;
        if (!isTrueColourDepth(pixelDepth_))
            return UnsupportedImageFormat;
        if (const TgaStatus status = decodeRunLength(colourMapOffset); status != Success)
            return status;
        exchangeFirstAndThirdChannels();
        return Success;
    }
    default:
        return UnsupportedImageFormat;
    }
}

TgaStatus TgaImage::copyPixels(std::size_t pixelDataOffset) {
    assert(pixelDataOffset + std::uint64_t{dataSize_} <= fileLength_);
    pixels_ = allocateBytes(dataSize_);
    if (pixels_ == nullptr)
        return MemoryAllocationFailed;
    std::memcpy(pixels_, fileContents_ + pixelDataOffset, dataSize_);
    return Success;
}

// Packets may cross rows: the picture is one stream of pixels. A packet that reaches
// beyond the last pixel is clipped there; one that runs past the end of the file is a
// BadImageFormat.
TgaStatus TgaImage::decodeRunLength(std::size_t pixelDataOffset) {
    if (pixelDataOffset > fileLength_)
        return BadImageFormat;
    const std::size_t pixelSize = static_cast<std::size_t>(bytesPerPixel());
    assert(pixelSize > 0 && dataSize_ % pixelSize == 0);

    // Every packet takes at least a header byte and one pixel value, and yields at most
    // 128 pixels: a picture larger than that cannot be in the file, so it is refused
    // before its pixel array is allocated.
    const std::uint64_t packetRoom = (fileLength_ - pixelDataOffset) / (1 + pixelSize);
    if (dataSize_ / pixelSize > packetRoom * pixelsPerPacket)
        return BadImageFormat;

    pixels_ = allocateBytes(dataSize_);
    if (pixels_ == nullptr)
        return MemoryAllocationFailed;

    const unsigned char* in = fileContents_ + pixelDataOffset;
    const unsigned char* const inEnd = fileContents_ + fileLength_;
    unsigned char* out = pixels_;
    unsigned char* const outEnd = pixels_ + dataSize_;
    while (out < outEnd) {
        if (in == inEnd)
            return BadImageFormat;
        const unsigned packetHeader = *in++;
        const std::size_t pixelsLeft = static_cast<std::size_t>(outEnd - out) / pixelSize;
        const std::size_t count = std::min<std::size_t>((packetHeader & 0x7f) + 1, pixelsLeft);
        const auto inLeft = static_cast<std::size_t>(inEnd - in);
        if (packetHeader & 0x80) {
            if (inLeft < pixelSize)
                return BadImageFormat;
            for (std::size_t i = 0; i < count; ++i, out += pixelSize)
                std::memcpy(out, in, pixelSize);
            in += pixelSize;
        } else {
            const std::size_t bytes = count * pixelSize;
            if (inLeft < bytes)
                return BadImageFormat;
            std::memcpy(out, in, bytes);
            in += bytes;
            out += bytes;
        }
    }
    return Success;
}

TgaStatus TgaImage::copyPalette(std::size_t paletteOffset) {
    if (paletteOffset + paletteSize > fileLength_)
        return BadImageFormat;
    palette_ = allocateBytes(paletteSize);
    if (palette_ == nullptr)
        return MemoryAllocationFailed;
    std::memcpy(palette_, fileContents_ + paletteOffset, paletteSize);
    for (unsigned char* entry = palette_; entry < palette_ + paletteSize; entry += 3)
        std::swap(entry[0], entry[2]);
    return Success;
}

// The file stores blue, green, red; the attribute byte of 32-bit pixels stays as is.
void TgaImage::exchangeFirstAndThirdChannels() {
    const std::size_t pixelSize = static_cast<std::size_t>(bytesPerPixel());
    assert(pixelSize >= 3);
    for (unsigned char* pixel = pixels_; pixel < pixels_ + dataSize_; pixel += pixelSize)
        std::swap(pixel[0], pixel[2]);
}

// Files without the top-row-first bit store the bottom row first.
void TgaImage::reverseRows() {
    const std::size_t rowLength =
        static_cast<std::size_t>(width_) * static_cast<std::size_t>(bytesPerPixel());
    unsigned char* upper = pixels_;
    unsigned char* lower = pixels_ + (static_cast<std::size_t>(height_) - 1) * rowLength;
    for (; upper < lower; upper += rowLength, lower -= rowLength)
        std::swap_ranges(upper, upper + rowLength, lower);
}

void TgaImage::releasePicture() {
    delete[] pixels_;
    pixels_ = nullptr;
    delete[] palette_;
    palette_ = nullptr;
}

void TgaImage::releaseFileContents() {
    delete[] fileContents_;
    fileContents_ = nullptr;
    fileLength_ = 0;
}

} // namespace zel
