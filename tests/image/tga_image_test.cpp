// Pixel layout after a successful load: row order, channel order, run-length packets,
// colour maps, skipped fields.
#include "image/tga_image.h"
#include "tests/support/tga_file_builder.h"

#include <gtest/gtest.h>

namespace zel::test {

using enum TgaStatus;
namespace {

Bytes loadedPixels(const TgaImage& image) {
    const std::size_t size =
        static_cast<std::size_t>(image.width() * image.height() * image.bytesPerPixel());
    return Bytes(image.pixels(), image.pixels() + size);
}

Bytes loadedPalette(const TgaImage& image) {
    return Bytes(image.palette(), image.palette() + 768);
}

// Pixel n (1-based) is stored as Bn Gn Rn = 0xn1 0xn2 0xn3.
const Bytes storedTwoByTwo{0x11, 0x12, 0x13, 0x21, 0x22, 0x23, 0x31, 0x32, 0x33, 0x41, 0x42, 0x43};

TEST(TgaImageRowOrder, BottomRowFirstIsReversedAndChannelsExchanged) {
    TgaImage image;
    ASSERT_EQ(loadBytes(image, tgaFile(trueColourHeader(2, 2), {}, storedTwoByTwo)), Success);
    EXPECT_EQ(image.width(), 2);
    EXPECT_EQ(image.height(), 2);
    EXPECT_EQ(image.pixelDepth(), 24);
    EXPECT_EQ(image.imageType(), 2);
    EXPECT_EQ(image.palette(), nullptr);
    EXPECT_EQ(loadedPixels(image),
              (Bytes{0x33, 0x32, 0x31, 0x43, 0x42, 0x41, 0x13, 0x12, 0x11, 0x23, 0x22, 0x21}));
}

TEST(TgaImageRowOrder, TopRowFirstKeepsStoredRows) {
    TgaImage image;
    ASSERT_EQ(loadBytes(image, tgaFile(trueColourHeader(2, 2, 24, 0x20), {}, storedTwoByTwo)),
              Success);
    EXPECT_EQ(loadedPixels(image),
              (Bytes{0x13, 0x12, 0x11, 0x23, 0x22, 0x21, 0x33, 0x32, 0x31, 0x43, 0x42, 0x41}));
}

TEST(TgaImageRowOrder, OddRowCountKeepsMiddleRowInPlace) {
    const Bytes stored = patternPixels(6, 3);
    TgaImage image;
    ASSERT_EQ(loadBytes(image, tgaFile(trueColourHeader(2, 3), {}, stored)), Success);
    EXPECT_EQ(loadedPixels(image), reversedRows(exchangedChannels(stored, 3), 6));
    const Bytes middle(stored.begin() + 6, stored.begin() + 12);
    EXPECT_EQ(Bytes(image.pixels() + 6, image.pixels() + 12), exchangedChannels(middle, 3));
}

TEST(TgaImageRowOrder, RightToLeftBitDoesNotReorderColumns) {
    TgaImage image;
    ASSERT_EQ(loadBytes(image, tgaFile(trueColourHeader(2, 2, 24, 0x10), {}, storedTwoByTwo)),
              Success);
    EXPECT_EQ(loadedPixels(image), reversedRows(exchangedChannels(storedTwoByTwo, 3), 6));
}

TEST(TgaImageTrueColour, ThirtyTwoBitKeepsFourthByte) {
    const Bytes stored{0x11, 0x12, 0x13, 0x14, 0x21, 0x22, 0x23, 0x24};
    TgaImage image;
    ASSERT_EQ(loadBytes(image, tgaFile(trueColourHeader(2, 1, 32, 0x08), {}, stored)), Success);
    EXPECT_EQ(image.bytesPerPixel(), 4);
    EXPECT_EQ(loadedPixels(image), (Bytes{0x13, 0x12, 0x11, 0x14, 0x23, 0x22, 0x21, 0x24}));
}

TEST(TgaImageTrueColour, IdFieldOfAnyLengthIsSkipped) {
    for (int idLength : {1, 17, 255}) {
        TgaHeader header = trueColourHeader(2, 2, 24, 0x20);
        header.idLength = static_cast<std::uint8_t>(idLength);
        TgaImage image;
        ASSERT_EQ(loadBytes(image, tgaFile(header, {}, storedTwoByTwo)), Success) << idLength;
        EXPECT_EQ(loadedPixels(image), exchangedChannels(storedTwoByTwo, 3)) << idLength;
    }
}

TEST(TgaImageTrueColour, TrailingFooterIsIgnored) {
    const Bytes footer{0,   0,   0,   0,   0,   0,   0,   0,   'T', 'R', 'U', 'E', 'V',
                       'I', 'S', 'I', 'O', 'N', '-', 'X', 'F', 'I', 'L', 'E', '.', 0};
    TgaImage image;
    ASSERT_EQ(
        loadBytes(image, tgaFile(trueColourHeader(2, 2, 24, 0x20), {}, storedTwoByTwo, footer)),
        Success);
    EXPECT_EQ(loadedPixels(image), exchangedChannels(storedTwoByTwo, 3));
}

TEST(TgaImageTrueColour, OriginIsSubtractedFromTheExtent) {
    TgaHeader header = trueColourHeader(64, 3, 24, 0x20);
    header.xOrigin = 10;
    header.yOrigin = 1;
    const Bytes stored = patternPixels(54 * 2, 3);
    TgaImage image;
    ASSERT_EQ(loadBytes(image, tgaFile(header, {}, stored)), Success);
    EXPECT_EQ(image.width(), 54);
    EXPECT_EQ(image.height(), 2);
    EXPECT_EQ(loadedPixels(image), exchangedChannels(stored, 3));
}

TEST(TgaImageRunLength, RunPacketFillsEveryPixel) {
    TgaImage image;
    ASSERT_EQ(loadBytes(image,
                        tgaFile(trueColourHeader(2, 2, 24, 0, true), {}, {0x83, 0x01, 0x02, 0x03})),
              Success);
    EXPECT_EQ(image.imageType(), 10);
    EXPECT_EQ(loadedPixels(image), (Bytes{3, 2, 1, 3, 2, 1, 3, 2, 1, 3, 2, 1}));
}

TEST(TgaImageRunLength, RawPacketCopiesPixelsInOrder) {
    TgaImage image;
    ASSERT_EQ(loadBytes(image, tgaFile(trueColourHeader(3, 1, 24, 0, true), {},
                                       {0x02, 1, 2, 3, 4, 5, 6, 7, 8, 9})),
              Success);
    EXPECT_EQ(loadedPixels(image), (Bytes{3, 2, 1, 6, 5, 4, 9, 8, 7}));
}

TEST(TgaImageRunLength, RunPacketCrossesIntoNextRow) {
    // Rows of three: one raw pixel, a run of four spanning both rows, one raw pixel.
    const Bytes packets{0x00, 1, 1, 1, 0x83, 2, 2, 2, 0x00, 3, 3, 3};
    TgaImage image;
    ASSERT_EQ(loadBytes(image, tgaFile(trueColourHeader(3, 2, 24, 0x20, true), {}, packets)),
              Success);
    EXPECT_EQ(loadedPixels(image), (Bytes{1, 1, 1, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 3, 3, 3}));
}

TEST(TgaImageRunLength, LongestPacketsHold128Pixels) {
    Bytes packets{0xff, 7, 8, 9, 0x7f};
    const Bytes raw = patternPixels(128, 3);
    packets.insert(packets.end(), raw.begin(), raw.end());
    TgaImage image;
    ASSERT_EQ(loadBytes(image, tgaFile(trueColourHeader(256, 1, 24, 0, true), {}, packets)),
              Success);
    const Bytes pixels = loadedPixels(image);
    for (int i = 0; i < 128; ++i)
        ASSERT_EQ(Bytes(pixels.begin() + i * 3, pixels.begin() + i * 3 + 3), (Bytes{9, 8, 7})) << i;
    EXPECT_EQ(Bytes(pixels.begin() + 384, pixels.end()), exchangedChannels(raw, 3));
}

TEST(TgaImageRunLength, DecodesLikeTheUncompressedPicture) {
    for (int depth : {24, 32}) {
        const int pixelSize = depth / 8;
        Bytes stored;
        for (int i = 0; i < 40 * 7; ++i)
            for (int c = 0; c < pixelSize; ++c)
                stored.push_back(static_cast<unsigned char>(i % 40 < 25 ? i / 40 + c : i * 13 + c));
        const Bytes packets = encodeRunLength(stored, pixelSize);
        ASSERT_LT(packets.size(), stored.size());

        TgaImage raw;
        TgaImage runLength;
        ASSERT_EQ(loadBytes(raw, tgaFile(trueColourHeader(40, 7, depth), {}, stored)), Success);
        ASSERT_EQ(
            loadBytes(runLength, tgaFile(trueColourHeader(40, 7, depth, 0, true), {}, packets)),
            Success);
        EXPECT_EQ(loadedPixels(runLength), loadedPixels(raw)) << depth;
        EXPECT_EQ(loadedPixels(runLength),
                  reversedRows(exchangedChannels(stored, pixelSize), 40 * pixelSize));
    }
}

TEST(TgaImageColourMapped, KeepsIndicesAndPaletteIsRedGreenBlue) {
    const Bytes indices{0, 1, 2, 3, 254, 255};
    TgaImage image;
    ASSERT_EQ(loadBytes(image, tgaFile(colourMappedHeader(3, 2), testColourMap(), indices)),
              Success);
    EXPECT_EQ(image.imageType(), 1);
    EXPECT_EQ(image.pixelDepth(), 8);
    EXPECT_EQ(loadedPixels(image), (Bytes{3, 254, 255, 0, 1, 2}));
    ASSERT_NE(image.palette(), nullptr);
    EXPECT_EQ(loadedPalette(image), exchangedChannels(testColourMap(), 3));
    EXPECT_EQ(image.palette()[3 * 7 + 0], 7 ^ 0x5a);
    EXPECT_EQ(image.palette()[3 * 7 + 1], 255 - 7);
    EXPECT_EQ(image.palette()[3 * 7 + 2], 7);
}

TEST(TgaImageColourMapped, RunLengthFormAfterIdField) {
    TgaHeader header = colourMappedHeader(4, 2, 0x20, true);
    header.idLength = 9;
    TgaImage image;
    ASSERT_EQ(loadBytes(image, tgaFile(header, testColourMap(), {0x82, 40, 0x04, 1, 2, 3, 4, 5})),
              Success);
    EXPECT_EQ(image.imageType(), 9);
    EXPECT_EQ(loadedPixels(image), (Bytes{40, 40, 40, 1, 2, 3, 4, 5}));
    EXPECT_EQ(loadedPalette(image), exchangedChannels(testColourMap(), 3));
}

TEST(TgaImageReload, ReplacesThePreviousPicture) {
    TgaImage image;
    ASSERT_EQ(
        loadBytes(image, tgaFile(colourMappedHeader(3, 2), testColourMap(), patternPixels(6, 1))),
        Success);
    ASSERT_EQ(loadBytes(image, tgaFile(trueColourHeader(1, 1), {}, {1, 2, 3})), Success);
    EXPECT_EQ(image.palette(), nullptr);
    EXPECT_EQ(image.imageType(), 2);
    EXPECT_EQ(loadedPixels(image), (Bytes{3, 2, 1}));

    ASSERT_EQ(loadBytes(image, tgaFile(trueColourHeader(1, 1), {}, {})), BadImageFormat);
    ASSERT_EQ(loadBytes(image, tgaFile(trueColourHeader(2, 2, 24, 0x20), {}, storedTwoByTwo)),
              Success);
    EXPECT_EQ(loadedPixels(image), exchangedChannels(storedTwoByTwo, 3));
}

TEST(TgaImageEmpty, NewImageHoldsNothing) {
    const TgaImage image;
    EXPECT_EQ(image.width(), 0);
    EXPECT_EQ(image.height(), 0);
    EXPECT_EQ(image.pixelDepth(), 0);
    EXPECT_EQ(image.imageType(), 0);
    EXPECT_EQ(image.pixels(), nullptr);
    EXPECT_EQ(image.palette(), nullptr);
}

} // namespace
} // namespace zel::test
