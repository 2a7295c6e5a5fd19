#include "tests/support/gl_test_window.h"
#include "tests/viewer/render/gl_reference.h"
#include "tests/viewer/render/test_terrain.h"
#include "viewer/render/render_state.h"
#include "viewer/render/viewer_state.h"

#include <GL/gl.h>
#include <array>
#include <gtest/gtest.h>

namespace zel {
namespace {

using test::currentMatrix;
using test::Matrix4;
using test::matrixDifference;

// gluLookAt works in single precision.
constexpr double matrixTolerance = 3e-5;

class RenderStateTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::openGlTestWindow(96, 96); }
    void SetUp() override { setViewerState(state); }

    ViewerState state;
};

std::array<GLint, 4> currentViewport() {
    std::array<GLint, 4> viewport{};
    glGetIntegerv(GL_VIEWPORT, viewport.data());
    return viewport;
}

std::array<GLfloat, 4> lightParameter(GLenum light, GLenum parameter) {
    std::array<GLfloat, 4> value{};
    glGetLightfv(light, parameter, value.data());
    return value;
}

// One quad over the middle of the window at depth `z` (in [-1, 1], nearer below), its
// left corners `left`, its right corners `right` in colour.
void drawQuad(float z, std::array<GLfloat, 3> left, std::array<GLfloat, 3> right) {
    glBegin(GL_QUADS);
    glColor3fv(left.data());
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(-0.5f, -0.5f, z);
    glColor3fv(right.data());
    glVertex3f(0.5f, -0.5f, z);
    glVertex3f(0.5f, 0.5f, z);
    glColor3fv(left.data());
    glVertex3f(-0.5f, 0.5f, z);
    glEnd();
}

std::array<int, 3> pixelAt(int x, int y) {
    std::array<GLubyte, 3> rgb{};
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return {rgb[0], rgb[1], rgb[2]};
}

// What the settings do to a picture: a clear gives black; of quads at different depths the
// nearest shows whatever the order, and of two at the same depth the later; colours blend
// across a quad; the bound texture multiplies them.
TEST_F(RenderStateTest, DrawsDepthTestedSmoothTexturedPicturesOnBlack) {
    // Start from a state that differs in every respect the routine settles.
    glShadeModel(GL_FLAT);
    glClearColor(0.5f, 0.25f, 0.75f, 0.0f);
    glClearDepth(0.5);
    glDisable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glDisable(GL_TEXTURE_2D);

    initRenderState();
    glViewport(0, 0, 96, 96);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_LIGHTING);
    const GLuint white = test::makeSolidTexture(255, 255, 255);

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    EXPECT_EQ(pixelAt(48, 48), (std::array<int, 3>{0, 0, 0}));
    drawQuad(0.5f, {0, 1, 0}, {0, 1, 0});
    drawQuad(0.9f, {1, 0, 0}, {1, 0, 0}); // farther, drawn later: hidden
    EXPECT_EQ(pixelAt(48, 48), (std::array<int, 3>{0, 255, 0}));
    drawQuad(0.5f, {0, 0, 1}, {1, 1, 1}); // as near, drawn later: shown, shaded across
    const std::array<int, 3> leftSide = pixelAt(26, 48);
    const std::array<int, 3> rightSide = pixelAt(70, 48);
    EXPECT_LT(leftSide[0], 64);
    EXPECT_GT(rightSide[0], 192);
    EXPECT_GT(leftSide[2], 250);
    EXPECT_EQ(pixelAt(2, 2), (std::array<int, 3>{0, 0, 0}));

    const GLuint dark = test::makeSolidTexture(128, 64, 32);
    drawQuad(0.0f, {1, 1, 1}, {1, 1, 1});
    const std::array<int, 3> textured = pixelAt(48, 48);
    EXPECT_NEAR(textured[0], 128, 2);
    EXPECT_NEAR(textured[1], 64, 2);
    EXPECT_NEAR(textured[2], 32, 2);
    glDeleteTextures(1, &dark);
    glDeleteTextures(1, &white);
    glPopAttrib();
}

