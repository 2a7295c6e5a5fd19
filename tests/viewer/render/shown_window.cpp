#include "tests/viewer/render/shown_window.h"

#include "image/x_image_picture.h"

#include <GL/freeglut.h>
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace zel::test {
namespace {

bool waitUntilMapped(Display* display, Window window) {
    for (int tries = 0; tries < 200; ++tries) {
        XWindowAttributes attributes{};
        XGetWindowAttributes(display, window, &attributes);
        if (attributes.map_state == IsViewable) {
            return true;
        }
        glutMainLoopEvent();
    }
    return false;
}

} // namespace

std::vector<std::uint8_t> readShownWindow(int width, int height) {
    Display* display = glXGetCurrentDisplay();
    const Window window = glXGetCurrentDrawable();
    if (display == nullptr || !waitUntilMapped(display, window)) {
        return {};
    }
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (image == nullptr) {
        return {};
    }
    std::vector<std::uint8_t> pixels = pictureOf(*image, true).bytes;
    XDestroyImage(image);
    return pixels;
}

} // namespace zel::test
