#include "viewer/render/mesh_buffers.h"

#include "viewer/terrain_model.h"

// The buffer functions are OpenGL 1.5, declared by glext.h only on request.
#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>
#include <cstdint>
#include <limits>
#include <vector>

namespace zel {

void clearErrors() {
    while (glGetError() != GL_NO_ERROR) {
    }
}

namespace {

template <typename Record>
void fill(GLenum target, GLuint buffer, const std::vector<Record>& records, GLenum usage) {
    glBindBuffer(target, buffer);
    glBufferData(target, static_cast<GLsizeiptr>(records.size() * sizeof(Record)), records.data(),
                 usage);
}

template <typename Record> void replace(GLuint buffer, const std::vector<Record>& records) {
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(records.size() * sizeof(Record)),
                    records.data());
}

// Written straight into the buffer, so that no second copy of the corners is held: the
// terrain's peak memory stays where it was.
bool fillCorners(GLuint buffer, const TerrainModel& model) {
    const std::size_t count = model.triangles.size() * 3;
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(count * sizeof(GLuint)), nullptr,
                 GL_STATIC_DRAW);
    auto* corner = static_cast<GLuint*>(glMapBuffer(GL_ELEMENT_ARRAY_BUFFER, GL_WRITE_ONLY));
    if (corner == nullptr) {
        return false;
    }
    for (const Triangle& triangle : model.triangles) {
        for (const std::int32_t index : triangle.indices) {
            *corner++ = static_cast<GLuint>(index);
        }
    }
    return glUnmapBuffer(GL_ELEMENT_ARRAY_BUFFER) == GL_TRUE;
}

} // namespace

MeshUpload uploadMesh(const TerrainModel& model) {
    clearErrors();
    // Nothing to draw, and a buffer of no bytes cannot be mapped.
    if (model.triangles.empty()) {
        return {};
    }
    // One draw call counts its corners in a GLsizei.
    if (model.triangles.size() >
        static_cast<std::size_t>(std::numeric_limits<GLsizei>::max()) / 3) {
        return {MeshBuffers{}, GL_OUT_OF_MEMORY};
    }
    MeshBuffers buffers;
    GLuint names[4];
    glGenBuffers(4, names);
    buffers.vertices = names[0];
    buffers.normals = names[1];
    buffers.texCoords = names[2];
    buffers.corners = names[3];
    fill(GL_ARRAY_BUFFER, buffers.vertices, model.vertices, GL_DYNAMIC_DRAW);
    fill(GL_ARRAY_BUFFER, buffers.normals, model.normals, GL_DYNAMIC_DRAW);
    fill(GL_ARRAY_BUFFER, buffers.texCoords, model.texCoords, GL_STATIC_DRAW);
    const bool cornersKept = fillCorners(buffers.corners, model);
    buffers.cornerCount = static_cast<int>(model.triangles.size() * 3);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);

    GLenum error = glGetError();
    if (error == GL_NO_ERROR && !cornersKept) {
        error = GL_OUT_OF_MEMORY; // the buffer's contents were lost while it was mapped
    }
    if (error != GL_NO_ERROR) {
        deleteMeshBuffers(buffers);
        clearErrors();
    }
    return {buffers, error};
}

unsigned int updateMeshHeights(const MeshBuffers& buffers, const TerrainModel& model) {
    clearErrors();
    replace(buffers.vertices, model.vertices);
    replace(buffers.normals, model.normals);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    const GLenum error = glGetError();
    clearErrors();
    return error;
}

void drawMeshBuffers(const MeshBuffers& buffers, unsigned int textureId) {
    const TriangleRun whole{buffers.corners, 0,
                            static_cast<std::uint32_t>(buffers.cornerCount / 3)};
    drawMeshRuns(buffers, textureId, {&whole, 1});
}

void drawMeshRuns(const MeshBuffers& buffers, unsigned int textureId,
                  std::span<const TriangleRun> runs) {
    glBindTexture(GL_TEXTURE_2D, textureId);
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glBindBuffer(GL_ARRAY_BUFFER, buffers.vertices);
    glVertexPointer(3, GL_FLOAT, 0, nullptr);
    glBindBuffer(GL_ARRAY_BUFFER, buffers.normals);
    glNormalPointer(GL_FLOAT, 0, nullptr);
    glBindBuffer(GL_ARRAY_BUFFER, buffers.texCoords);
    glTexCoordPointer(2, GL_FLOAT, 0, nullptr);
    for (const TriangleRun& run : runs) {
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, run.corners);
        // An offset into the bound element buffer, passed where a pointer would be.
        const auto offset = static_cast<std::uintptr_t>(run.first) * 3 * sizeof(GLuint);
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(run.count * 3), GL_UNSIGNED_INT,
                       reinterpret_cast<const void*>(offset));
    }
    // The buffer bindings are not client state; nothing else in the viewer binds buffers.
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    glPopClientAttrib();
}

void deleteMeshBuffers(MeshBuffers& buffers) {
    const GLuint names[4] = {buffers.vertices, buffers.normals, buffers.texCoords, buffers.corners};
    glDeleteBuffers(4, names);
    buffers = MeshBuffers{};
}

} // namespace zel