TEST_F(RenderStateTest, LightOneIsFixedInEyeSpaceWithDefaultMaterial) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    initLighting();

    EXPECT_EQ(lightParameter(GL_LIGHT1, GL_POSITION),
              (std::array<GLfloat, 4>{100.0f, 300.0f, 100.0f, 1.0f}));
    EXPECT_EQ(lightParameter(GL_LIGHT1, GL_AMBIENT),
              (std::array<GLfloat, 4>{0.2f, 0.2f, 0.2f, 1.0f}));
    EXPECT_EQ(lightParameter(GL_LIGHT1, GL_DIFFUSE),
              (std::array<GLfloat, 4>{1.0f, 1.0f, 1.0f, 1.0f}));
    EXPECT_EQ(lightParameter(GL_LIGHT1, GL_SPECULAR),
              (std::array<GLfloat, 4>{0.0f, 0.0f, 0.0f, 1.0f}));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT1));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT0));

    std::array<GLfloat, 4> materialDiffuse{};
    glGetMaterialfv(GL_FRONT, GL_DIFFUSE, materialDiffuse.data());
    EXPECT_EQ(materialDiffuse, (std::array<GLfloat, 4>{0.8f, 0.8f, 0.8f, 1.0f}));
    GLint twoSided = 1;
    glGetIntegerv(GL_LIGHT_MODEL_TWO_SIDE, &twoSided);
    EXPECT_EQ(twoSided, GL_FALSE);

    // The camera set afterwards does not move the light: its position is kept in eye space.
    reshapeView(96, 96);
    EXPECT_EQ(lightParameter(GL_LIGHT1, GL_POSITION),
              (std::array<GLfloat, 4>{100.0f, 300.0f, 100.0f, 1.0f}));
}

struct WindowSize {
    int width;
    int height;
    double aspect;
};

TEST_F(RenderStateTest, ReshapeBuildsPerspectiveAndCameraForEverySize) {
    const WindowSize sizes[] = {
        {96, 96, 1.0}, {640, 480, 640.0 / 480.0}, {300, 600, 0.5}, {200, 0, 200.0}};
    for (const WindowSize& size : sizes) {
        SCOPED_TRACE(::testing::Message() << size.width << " x " << size.height);
        reshapeView(size.width, size.height);

        const std::array<GLint, 4> expectedViewport{0, 0, size.width,
                                                    size.height == 0 ? 1 : size.height};
        EXPECT_EQ(currentViewport(), expectedViewport);
        EXPECT_LT(matrixDifference(currentMatrix(GL_PROJECTION_MATRIX),
                                   test::perspectiveMatrix(45.0, size.aspect, 0.1, 1000.0)),
                  matrixTolerance);
        EXPECT_LT(matrixDifference(currentMatrix(GL_MODELVIEW_MATRIX), test::viewerCamera(0.0)),
                  matrixTolerance);
        GLint mode = 0;
        glGetIntegerv(GL_MATRIX_MODE, &mode);
        EXPECT_EQ(mode, GL_MODELVIEW);
    }
}

TEST_F(RenderStateTest, ZeroWidthGivesAnEmptyViewport) {
    reshapeView(0, 50);
    EXPECT_EQ(currentViewport(), (std::array<GLint, 4>{0, 0, 0, 50}));
}

TEST_F(RenderStateTest, EyeStaysOneHundredAboveTheHighestVertex) {
    state.terrain.model.bounds.max = {12.0f, 30.0f, -4.0f};
    reshapeView(96, 96);
    const Matrix4 camera = currentMatrix(GL_MODELVIEW_MATRIX);
    EXPECT_LT(matrixDifference(camera, test::viewerCamera(30.0)), matrixTolerance);

    // The eye, recovered from the matrix: the point that it maps to the origin, south of the
    // terrain.
    const test::Vector3 eyeInEye = test::transformPoint(camera, {0.0, 130.0, -250.0});
    EXPECT_NEAR(eyeInEye.x, 0.0, 1e-4);
    EXPECT_NEAR(eyeInEye.y, 0.0, 1e-4);
    EXPECT_NEAR(eyeInEye.z, 0.0, 1e-4);
}

TEST_F(RenderStateTest, RepeatedReshapesGiveTheSameMatrices) {
    reshapeView(320, 200);
    const Matrix4 projection = currentMatrix(GL_PROJECTION_MATRIX);
    const Matrix4 camera = currentMatrix(GL_MODELVIEW_MATRIX);

    glRotatef(37.0f, 0.0f, 1.0f, 0.0f);
    reshapeView(320, 200);
    reshapeView(320, 200);

    EXPECT_EQ(currentMatrix(GL_PROJECTION_MATRIX), projection);
    EXPECT_EQ(currentMatrix(GL_MODELVIEW_MATRIX), camera);
}

} // namespace
} // namespace zel
