#include "tests/support/gl_test_window.h"
#include "tests/viewer/render/gl_reference.h"
#include "viewer/render/help_overlay.h"
#include "viewer/render/map_overlays.h"
#include "viewer/render/render_state.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <algorithm>
#include <array>
#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace zel {
namespace {

using test::currentMatrix;

constexpr int windowSize = 96;

struct Overlay {
    const char* name;
    void (*draw)();
    // The quarter of the window it writes in: x and y of its lower left corner.
    int quarterX, quarterY;
};

// The panels, signs and text go over the frame; the terrain's drawing state comes back whole.
class OverlayTest : public ::testing::TestWithParam<Overlay> {};

TEST_P(OverlayTest, WritesInItsCornerAndLeavesTheDrawingStateAsItWas) {
    test::openGlTestWindow(windowSize, windowSize);
    glLineWidth(3.0f);
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
    GetParam().draw();
    glFinish();

    const int half = windowSize / 2;
    std::vector<std::uint8_t> corner(half * half * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(GetParam().quarterX, GetParam().quarterY, half, half, GL_RGB, GL_UNSIGNED_BYTE,
                 corner.data());
    EXPECT_NE(std::count(corner.begin(), corner.end(), 255), 0) << "nothing white";

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
    GLfloat lineWidth = 0.0f;
    glGetFloatv(GL_LINE_WIDTH, &lineWidth);
    EXPECT_EQ(lineWidth, 3.0f);
}

// North arrow (top right), scale bar (bottom right), a legend of two images.
void drawMapSigns() {
    MapOverlayContent content;
    content.north = {0.0, 1.0};
    content.scale.pixels = 30.0;
    content.scale.label = "5 m";
    content.legend.push_back({{0, 0, 255}, 0.0});
    content.legend.push_back({{255, 255, 255}, 10.0});
    drawMapOverlays(content, windowSize, windowSize);
}

INSTANTIATE_TEST_SUITE_P(
    Overlays, OverlayTest,
    ::testing::Values(
        Overlay{"Help", [] { drawHelpOverlay(windowSize, windowSize); }, 0, windowSize / 2},
        // North arrow (top right), scale bar (bottom right), a legend of two images.
        Overlay{"MapSigns", drawMapSigns, windowSize / 2, windowSize / 2},
        Overlay{"Pick", [] { drawPickReadout("x=1 y=2 z=3", windowSize, windowSize); }, 0, 0}),
    [](const auto& test) { return std::string(test.param.name); });

} // namespace
} // namespace zel
