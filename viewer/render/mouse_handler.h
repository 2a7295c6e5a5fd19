#pragma once

namespace zel {

enum class Drag { None, Orbit, Pan };

// What the mouse is doing: the drag a held button makes, and where it went down.
struct Pointer {
    Drag drag = Drag::None;
    int button = -1;
    int x = 0;
    int y = 0;
    // Where the button went down, and whether the pointer has left it since.
    int downX = 0;
    int downY = 0;
    bool dragged = false;
};

// Mouse callback: a left-button drag turns and tilts, a right- or middle-button drag pans,
// the wheel zooms. The first press hands the view to the user.
void handleMouseButton(int button, int state, int x, int y);

// Motion callback (a button held down): feeds the drag that the press started.
void handleMouseDrag(int x, int y);

} // namespace zel
