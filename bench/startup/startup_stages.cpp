// Times the viewer's start-up sequence on one triangulation file, stage by stage: read,
// heights, normals, window, render state, terrain resources (of which the texel synthesis is
// also timed alone), light, and the first frame drawn. Runs in a private Xvfb with Mesa's
// software renderer, in an 800 x 600 window. Prints one line of figures:
//
//   bytes read_s heights_s normals_s texels_s build_s first_frame_s peak_mb
//
// `build_s` is the span the viewer reports as "Building terrain resources" (heights to
// light); `first_frame_s` runs from process start to the first frame finished. `normals_s`
// also covers the surface heights under the texture, which are found beside the normals.
//
// With --elevation the file is a terrain file and the stages are the viewer's in elevation
// mode (`build_s` then includes filling the mesh buffers of the fitted view).
//
// Usage: startup_stages [--elevation] <triangulation-file> [<image.tga> ...]
#include "tests/support/xvfb_display.h"
#include "viewer/current_seconds.h"
#include "viewer/render/frame_drawing.h"
#include "viewer/render/render_state.h"
#include "viewer/render/startup_sequence.h"
#include "viewer/render/user_view.h"
#include "viewer/terrain_model.h"
#include "viewer/texture/terrain_images.h"
#include "viewer/texture/texture_synthesis.h"
#include "viewer/viewer_options.h"

#include <GL/freeglut.h>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

// Seconds since this process started, from the kernel's record of its start time.
double secondsSinceProcessStart() {
    std::ifstream stat("/proc/self/stat");
    std::string field;
    unsigned long long startTicks = 0;
    for (int i = 1; i <= 22 && stat >> field; ++i) {
        if (i == 22) {
            startTicks = std::stoull(field);
        }
    }
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double ticksPerSecond = static_cast<double>(sysconf(_SC_CLK_TCK));
    return static_cast<double>(now.tv_sec) + now.tv_nsec * 1e-9 -
           static_cast<double>(startTicks) / ticksPerSecond;
}

double peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        const zel::ViewerOptions options = zel::takeViewerOptions(argc, argv);
        if (argc < 2) {
            std::cerr << "Usage: " << argv[0]
                      << " [--elevation] <triangulation-file> [<image.tga> ...]\n";
            return 2;
        }
        zel::test::startPrivateDisplay();
        const std::vector<std::string> imageNames(argv + 2, argv + argc);
        std::map<zel::StartupStage, double> ended;
        const double readStart = zel::currentSeconds();
        glutInitWindowSize(800, 600);
        zel::ViewerState viewer;
        zel::startViewer(
            viewer, argc, argv,
            [&ended](zel::StartupStage stage) { ended[stage] = zel::currentSeconds(); }, options);
        using Stage = zel::StartupStage;

        // The first frame as the event loop would draw it: reshape, then display.
        if (options.elevation) {
            zel::reshapeUserView(800, 600);
            zel::displayUserFrame();
        } else {
            zel::reshapeView(800, 600);
            zel::displayFrame();
        }
        glFinish();
        const double firstFrame = secondsSinceProcessStart();

        // The texel synthesis alone, on the model just built (same input, same result).
        const double s0 = zel::currentSeconds();
        {
            const zel::TerrainImages images(imageNames);
            const std::vector<unsigned char> texels =
                zel::synthesizeTexels(viewer.terrain.model, images.views());
            if (texels.empty()) {
                return 1;
            }
        }
        const double s1 = zel::currentSeconds();

        std::printf("%llu %.4f %.4f %.4f %.4f %.4f %.4f %.1f\n",
                    static_cast<unsigned long long>(std::filesystem::file_size(argv[1])),
                    ended[Stage::Read] - readStart, ended[Stage::Heights] - ended[Stage::Read],
                    ended[Stage::Normals] - ended[Stage::Heights], s1 - s0,
                    ended[Stage::Lighting] - ended[Stage::Read], firstFrame, peakMegabytes());
    } catch (const std::exception& failure) {
        std::cerr << failure.what() << "\n";
        return 1;
    }
    return 0;
}
