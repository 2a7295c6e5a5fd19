#include "tests/support/gl_test_window.h"

#include "tests/support/xvfb_display.h"

#include <GL/freeglut.h>
#include <dlfcn.h>
#include <link.h>
#include <string>
#include <vector>

namespace zel::test {
namespace {

// Keeps Mesa's driver module loaded until the process ends. Otherwise it is unloaded
// before the leak check runs, its frames lose their module name, and the suppressions
// for the allocations it keeps cannot match them.
void pinGlDriver() {
    std::vector<std::string> drivers;
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* found) {
            const std::string name = info->dlpi_name != nullptr ? info->dlpi_name : "";
            if (name.find("_dri.so") != std::string::npos) {
                static_cast<std::vector<std::string>*>(found)->push_back(name);
            }
            return 0;
        },
        &drivers);
    for (const std::string& driver : drivers) {
        dlopen(driver.c_str(), RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE);
    }
}

} // namespace

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
        // Wholly on the screen, so that what the server shows can be read back (XGetImage).
        glutInitWindowPosition(0, 0);
        window = glutCreateWindow("gl-test");
        // freeglut refuses to process events for a window without a display callback.
        glutDisplayFunc([] {});
        // Let the window be mapped so its framebuffer has the requested size.
        glutMainLoopEvent();
        pinGlDriver();
    }
    glutSetWindow(window);
    return window;
}

} // namespace zel::test
