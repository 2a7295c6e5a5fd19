#include "tests/support/gl_test_window.h"
#include "viewer/render/display_list.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <vector>

namespace zel {
namespace {

void drawPoint() {
    glBegin(GL_POINTS);
    glVertex2f(0.0f, 0.0f);
    glEnd();
}

// A list is kept only when compiling it raised no error of its own. glPixelStorei runs at
// once even while compiling, so a bad value is an error that compiling itself reports, as an
// exhausted memory would be.
TEST(DisplayListTest, KeepsAListOnlyWhenCompilingItRaisedNoError) {
    test::openGlTestWindow();
    struct Case {
        const char* name;
        void (*before)();
        void (*draw)();
        bool kept;
        GLenum error;
    };
    const std::vector<Case> cases = {
        {"clean", [] {}, drawPoint, true, GL_NO_ERROR},
        {"an error left over from before", [] { glEnable(GL_TRUE + 0x7000); }, drawPoint, true,
         GL_NO_ERROR},
        {"an error while compiling", [] {},
         [] {
             drawPoint();
             glPixelStorei(GL_PACK_ALIGNMENT, 3);
         },
         false, GL_INVALID_VALUE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.before();
        const CompiledList compiled = compileDisplayList(c.draw);
        EXPECT_EQ(compiled.list != 0 && glIsList(compiled.list) == GL_TRUE, c.kept);
        EXPECT_EQ(compiled.error, c.error);
        // The error is not left for the next frame to find.
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        glDeleteLists(compiled.list, 1);
    }
}

} // namespace
} // namespace zel
