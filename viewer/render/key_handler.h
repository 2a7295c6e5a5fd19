#pragma once

namespace zel {

// Keyboard callback: q and Escape end the viewer with exit status 0; f, r, s, h, space,
// + and -, ] and [ (heights), w (triangle edges), l (levels of detail or the full mesh) act
// on the user's view (the first of them hands the view to the user).
void handleKey(unsigned char key, int x, int y);

// Special-key callback: F1 shows or hides the help.
void handleSpecialKey(int key, int x, int y);

} // namespace zel
