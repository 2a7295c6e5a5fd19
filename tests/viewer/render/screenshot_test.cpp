#include "tests/support/gl_test_window.h"
#include "tests/support/png_file_reader.h"
#include "tests/support/scratch_directory.h"
#include "viewer/render/screenshot.h"

#include <GL/gl.h>
#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

namespace zel {
namespace {

constexpr int width = 30;
constexpr int height = 20;

// A frame red in its top half and blue in its bottom half, saved while the drawing's pack
// alignment is 8: the file shows the top first, and the alignment is 8 again afterwards.
TEST(ScreenshotTest, SavesTheTopRowFirstAndLeavesThePackAlignment) {
    test::openGlTestWindow(width, height);
    glViewport(0, 0, width, height);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, width, height / 2);
    glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glScissor(0, height / 2, width, height / 2);
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    glPixelStorei(GL_PACK_ALIGNMENT, 8);

    const test::ScratchDirectory files;
    {
        const test::WorkingDirectory here(files.path());
        saveScreenshot(width, height);
    }
    GLint alignment = 0;
    glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 8);

    const test::Picture saved = test::readPng(files.file("tessaro-0001.png"));
    ASSERT_EQ(saved.width, width);
    ASSERT_EQ(saved.height, height);
    const std::vector<std::uint8_t> red{255, 0, 0};
    const std::vector<std::uint8_t> blue{0, 0, 255};
    const auto pixel = [&saved](int x, int y) {
        const auto at = saved.rgb.begin() + 3 * (y * width + x);
        return std::vector<std::uint8_t>(at, at + 3);
    };
    EXPECT_EQ(pixel(0, 0), red);
    EXPECT_EQ(pixel(width - 1, 0), red);
    EXPECT_EQ(pixel(0, height - 1), blue);
}

} // namespace
} // namespace zel
