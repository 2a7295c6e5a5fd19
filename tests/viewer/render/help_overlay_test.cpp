#include "tests/support/gl_test_window.h"
#include "tests/viewer/render/gl_reference.h"
#include "viewer/render/help_overlay.h"
#include "viewer/render/render_state.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <algorithm>
#include <array>
#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

namespace zel {
namespace {

using test::currentMatrix;

constexpr int windowSize = 96;

// The panel and its text go over the frame; the terrain's drawing state comes back whole.
TEST(HelpOverlayTest, WritesInTheTopLeftCornerAndLeavesTheDrawingStateAsItWas) {
    test::openGlTestWindow(windowSize, windowSize);
    initRenderState();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    initLighting();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 1.0, 0.5, 700.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0.0, 130.0, 250.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
    const test::Matrix4 projection = currentMatrix(GL_PROJECTION_MATRIX);
    const test::Matrix4 modelView = currentMatrix(GL_MODELVIEW_MATRIX);

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawHelpOverlay(windowSize, windowSize);
    glFinish();

    // The top left quarter: the first line of text and the panel around it.
    const int half = windowSize / 2;
    std::vector<std::uint8_t> corner(half * half * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, half, half, half, GL_RGB, GL_UNSIGNED_BYTE, corner.data());
    EXPECT_NE(std::count(corner.begin(), corner.end(), 255), 0) << "no white text";

    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    EXPECT_EQ(currentMatrix(GL_PROJECTION_MATRIX), projection);
    EXPECT_EQ(currentMatrix(GL_MODELVIEW_MATRIX), modelView);
    std::array<GLfloat, 4> colour{};
    glGetFloatv(GL_CURRENT_COLOR, colour.data());
    EXPECT_EQ(colour, (std::array<GLfloat, 4>{1.0f, 1.0f, 1.0f, 1.0f}));
}

} // namespace
} // namespace zel
