// Frame times of the viewer's ways of drawing, on one triangulation file built by the
// viewer's start-up sequence, in an 800 x 600 window on a private Xvfb with Mesa's software
// renderer: the default frames (every triangle sent anew each frame) and, once the user has
// taken the view, the frames drawn from the mesh buffers, with the levels of detail and with
// the full mesh (key l). Prints one line:
//
//   triangles default_ms list_ms compile_s key_s levels_s full_ms drawn differing_% peak_mb
//   turned_%
//
// with the median of `frames` frames for each path while the terrain turns, the time the
// first action takes, filling the mesh buffers included, the time from the key ] (heights
// times 1.5) to the next frame finished, the time from the first user frame until the levels
// are drawn, the triangles drawn in the last level frame, the share of pixels that differ by
// more than a tenth in some channel between the levels and the full mesh in one paused view,
// the process's peak memory, and the same share between the full mesh and itself turned by a
// tenth of a degree (what the picture of that terrain changes anyway as it turns). With --elevation
// the file is a terrain file.
//
// Usage: frame_paths [--elevation] <triangulation-file> <frames> [<image.tga> ...]
#include "tests/support/xvfb_display.h"
#include "viewer/current_seconds.h"
#include "viewer/render/frame_drawing.h"
#include "viewer/render/key_handler.h"
#include "viewer/render/render_state.h"
#include "viewer/render/startup_sequence.h"
#include "viewer/render/user_view.h"
#include "viewer/render/viewer_state.h"
#include "viewer/terrain_model.h"
#include "viewer/viewer_options.h"

#include <GL/freeglut.h>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sys/resource.h>
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

// Levels are built beside the frames; the frames go on as in the viewer until they are drawn.
double secondsUntilLevels() {
    const double start = zel::currentSeconds();
    while (!zel::viewerState().user.levels.ready() && zel::currentSeconds() - start < 600.0) {
        zel::displayUserFrame();
    }
    return zel::currentSeconds() - start;
}

std::vector<unsigned char> shownPixels() {
    zel::displayUserFrame();
    glFinish();
    std::vector<unsigned char> rgb(std::size_t{windowWidth} * windowHeight * 3);
    // The frame just swapped stays in the back buffer under Mesa's software renderer.
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, windowWidth, windowHeight, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}

// Per cent of the pixels of which some channel differs by more than a tenth of its range.
double differingPercent(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) {
    std::size_t differing = 0;
    for (std::size_t i = 0; i < a.size(); i += 3) {
        for (std::size_t c = i; c < i + 3; ++c) {
            if (std::abs(int{a[c]} - int{b[c]}) > 255 / 10) {
                ++differing;
                break;
            }
        }
    }
    return 100.0 * static_cast<double>(differing) / (a.size() / 3.0);
}

struct PictureDifferences {
    double levelsAgainstFull = 0.0;
    // How far the full mesh's own picture moves under a turn of a tenth of a degree: on ground
    // rough at the scale of single points, the pixels then show other points.
    double fullAgainstTurnedFull = 0.0;
};

// The view paused: the levels against the full mesh, and the full mesh against itself turned.
PictureDifferences pictureDifferences() {
    zel::handleKey(' ', 0, 0);
    const std::vector<unsigned char> levels = shownPixels();
    zel::handleKey('l', 0, 0);
    const std::vector<unsigned char> full = shownPixels();
    zel::OrbitView& camera = zel::viewerState().user.camera;
    camera.turnDegrees += 0.1;
    const std::vector<unsigned char> turned = shownPixels();
    camera.turnDegrees -= 0.1;
    zel::handleKey('l', 0, 0);
    zel::handleKey(' ', 0, 0);
    return {differingPercent(levels, full), differingPercent(full, turned)};
}

double peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
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
        const double levelSeconds = secondsUntilLevels();

        // The paths take turns from the same camera, so that a change in the machine's load
        // slows them alike. Each timed frame follows an untimed one of its own path, as a
        // frame follows a frame of the same path in the viewer: on millions of points, a
        // frame of another path just before it would have pushed its vertices out of the
        // processor's caches.
        std::vector<double> defaultTimes;
        std::vector<double> listTimes;
        std::vector<double> fullTimes;
        const auto timedAfterOne = [](void (*drawFrame)()) {
            frameMilliseconds(drawFrame);
            return frameMilliseconds(drawFrame);
        };
        for (int i = 0; i < frames; ++i) {
            listTimes.push_back(timedAfterOne(zel::displayUserFrame));
            zel::handleKey('l', 0, 0);
            fullTimes.push_back(timedAfterOne(zel::displayUserFrame));
            zel::handleKey('l', 0, 0);
            defaultTimes.push_back(timedAfterOne(zel::displayFrame));
        }
        const double defaultMs = median(defaultTimes);
        const double listMs = median(listTimes);
        const PictureDifferences differences = pictureDifferences();
        zel::UserView& user = viewer.user;
        const std::size_t drawn = user.levels.trianglesDrawn(
            {zel::viewMatrix(user.camera), zel::aspectRatio(user.width, user.height), user.height},
            viewer.terrain.model.exaggeration());

        const double keyStart = zel::currentSeconds();
        zel::handleKey(']', 0, 0);
        zel::displayUserFrame();
        glFinish();
        const double keySeconds = zel::currentSeconds() - keyStart;

        std::printf("%zu %.2f %.2f %.3f %.3f %.3f %.2f %zu %.3f %.0f %.3f\n",
                    viewer.terrain.model.triangles.size(), defaultMs, listMs, compileSeconds,
                    keySeconds, levelSeconds, median(fullTimes), drawn,
                    differences.levelsAgainstFull, peakMegabytes(),
                    differences.fullAgainstTurnedFull);
    } catch (const std::exception& failure) {
        std::cerr << failure.what() << "\n";
        return 1;
    }
    return 0;
}
