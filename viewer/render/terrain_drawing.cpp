#include "viewer/render/terrain_drawing.h"

#include "viewer/current_seconds.h"

#include <GL/gl.h>
#include <cassert>
#include <cstddef>
#include <cstdint>

namespace zel {
namespace {

constexpr double degreesPerSecond = 24.0;

// Vec3 and TexCoord are exactly their floats (see geometry.h), so a record's address is
// the address of the float array that OpenGL reads.
const GLfloat* floatsOf(const Vec3& v) {
    return &v.x;
}
const GLfloat* floatsOf(const TexCoord& t) {
    return &t.u;
}

} // namespace

void drawTerrain(ShownTerrain& terrain) {
    const double now = currentSeconds();
    float angle = 0.0f;
    // The first frame (lastFrameTime still -1) shows the terrain unturned.
    if (terrain.lastFrameTime > 0.0) {
        angle = static_cast<float>((now - terrain.lastFrameTime) * degreesPerSecond);
    }
    terrain.lastFrameTime = now;

    // The turn accumulates in the model-view matrix from frame to frame; only a reshape
    // resets it to the camera alone.
    glRotatef(angle, 0.0f, 1.0f, 0.0f);
    drawMesh(terrain.model, terrain.textureId);
}

void drawMesh(const TerrainModel& model, std::uint32_t textureId) {
    glBindTexture(GL_TEXTURE_2D, textureId);

    const std::vector<Vec3>& vertices = model.vertices;
    const std::vector<Vec3>& normals = model.normals;
    const std::vector<TexCoord>& texCoords = model.texCoords;
    assert(normals.size() == vertices.size() && texCoords.size() == vertices.size());
    glBegin(GL_TRIANGLES);
    for (const Triangle& triangle : model.triangles) {
        for (const std::int32_t index : triangle.indices) {
            const auto i = static_cast<std::size_t>(index);
            assert(i < vertices.size());
            glNormal3fv(floatsOf(normals[i]));
            glTexCoord2fv(floatsOf(texCoords[i]));
            glVertex3fv(floatsOf(vertices[i]));
        }
    }
    glEnd();
}

} // namespace zel
