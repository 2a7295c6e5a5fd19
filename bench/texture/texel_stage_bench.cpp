// The texel stage of building the terrain resources (triangle search, heights, blending)
// on generated terrains of growing size. The miss search is shown both indexed (what the
// viewer uses) and as a scan of the whole list on every miss, on the smaller terrains.
#include "tests/support/terrain_generator.h"
#include "tests/viewer/texture/linear_search.h"
#include "viewer/bounding_box.h"
#include "viewer/sample_lattice.h"
#include "viewer/texture/rgb_image_view.h"
#include "viewer/texture/texture_synthesis.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <vector>

namespace {

// A terrain of side x side points, kept for every run of one benchmark.
struct BenchTerrain {
    explicit BenchTerrain(int side)
        : model(zel::test::generateGridTerrain({.columns = side,
                                                .rows = side,
                                                .spacing = 1.0f,
                                                .warp = 0.15f,
                                                .jitter = 0.15f,
                                                .seed = 42})) {
        model.computeBounds();
    }
    zel::TerrainModel model;
};

// Three 64 x 64 images, lowest ground first.
struct BenchImages {
    BenchImages() : pixels(3, std::vector<unsigned char>(64 * 64 * 3)) {
        for (std::size_t k = 0; k < 3; ++k) {
            for (std::size_t b = 0; b < pixels[k].size(); ++b) {
                pixels[k][b] = static_cast<unsigned char>(b * (k + 3) % 251);
            }
            views.push_back(zel::RgbImageView{64, 64, pixels[k].data(), 3, nullptr});
        }
    }

    std::vector<std::vector<unsigned char>> pixels;
    std::vector<zel::RgbImageView> views;
};

void texelStage(benchmark::State& state) {
    const BenchTerrain terrain(static_cast<int>(state.range(0)));
    const BenchImages images;
    for (auto _ : state) {
        benchmark::DoNotOptimize(zel::synthesizeTexels(terrain.model, images.views));
    }
    state.counters["points"] = static_cast<double>(terrain.model.points.size());
    state.counters["triangles"] = static_cast<double>(terrain.model.triangles.size());
}

void linearMissSearch(benchmark::State& state) {
    const BenchTerrain terrain(static_cast<int>(state.range(0)));
    const zel::SampleLattice lattice = zel::sampleLattice(terrain.model.bounds);
    for (auto _ : state) {
        benchmark::DoNotOptimize(zel::test::linearTexelTriangles(terrain.model.triangles,
                                                                 terrain.model.points, lattice));
    }
    state.counters["points"] = static_cast<double>(terrain.model.points.size());
}

} // namespace

BENCHMARK(texelStage)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(linearMissSearch)->Arg(100)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
