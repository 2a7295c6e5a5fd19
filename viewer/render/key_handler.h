#pragma once

namespace zel {

// Keyboard callback: Escape ends the viewer with exit status 0.
void handleKey(unsigned char key, int x, int y);

} // namespace zel
