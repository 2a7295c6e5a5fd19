#include "viewer/render/map_overlays.h"

#include "viewer/render/screen_overlay.h"

#include <GL/gl.h>
#include <sstream>

namespace zel {
namespace {

constexpr int margin = 10;
constexpr int arrowRadius = 22;
constexpr int legendStep = 24; // pixels from one image's height to the next
constexpr int legendWidth = 16;

void drawNorthArrow(const std::array<double, 2>& north, double centreX, double centreY) {
    const double tipX = centreX + arrowRadius * north[0];
    const double tipY = centreY + arrowRadius * north[1];
    // Across the arrow: north turned a quarter to the right.
    const double sideX = north[1] * arrowRadius * 0.35;
    const double sideY = -north[0] * arrowRadius * 0.35;
    const double tailX = centreX - arrowRadius * 0.6 * north[0];
    const double tailY = centreY - arrowRadius * 0.6 * north[1];
    glColor3f(0.85f, 0.1f, 0.1f);
    glBegin(GL_TRIANGLES);
    glVertex2d(tipX, tipY);
    glVertex2d(centreX + sideX, centreY + sideY);
    glVertex2d(centreX - sideX, centreY - sideY);
    glColor3f(1.0f, 1.0f, 1.0f);
    glVertex2d(tailX, tailY);
    glVertex2d(centreX - sideX, centreY - sideY);
    glVertex2d(centreX + sideX, centreY + sideY);
    glEnd();
    const double labelX = centreX + (arrowRadius + 8) * north[0] - 4;
    const double labelY = centreY + (arrowRadius + 8) * north[1] - 5;
    drawOverlayText("N", static_cast<int>(labelX), static_cast<int>(labelY));
}

void drawScaleBar(const ScaleBar& scale, int width) {
    if (scale.pixels <= 0.0) {
        return;
    }
    const double right = width - margin - overlayPadding;
    const double left = right - scale.pixels;
    const double y = margin + overlayPadding;
    const double tick = 6.0;
    glColor3f(1.0f, 1.0f, 1.0f);
    glLineWidth(2.0f);
    glBegin(GL_LINES);
    glVertex2d(left, y);
    glVertex2d(right, y);
    glVertex2d(left, y);
    glVertex2d(left, y + tick);
    glVertex2d(right, y);
    glVertex2d(right, y + tick);
    glEnd();
    const int labelWidth = static_cast<int>(scale.label.size()) * overlayCharacterWidth;
    drawOverlayText(scale.label, static_cast<int>(right) - labelWidth,
                    static_cast<int>(y + tick + 4));
}

std::string heightText(double height) {
    std::ostringstream text;
    text.precision(5);
    text << height;
    return text.str();
}

// A ramp from the lowest image's colour at the bottom to the highest's at the top, each
// image's height beside the place where it is pure.
void drawLegend(const std::vector<LegendEntry>& legend, int right, int top) {
    if (legend.empty()) {
        return;
    }
    const int left = right - legendWidth;
    const int bottom = top - legendStep * static_cast<int>(legend.size() - 1);
    glBegin(GL_QUAD_STRIP);
    for (std::size_t i = 0; i < legend.size(); ++i) {
        const int y = bottom + legendStep * static_cast<int>(i);
        const auto& c = legend[i].colour;
        glColor3ub(c[0], c[1], c[2]);
        glVertex2i(left, y);
        glVertex2i(right, y);
        if (legend.size() == 1) {
            glVertex2i(left, y + legendStep / 2);
            glVertex2i(right, y + legendStep / 2);
        }
    }
    glEnd();
    for (std::size_t i = 0; i < legend.size(); ++i) {
        const std::string label = heightText(legend[i].height);
        const int y = bottom + legendStep * static_cast<int>(i);
        drawOverlayText(label, left - 6 - static_cast<int>(label.size()) * overlayCharacterWidth,
                        y - 5);
    }
}

} // namespace

void drawMapOverlays(const MapOverlayContent& content, int width, int height) {
    const ScreenOverlay overlay(width, height);
    const int arrowCentreX = width - margin - arrowRadius - 8;
    const int arrowCentreY = height - margin - arrowRadius - 8;
    drawNorthArrow(content.north, arrowCentreX, arrowCentreY);
    drawLegend(content.legend, width - margin - overlayPadding,
               arrowCentreY - arrowRadius - 3 * margin);
    drawScaleBar(content.scale, width);
}

void drawPickReadout(const std::string& text, int width, int height) {
    const ScreenOverlay overlay(width, height);
    drawTextPanel({text}, margin, margin + 2 * overlayPadding + overlayLineHeight);
}

} // namespace zel
