// Saves the whole screen of an X display as a PNG file: `make run` uses it to show what the
// viewer draws on a machine without a display of its own (under Xvfb).
//
// Usage: x11_screenshot <out.png>      (the display is taken from DISPLAY)
#include "image/png_writer.h"
#include "image/x_image_picture.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cstdio>
#include <iostream>
#include <stdexcept>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "Usage: " << argv[0] << " <out.png>\n";
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::cerr << "Cannot open the X display\n";
        return 1;
    }
    const Window root = DefaultRootWindow(display);
    XWindowAttributes attributes{};
    XGetWindowAttributes(display, root, &attributes);
    XImage* image = XGetImage(display, root, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (!image) {
        std::cerr << "Cannot read the screen\n";
        XCloseDisplay(display);
        return 1;
    }

    const zel::RgbPicture picture = zel::pictureOf(*image);
    XDestroyImage(image);
    XCloseDisplay(display);

    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out) {
        std::cerr << "Cannot write file: " << argv[1] << "\n";
        return 1;
    }
    try {
        zel::writePng(out, picture);
    } catch (const std::exception& failure) {
        std::fclose(out);
        std::cerr << "Cannot write file: " << argv[1] << " (" << failure.what() << ")\n";
        return 1;
    }
    if (std::fclose(out) != 0) {
        std::cerr << "Cannot write file: " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
