// Files the loader refuses for their header, and the order in which the tests decide.
#include "image/tga_image.h"
#include "tests/support/tga_file_builder.h"

#include <cctype>
#include <functional>
#include <gtest/gtest.h>

namespace zel::test {

using enum TgaStatus;
namespace {

struct RefusedFile {
    const char* name;
    std::function<Bytes()> bytes;
    TgaStatus expected;
};

void PrintTo(const RefusedFile& file, std::ostream* out) {
    *out << file.name;
}

Bytes trueColour(TgaHeader header) {
    const int pixelSize = header.pixelDepth / 8;
    const int pixels = (header.width - header.xOrigin) * (header.height - header.yOrigin);
    return tgaFile(header, {}, patternPixels(pixels > 0 ? pixels : 0, pixelSize));
}

Bytes colourMapped(TgaHeader header, Bytes map = testColourMap()) {
    return tgaFile(header, map, patternPixels(header.width * header.height, 1));
}

template <typename Change> TgaHeader changed(TgaHeader header, Change change) {
    change(header);
    return header;
}

Bytes withoutLastByte(Bytes bytes) {
    bytes.pop_back();
    return bytes;
}

const Bytes validMap = testColourMap();

const RefusedFile refusedFiles[] = {
    // Colour map type first, before anything else.
    {"colour map type 2",
     [] {
         return trueColour(changed(trueColourHeader(2, 2), [](auto& h) { h.colourMapType = 2; }));
     },
     UnsupportedImageFormat},
    {"colour map type 2 with zero width and type 12",
     [] {
         return trueColour(changed(trueColourHeader(0, 2), [](auto& h) {
             h.colourMapType = 2;
             h.imageType = 12;
         }));
     },
     UnsupportedImageFormat},
    // Image type codes: above 11 refused before the dimensions, 3 to 11 after them.
    {"type 12",
     [] { return trueColour(changed(trueColourHeader(2, 2), [](auto& h) { h.imageType = 12; })); },
     UnsupportedImageFormat},
    {"type 12 with zero width",
     [] { return trueColour(changed(trueColourHeader(0, 2), [](auto& h) { h.imageType = 12; })); },
     UnsupportedImageFormat},
    {"grey-scale type 3",
     [] {
         return trueColour(changed(trueColourHeader(2, 2, 8), [](auto& h) { h.imageType = 3; }));
     },
     UnsupportedImageFormat},
    {"grey-scale type 3 with zero width",
     [] {
         return trueColour(changed(trueColourHeader(0, 2, 8), [](auto& h) { h.imageType = 3; }));
     },
     BadImageFormat},
    {"type 0",
     [] { return trueColour(changed(trueColourHeader(2, 2), [](auto& h) { h.imageType = 0; })); },
     UnsupportedImageFormat},
    {"type 11",
     [] { return trueColour(changed(trueColourHeader(2, 2), [](auto& h) { h.imageType = 11; })); },
     UnsupportedImageFormat},
    {"type 130",
     [] { return trueColour(changed(trueColourHeader(2, 2), [](auto& h) { h.imageType = 130; })); },
     UnsupportedImageFormat},
    // The colour map must be 256 entries of 24 bits from entry 0.
    {"colour map of 255 entries",
     [] {
         return colourMapped(
             changed(colourMappedHeader(2, 2), [](auto& h) { h.colourMapLength = 255; }),
             Bytes(validMap.begin(), validMap.end() - 3));
     },
     UnsupportedImageFormat},
    {"colour map from entry 1",
     [] {
         return colourMapped(
             changed(colourMappedHeader(2, 2), [](auto& h) { h.colourMapFirstEntry = 1; }));
     },
     UnsupportedImageFormat},
    {"colour map of 32-bit entries",
     [] {
         return colourMapped(
             changed(colourMappedHeader(2, 2), [](auto& h) { h.colourMapEntrySize = 32; }));
     },
     UnsupportedImageFormat},
    // Extents after the origin is subtracted.
    {"zero width", [] { return trueColour(trueColourHeader(0, 2)); }, BadImageFormat},
    {"zero height", [] { return trueColour(trueColourHeader(2, 0)); }, BadImageFormat},
    {"x-origin equal to the width",
     [] { return trueColour(changed(trueColourHeader(5, 2), [](auto& h) { h.xOrigin = 5; })); },
     BadImageFormat},
    {"y-origin beyond the height",
     [] {
         return tgaFile(changed(trueColourHeader(5, 2), [](auto& h) { h.yOrigin = 3; }), {},
                        patternPixels(5, 3));
     },
     BadImageFormat},
    {"x-origin far beyond the width",
     [] {
         return tgaFile(changed(trueColourHeader(100, 1), [](auto& h) { h.xOrigin = 40000; }), {},
                        patternPixels(25636, 3));
     },
     BadImageFormat},
    {"x-origin 65535 and no width",
     [] {
         return tgaFile(changed(trueColourHeader(0, 1), [](auto& h) { h.xOrigin = 65535; }), {},
                        patternPixels(1, 3));
     },
     BadImageFormat},
    {"width above 32767", [] { return tgaFile(trueColourHeader(40000, 1), {}, {}); },
     BadImageFormat},
    // Descriptor: up to 0x20 passes.
    {"descriptor 0x28", [] { return trueColour(trueColourHeader(2, 2, 32, 0x28)); },
     UnsupportedImageFormat},
    {"descriptor 0x21", [] { return trueColour(trueColourHeader(2, 2, 24, 0x21)); },
     UnsupportedImageFormat},
    // Colour map presence must fit the type.
    {"type 2 with a colour map",
     [] {
         return tgaFile(changed(colourMappedHeader(2, 2),
                                [](auto& h) {
                                    h.imageType = 2;
                                    h.pixelDepth = 24;
                                }),
                        validMap, patternPixels(4, 3));
     },
     BadImageFormat},
    {"type 10 with a colour map",
     [] {
         return tgaFile(changed(colourMappedHeader(2, 2, 0, true),
                                [](auto& h) {
                                    h.imageType = 10;
                                    h.pixelDepth = 24;
                                }),
                        validMap, {0x83, 1, 2, 3});
     },
     BadImageFormat},
    {"type 1 without a colour map",
     [] {
         return tgaFile(changed(trueColourHeader(2, 2, 8), [](auto& h) { h.imageType = 1; }), {},
                        Bytes(800, 1));
     },
     BadImageFormat},
    {"type 9 without a colour map",
     [] {
         return tgaFile(changed(trueColourHeader(2, 2, 8), [](auto& h) { h.imageType = 9; }), {},
                        Bytes(800, 1));
     },
     BadImageFormat},
    // Uncompressed files must hold header, ID field, colour map and every pixel.
    {"type 2 one byte short", [] { return withoutLastByte(trueColour(trueColourHeader(3, 2))); },
     BadImageFormat},
    {"type 2 with ID field one byte short",
     [] {
         return withoutLastByte(
             trueColour(changed(trueColourHeader(3, 2), [](auto& h) { h.idLength = 200; })));
     },
     BadImageFormat},
    {"type 1 one byte short",
     [] { return withoutLastByte(colourMapped(colourMappedHeader(3, 2))); }, BadImageFormat},
    {"type 2 claiming 32767 x 32767 x 32 bits",
     [] { return tgaFile(trueColourHeader(32767, 32767, 32), {}, Bytes(64, 0)); }, BadImageFormat},
    // Pixel depths that the channel exchange and the texture builder cannot use.
    {"type 2 of 16 bits", [] { return trueColour(trueColourHeader(2, 2, 16)); },
     UnsupportedImageFormat},
    {"type 2 of 8 bits", [] { return trueColour(trueColourHeader(2, 2, 8)); },
     UnsupportedImageFormat},
    {"type 2 of 0 bits", [] { return trueColour(trueColourHeader(2, 2, 0)); },
     UnsupportedImageFormat},
    {"type 10 of 16 bits",
     [] {
         return tgaFile(trueColourHeader(2, 2, 16, 0, true), {}, {0x83, 1, 2});
     },
     UnsupportedImageFormat},
    {"type 10 of 0 bits", [] { return tgaFile(trueColourHeader(2, 2, 0, 0, true), {}, {0x83}); },
     UnsupportedImageFormat},
    {"type 1 of 16 bits",
     [] {
         return tgaFile(changed(colourMappedHeader(2, 2), [](auto& h) { h.pixelDepth = 16; }),
                        validMap, patternPixels(4, 2));
     },
     UnsupportedImageFormat},
    {"type 9 of 24 bits",
     [] {
         return tgaFile(
             changed(colourMappedHeader(2, 2, 0, true), [](auto& h) { h.pixelDepth = 24; }),
             validMap, {0x83, 1, 2, 3});
     },
     UnsupportedImageFormat},
    {"data size beyond 32 bits",
     [] { return tgaFile(trueColourHeader(32767, 32767, 255), {}, Bytes(64, 0)); },
     UnsupportedImageFormat},
};

class TgaImageRefusal : public testing::TestWithParam<RefusedFile> {};

TEST_P(TgaImageRefusal, GivesItsStatus) {
    TgaImage image;
    EXPECT_EQ(loadBytes(image, GetParam().bytes()), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Headers, TgaImageRefusal, testing::ValuesIn(refusedFiles),
                         [](const testing::TestParamInfo<RefusedFile>& param) {
                             std::string name;
                             for (const char* c = param.param.name; *c != '\0'; ++c)
                                 name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
                             return name;
                         });

TEST(TgaImageHeader, DescriptorsUpToTopRowFirstAreAccepted) {
    for (int descriptor : {0x00, 0x08, 0x0f, 0x1f, 0x20}) {
        TgaImage image;
        EXPECT_EQ(loadBytes(image, trueColour(trueColourHeader(2, 2, 32, descriptor))), Success)
            << descriptor;
    }
}

TEST(TgaImageHeader, LargestExtentIsAccepted) {
    TgaImage image;
    ASSERT_EQ(loadBytes(image,
                        tgaFile(trueColourHeader(32767, 1, 24, 0x20), {}, patternPixels(32767, 3))),
              Success);
    EXPECT_EQ(image.width(), 32767);
}

} // namespace
} // namespace zel::test
