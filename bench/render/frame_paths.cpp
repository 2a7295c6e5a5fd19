// Frame times of the viewer's two ways of drawing, on one triangulation file built by the
// viewer's start-up sequence, in an 800 x 600 window on a private Xvfb with Mesa's software
// renderer: the default frames (every triangle sent anew each frame) and, once the user has
// taken the view, the frames drawn from the mesh buffers. Prints one line:
//
//   triangles default_ms list_ms compile_s key_s
//
// with the median of `frames` frames for each path, the time the first action takes,
// filling the mesh buffers included, and the time from the key ] (heights times 1.5) to
// the next frame finished. With --elevation the file is a terrain file.
//
// Usage: frame_paths [--elevation] <triangulation-file> <frames> [<image.tga> ...]
#include "tests/support/xvfb_display.h"
#include "viewer/current_seconds.h"
#include "viewer/render/frame_drawing.h"
#include "viewer/render/key_handler.h"
#include "viewer/render/render_state.h"
#include "viewer/render/startup_sequence.h"
#include "viewer/render/user_view.h"
#include "viewer/terrain_model.h"
#include "viewer/viewer_options.h"

#include <GL/freeglut.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <vector>

namespace {

constexpr int windowWidth = 800;
constexpr int windowHeight = 600;

double frameMilliseconds(void (*drawFrame)()) {
    const double start = zel::currentSeconds();
    drawFrame();
    glFinish();
    return (zel::currentSeconds() - start) * 1000.0;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    try {
        const zel::ViewerOptions options = zel::takeViewerOptions(argc, argv);
        if (argc < 3) {
            std::cerr << "Usage: " << argv[0]
                      << " [--elevation] <triangulation-file> <frames> [<image.tga> ...]\n";
            return 2;
        }
        zel::test::startPrivateDisplay();
        const int frames = std::max(1, std::atoi(argv[2]));
        // The viewer's command line: the file, then the images.
        std::copy(argv + 3, argv + argc + 1, argv + 2);
        --argc;
        glutInitWindowSize(windowWidth, windowHeight);
        zel::ViewerState viewer;
        zel::startViewer(
            viewer, argc, argv, [](zel::StartupStage) {}, options);

        // The first frame as the event loop draws it, then the user's first action.
        zel::reshapeView(windowWidth, windowHeight);
        frameMilliseconds(zel::displayFrame);
        const double takeStart = zel::currentSeconds();
        zel::takeView(viewer);
        glFinish();
        const double compileSeconds = zel::currentSeconds() - takeStart;
        zel::reshapeUserView(windowWidth, windowHeight);

        // The two paths take turns, frame by frame, from the same camera, so that a change
        // in the machine's load slows both alike.
        std::vector<double> defaultTimes;
        std::vector<double> listTimes;
        for (int i = 0; i < frames; ++i) {
            listTimes.push_back(frameMilliseconds(zel::displayUserFrame));
            defaultTimes.push_back(frameMilliseconds(zel::displayFrame));
        }
        const double defaultMs = median(defaultTimes);
        const double listMs = median(listTimes);

        const double keyStart = zel::currentSeconds();
        zel::handleKey(']', 0, 0);
        zel::displayUserFrame();
        glFinish();
        const double keySeconds = zel::currentSeconds() - keyStart;

        std::printf("%zu %.2f %.2f %.3f %.3f\n", viewer.terrain.model.triangles.size(), defaultMs,
                    listMs, compileSeconds, keySeconds);
    } catch (const std::exception& failure) {
        std::cerr << failure.what() << "\n";
        return 1;
    }
    return 0;
}
