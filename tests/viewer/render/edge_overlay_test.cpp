#include "tests/support/gl_test_window.h"
#include "tests/viewer/render/test_terrain.h"
#include "viewer/render/edge_overlay.h"
#include "viewer/render/render_state.h"
#include "viewer/terrain_model.h"

#include <GL/gl.h>
#include <array>
#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

namespace zel {
namespace {

constexpr int windowSize = 96;

// The darkest pixel of the 5 x 5 around the window's centre.
std::array<std::uint8_t, 3> darkestNearCentre() {
    std::array<std::uint8_t, 5 * 5 * 3> block{};
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(windowSize / 2 - 2, windowSize / 2 - 2, 5, 5, GL_RGB, GL_UNSIGNED_BYTE,
                 block.data());
    std::array<std::uint8_t, 3> darkest{255, 255, 255};
    for (std::size_t i = 0; i < block.size(); i += 3) {
        if (block[i] < darkest[0]) {
            darkest = {block[i], block[i + 1], block[i + 2]};
        }
    }
    return darkest;
}

template <std::size_t n> std::array<GLfloat, n> floats(GLenum what) {
    std::array<GLfloat, n> values{};
    glGetFloatv(what, values.data());
    return values;
}

// The flat square's diagonal runs through the middle of the window: drawn over the lit,
// textured surface, its edge shows there in dark grey, though it lies in the surface.
TEST(EdgeOverlayTest, DrawsTheEdgesOnTheSurfaceAndLeavesTheStateAsItFoundIt) {
    test::openGlTestWindow(windowSize, windowSize);
    initRenderState();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    initLighting();
    reshapeView(windowSize, windowSize);
    test::buildFlatSquare(terrainModel);
    terrainModel.textureId = test::makeSolidTexture(255, 255, 255);
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    terrainModel.drawMesh();
    glEndList();

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glCallList(list);
    const auto surface = darkestNearCentre();
    ASSERT_GT(surface[0], 100);
    glColor4f(0.25f, 0.5f, 0.75f, 1.0f);
    glNormal3f(0.0f, 0.0f, 1.0f);
    glTexCoord2f(0.5f, 0.25f);
    const auto colour = floats<4>(GL_CURRENT_COLOR);
    const auto normal = floats<3>(GL_CURRENT_NORMAL);
    const auto texture = floats<4>(GL_CURRENT_TEXTURE_COORDS);

    drawTriangleEdges(list);
    const auto edged = darkestNearCentre();
    EXPECT_LT(edged[0], 40);
    EXPECT_EQ(edged[0], edged[1]);
    EXPECT_EQ(edged[1], edged[2]);

    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_POLYGON_OFFSET_LINE));
    std::array<GLint, 2> mode{};
    glGetIntegerv(GL_POLYGON_MODE, mode.data());
    EXPECT_EQ(mode, (std::array<GLint, 2>{GL_FILL, GL_FILL}));
    EXPECT_EQ(floats<1>(GL_POLYGON_OFFSET_FACTOR)[0], 0.0f);
    EXPECT_EQ(floats<1>(GL_POLYGON_OFFSET_UNITS)[0], 0.0f);
    EXPECT_EQ(floats<4>(GL_CURRENT_COLOR), colour);
    EXPECT_EQ(floats<3>(GL_CURRENT_NORMAL), normal);
    EXPECT_EQ(floats<4>(GL_CURRENT_TEXTURE_COORDS), texture);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    glDeleteLists(list, 1);
    GLuint name = terrainModel.textureId;
    glDeleteTextures(1, &name);
    test::clearTerrain(terrainModel);
    terrainModel.textureId = 0xFFFFFFFFu;
}

} // namespace
} // namespace zel
