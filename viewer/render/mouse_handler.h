#pragma once

namespace zel {

// Mouse callback: a left-button drag turns and tilts, a right- or middle-button drag pans,
// the wheel zooms. The first press hands the view to the user.
void handleMouseButton(int button, int state, int x, int y);

// Motion callback (a button held down): feeds the drag that the press started.
void handleMouseDrag(int x, int y);

} // namespace zel
