#pragma once

#include "image/png_writer.h"

#include <X11/Xlib.h>

namespace zel {

// The pixels of an image read from an X server (XGetImage, ZPixmap), as 8-bit RGB with the
// top row first, or the bottom row first as OpenGL reads them. Each channel is scaled from
// the width of its mask to 0..255, so that any TrueColor visual gives the same bytes.
RgbPicture pictureOf(XImage& image, bool bottomRowFirst = false);

} // namespace zel
