// Saves the whole screen of an X display as a PNG file: `make run` uses it to show what the
// viewer draws on a machine without a display of its own (under Xvfb).
//
// Usage: x11_screenshot <out.png>      (the display is taken from DISPLAY)
#include "image/png_writer.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdint>
#include <cstdio>
#include <iostream>
#include <stdexcept>

namespace {

unsigned channelOf(unsigned long pixel, unsigned long mask) {
    if (mask == 0) {
        return 0;
    }
    int shift = 0;
    while (!((mask >> shift) & 1)) {
        ++shift;
    }
    const unsigned long max = mask >> shift;
    return static_cast<unsigned>(((pixel & mask) >> shift) * 255 / max);
}

} // namespace

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
    XImage* image =
        XGetImage(display, root, 0, 0, static_cast<unsigned>(attributes.width),
                  static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (!image) {
        std::cerr << "Cannot read the screen\n";
        XCloseDisplay(display);
        return 1;
    }

    zel::RgbPicture picture;
    picture.width = attributes.width;
    picture.height = attributes.height;
    picture.bytes.reserve(static_cast<std::size_t>(attributes.height) * attributes.width * 3);
    for (int y = 0; y < attributes.height; ++y) {
        for (int x = 0; x < attributes.width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            picture.bytes.push_back(static_cast<std::uint8_t>(channelOf(pixel, image->red_mask)));
            picture.bytes.push_back(static_cast<std::uint8_t>(channelOf(pixel, image->green_mask)));
            picture.bytes.push_back(static_cast<std::uint8_t>(channelOf(pixel, image->blue_mask)));
        }
    }
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
