#include "viewer/texture/terrain_surface.h"

#include "viewer/texture/texture_coordinates.h"
#include "viewer/texture/triangle_search.h"

#include <cstddef>

namespace zel {

std::vector<std::int32_t> sampleHolders(const TerrainModel& model, const SampleLattice& lattice) {
    const std::vector<const Triangle*> chosen =
        texelTriangles(model.triangles, model.points, lattice);
    std::vector<std::int32_t> holders(chosen.size(), -1);
    for (std::size_t k = 0; k < chosen.size(); ++k) {
        if (chosen[k] != nullptr) {
            holders[k] = static_cast<std::int32_t>(chosen[k] - model.triangles.data());
        }
    }
    return holders;
}

void computeSurface(TerrainModel& model) {
    model.computeBounds();
    model.texCoords = textureCoordinates(model.vertices, model.bounds);
    model.surface.lattice = sampleLattice(model.bounds);
    model.sampleHolders = sampleHolders(model, model.surface.lattice);
    model.sampleSurface();
}

} // namespace zel
