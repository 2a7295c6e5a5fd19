#include "tests/viewer/render/test_terrain.h"

#include <GL/gl.h>

namespace zel::test {

TerrainModel flatSquare() {
    TerrainModel model;
    model.points = {{-80.0f, -80.0f}, {80.0f, -80.0f}, {80.0f, 80.0f}, {-80.0f, 80.0f}};
    model.addTriangle(0, 3, 2);
    model.addTriangle(0, 2, 1);
    for (const Point2& p : model.points) {
        model.vertices.push_back({p.x, 0.0f, p.y});
        model.normals.push_back({0.0f, 1.0f, 0.0f});
        model.texCoords.push_back({(p.x + 80.0f) / 160.0f, (p.y + 80.0f) / 160.0f});
    }
    model.bounds = {{-80.0f, 0.0f, -80.0f}, {80.0f, 0.0f, 80.0f}};
    return model;
}

std::uint32_t makeSolidTexture(unsigned char r, unsigned char g, unsigned char b) {
    const unsigned char texels[] = {r, g, b, r, g, b, r, g, b, r, g, b};
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 2, 2, 0, GL_RGB, GL_UNSIGNED_BYTE, texels);
    return name;
}

} // namespace zel::test
