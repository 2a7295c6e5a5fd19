#include "viewer/texture/texture_synthesis.h"

#include "viewer/texture/height_blend.h"
#include "viewer/texture/terrain_surface.h"

#include <cassert>
#include <cstddef>
#include <optional>

namespace zel {

std::vector<unsigned char> synthesizeTexels(const TerrainModel& model,
                                            const std::vector<RgbImageView>& images) {
    assert(model.vertices.empty() || model.vertices.size() == model.points.size());
    SurfaceHeights surface{sampleLattice(model.bounds), {}};
    surface.heights = model.surfaceSamples(surface.lattice, sampleHolders(model, surface.lattice));
    return synthesizeTexels(surface, model.bounds.min.y, model.bounds.max.y - model.bounds.min.y,
                            images);
}

namespace {

// Every texel that a triangle holds, coloured by `blend(height, column, row, rgb)`.
template <typename Blend>
std::vector<unsigned char> blendedTexels(const SurfaceHeights& surface, const Blend& blend) {
    assert(surface.heights.size() == static_cast<std::size_t>(textureSize * textureSize));
    std::vector<unsigned char> texels(texelBufferSize, 0);
    for (int i = 0; i < textureSize; ++i) {
        for (int j = 0; j < textureSize; ++j) {
            const std::optional<float>& height =
                surface.heights[static_cast<std::size_t>(i * textureSize + j)];
            if (!height) {
                continue;
            }
            const std::size_t offset = 3u * static_cast<std::size_t>(textureSize * j + i);
            blend(*height, i, j, &texels[offset]);
        }
    }
    return texels;
}

} // namespace

std::vector<unsigned char> synthesizeTexels(const SurfaceHeights& surface, float lowest,
                                            float range, const std::vector<RgbImageView>& images) {
    return blendedTexels(surface, [&](float height, int i, int j, unsigned char* rgb) {
        blendTexel(images, normalisedHeight(height, lowest, range), i, j, rgb);
    });
}

std::vector<unsigned char> synthesizeTexels(const SurfaceHeights& surface,
                                            const std::vector<double>& pureHeights,
                                            const std::vector<RgbImageView>& images) {
    return blendedTexels(surface, [&](float height, int i, int j, unsigned char* rgb) {
        blendAtPosition(images, imagePosition(height, pureHeights), i, j, rgb);
    });
}

} // namespace zel
