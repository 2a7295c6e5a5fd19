#include "viewer/render/help_overlay.h"

#include <GL/freeglut.h>
#include <GL/glu.h>
#include <algorithm>
#include <cstring>
#include <iterator>

namespace zel {
namespace {

constexpr const char* helpLines[] = {
    "Left drag          turn and tilt",
    "Right/middle drag  pan",
    "Wheel, + and -     zoom",
    "f                  fit the terrain in the window",
    "Space              pause or resume the turning",
    "r                  reset the view",
    "], [               raise or lower the heights (x 1.5)",
    "w                  show or hide the triangle edges",
    "s                  save a screenshot (PNG)",
    "h, F1              show or hide this help",
    "q, Escape          quit",
};

// GLUT_BITMAP_9_BY_15: every character is 9 pixels wide; lines 15 high plus spacing.
constexpr int characterWidth = 9;
constexpr int lineHeight = 18;
constexpr int margin = 10;
constexpr int padding = 8;

void drawPanel(int left, int top, int right, int bottom) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0.0f, 0.0f, 0.0f, 0.7f);
    glRecti(left, bottom, right, top);
    glDisable(GL_BLEND);
}

void drawLines(int left, int top) {
    glColor3f(1.0f, 1.0f, 1.0f);
    int baseline = top - padding - lineHeight + 4;
    for (const char* line : helpLines) {
        glRasterPos2i(left + padding, baseline);
        for (const char* c = line; *c != '\0'; ++c) {
            glutBitmapCharacter(GLUT_BITMAP_9_BY_15, *c);
        }
        baseline -= lineHeight;
    }
}

} // namespace

std::span<const char* const> helpOverlayLines() {
    return helpLines;
}

void drawHelpOverlay(int width, int height) {
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_COLOR_BUFFER_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(0.0, width, 0.0, height);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    std::size_t longest = 0;
    for (const char* line : helpLines) {
        longest = std::max(longest, std::strlen(line));
    }
    const int left = margin;
    const int top = height - margin;
    const int right = left + 2 * padding + static_cast<int>(longest) * characterWidth;
    const int bottom = top - 2 * padding - static_cast<int>(std::size(helpLines)) * lineHeight;
    drawPanel(left, top, right, bottom);
    drawLines(left, top);

    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
}

} // namespace zel
