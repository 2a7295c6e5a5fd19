#include "viewer/render/frame_drawing.h"

#include "viewer/render/terrain_drawing.h"
#include "viewer/render/viewer_state.h"

#include <GL/freeglut.h>

namespace zel {

void displayFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawTerrain(viewerState().terrain);
    glutSwapBuffers();
}

} // namespace zel
