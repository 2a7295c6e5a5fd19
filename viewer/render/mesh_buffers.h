#pragma once

#include <cstdint>
#include <span>

namespace zel {

struct TerrainModel;

// The terrain's mesh in buffers on the graphics card, drawn with one indexed call. The
// user's frames draw it; a change of heights replaces only the vertices and normals, which
// is far quicker than sending every triangle again.
struct MeshBuffers {
    unsigned int vertices = 0;
    unsigned int normals = 0;
    unsigned int texCoords = 0;
    unsigned int corners = 0; // three vertex indices a triangle, in the model's order
    int cornerCount = 0;

    bool empty() const { return vertices == 0; }
};

// Drops the errors OpenGL has recorded so far, so that those of what follows can be told
// from them.
void clearErrors();

// New buffers and the first error OpenGL reported while filling them.
struct MeshUpload {
    MeshBuffers buffers;
    unsigned int error = 0;
};

// Fills new buffers with the model's vertices, normals, texture coordinates and triangles.
// When OpenGL reports an error (GL_OUT_OF_MEMORY for a huge terrain, say), the buffers are
// incomplete, so they are deleted and the result holds none, with that error. Errors left
// over from before are cleared first, so that they do not count against the upload. A model
// without triangles gets no buffers and no error.
MeshUpload uploadMesh(const TerrainModel& model);

// Replaces the vertices and normals after a change of heights (the same number of each).
// Returns the first error OpenGL reported, 0 when there was none.
unsigned int updateMeshHeights(const MeshBuffers& buffers, const TerrainModel& model);

// Draws the triangles as drawMesh (terrain_drawing.h) does, with the texture `textureId` bound;
// the client arrays and buffer bindings are left as they were found.
void drawMeshBuffers(const MeshBuffers& buffers, unsigned int textureId);

// Triangles [first, first + count) of the element buffer `corners`.
struct TriangleRun {
    unsigned int corners = 0;
    std::uint32_t first = 0;
    std::uint32_t count = 0;
};

// As drawMeshBuffers, with the triangles of `runs` in place of the buffers' own.
void drawMeshRuns(const MeshBuffers& buffers, unsigned int textureId,
                  std::span<const TriangleRun> runs);

// Deletes the buffers and leaves `buffers` empty.
void deleteMeshBuffers(MeshBuffers& buffers);

} // namespace zel
