#pragma once

namespace zel {

// The keys and buttons, listed in a panel at the top left of a window of width x height
// pixels, over whatever the frame holds. Leaves the GL state as it found it.
void drawHelpOverlay(int width, int height);

} // namespace zel
