#include "tests/viewer/render/shown_window.h"

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

std::uint8_t channel(unsigned long pixel, unsigned long mask) {
    while (mask != 0 && (mask & 1) == 0) {
        mask >>= 1;
        pixel >>= 1;
    }
    return static_cast<std::uint8_t>(pixel & mask);
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
    std::vector<std::uint8_t> pixels;
    pixels.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            pixels.push_back(channel(pixel, image->red_mask));
            pixels.push_back(channel(pixel, image->green_mask));
            pixels.push_back(channel(pixel, image->blue_mask));
        }
    }
    XDestroyImage(image);
    return pixels;
}

} // namespace zel::test
