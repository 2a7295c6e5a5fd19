#include "image/tga_exception.h"
#include "tests/support/gl_test_window.h"
#include "tests/support/scratch_directory.h"
#include "tests/support/tga_file_builder.h"
#include "tests/viewer/texture/small_terrain.h"
#include "viewer/image_levels.h"
#include "viewer/sample_lattice.h"
#include "viewer/texture/terrain_images.h"
#include "viewer/texture/terrain_surface.h"
#include "viewer/texture/terrain_texture.h"
#include "viewer/texture/texture_synthesis.h"
#include "viewer/texture/texture_upload.h"

#include <GL/gl.h>
#include <algorithm>
#include <array>
#include <cstddef>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace zel {
namespace {

class TextureUpload : public ::testing::Test {
protected:
    void SetUp() override { test::openGlTestWindow(); }

    // The texels of the bound texture, read back from OpenGL.
    static std::vector<unsigned char> boundTexels() {
        std::vector<unsigned char> texels(texelBufferSize, 0xAB);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
        return texels;
    }

    static GLint boundParameter(GLenum name) {
        GLint value = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
        return value;
    }

    static GLint levelParameter(GLint level, GLenum name) {
        GLint value = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, name, &value);
        return value;
    }

    static GLint boundName() {
        GLint name = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
        return name;
    }
};

std::vector<unsigned char> pattern() {
    std::vector<unsigned char> texels(texelBufferSize);
    for (std::size_t k = 0; k < texels.size(); ++k) {
        texels[k] = static_cast<unsigned char>((k * 7 + k / 384) & 0xFF);
    }
    return texels;
}

