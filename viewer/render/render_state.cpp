#include "viewer/render/render_state.h"

#include "viewer/navigation_state.h"
#include "viewer/render/viewer_state.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace zel {
namespace {

constexpr double nearPlane = 0.1;
constexpr double farPlane = 1000.0;

constexpr GLfloat lightPosition[] = {100.0f, 300.0f, 100.0f, 1.0f};
constexpr GLfloat lightAmbient[] = {0.2f, 0.2f, 0.2f, 1.0f};
constexpr GLfloat lightDiffuse[] = {1.0f, 1.0f, 1.0f, 1.0f};

} // namespace

void initRenderState() {
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_TEXTURE_2D);
}

void reshapeView(int width, int height) {
    if (height == 0) {
        height = 1;
    }
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glViewport(0, 0, width, height);
    const double aspect = static_cast<double>(width) / static_cast<double>(height);
    gluPerspective(viewFieldOfViewDegrees, aspect, nearPlane, farPlane);

    // Loading the identity here also discards the rotation that the frames have built up,
    // so a resized window shows the terrain in its starting orientation.
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const double eyeHeight =
        static_cast<double>(viewerState().terrain.model.bounds.max.y) + startingEyeAboveTop;
    gluLookAt(0.0, eyeHeight, startingEyeDistance, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
    // A vertex is (x, height, y): mirrored along z, the file's y (north) points away from
    // the viewer and x (east) to the right, so that a map is not seen as its mirror image.
    // Lengths stay the same, so the normals need no rescaling.
    glScaled(1.0, 1.0, -1.0);
}

void initLighting() {
    // Given while the model-view matrix is still the identity, the position is in eye
    // coordinates: the light stays put relative to the viewer while the terrain turns.
    glLightfv(GL_LIGHT1, GL_POSITION, lightPosition);
    glLightfv(GL_LIGHT1, GL_AMBIENT, lightAmbient);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, lightDiffuse);
    glEnable(GL_LIGHT1);
    glEnable(GL_LIGHTING);
}

} // namespace zel
