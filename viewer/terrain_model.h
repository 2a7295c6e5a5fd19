#pragma once

#include "viewer/geometry.h"
#include "viewer/image_levels.h"
#include "viewer/map_frame.h"
#include "viewer/texture/image_legend.h"
#include "viewer/texture/surface_heights.h"
#include "viewer/triangle.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <list>
#include <string>
#include <vector>

namespace zel {

// The terrain that every start-up stage fills in turn and that every frame draws.
// One process-wide instance (`terrainModel`); it owns its triangles.
class TerrainModel {
public:
    TerrainModel() = default;
    TerrainModel(const TerrainModel&) = delete;
    TerrainModel& operator=(const TerrainModel&) = delete;
    TerrainModel(TerrainModel&&) = default;
    TerrainModel& operator=(TerrainModel&&) = default;

    // Keeps a copy of `triangle` and appends it to `triangles`.
    Triangle* addTriangle(const Triangle& triangle);
    // Removes the triangles added after the first `count`, newest first.
    void keepFirstTriangles(std::size_t count);

    // Appends one vertex per point: (x, height x exaggeration, y), the height being the
    // point's elevation when `elevations` holds them (less the lowest one when they all lie
    // far from 0 for the terrain's size, which the graphics card could not place), and
    // otherwise following from the mean circumradius of the triangles that use the point,
    // summed in list order.
    void computeHeights();
    // Appends one normal per vertex: the unit sum of the area-weighted normals of its
    // triangles, in list order. Needs the vertices.
    void computeNormals();

    // Sets the bounding box (boundsMin, boundsMax) of the vertices.
    void computeBounds();

    // Heights, normals and bounding box again, for a new exaggeration factor. The texture,
    // which blends by relative height, stays as it is.
    void changeExaggeration(double factor);

    // Height at ground position (x, z) of the plane through triangle t's vertices.
    float heightAt(float x, float z, const Triangle& t) const;

    // Bounding box, texture coordinates, the surface heights, the height-blended texture
    // (coloured from those heights) and its upload: computeSurface, then buildTexture.
    void buildTerrainResources(const std::vector<std::string>& imageNames);
    // Bounding box, texture coordinates and the surface heights: the part of the resources
    // that needs only the vertices and no OpenGL.
    void computeSurface();
    // The height-blended texture, coloured from the surface heights, and its upload. Needs
    // computeSurface's results and a current OpenGL context. Throws TgaException when an image
    // cannot be loaded. The images are spread evenly over the bounding box's heights, or
    // placed on the data's heights by `levels` (one per image when given).
    // The count of images and the levels are kept (see pureImageHeights).
    void buildTexture(const std::vector<std::string>& imageNames, const ImageLevels& levels = {});

    // Turns the view by the time since the previous frame and draws the mesh.
    void drawTerrain();
    // Binds the terrain texture and draws every triangle with its normals and texture
    // coordinates. The user's view draws the same from buffers (see mesh_buffers.h).
    void drawMesh() const;

    // The triangles in file order. They live in `triangleStore`, which allocates them in
    // blocks rather than one at a time: a terrain may have tens of millions.
    std::list<Triangle*> triangles;
    // The heights a terrain file gives, one per point; empty for a triangulation file.
    std::vector<float> elevations;
    // How the file's coordinates map back to the data's, as its frame record says (the
    // identity for a file without one).
    MapFrame frame;
    // What the texture was built with: how many images, and where they are pure.
    std::size_t imageCount = 0;
    ImageLevels imageLevels;
    double exaggeration = 1.0;
    // The largest height in magnitude before the exaggeration, set with the vertices.
    float tallestHeight = 0.0f;
    std::vector<Vec3> vertices;
    std::vector<Vec3> normals;
    std::vector<TexCoord> texCoords;
    std::uint32_t textureId = 0xFFFFFFFFu;
    double lastFrameTime = -1.0;
    Vec3 boundsMax{0.0f, 0.0f, 0.0f};
    Vec3 boundsMin{0.0f, 0.0f, 0.0f};
    // Where the camera must not go, sampled where the texture is.
    SurfaceHeights surface;
    // The images' colours and the data heights at which each is pure, for the legend.
    std::vector<LegendEntry> legend;

private:
    std::deque<Triangle> triangleStore;
};

// The viewer's process-wide terrain.
extern TerrainModel terrainModel;

} // namespace zel
