#include "tests/support/gl_test_window.h"
#include "tests/viewer/render/gl_reference.h"
#include "tests/viewer/render/shown_window.h"
#include "tests/viewer/render/test_terrain.h"
#include "viewer/current_seconds.h"
#include "viewer/render/edge_overlay.h"
#include "viewer/render/frame_drawing.h"
#include "viewer/render/mesh_buffers.h"
#include "viewer/render/render_state.h"
#include "viewer/render/terrain_drawing.h"
#include "viewer/render/viewer_state.h"

#include <GL/gl.h>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <gtest/gtest.h>
#include <numbers>
#include <vector>

namespace zel {
namespace {

using test::currentMatrix;
using test::Matrix4;
using test::matrixDifference;
using test::Vector3;

constexpr int windowSize = 96;
// gluLookAt works in single precision.
constexpr double matrixTolerance = 3e-5;

struct Rgb {
    int r, g, b;
};

class TerrainDrawingTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::openGlTestWindow(windowSize, windowSize); }

    // The state that start-up leaves before the first frame: render state, the light given
    // under the identity matrix, then the first reshape.
    void SetUp() override {
        setViewerState(state);
        initRenderState();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        initLighting();
        reshapeView(windowSize, windowSize);
    }

    static void renderFrame(ShownTerrain& terrain) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawTerrain(terrain);
        glFinish();
    }

    // What the callbacks see: an empty terrain at first.
    ViewerState state;
};

// The turn about +y that the model-view matrix holds on top of the camera, in degrees.
double turnAngle(const Matrix4& modelView, const Matrix4& camera) {
    // With M = C R, the first column of R is C's rotation transposed times M's first column.
    double column[3];
    for (int k = 0; k < 3; ++k) {
        column[k] = camera[4 * k] * modelView[0] + camera[4 * k + 1] * modelView[1] +
                    camera[4 * k + 2] * modelView[2];
    }
    return std::atan2(-column[2], column[0]) * 180.0 / std::numbers::pi;
}

