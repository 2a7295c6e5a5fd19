#include "tests/support/gl_test_window.h"
#include "tests/support/terrain_generator.h"
#include "tests/viewer/render/test_terrain.h"
#include "viewer/render/mesh_buffers.h"
#include "viewer/render/render_state.h"
#include "viewer/terrain_model.h"

#include <GL/gl.h>
#include <algorithm>
#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

namespace zel {
namespace {

constexpr int windowSize = 128;

std::vector<std::uint8_t> framePixels(const std::function<void()>& draw) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    draw();
    std::vector<std::uint8_t> pixels(windowSize * windowSize * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, windowSize, windowSize, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

// The buffers draw exactly what the triangle loop draws, before and after the heights
// change, whatever error was pending; they leave no error and no client array behind.
TEST(MeshBuffersTest, DrawWhatTheTriangleLoopDrawsBeforeAndAfterAChangeOfHeights) {
    test::openGlTestWindow(windowSize, windowSize);
    initRenderState();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    initLighting();
    reshapeView(windowSize, windowSize);
    test::generateGridTerrain(terrainModel, {.columns = 12,
                                             .rows = 12,
                                             .spacing = 12.0f,
                                             .originX = -66.0f,
                                             .originY = -66.0f,
                                             .warp = 0.2f});
    terrainModel.computeNormals();
    for (const Vec3& v : terrainModel.vertices) {
        terrainModel.texCoords.push_back(TexCoord{(v.x + 66.0f) / 132.0f, (v.z + 66.0f) / 132.0f});
    }
    terrainModel.textureId = test::makeSolidTexture(200, 180, 120);
    const auto drawLoop = [] { terrainModel.drawMesh(); };

    glEnable(GL_TRUE + 0x7000); // not a capability: a pending GL_INVALID_ENUM
    MeshUpload upload = uploadMesh(terrainModel);
    ASSERT_EQ(upload.error, 0u);
    ASSERT_FALSE(upload.buffers.empty());
    const auto drawBuffers = [&] { drawMeshBuffers(upload.buffers, terrainModel.textureId); };
    const std::vector<std::uint8_t> looped = framePixels(drawLoop);
    EXPECT_GT(std::count_if(looped.begin(), looped.end(), [](std::uint8_t c) { return c > 0; }),
              windowSize * windowSize / 8);
    EXPECT_EQ(framePixels(drawBuffers), looped);

    for (Vec3& v : terrainModel.vertices) {
        v.y *= 3.0f;
    }
    terrainModel.normals.clear();
    terrainModel.computeNormals();
    EXPECT_EQ(updateMeshHeights(upload.buffers, terrainModel), 0u);
    EXPECT_EQ(framePixels(drawBuffers), framePixels(drawLoop));

    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_NORMAL_ARRAY));
    GLint bound = -1;
    glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &bound);
    EXPECT_EQ(bound, 0);

    deleteMeshBuffers(upload.buffers);
    EXPECT_TRUE(upload.buffers.empty());
    GLuint name = terrainModel.textureId;
    glDeleteTextures(1, &name);
    test::clearTerrain(terrainModel);
    terrainModel.textureId = 0xFFFFFFFFu;
}

} // namespace
} // namespace zel
