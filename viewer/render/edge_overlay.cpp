#include "viewer/render/edge_overlay.h"

#include "viewer/terrain_model.h"

#include <GL/gl.h>

namespace zel {
namespace {

constexpr GLfloat edgeGrey = 0.1f;

} // namespace

void drawTriangleEdges(unsigned int meshList) {
    // The mesh sets the current normal and texture coordinate too, so those come back
    // with the colour.
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_POLYGON_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glEnable(GL_POLYGON_OFFSET_LINE);
    glPolygonOffset(-1.0f, -1.0f);
    glColor3f(edgeGrey, edgeGrey, edgeGrey);
    if (meshList != 0) {
        glCallList(meshList);
    } else {
        terrainModel.drawMesh();
    }
    glPopAttrib();
}

} // namespace zel
