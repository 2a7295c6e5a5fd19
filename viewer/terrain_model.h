#pragma once

#include "viewer/geometry.h"
#include "viewer/height_scale.h"
#include "viewer/map_frame.h"
#include "viewer/surface_heights.h"
#include "viewer/triangle.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace zel {

// The terrain as a plain value: what a file holds (points, their heights when it gives them,
// triangles, frame), and what the start-up stages make of it in turn (computeHeights,
// computeNormals, then computeSurface of terrain_surface.h). Nothing here needs OpenGL.
struct TerrainModel {
    // Appends the triangle through points i0, i1, i2, which must exist.
    void addTriangle(std::int32_t i0, std::int32_t i1, std::int32_t i2);

    // The exaggeration: the one factor that every derived height follows.
    double exaggeration() const { return heightScale.factor(); }

    // The heights before exaggeration (`baseHeights`, `tallestHeight`) and one vertex per
    // point: (x, base height x exaggeration, y). The base height is the point's elevation when
    // `elevations` holds them (less the lowest one when they all lie far from 0 for the
    // terrain's size, which the graphics card could not place), and otherwise follows from the
    // mean circumradius of the triangles that use the point, summed in triangle order.
    void computeHeights();
    // The vertices again from the base heights, at the present exaggeration.
    void placeVertices();
    // One normal per vertex: the unit sum of the area-weighted normals of its triangles, in
    // triangle order. Needs the vertices.
    void computeNormals();
    // The normals at the present exaggeration from those at `previousFactor`, without a pass
    // over the triangles.
    void followScaleWithNormals(double previousFactor);
    // The bounding box of the vertices.
    void computeBounds();

    // Vertices, bounds and surface samples again for `scale`, each made afresh from the base
    // heights, so that a scale returned to gives back exactly the same values; the normals
    // turned to follow (to within a float's rounding). The texture, which blends by relative
    // height, stays as it is. Needs computeSurface's results.
    void setHeightScale(const HeightScale& scale);

    // Height at ground position (x, z) of the plane through triangle t's vertices.
    float heightAt(float x, float z, const Triangle& t) const;
    // The height at every sample of `lattice` (entry i * textureSize + j for column i and
    // row j) of the triangle whose index `holders` gives there, none where it gives -1, and
    // none anywhere for a terrain without vertices or without a holder for every sample.
    std::vector<std::optional<float>>
    surfaceSamples(const SampleLattice& lattice, const std::vector<std::int32_t>& holders) const;
    // The surface's samples again from `sampleHolders`, at the vertices' present heights.
    void sampleSurface();

    // The points in file order; entry i belongs to vertex i.
    std::vector<Point2> points;
    // The heights a terrain file gives, one per point; empty for a triangulation file.
    std::vector<float> elevations;
    // The triangles in file order.
    std::vector<Triangle> triangles;
    // How the file's coordinates map back to the data's, as its frame record says (the
    // identity for a file without one).
    MapFrame frame;

    HeightScale heightScale;
    // One height per point before the exaggeration, and the largest of them in magnitude.
    std::vector<float> baseHeights;
    float tallestHeight = 0.0f;
    std::vector<Vec3> vertices;
    std::vector<Vec3> normals;
    std::vector<TexCoord> texCoords;
    Box bounds;
    // Where the camera must not go, sampled where the texture is.
    SurfaceHeights surface;
    // For each surface sample, the index of the triangle that holds it, or -1.
    std::vector<std::int32_t> sampleHolders;
};

} // namespace zel
