#include "image/tga_exception.h"
#include "tests/support/scratch_directory.h"
#include "tests/support/tga_file_builder.h"
#include "viewer/texture/height_blend.h"
#include "viewer/texture/terrain_images.h"

#include <array>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace zel {
namespace {

using Rgb = std::array<unsigned char, 3>;

Rgb pixelOf(const RgbImageView& image, int column, int row) {
    Rgb rgb{};
    blendTexel({image}, 0.0f, column, row, rgb.data());
    return rgb;
}

std::string failureText(const std::vector<std::string>& names) {
    try {
        const TerrainImages images(names);
    } catch (const TgaException& failure) {
        return failure.what();
    }
    return "no failure";
}

TEST(TerrainImages, EveryLayoutIsReadAsRgb) {
    const test::ScratchDirectory scratch;
    const std::string rgb = scratch.write("rgb.tga", test::tgaBytes(2, 1, 24, {1, 2, 3, 4, 5, 6}));
    const std::string rgba =
        scratch.write("rgba.tga", test::tgaBytes(2, 1, 32, {7, 8, 9, 99, 10, 11, 12, 98}));
    std::vector<unsigned char> palette(768, 0);
    palette[3 * 5] = 50;
    palette[3 * 5 + 1] = 60;
    palette[3 * 5 + 2] = 70;
    const std::string mapped =
        scratch.write("mapped.tga", test::tgaBytes(2, 1, 8, {0, 5}, palette));

    const TerrainImages images({rgb, rgba, mapped});
    ASSERT_EQ(images.views().size(), 3u);
    EXPECT_EQ(pixelOf(images.views()[0], 1, 0), (Rgb{4, 5, 6}));
    EXPECT_EQ(pixelOf(images.views()[1], 0, 0), (Rgb{7, 8, 9}));
    EXPECT_EQ(pixelOf(images.views()[1], 1, 0), (Rgb{10, 11, 12}));
    EXPECT_EQ(pixelOf(images.views()[2], 0, 0), (Rgb{0, 0, 0}));
    EXPECT_EQ(pixelOf(images.views()[2], 1, 0), (Rgb{50, 60, 70}));
}

TEST(TerrainImages, ImageWithoutPixelsIsRefused) {
    const TgaImage empty;
    try {
        rgbImageView(empty, "blank.tga");
        FAIL() << "no exception";
    } catch (const TgaException& failure) {
        EXPECT_STREQ(failure.what(), "Loading: blank.tga - unsupported image format");
    }
}

TEST(TerrainImages, NoNamesLoadNothing) {
    EXPECT_TRUE(TerrainImages({}).views().empty());
}

TEST(TerrainImages, FirstFailureEndsTheLoading) {
    const test::ScratchDirectory scratch;
    const std::string good = scratch.write("good.tga", test::tgaBytes(1, 1, 24, {1, 2, 3}));
    const std::string grey = scratch.write("grey.tga", test::tgaBytes(1, 1, 16, {1, 2}));
    const std::string missing = good + ".missing";
    EXPECT_EQ(failureText({good, missing, grey}), "Loading: " + missing + " - not found");
    EXPECT_EQ(failureText({good, grey, missing}),
              "Loading: " + grey + " - unsupported image format");
}

} // namespace
} // namespace zel
