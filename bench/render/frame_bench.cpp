// Frames of the viewer drawn exactly as its main loop draws them (displayFrame: clear, turn,
// every triangle in immediate mode, swap), on generated terrains of about 10 thousand,
// 100 thousand and 1 million triangles, in an 800 x 600 window on a private Xvfb with Mesa's
// software renderer. Reports the frame time and the vertex rate (3 vertices per triangle).
#include "tests/support/gl_test_window.h"
#include "tests/support/terrain_generator.h"
#include "viewer/render/frame_drawing.h"
#include "viewer/render/render_state.h"
#include "viewer/render/viewer_state.h"
#include "viewer/texture/texture_upload.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

constexpr int windowWidth = 800;
constexpr int windowHeight = 600;
constexpr float halfExtent = 100.0f;

void openViewerWindow() {
    static bool ready = false;
    if (ready) {
        return;
    }
    zel::test::openGlTestWindow(windowWidth, windowHeight);
    zel::initRenderState();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    zel::initLighting();
    ready = true;
}

std::uint32_t checkerTexture() {
    std::vector<unsigned char> texels(128 * 128 * 3);
    for (int j = 0; j < 128; ++j) {
        for (int i = 0; i < 128; ++i) {
            const bool light = ((i / 8) + (j / 8)) % 2 == 0;
            unsigned char* texel = &texels[std::size_t(j * 128 + i) * 3];
            texel[0] = light ? 200 : 90;
            texel[1] = light ? 180 : 140;
            texel[2] = light ? 120 : 60;
        }
    }
    return zel::createTexture(128, 128, texels.data());
}

float heightAt(float x, float z) {
    return 20.0f + 15.0f * std::sin(x / 23.0f) * std::cos(z / 31.0f);
}

// A cells x cells grid over [-100, 100]^2 with rolling hills: 2 cells^2 triangles, each
// with upward-facing normals and texture coordinates over the whole extent.
zel::TerrainModel gridTerrain(int cells) {
    zel::TerrainModel model =
        zel::test::generateGridTerrain({.columns = cells + 1,
                                        .rows = cells + 1,
                                        .spacing = 2.0f * halfExtent / static_cast<float>(cells),
                                        .originX = -halfExtent,
                                        .originY = -halfExtent});
    for (zel::Vec3& vertex : model.vertices) {
        const float x = vertex.x, z = vertex.z;
        vertex.y = heightAt(x, z);
        const float dx = heightAt(x + 0.01f, z) - heightAt(x - 0.01f, z);
        const float dz = heightAt(x, z + 0.01f) - heightAt(x, z - 0.01f);
        const float length = std::sqrt(dx * dx + 0.0004f + dz * dz);
        model.normals.push_back({-dx / length, 0.02f / length, -dz / length});
        model.texCoords.push_back(
            {(x + halfExtent) / (2 * halfExtent), (z + halfExtent) / (2 * halfExtent)});
    }
    model.bounds = {{-halfExtent, 5.0f, -halfExtent}, {halfExtent, 35.0f, halfExtent}};
    return model;
}

void drawFrames(benchmark::State& state) {
    openViewerWindow();
    static zel::ViewerState viewer;
    zel::setViewerState(viewer);
    viewer.terrain.model = gridTerrain(static_cast<int>(state.range(0)));
    const zel::TerrainModel& model = viewer.terrain.model;
    if (viewer.terrain.textureId == 0xFFFFFFFFu) {
        viewer.terrain.textureId = checkerTexture();
    }
    zel::reshapeView(windowWidth, windowHeight);
    viewer.terrain.lastFrameTime = -1.0;

    for (auto _ : state) {
        zel::displayFrame();
        glFinish();
    }
    const double triangles = static_cast<double>(model.triangles.size());
    state.counters["triangles"] = triangles;
    state.counters["vertices/s"] = benchmark::Counter(
        3.0 * triangles * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// Cell counts for about 10 thousand, 100 thousand and 1 million triangles.
BENCHMARK(drawFrames)->Arg(71)->Arg(224)->Arg(707)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