std::vector<std::uint8_t> readFrame(GLenum buffer) {
    std::vector<std::uint8_t> pixels(std::size_t{windowSize} * windowSize * 3);
    glReadBuffer(buffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, windowSize, windowSize, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

Rgb pixelAt(const std::vector<std::uint8_t>& frame, int x, int y) {
    const std::size_t at = (std::size_t(y) * windowSize + std::size_t(x)) * 3;
    return {frame[at], frame[at + 1], frame[at + 2]};
}

bool isBlack(Rgb p) {
    return p.r == 0 && p.g == 0 && p.b == 0;
}

TEST_F(TerrainDrawingTest, FirstFrameShowsTheTerrainUnturned) {
    ShownTerrain terrain;
    const Matrix4 camera = currentMatrix(GL_MODELVIEW_MATRIX);
    const double before = currentSeconds();

    drawTerrain(terrain);

    EXPECT_EQ(currentMatrix(GL_MODELVIEW_MATRIX), camera);
    EXPECT_GE(terrain.lastFrameTime, before);
    EXPECT_LE(terrain.lastFrameTime, currentSeconds());
}

TEST_F(TerrainDrawingTest, TurnsTwentyFourDegreesPerSecondAndAccumulates) {
    ShownTerrain terrain;
    const Matrix4 camera = test::viewerCamera(0.0);

    terrain.lastFrameTime = currentSeconds() - 1.0;
    drawTerrain(terrain);
    const Matrix4 afterOneSecond = currentMatrix(GL_MODELVIEW_MATRIX);
    const double angle = turnAngle(afterOneSecond, camera);
    EXPECT_GE(angle, 24.0 - 1e-3);
    EXPECT_LT(angle, 24.5);
    // The turn is about the vertical axis, applied after the camera.
    EXPECT_LT(matrixDifference(afterOneSecond, test::multiply(camera, test::rotationAboutY(angle))),
              matrixTolerance);

    terrain.lastFrameTime = currentSeconds() - 0.5;
    drawTerrain(terrain);
    const double total = turnAngle(currentMatrix(GL_MODELVIEW_MATRIX), camera);
    EXPECT_GE(total, angle + 12.0 - 1e-3);
    EXPECT_LT(total, angle + 12.5);
}

TEST_F(TerrainDrawingTest, ReshapeUndoesTheTurn) {
    ShownTerrain terrain;
    const Matrix4 camera = currentMatrix(GL_MODELVIEW_MATRIX);
    terrain.lastFrameTime = currentSeconds() - 2.0;
    drawTerrain(terrain);
    ASSERT_NE(currentMatrix(GL_MODELVIEW_MATRIX), camera);

    reshapeView(windowSize, windowSize);
    EXPECT_EQ(currentMatrix(GL_MODELVIEW_MATRIX), camera);
}

// Reads back what drawTerrain sends, vertex by vertex, through OpenGL's feedback mode:
// window position, lit colour and texture coordinate of every vertex, in order.
struct FedBackVertex {
    Vector3 window;
    float colour[4];
    float texture[4];
};

std::vector<std::vector<FedBackVertex>> feedBackTriangles(ShownTerrain& terrain) {
    std::vector<GLfloat> buffer(4096);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    drawTerrain(terrain);
    const GLint used = glRenderMode(GL_RENDER);

    std::vector<std::vector<FedBackVertex>> polygons;
    GLint at = 0;
    while (at < used) {
        const auto token = static_cast<GLint>(buffer[std::size_t(at++)]);
        if (token != GL_POLYGON_TOKEN) {
            ADD_FAILURE() << "unexpected feedback token " << token;
            break;
        }
        const auto count = static_cast<int>(buffer[std::size_t(at++)]);
        std::vector<FedBackVertex> polygon;
        for (int v = 0; v < count; ++v) {
            const GLfloat* f = &buffer[std::size_t(at)];
            polygon.push_back(
                {{f[0], f[1], f[2]}, {f[3], f[4], f[5], f[6]}, {f[7], f[8], f[9], f[10]}});
            at += 11;
        }
        polygons.push_back(polygon);
    }
    return polygons;
}

Vector3 windowPosition(const Matrix4& projection, const Matrix4& modelView, Vector3 v) {
    const Matrix4 m = test::multiply(projection, modelView);
    const double w = m[3] * v.x + m[7] * v.y + m[11] * v.z + m[15];
    const Vector3 clip = test::transformPoint(m, v);
    return {(clip.x / w + 1.0) / 2.0 * windowSize, (clip.y / w + 1.0) / 2.0 * windowSize,
            (clip.z / w + 1.0) / 2.0};
}

TEST_F(TerrainDrawingTest, SendsEveryVertexWithItsOwnNormalAndTextureCoordinateInFileOrder) {
    ShownTerrain terrain;
    terrain.model = test::flatSquare();
    TerrainModel& model = terrain.model;
    // Distinct normals make each vertex's lit colour tell which normal came with it.
    const float s = std::sqrt(0.5f);
    model.normals = {{0.0f, 1.0f, 0.0f}, {0.0f, -1.0f, 0.0f}, {s, s, 0.0f}, {0.0f, s, s}};

    const Matrix4 projection = currentMatrix(GL_PROJECTION_MATRIX);
    const Matrix4 camera = currentMatrix(GL_MODELVIEW_MATRIX);
    const auto polygons = feedBackTriangles(terrain);

    const int expectedOrder[2][3] = {{0, 3, 2}, {0, 2, 1}};
    ASSERT_EQ(polygons.size(), 2u);
    for (int t = 0; t < 2; ++t) {
        ASSERT_EQ(polygons[std::size_t(t)].size(), 3u);
        for (int k = 0; k < 3; ++k) {
            SCOPED_TRACE(::testing::Message() << "triangle " << t << ", corner " << k);
            const auto i = static_cast<std::size_t>(expectedOrder[t][k]);
            const FedBackVertex& got = polygons[std::size_t(t)][std::size_t(k)];
            const Vec3& v = model.vertices[i];
            const Vec3& n = model.normals[i];

            const Vector3 expectedWindow = windowPosition(projection, camera, {v.x, v.y, v.z});
            EXPECT_NEAR(got.window.x, expectedWindow.x, 1e-2);
            EXPECT_NEAR(got.window.y, expectedWindow.y, 1e-2);
            EXPECT_NEAR(got.window.z, expectedWindow.z, 1e-4);

            EXPECT_FLOAT_EQ(got.texture[0], model.texCoords[i].u);
            EXPECT_FLOAT_EQ(got.texture[1], model.texCoords[i].v);

            const double lit =
                test::litIntensity(test::transformPoint(camera, {v.x, v.y, v.z}),
                                   test::transformDirection(camera, {n.x, n.y, n.z}));
            EXPECT_NEAR(got.colour[0], lit, 2e-3);
            EXPECT_NEAR(got.colour[1], lit, 2e-3);
            EXPECT_NEAR(got.colour[2], lit, 2e-3);
        }
    }
    // The vertex whose normal faces away from the light has only the two ambient terms.
    EXPECT_NEAR(polygons[1][2].colour[0], 0.08, 2e-3);
}

// The colour that the centre pixel of the flat square must have: the camera looks at the
// origin, which lies on the diagonal from vertex 0 to vertex 2, so Gouraud shading gives it
// the mean of those two vertices' lit colours; the texture then multiplies it.
Rgb expectedCentre(const TerrainModel& model, Rgb texel) {
    const Matrix4 camera = test::viewerCamera(0.0);
    double lit = 0.0;
    for (const std::size_t i : {std::size_t{0}, std::size_t{2}}) {
        const Vec3& v = model.vertices[i];
        lit += test::litIntensity(test::transformPoint(camera, {v.x, v.y, v.z}),
                                  test::transformDirection(camera, {0.0, 1.0, 0.0})) /
               2.0;
    }
    return {int(std::lround(lit * texel.r)), int(std::lround(lit * texel.g)),
            int(std::lround(lit * texel.b))};
}

void expectLitTexturedGroundOnBlack(const std::vector<std::uint8_t>& frame, Rgb centre) {
    const Rgb got = pixelAt(frame, windowSize / 2, windowSize / 2);
    EXPECT_NEAR(got.r, centre.r, 3);
    EXPECT_NEAR(got.g, centre.g, 3);
    EXPECT_NEAR(got.b, centre.b, 3);

    // Elsewhere on the ground the texture's hue stays, only the brightness changes.
    for (const int x : {30, 48, 66}) {
        const Rgb p = pixelAt(frame, x, 40);
        SCOPED_TRACE(::testing::Message() << "pixel " << x << ", 40");
        EXPECT_GT(p.r, 40);
        EXPECT_NEAR(p.g * 2, p.r, 3);
        EXPECT_NEAR(p.b * 4, p.r, 5);
    }
    // The square does not reach the corners or the sky above the horizon.
    for (const auto& [x, y] : {std::pair{0, 0},
                               {windowSize - 1, 0},
                               {0, windowSize - 1},
                               {windowSize - 1, windowSize - 1},
                               {windowSize / 2, windowSize - 1}}) {
        EXPECT_TRUE(isBlack(pixelAt(frame, x, y))) << "pixel " << x << ", " << y;
    }
}

TEST_F(TerrainDrawingTest, DrawsLitTexturedGroundOnBlack) {
    ShownTerrain terrain;
    terrain.model = test::flatSquare();
    const Rgb texel{255, 128, 64};
    terrain.textureId = test::makeSolidTexture(255, 128, 64);
    glBindTexture(GL_TEXTURE_2D, 0);

    renderFrame(terrain);
    expectLitTexturedGroundOnBlack(readFrame(GL_BACK), expectedCentre(terrain.model, texel));

    GLuint name = terrain.textureId;
    glDeleteTextures(1, &name);
}

TEST_F(TerrainDrawingTest, EmptyTriangleListGivesABlackFrame) {
    ShownTerrain ground;
    ground.model = test::flatSquare();
    ground.textureId = test::makeSolidTexture(255, 255, 255);
    renderFrame(ground);
    ASSERT_FALSE(isBlack(pixelAt(readFrame(GL_BACK), windowSize / 2, windowSize / 2)));

    ShownTerrain empty;
    renderFrame(empty);
    const std::vector<std::uint8_t> frame = readFrame(GL_BACK);
    for (std::size_t i = 0; i < frame.size(); ++i) {
        ASSERT_EQ(frame[i], 0) << "byte " << i;
    }
    GLuint name = ground.textureId;
    glDeleteTextures(1, &name);
}

TEST_F(TerrainDrawingTest, DisplayFrameDrawsTheViewersTerrainAndShowsIt) {
    state.terrain.model = test::flatSquare();
    state.terrain.textureId = test::makeSolidTexture(255, 128, 64);

    displayFrame();
    glFinish();

    EXPECT_GT(state.terrain.lastFrameTime, 0.0);
    const std::vector<std::uint8_t> shown = test::readShownWindow(windowSize, windowSize);
    ASSERT_FALSE(shown.empty());
    expectLitTexturedGroundOnBlack(shown, expectedCentre(state.terrain.model, {255, 128, 64}));

    GLuint name = state.terrain.textureId;
    glDeleteTextures(1, &name);
}

// Over the lit, white square the edges show as dark lines; the state comes back whole.
TEST_F(TerrainDrawingTest, EdgeOverlayDrawsTheEdgesOnTheSurfaceAndLeavesTheStateAsItFoundIt) {
    const TerrainModel model = test::flatSquare();
    const std::uint32_t textureId = test::makeSolidTexture(255, 255, 255);

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawMesh(model, textureId);
    const std::vector<std::uint8_t> surface = readFrame(GL_BACK);
    glColor4f(0.25f, 0.5f, 0.75f, 1.0f);
    glNormal3f(0.0f, 0.0f, 1.0f);
    std::array<GLfloat, 4> colour{};
    glGetFloatv(GL_CURRENT_COLOR, colour.data());

    drawTriangleEdges([&] { drawMesh(model, textureId); });
    const std::vector<std::uint8_t> edged = readFrame(GL_BACK);
    int darkened = 0;
    for (std::size_t i = 0; i < surface.size(); i += 3) {
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

    GLuint name = textureId;
    glDeleteTextures(1, &name);
}

// The mesh buffers draw exactly what the triangle loop draws, before and after the heights
// change, whatever error was pending; they leave no error and no client array behind.
TEST_F(TerrainDrawingTest, MeshBuffersDrawWhatTheTriangleLoopDrawsBeforeAndAfterAChangeOfHeights) {
    TerrainModel model = test::generateGridTerrain({.columns = 12,
                                                    .rows = 12,
                                                    .spacing = 12.0f,
                                                    .originX = -66.0f,
                                                    .originY = -66.0f,
                                                    .warp = 0.2f});
    model.computeNormals();
    for (const Vec3& v : model.vertices) {
        model.texCoords.push_back(TexCoord{(v.x + 66.0f) / 132.0f, (v.z + 66.0f) / 132.0f});
    }
    const std::uint32_t textureId = test::makeSolidTexture(200, 180, 120);
    const auto frameOf = [](const auto& draw) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        draw();
        return readFrame(GL_BACK);
    };
    const auto drawLoop = [&] { drawMesh(model, textureId); };

    glEnable(GL_TRUE + 0x7000); // not a capability: a pending GL_INVALID_ENUM
    MeshUpload upload = uploadMesh(model);
    ASSERT_EQ(upload.error, 0u);
    ASSERT_FALSE(upload.buffers.empty());
    const auto drawBuffers = [&] { drawMeshBuffers(upload.buffers, textureId); };
    const std::vector<std::uint8_t> looped = frameOf(drawLoop);
    EXPECT_GT(std::count_if(looped.begin(), looped.end(), [](std::uint8_t c) { return c > 0; }),
              windowSize * windowSize / 8);
    EXPECT_EQ(frameOf(drawBuffers), looped);

    for (Vec3& v : model.vertices) {
        v.y *= 3.0f;
    }
    model.computeNormals();
    EXPECT_EQ(updateMeshHeights(upload.buffers, model), 0u);
    EXPECT_EQ(frameOf(drawBuffers), frameOf(drawLoop));

    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_NORMAL_ARRAY));
    GLint bound = -1;
    glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &bound);
    EXPECT_EQ(bound, 0);

    deleteMeshBuffers(upload.buffers);
    EXPECT_TRUE(upload.buffers.empty());
    GLuint name = textureId;
    glDeleteTextures(1, &name);

    // Points on one line have no triangles: nothing to keep on the card, and no error.
    model.triangles.clear();
    const MeshUpload none = uploadMesh(model);
    EXPECT_EQ(none.error, 0u);
    EXPECT_TRUE(none.buffers.empty());
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

} // namespace
} // namespace zel
