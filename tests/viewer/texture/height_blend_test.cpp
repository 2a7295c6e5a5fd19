#include "viewer/texture/height_blend.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace zel {
namespace {

using Rgb = std::array<unsigned char, 3>;

RgbImageView onePixel(const Rgb& pixel) {
    return RgbImageView{1, 1, pixel.data(), 3, nullptr};
}

Rgb texel(const std::vector<RgbImageView>& images, float t, int column = 0, int row = 0) {
    Rgb rgb{1, 2, 3};
    blendTexel(images, t, column, row, rgb.data());
    return rgb;
}

// Heights at and between the pure heights of three images, and a sea level that parts the
// first two sharply.
TEST(ImagePosition, PlacesAHeightAmongThePureHeights) {
    struct Case {
        std::vector<double> pure;
        float height;
        float position;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::vector<Case> cases{
        {{0.0, 10.0, 30.0}, -5.0f, 0.0f},
        {{0.0, 10.0, 30.0}, 0.0f, 0.0f},
        {{0.0, 10.0, 30.0}, 5.0f, 0.5f},
        {{0.0, 10.0, 30.0}, 10.0f, 1.0f},
        {{0.0, 10.0, 30.0}, 25.0f, 1.75f},
        {{0.0, 10.0, 30.0}, 30.0f, 2.0f},
        {{0.0, 10.0, 30.0}, 1e30f, 2.0f},
        {{0.0, 10.0, 30.0}, nan, 0.0f},
        {{5.0, 5.0, 15.0}, 5.0f, 0.0f},
        {{5.0, 5.0, 15.0}, 7.5f, 1.25f},
        {{5.0, 5.0, 15.0}, 15.0f, 2.0f},
        {{7.0}, 100.0f, 0.0f},
        {{}, 3.0f, 0.0f},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(imagePosition(c.height, c.pure), c.position) << c.height;
    }
    // Just above the sea is already the second image.
    EXPECT_NEAR(imagePosition(std::nextafter(5.0f, 6.0f), {5.0, 5.0, 15.0}), 1.0f, 1e-6f);
}

TEST(NormalisedHeight, SpansTheHeightRange) {
    EXPECT_FLOAT_EQ(normalisedHeight(10.0f, 10.0f, 20.0f), 0.0f);
    EXPECT_FLOAT_EQ(normalisedHeight(15.0f, 10.0f, 20.0f), 0.25f);
    EXPECT_FLOAT_EQ(normalisedHeight(30.0f, 10.0f, 20.0f), 1.0f);
}

TEST(NormalisedHeight, AnythingOutsideTheRangeBecomesZero) {
    EXPECT_EQ(normalisedHeight(30.5f, 10.0f, 20.0f), 0.0f); // above 1 becomes 0, not 1
    EXPECT_EQ(normalisedHeight(9.5f, 10.0f, 20.0f), 0.0f);
    EXPECT_EQ(normalisedHeight(std::nanf(""), 10.0f, 20.0f), 0.0f);
    EXPECT_EQ(normalisedHeight(std::numeric_limits<float>::infinity(), 10.0f, 20.0f), 0.0f);
    EXPECT_EQ(normalisedHeight(std::nanf(""), std::nanf(""), std::nanf("")), 0.0f);
}

TEST(NormalisedHeight, FlatTerrainIsAllLowestGround) {
    EXPECT_EQ(normalisedHeight(7.0f, 7.0f, 0.0f), 0.0f);
    EXPECT_EQ(normalisedHeight(8.0f, 7.0f, 0.0f), 0.0f);
}

TEST(BlendTexel, TwoImagesHalfWayTruncateTheBlend) {
    const Rgb low{10, 20, 10};
    const Rgb high{20, 10, 11};
    EXPECT_EQ(texel({onePixel(low), onePixel(high)}, 0.5f), (Rgb{15, 15, 10}));
}

TEST(BlendTexel, EndsOfTheRangeShowOneImageUnblended) {
    const Rgb low{10, 20, 30};
    const Rgb high{200, 100, 0};
    const std::vector<RgbImageView> images{onePixel(low), onePixel(high)};
    EXPECT_EQ(texel(images, 0.0f), low);
    EXPECT_EQ(texel(images, 1.0f), high);
}

TEST(BlendTexel, ThreeImagesBlendTheNeighbouringPair) {
    const Rgb a{0, 0, 0};
    const Rgb b{100, 100, 100};
    const Rgb c{200, 50, 101};
    const std::vector<RgbImageView> images{onePixel(a), onePixel(b), onePixel(c)};
    EXPECT_EQ(texel(images, 0.5f), b);
    EXPECT_EQ(texel(images, 0.75f), (Rgb{150, 75, 100}));
    EXPECT_EQ(texel(images, 0.25f), (Rgb{50, 50, 50}));
    EXPECT_EQ(texel(images, 1.0f), c);
    EXPECT_EQ(texel(images, 1.5f), a);
    EXPECT_EQ(texel(images, std::nanf("")), a);
}

TEST(BlendTexel, OneImageShowsAtEveryHeight) {
    const Rgb only{9, 8, 7};
    for (float t : {0.0f, 0.3f, 1.0f}) {
        EXPECT_EQ(texel({onePixel(only)}, t), only);
    }
}

TEST(BlendTexel, NoImagesGiveWhite) {
    EXPECT_EQ(texel({}, 0.0f), (Rgb{255, 255, 255}));
    EXPECT_EQ(texel({}, 0.7f), (Rgb{255, 255, 255}));
}

// Pixel (x, y) of the picture is (x, y, tag).
std::vector<unsigned char> coordinatePicture(int width, int height, unsigned char tag) {
    std::vector<unsigned char> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            pixels.insert(pixels.end(),
                          {static_cast<unsigned char>(x), static_cast<unsigned char>(y), tag});
        }
    }
    return pixels;
}

TEST(BlendTexel, EachImageIsTiledByItsOwnSize) {
    const std::vector<unsigned char> wide = coordinatePicture(64, 32, 7);
    const std::vector<unsigned char> small = coordinatePicture(3, 5, 9);
    const RgbImageView first{64, 32, wide.data(), 3, nullptr};
    const RgbImageView second{3, 5, small.data(), 3, nullptr};

    EXPECT_EQ(texel({first, second}, 0.0f, 100, 40), (Rgb{36, 8, 7}));
    EXPECT_EQ(texel({first, second}, 1.0f, 100, 40), (Rgb{1, 0, 9}));
    EXPECT_EQ(texel({first}, 0.0f, 127, 127), (Rgb{63, 31, 7}));
    EXPECT_EQ(texel({first}, 0.0f, 63, 31), (Rgb{63, 31, 7}));
    EXPECT_EQ(texel({first}, 0.0f, 64, 32), (Rgb{0, 0, 7}));
}

} // namespace
} // namespace zel
