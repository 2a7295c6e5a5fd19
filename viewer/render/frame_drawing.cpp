#include "viewer/render/frame_drawing.h"

#include "viewer/terrain_model.h"

#include <GL/freeglut.h>

namespace zel {

void displayFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    terrainModel.drawTerrain();
    glutSwapBuffers();
}

} // namespace zel
