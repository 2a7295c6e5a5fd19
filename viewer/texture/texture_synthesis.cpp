#include "viewer/texture/texture_synthesis.h"

#include "viewer/texture/height_blend.h"
#include "viewer/texture/sample_lattice.h"
#include "viewer/texture/triangle_search.h"

#include <cassert>
#include <cstddef>

namespace zel {

std::vector<unsigned char> synthesizeTexels(const TerrainModel& model,
                                            const std::vector<Point2>& pts,
                                            const std::vector<RgbImageView>& images) {
    std::vector<unsigned char> texels(texelBufferSize, 0);
    if (model.vertices.empty()) {
        return texels;
    }
    assert(model.vertices.size() == pts.size());

    const SampleLattice lattice = sampleLattice(BoundingBox{model.boundsMax, model.boundsMin});
    const std::vector<const Triangle*> chosen = texelTriangles(model.triangles, pts, lattice);
    const float lowest = model.boundsMin.y;
    const float range = model.boundsMax.y - model.boundsMin.y;

    for (int i = 0; i < textureSize; ++i) {
        const float x = lattice.x[static_cast<std::size_t>(i)];
        for (int j = 0; j < textureSize; ++j) {
            const Triangle* triangle = chosen[static_cast<std::size_t>(i * textureSize + j)];
            if (triangle == nullptr) {
                continue;
            }
            const float height =
                model.heightAt(x, lattice.z[static_cast<std::size_t>(j)], *triangle);
            const std::size_t offset = 3u * static_cast<std::size_t>(textureSize * j + i);
            blendTexel(images, normalisedHeight(height, lowest, range), i, j, &texels[offset]);
        }
    }
    return texels;
}

} // namespace zel
