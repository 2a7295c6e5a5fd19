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

std::vector<std::uint8_t> redChannel() {
    std::vector<std::uint8_t> red(windowSize * windowSize);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, windowSize, windowSize, GL_RED, GL_UNSIGNED_BYTE, red.data());
    return red;
}

// Over the lit, white square the edges show as dark lines; the state comes back whole.
TEST(EdgeOverlayTest, DrawsTheEdgesOnTheSurfaceAndLeavesTheStateAsItFoundIt) {
    test::openGlTestWindow(windowSize, windowSize);
    initRenderState();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    initLighting();
    reshapeView(windowSize, windowSize);
    test::buildFlatSquare(terrainModel);
    terrainModel.textureId = test::makeSolidTexture(255, 255, 255);

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    terrainModel.drawMesh();
    const std::vector<std::uint8_t> surface = redChannel();
    glColor4f(0.25f, 0.5f, 0.75f, 1.0f);
    glNormal3f(0.0f, 0.0f, 1.0f);
    std::array<GLfloat, 4> colour{};
    glGetFloatv(GL_CURRENT_COLOR, colour.data());

    drawTriangleEdges([] { terrainModel.drawMesh(); });
    const std::vector<std::uint8_t> edged = redChannel();
    int darkened = 0;
    for (std::size_t i = 0; i < surface.size(); ++i) {
        darkened += surface[i] > 100 && edged[i] < 40 ? 1 : 0;
    }
    // The diagonal and the near edge, some 190 pixels in all.
    EXPECT_GT(darkened, 100);

    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_POLYGON_OFFSET_LINE));
    std::array<GLint, 2> mode{};
    glGetIntegerv(GL_POLYGON_MODE, mode.data());
    EXPECT_EQ(mode, (std::array<GLint, 2>{GL_FILL, GL_FILL}));
    std::array<GLfloat, 4> after{};
    glGetFloatv(GL_CURRENT_COLOR, after.data());
    EXPECT_EQ(after, colour);
    std::array<GLfloat, 3> normal{};
    glGetFloatv(GL_CURRENT_NORMAL, normal.data());
    EXPECT_EQ(normal, (std::array<GLfloat, 3>{0.0f, 0.0f, 1.0f}));

    GLuint name = terrainModel.textureId;
    glDeleteTextures(1, &name);
    test::clearTerrain(terrainModel);
    terrainModel.textureId = 0xFFFFFFFFu;
}

} // namespace
} // namespace zel
