#include "common/printable_text.h"
#include "common/standard_options.h"
#include "common/standard_streams.h"
#include "viewer/current_seconds.h"
#include "viewer/render/help_overlay.h"
#include "viewer/render/startup_sequence.h"
#include "viewer/viewer_options.h"

#include <GL/freeglut.h>
#include <csignal>
#include <exception>
#include <iostream>
#include <stdexcept>
#include <string>

namespace {

constexpr const char* tessaroArguments =
    "[--elevation] [--exaggeration <factor>] [--levels <h1,h2,...> | --sea-level <h>] "
    "<triangulation-file> [<image.tga> ...]";

constexpr const char* tessaroDescription =
    "Shows a terrain in a window that turns it slowly. The triangulation file holds 2-D\n"
    "points and the triangles that join them; every point is lifted to a height that\n"
    "follows from how densely the points around it are spaced (dense points make high\n"
    "ground). The TGA images, from the lowest ground to the highest, are blended by height\n"
    "into the terrain's texture. freeglut options such as -geometry 640x480 may stand among\n"
    "the images. In the window, the mouse and keys move the view (press h for the list);\n"
    "close the window or press q or Escape to end.\n\n"
    "Options, anywhere among the arguments:\n"
    "  --elevation              the file is a terrain file, whose points are x y z: show\n"
    "                           their own heights, with the whole terrain in view at first\n"
    "  --exaggeration <factor>  multiply every height by factor (default 1; with --elevation\n"
    "                           a flat terrain starts raised, as a line says); in the window\n"
    "                           ] and [ multiply and divide the heights by 1.5\n"
    "  --levels <h1,h2,...>     the height at which each image is pure, one per image,\n"
    "                           increasing, in the data's units\n"
    "  --sea-level <h>          the first image at and below h, the others evenly above it";

// The description, then the keys and buttons as the window's own list gives them.
std::string helpText() {
    std::string text = tessaroDescription;
    text += "\n\nKeys and mouse buttons in the window:";
    for (const char* line : zel::helpOverlayLines()) {
        text += "\n  ";
        text += line;
    }
    return text;
}

struct UsageException : std::runtime_error {
    explicit UsageException(const char* programName)
        : std::runtime_error(std::string("Usage: ") + (programName ? programName : "Tessaro") +
                             " <triangulation-file> [<image.tga> ...]") {}
};

// A problem with the viewer's own options, shown with the usage that lists them.
struct OptionUsageError : std::runtime_error {
    OptionUsageError(const char* programName, const std::string& problem)
        : std::runtime_error(problem),
          usage(std::string("Usage: ") + (programName ? programName : "Tessaro") + ' ' +
                tessaroArguments) {}
    std::string usage;
};

void run(int argc, char** argv) {
    if (argc < 2) {
        throw UsageException(argc > 0 ? argv[0] : nullptr);
    }
    // A message whose reader has gone (standard output piped to `head -1`, say) is lost,
    // never the viewer with it.
    std::signal(SIGPIPE, SIG_IGN);
    zel::ViewerOptions options;
    try {
        options = zel::takeViewerOptions(argc, argv);
    } catch (const zel::ViewerOptionException& bad) {
        throw OptionUsageError(argv[0], bad.what());
    }
    if (argc < 2) {
        throw OptionUsageError(argv[0], "no file given");
    }
    // The span the viewer reports: from the file read to the first frame ready to draw.
    double startTime = 0.0;
    // Lives until freeglut ends the process from within its loop.
    zel::ViewerState state;
    try {
        zel::startViewer(
            state, argc, argv,
            [&startTime](zel::StartupStage stage) {
                if (stage == zel::StartupStage::Read) {
                    startTime = zel::currentSeconds();
                } else if (stage == zel::StartupStage::Lighting) {
                    std::cout << "Building terrain resources: " << zel::currentSeconds() - startTime
                              << " seconds" << std::endl;
                }
            },
            options);
    } catch (const zel::ViewerOptionException& bad) {
        throw OptionUsageError(argv[0], bad.what());
    }

    glutMainLoop();
}

} // namespace

int main(int argc, char** argv) {
    zel::openClosedStandardStreams();
    const std::string help = helpText();
    if (const auto answered =
            zel::answerStandardOption(argc, argv, {"Tessaro", tessaroArguments, help.c_str()})) {
        return *answered;
    }
    try {
        run(argc, argv);
    } catch (const OptionUsageError& failure) {
        std::cerr << "Program failed:" << std::endl
                  << zel::printableText(failure.what()) << std::endl
                  << zel::printableText(failure.usage) << std::endl;
        return 1;
    } catch (const std::exception& failure) {
        std::cerr << "Program failed:" << std::endl
                  << zel::printableText(failure.what()) << std::endl;
        return 1;
    }
    return 0;
}
