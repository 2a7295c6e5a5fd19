#include "tests/support/terrain_generator.h"
#include "tests/viewer/texture/linear_search.h"
#include "viewer/bounding_box.h"
#include "viewer/sample_lattice.h"
#include "viewer/texture/sample_holder_index.h"
#include "viewer/texture/triangle_search.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <gtest/gtest.h>
#include <iterator>
#include <random>
#include <vector>

namespace zel {
namespace {

SampleLattice latticeOver(const TerrainModel& model) {
    return sampleLattice(boundingBox(model.vertices));
}

// The index must name, for every sample, the triangle a scan from the front finds, and
// the texel walk must choose the same triangles either way.
void expectIndexAgreesWithScan(const TerrainModel& model) {
    const SampleLattice lattice = latticeOver(model);
    const std::vector<Point2>& points = model.points;
    const SampleHolderIndex index(model.triangles, points, lattice);
    int held = 0;
    for (int i = 0; i < textureSize; ++i) {
        for (int j = 0; j < textureSize; ++j) {
            const Triangle* expected =
                test::firstHolder(model.triangles, points, lattice.x[i], lattice.z[j]);
            ASSERT_EQ(index.holder(i, j), expected) << "sample " << i << ", " << j;
            held += expected != nullptr;
        }
    }
    EXPECT_GT(held, 0);
    EXPECT_EQ(texelTriangles(model.triangles, points, lattice),
              test::linearTexelTriangles(model.triangles, points, lattice));
}

class TriangleSearch : public ::testing::Test {
protected:
    TerrainModel model;
};

TEST_F(TriangleSearch, WarpedJitteredTerrainsAgree) {
    for (std::uint32_t seed : {1u, 2u}) {
        expectIndexAgreesWithScan(test::generateGridTerrain({.columns = 17,
                                                             .rows = 11,
                                                             .spacing = 0.7f,
                                                             .originX = -3.0f,
                                                             .originY = 12.0f,
                                                             .warp = 0.2f,
                                                             .jitter = 0.2f,
                                                             .seed = seed}));
    }
}

TEST_F(TriangleSearch, SamplesOnVerticesAndEdgesAgree) {
    // Spacing 8 with an extra corner point at (127, 127): the box is [0, 127] on both axes,
    // so samples fall on grid lines, edges and vertices, each held by several triangles.
    model = test::generateGridTerrain({.columns = 12, .rows = 12, .spacing = 8.0f});
    model.points.push_back(Point2{127.0f, 127.0f});
    model.vertices.push_back(Vec3{127.0f, 0.0f, 127.0f});
    expectIndexAgreesWithScan(model);
}

TEST_F(TriangleSearch, SamplesOnEveryColumnLineAgree) {
    model = test::generateGridTerrain({.columns = 128, .rows = 3, .spacing = 1.0f});
    expectIndexAgreesWithScan(model);
}

TEST_F(TriangleSearch, ShuffledOverlappingAndReversedTrianglesAgree) {
    model = test::generateGridTerrain(
        {.columns = 12, .rows = 12, .spacing = 1.5f, .warp = 0.1f, .jitter = 0.15f, .seed = 7});
    std::mt19937 random(11);
    // Triangles listed twice, some turned counter-clockwise, and a few large ones laid
    // over the rest: the first in order decides.
    const std::size_t gridTriangles = model.triangles.size();
    for (std::size_t k = 0; k < gridTriangles; k += 5) {
        const Triangle t = model.triangles[k];
        model.addTriangle(t.indices[0], t.indices[2], t.indices[1]);
        model.addTriangle(t.indices[0], t.indices[1], t.indices[2]);
    }
    model.addTriangle(0, 143, 11);
    model.addTriangle(0, 132, 143);
    model.addTriangle(0, 11, 143);
    std::shuffle(model.triangles.begin(), model.triangles.end(), random);
    expectIndexAgreesWithScan(model);
}

TEST_F(TriangleSearch, TerrainFarFromTheOriginAgrees) {
    // Far from the origin, neighbouring samples round to the same float.
    expectIndexAgreesWithScan(test::generateGridTerrain({.columns = 16,
                                                         .rows = 16,
                                                         .spacing = 0.002f,
                                                         .originX = 40000.0f,
                                                         .originY = -70000.0f,
                                                         .warp = 0.1f,
                                                         .jitter = 0.1f,
                                                         .seed = 5}));
}

TEST_F(TriangleSearch, DegenerateTrianglesAgree) {
    model = test::generateGridTerrain({.columns = 10, .rows = 10, .spacing = 1.0f});
    // Added last, then moved to the front.
    model.addTriangle(5, 5, 5);   // a single point
    model.addTriangle(0, 11, 22); // collinear along the diagonal
    std::rotate(model.triangles.begin(), std::prev(model.triangles.end(), 2),
                model.triangles.end());
    expectIndexAgreesWithScan(model);
}

// Triangles pointing at a sample with their tip on it or one float step short of it, first in
// the list and in both orientations: from plain ones to slivers so thin that their edge values
// cancel to rounding, some with far corners of much smaller magnitude, so that the differences
// themselves round. The index tries only the samples within a triangle's box; none beyond it
// may be held.
TEST_F(TriangleSearch, TrianglesEndingJustShortOfASampleAgree) {
    model = test::generateGridTerrain({.columns = 12, .rows = 12, .spacing = 1.5f});
    const std::size_t gridTriangles = model.triangles.size();
    const SampleLattice lattice = latticeOver(model);
    const auto addPoint = [this](float x, float y) {
        model.points.push_back(Point2{x, y});
        model.vertices.push_back(Vec3{x, 0.0f, y});
        return static_cast<std::int32_t>(model.points.size() - 1);
    };
    const auto addBothWays = [&](std::int32_t a, std::int32_t b, std::int32_t c) {
        model.addTriangle(a, b, c);
        model.addTriangle(a, c, b);
    };
    for (const int k : {30, 77, 110}) {
        const float x = lattice.x[static_cast<std::size_t>(k)];
        const float z = lattice.z[static_cast<std::size_t>(k)];
        for (const int step : {0, 1}) {
            const float tipX = step ? std::nextafter(x, -1e9f) : x;
            const float tipZ = step ? std::nextafter(z, -1e9f) : z;
            for (const float thin : {0.5f, 1e-4f, 1e-6f, 1e-9f, 1e-30f}) {
                addBothWays(addPoint(tipX, z), addPoint(tipX - 3.0f, z + thin),
                            addPoint(tipX - 1.5f, z - thin));
                addBothWays(addPoint(x, tipZ), addPoint(x + thin, tipZ - 3.0f),
                            addPoint(x - thin, tipZ - 1.5f));
                addBothWays(addPoint(tipX, z), addPoint(0x1p-40f, z + thin),
                            addPoint(0x1p-20f, z - thin));
            }
        }
    }
    std::rotate(model.triangles.begin(),
                model.triangles.begin() + static_cast<std::ptrdiff_t>(gridTriangles),
                model.triangles.end());
    ASSERT_EQ(latticeOver(model).x, lattice.x); // the new points lie inside the box
    expectIndexAgreesWithScan(model);
}

} // namespace
} // namespace zel
