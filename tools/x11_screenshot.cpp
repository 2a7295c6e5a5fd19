// Saves the whole screen of an X display as a PNG file: `make run` uses it to show what the
// viewer draws on a machine without a display of its own (under Xvfb).
//
// Usage: x11_screenshot <out.png>      (the display is taken from DISPLAY)
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

void putBigEndian(Bytes& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(v >> shift));
    }
}

void putChunk(Bytes& png, const char* type, const Bytes& data) {
    putBigEndian(png, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    putBigEndian(png, static_cast<std::uint32_t>(
                           crc32(0, png.data() + start, static_cast<uInt>(png.size() - start))));
}

Bytes deflated(const Bytes& raw) {
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    Bytes out(size);
    if (compress2(out.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 9) != Z_OK) {
        throw std::runtime_error("cannot compress the picture");
    }
    out.resize(size);
    return out;
}

Bytes encodePng(int width, int height, const Bytes& rgbRows) {
    Bytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    putBigEndian(header, static_cast<std::uint32_t>(width));
    putBigEndian(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8-bit RGB, no interlace
    putChunk(png, "IHDR", header);
    putChunk(png, "IDAT", deflated(rgbRows));
    putChunk(png, "IEND", {});
    return png;
}

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

    Bytes rows;
    rows.reserve(static_cast<std::size_t>(attributes.height) * (attributes.width * 3 + 1));
    for (int y = 0; y < attributes.height; ++y) {
        rows.push_back(0); // filter: none
        for (int x = 0; x < attributes.width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            rows.push_back(static_cast<std::uint8_t>(channelOf(pixel, image->red_mask)));
            rows.push_back(static_cast<std::uint8_t>(channelOf(pixel, image->green_mask)));
            rows.push_back(static_cast<std::uint8_t>(channelOf(pixel, image->blue_mask)));
        }
    }
    const int width = attributes.width, height = attributes.height;
    XDestroyImage(image);
    XCloseDisplay(display);

    Bytes png;
    try {
        png = encodePng(width, height, rows);
    } catch (const std::exception& failure) {
        std::cerr << failure.what() << "\n";
        return 1;
    }
    std::ofstream out(argv[1], std::ios::binary);
    out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    out.flush();
    if (!out) {
        std::cerr << "Cannot write file: " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
