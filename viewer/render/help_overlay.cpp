#include "viewer/render/help_overlay.h"

#include "viewer/render/screen_overlay.h"

#include <iterator>
#include <string>
#include <vector>

namespace zel {
namespace {

constexpr const char* helpLines[] = {
    "Left drag          turn and tilt",
    "Left click         show the values under the cursor",
    "Right/middle drag  pan",
    "Wheel, + and -     zoom",
    "f                  fit the terrain in the window",
    "Space              pause or resume the turning",
    "r                  reset the view",
    "], [               raise or lower the heights (x 1.5)",
    "w                  show or hide the triangle edges",
    "l                  switch between levels of detail and the full mesh",
    "o                  show or hide north arrow, scale and legend",
    "s                  save a screenshot (PNG)",
    "h, F1              show or hide this help",
    "q, Escape          quit",
};

constexpr int margin = 10;

} // namespace

std::span<const char* const> helpOverlayLines() {
    return helpLines;
}

void drawHelpOverlay(int width, int height) {
    const ScreenOverlay overlay(width, height);
    drawTextPanel({std::begin(helpLines), std::end(helpLines)}, margin, height - margin);
}

} // namespace zel
