#include "tests/support/gl_test_window.h"

#include "tests/support/xvfb_display.h"

#include <GL/freeglut.h>

namespace zel::test {

int openGlTestWindow(int width, int height) {
    static int window = 0;
    if (window == 0) {
        startPrivateDisplay();
        int argc = 1;
        char name[] = "gl-test";
        char* argv[] = {name, nullptr};
        glutInit(&argc, argv);
        glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
        glutInitWindowSize(width, height);
        window = glutCreateWindow("gl-test");
        // freeglut refuses to process events for a window without a display callback.
        glutDisplayFunc([] {});
        // Let the window be mapped so its framebuffer has the requested size.
        glutMainLoopEvent();
    }
    glutSetWindow(window);
    return window;
}

} // namespace zel::test
