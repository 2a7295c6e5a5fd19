#include "tests/support/gl_test_window.h"
#include "tests/viewer/render/gl_reference.h"
#include "viewer/render/render_state.h"
#include "viewer/terrain_model.h"

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
    void SetUp() override { terrainModel.boundsMax = {0.0f, 0.0f, 0.0f}; }
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

TEST_F(RenderStateTest, SetsDepthTestedSmoothTexturedDrawingOnBlack) {
    // Start from a state that differs in every respect the routine settles.
    glShadeModel(GL_FLAT);
    glClearColor(0.5f, 0.25f, 0.75f, 0.0f);
    glClearDepth(0.5);
    glDisable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glDisable(GL_TEXTURE_2D);

    initRenderState();

    GLint shadeModel = 0;
    glGetIntegerv(GL_SHADE_MODEL, &shadeModel);
    EXPECT_EQ(shadeModel, GL_SMOOTH);
    std::array<GLfloat, 4> clearColour{};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clearColour.data());
    EXPECT_EQ(clearColour, (std::array<GLfloat, 4>{0.0f, 0.0f, 0.0f, 1.0f}));
    GLdouble clearDepth = 0.0;
    glGetDoublev(GL_DEPTH_CLEAR_VALUE, &clearDepth);
    EXPECT_EQ(clearDepth, 1.0);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    GLint depthFunction = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &depthFunction);
    EXPECT_EQ(depthFunction, GL_LEQUAL);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));

    // Everything else keeps OpenGL's defaults; the texture multiplies the lit colour.
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_NORMALIZE));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));
    GLint textureMode = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &textureMode);
    EXPECT_EQ(textureMode, GL_MODULATE);
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
    terrainModel.boundsMax = {12.0f, 30.0f, -4.0f};
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
