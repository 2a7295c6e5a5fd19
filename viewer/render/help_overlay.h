#pragma once

#include <span>

namespace zel {

// The keys and buttons, listed in a panel at the top left of a window of width x height
// pixels, over whatever the frame holds. Leaves the GL state as it found it.
void drawHelpOverlay(int width, int height);

// The panel's lines, a key or button and what it does on each. Tessaro --help lists them
// too, so that the help, its man page and the window cannot disagree.
std::span<const char* const> helpOverlayLines();

} // namespace zel
