#pragma once

#include <string>
#include <vector>

namespace zel {

// Drawing over the frame in window pixels (origin at the bottom left), unlit, untextured
// and in front of everything, for as long as the object lives; the GL state it changes
// (enables, colour, blending, both matrices) comes back as it was when it goes.
class ScreenOverlay {
public:
    ScreenOverlay(int width, int height);
    ~ScreenOverlay();
    ScreenOverlay(const ScreenOverlay&) = delete;
    ScreenOverlay& operator=(const ScreenOverlay&) = delete;
};

// GLUT_BITMAP_9_BY_15: every character is 9 pixels wide; lines 15 high plus spacing.
inline constexpr int overlayCharacterWidth = 9;
inline constexpr int overlayLineHeight = 18;
inline constexpr int overlayPadding = 8;

// White lines of text on a dark, half-transparent panel whose top left corner is at
// (left, top). Needs a ScreenOverlay.
void drawTextPanel(const std::vector<std::string>& lines, int left, int top);

// White text whose baseline starts at (x, y). Needs a ScreenOverlay.
void drawOverlayText(const std::string& text, int x, int y);

} // namespace zel
