// Files that end too early, overrun, or claim more than they hold: the loader refuses
// them or clips, and never reads or writes outside its arrays (checked under ASan).
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

TEST(TgaImageTruncation, EveryPrefixOfAValidFileIsBadImageFormat) {
    for (const SampleFile& sample : sampleFiles()) {
        if (sample.expected != Success || sample.name == "with_id_and_footer.tga" ||
            sample.name == "run_packet_past_last_pixel.tga")
            continue;
        for (std::size_t length = 0; length < sample.bytes.size(); ++length) {
            TgaImage image;
            ASSERT_EQ(loadBytes(image, Bytes(sample.bytes.begin(), sample.bytes.begin() + length)),
                      BadImageFormat)
                << sample.name << " cut to " << length << " bytes";
        }
    }
}

TEST(TgaImageTruncation, IdFieldOrColourMapPastTheEndIsBadImageFormat) {
    TgaHeader trueColour = trueColourHeader(2, 2, 24, 0, true);
    trueColour.idLength = 255;
    Bytes idCutShort = headerBytes(trueColour);
    idCutShort.resize(idCutShort.size() + 254, 0x83);
    TgaImage image;
    EXPECT_EQ(loadBytes(image, idCutShort), BadImageFormat);

    const Bytes map = testColourMap();
    EXPECT_EQ(loadBytes(image, tgaFile(colourMappedHeader(2, 2, 0, true),
                                       Bytes(map.begin(), map.begin() + 767), {})),
              BadImageFormat);
}

TEST(TgaImageTruncation, PacketsPastTheEndAreBadImageFormat) {
    const TgaHeader header = trueColourHeader(2, 2, 24, 0, true);
    TgaImage image;
    EXPECT_EQ(loadBytes(image, tgaFile(header, {}, {0x83, 1, 2})), BadImageFormat)
        << "run value cut";
    EXPECT_EQ(loadBytes(image, tgaFile(header, {}, {0x03, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11})),
              BadImageFormat)
        << "raw pixels cut";
    EXPECT_EQ(loadBytes(image, tgaFile(header, {}, {0x81, 1, 2, 3})), BadImageFormat)
        << "next header missing";
    EXPECT_EQ(loadBytes(image, tgaFile(header, {}, {0x81, 1, 2, 3, 0x80})), BadImageFormat)
        << "next value missing";
}

TEST(TgaImagePacketOverrun, RunBeyondTheLastPixelIsClipped) {
    TgaImage image;
    ASSERT_EQ(loadBytes(image, tgaFile(trueColourHeader(2, 1, 24, 0, true), {},
                                       {0x80, 9, 9, 9, 0xff, 1, 2, 3})),
              Success);
    EXPECT_EQ(loadedPixels(image), (Bytes{9, 9, 9, 3, 2, 1}));
}

TEST(TgaImagePacketOverrun, RawPacketBeyondTheLastPixelIsClipped) {
    // Claims 128 pixels but the picture has room for 3; only those 3 need to be present.
    TgaImage image;
    ASSERT_EQ(loadBytes(image, tgaFile(trueColourHeader(3, 1, 24, 0, true), {},
                                       {0x7f, 1, 2, 3, 4, 5, 6, 7, 8, 9})),
              Success);
    EXPECT_EQ(loadedPixels(image), (Bytes{3, 2, 1, 6, 5, 4, 9, 8, 7}));
}

TEST(TgaImagePacketOverrun, PacketsAfterTheLastPixelAreIgnored) {
    TgaImage image;
    ASSERT_EQ(loadBytes(image, tgaFile(colourMappedHeader(2, 1, 0, true), testColourMap(),
                                       {0x81, 5, 0x7f, 0xff})),
              Success);
    EXPECT_EQ(loadedPixels(image), (Bytes{5, 5}));
}

TEST(TgaImageSizeClaims, RunLengthPictureLargerThanItsPacketsCanHoldIsRefused) {
    // 60 bytes can hold 10 run packets of 4 bytes behind the header: 1280 pixels at most.
    TgaImage image;
    EXPECT_EQ(
        loadBytes(image, tgaFile(trueColourHeader(32767, 32767, 24, 0, true), {}, Bytes(42, 0xff))),
        BadImageFormat);
    EXPECT_EQ(
        loadBytes(image, tgaFile(trueColourHeader(1281, 1, 24, 0, true), {}, Bytes(40, 0xff))),
        BadImageFormat);
}

TEST(TgaImageSizeClaims, RunLengthPictureAtThePacketLimitLoads) {
    Bytes packets;
    for (int i = 0; i < 10; ++i)
        packets.insert(packets.end(), {0xff, 1, 2, 3});
    TgaImage image;
    ASSERT_EQ(loadBytes(image, tgaFile(trueColourHeader(1280, 1, 24, 0, true), {}, packets)),
              Success);
    const Bytes pixels = loadedPixels(image);
    EXPECT_EQ(pixels.size(), 3840u);
    EXPECT_EQ(Bytes(pixels.end() - 3, pixels.end()), (Bytes{3, 2, 1}));
}

TEST(TgaImageFileAccess, UnreadableNamesAreNotFound) {
    const ScratchDirectory scratch;
    TgaImage image;
    EXPECT_EQ(image.loadFile((scratch.path() / "missing.tga").c_str()), NotFound);
    EXPECT_EQ(image.loadFile((scratch.path() / "").c_str()), NotFound) << "a directory";
    EXPECT_EQ(image.loadFile(""), NotFound);
    EXPECT_EQ(image.loadFile(nullptr), NotFound);
}

TEST(TgaImageFileAccess, EmptyFileIsBadImageFormat) {
    TgaImage image;
    EXPECT_EQ(loadBytes(image, {}), BadImageFormat);
}

} // namespace
} // namespace zel::test
