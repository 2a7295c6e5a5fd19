#include "viewer/render/screen_overlay.h"

#include <GL/freeglut.h>
#include <GL/glu.h>
#include <algorithm>

namespace zel {
namespace {

void drawPanel(int left, int top, int right, int bottom) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0.0f, 0.0f, 0.0f, 0.7f);
    glRecti(left, bottom, right, top);
    glDisable(GL_BLEND);
}

void writeCharacters(const std::string& text) {
    for (const char c : text) {
        glutBitmapCharacter(GLUT_BITMAP_9_BY_15, c);
    }
}

} // namespace

ScreenOverlay::ScreenOverlay(int width, int height) {
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_COLOR_BUFFER_BIT | GL_LINE_BIT);
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
}

ScreenOverlay::~ScreenOverlay() {
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
}

void drawTextPanel(const std::vector<std::string>& lines, int left, int top) {
    std::size_t longest = 0;
    for (const std::string& line : lines) {
        longest = std::max(longest, line.size());
    }
    const int right = left + 2 * overlayPadding + static_cast<int>(longest) * overlayCharacterWidth;
    const int bottom =
        top - 2 * overlayPadding - static_cast<int>(lines.size()) * overlayLineHeight;
    drawPanel(left, top, right, bottom);

    glColor3f(1.0f, 1.0f, 1.0f);
    int baseline = top - overlayPadding - overlayLineHeight + 4;
    for (const std::string& line : lines) {
        glRasterPos2i(left + overlayPadding, baseline);
        writeCharacters(line);
        baseline -= overlayLineHeight;
    }
}

void drawOverlayText(const std::string& text, int x, int y) {
    glColor3f(1.0f, 1.0f, 1.0f);
    glRasterPos2i(x, y);
    writeCharacters(text);
}

} // namespace zel
