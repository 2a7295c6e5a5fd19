#include "viewer/render/edge_overlay.h"

#include <GL/gl.h>

namespace zel {
namespace {

constexpr GLfloat edgeGrey = 0.1f;

} // namespace

void drawTriangleEdges(const std::function<void()>& drawMesh) {
    // The mesh sets the current normal and texture coordinate too, so those come back
    // with the colour.
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_POLYGON_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glEnable(GL_POLYGON_OFFSET_LINE);
    glPolygonOffset(-1.0f, -1.0f);
    glColor3f(edgeGrey, edgeGrey, edgeGrey);
    drawMesh();
    glPopAttrib();
}

} // namespace zel