TEST_F(TextureUpload, MakesABoundLinearRepeatingRgbTexture) {
    const std::vector<unsigned char> texels = pattern();
    const std::uint32_t name = createTexture(textureSize, textureSize, texels.data());

    EXPECT_NE(name, 0u);
    EXPECT_EQ(boundName(), static_cast<GLint>(name));
    EXPECT_EQ(boundParameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(boundParameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(boundParameter(GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(boundParameter(GL_TEXTURE_WRAP_T), GL_REPEAT);
    EXPECT_EQ(levelParameter(0, GL_TEXTURE_WIDTH), textureSize);
    EXPECT_EQ(levelParameter(0, GL_TEXTURE_HEIGHT), textureSize);
    EXPECT_EQ(levelParameter(0, GL_TEXTURE_RED_SIZE), 8);
    EXPECT_EQ(levelParameter(0, GL_TEXTURE_ALPHA_SIZE), 0);
    EXPECT_EQ(levelParameter(1, GL_TEXTURE_WIDTH), 0); // no mipmaps
    EXPECT_EQ(boundTexels(), texels);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// The square [0, 10] x [0, 20] as two clockwise triangles, heights 0 to 8.
class TerrainResources : public TextureUpload {
protected:
    test::SmallTerrain terrain;
    const std::int32_t a = terrain.point(0, 0, 0);
    const std::int32_t b = terrain.point(10, 0, 2);
    const std::int32_t c = terrain.point(10, 20, 8);
    const std::int32_t d = terrain.point(0, 20, 4);
    const test::ScratchDirectory scratch;
    const std::string low = scratch.write(
        "low.tga", test::tgaBytes(2, 2, 24, {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120}));
    const std::string high =
        scratch.write("high.tga", test::tgaBytes(1, 3, 24, {200, 0, 0, 0, 200, 0, 0, 0, 200}));
};

// The surface stage, the texture made from it and its upload, as start-up runs them.
std::uint32_t buildTexture(TerrainModel& model, const std::vector<std::string>& imageNames,
                           const ImageLevels& levels = {}) {
    computeSurface(model);
    const TerrainTexture texture = terrainTexture(model, imageNames, levels);
    return createTexture(textureSize, textureSize, texture.texels.data());
}

TEST_F(TerrainResources, BuildsBoundsCoordinatesAndTheUploadedTexture) {
    terrain.triangle(a, c, b);
    terrain.triangle(a, d, c);
    TerrainModel& model = terrain.model;
    const std::uint32_t textureId = buildTexture(model, {low, high});

    EXPECT_EQ(model.bounds.min.x, 0);
    EXPECT_EQ(model.bounds.min.y, 0);
    EXPECT_EQ(model.bounds.min.z, 0);
    EXPECT_EQ(model.bounds.max.x, 10);
    EXPECT_EQ(model.bounds.max.y, 8);
    EXPECT_EQ(model.bounds.max.z, 20);
    ASSERT_EQ(model.texCoords.size(), 4u);
    EXPECT_EQ(model.texCoords[0].u, 0);
    EXPECT_EQ(model.texCoords[0].v, 0);
    EXPECT_EQ(model.texCoords[2].u, 1);
    EXPECT_EQ(model.texCoords[2].v, 1);
    EXPECT_EQ(model.texCoords[3].u, 0);
    EXPECT_EQ(model.texCoords[3].v, 1);

    EXPECT_EQ(boundName(), static_cast<GLint>(textureId));
    const TerrainImages images({low, high});
    const std::vector<unsigned char> expected = synthesizeTexels(model, images.views());
    EXPECT_EQ(boundTexels(), expected);
    // Texel (0, 0) stands on the lowest vertex: the first image's top left pixel.
    EXPECT_EQ(expected[0], 10);
    EXPECT_EQ(expected[1], 20);
    EXPECT_EQ(expected[2], 30);
}

TEST_F(TerrainResources, ImageFailureNamesTheImage) {
    terrain.triangle(a, c, b);
    TerrainModel& model = terrain.model;
    computeSurface(model);
    const std::string missing = low + ".missing";
    try {
        terrainTexture(model, {low, missing, high});
        FAIL() << "no exception";
    } catch (const TgaException& failure) {
        EXPECT_STREQ(failure.what(), ("Loading: " + missing + " - not found").c_str());
    }
}

// --levels and --sea-level place the images on the data's heights: the file's frame maps the
// vertices' heights back (here data = 100 + 4 * file height, and the heights are doubled), and
// every texel of the uploaded texture has the colour its height gives, computed here apart.
TEST_F(TerrainResources, LevelsAndSeaLevelGiveTheTexelsTheyDescribe) {
    terrain.triangle(a, c, b);
    terrain.triangle(a, d, c);
    TerrainModel& model = terrain.model;
    model.frame.known = true;
    model.frame.transform.scale = 0.25;
    model.frame.transform.ground = 100.0;
    model.heightScale.initial = 2.0;
    const std::vector<std::array<double, 3>> colours{{200, 0, 0}, {0, 200, 0}, {0, 0, 200}};
    const std::string red = scratch.write("red.tga", test::solidTga(200, 0, 0));
    const std::string green = scratch.write("green.tga", test::solidTga(0, 200, 0));
    const std::string blue = scratch.write("blue.tga", test::solidTga(0, 0, 200));

    struct Case {
        const char* name;
        std::vector<double> levels;
        std::optional<double> seaLevel;
        std::vector<double> pure; // where each image is pure, in data heights
    };
    // The vertices' heights 0 to 8 are data heights 100 to 116.
    const std::vector<Case> cases{
        {"Levels", {104.0, 108.0, 112.5}, {}, {104.0, 108.0, 112.5}},
        {"LevelsBeyondTheGround", {90.0, 95.0, 130.0}, {}, {90.0, 95.0, 130.0}},
        {"SeaLevel", {}, 106.3, {106.3, 106.3, 116.0}},
    };
    for (const Case& placed : cases) {
        SCOPED_TRACE(placed.name);
        ImageLevels levels;
        levels.levels = placed.levels;
        levels.seaLevel = placed.seaLevel;
        buildTexture(model, {red, green, blue}, levels);
        const std::vector<unsigned char> shown = boundTexels();
        std::size_t checked = 0;
        for (int i = 0; i < textureSize; ++i) {
            for (int j = 0; j < textureSize; ++j) {
                const auto& height = model.surface.heights[i * textureSize + j];
                if (!height) {
                    continue;
                }
                const double data = 100.0 + 4.0 * (*height / 2.0);
                double position = 0.0; // at or below the first
                for (std::size_t k = 1; k < placed.pure.size(); ++k) {
                    if (data > placed.pure[k - 1]) {
                        position = data >= placed.pure[k]
                                       ? static_cast<double>(k)
                                       : static_cast<double>(k - 1) +
                                             (data - placed.pure[k - 1]) /
                                                 (placed.pure[k] - placed.pure[k - 1]);
                    }
                }
                const auto k = std::min<std::size_t>(static_cast<std::size_t>(position), 1);
                const double f = position - static_cast<double>(k);
                const std::size_t at = 3u * static_cast<std::size_t>(textureSize * j + i);
                for (int channel = 0; channel < 3; ++channel) {
                    const double expected =
                        colours[k][channel] * (1.0 - f) + colours[k + 1][channel] * f;
                    ASSERT_NEAR(shown[at + channel], expected, 1.0)
                        << "texel " << i << ", " << j << " at data height " << data;
                }
                ++checked;
            }
        }
        EXPECT_GT(checked, 8000u);
    }
}

TEST(EmptyTerrainResources, NoVerticesStillGiveABlackTexture) {
    test::openGlTestWindow();
    test::SmallTerrain empty;
    const std::uint32_t textureId = buildTexture(empty.model, {});
    EXPECT_EQ(glIsTexture(textureId), GL_TRUE);
    EXPECT_TRUE(empty.model.texCoords.empty());
    EXPECT_EQ(empty.model.bounds.max.x, 0);
    EXPECT_EQ(empty.model.bounds.min.z, 0);
    std::vector<unsigned char> texels(texelBufferSize, 0xAB);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    EXPECT_EQ(texels, std::vector<unsigned char>(texelBufferSize, 0));
}

} // namespace
} // namespace zel
