#include "tests/support/gl_test_window.h"
#include "viewer/render/display_list.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

namespace zel {
namespace {

void drawPoint() {
    glBegin(GL_POINTS);
    glVertex2f(0.0f, 0.0f);
    glEnd();
}

void drawPointBadly() {
    drawPoint();
    glPixelStorei(GL_PACK_ALIGNMENT, 3);
}

// A list is kept unless compiling it raised an error of its own; one left over from
// before does not count. glPixelStorei runs at once even while compiling, so a bad value is
// an error that compiling itself reports, as an exhausted memory would be.
TEST(DisplayListTest, KeepsAListOnlyWhenCompilingItRaisedNoError) {
    test::openGlTestWindow();
    struct Case {
        void (*draw)();
        bool kept;
        GLenum error;
    };
    for (const Case& c :
         {Case{drawPoint, true, GL_NO_ERROR}, Case{drawPointBadly, false, GL_INVALID_VALUE}}) {
        glEnable(GL_TRUE + 0x7000); // not a capability: GL_INVALID_ENUM
        const CompiledList compiled = compileDisplayList(c.draw);
        EXPECT_EQ(compiled.list != 0 && glIsList(compiled.list) == GL_TRUE, c.kept);
        EXPECT_EQ(compiled.error, c.error);
        // Nothing is left for the next frame to find.
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        glDeleteLists(compiled.list, 1);
    }
}

} // namespace
} // namespace zel
