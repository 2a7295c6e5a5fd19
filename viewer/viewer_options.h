#pragma once

#include "viewer/image_levels.h"

#include <stdexcept>
#include <string>

namespace zel {

// The viewer's own options, which may stand anywhere among its arguments.
struct ViewerOptions {
    // --elevation: the file is a terrain file, whose points carry their own heights.
    bool elevation = false;
    // --exaggeration <factor>: every height is multiplied by factor, a positive number.
    double exaggeration = 1.0;
    // Whether --exaggeration was given: without it an elevation terrain may start raised.
    bool exaggerationGiven = false;
    // --levels h1,h2,... or --sea-level <h>: where the images are pure, in data heights.
    ImageLevels imageLevels;
};

// An option the viewer cannot follow; what() says which and why.
struct ViewerOptionException : std::runtime_error {
    explicit ViewerOptionException(const std::string& problem) : std::runtime_error(problem) {}
};

// Takes the viewer's options out of argv, moving the other arguments (argv[0] stays first)
// down in their order and lowering argc to match, so that the file comes first and freeglut
// never sees the options. A file really named --elevation is given as ./--elevation. Throws
// ViewerOptionException when --exaggeration has no factor after it or the factor is not a
// positive, finite number, when --levels is not followed by increasing numbers separated by
// commas, when --sea-level is not followed by a number, and when both of these are given.
// That --levels names one height per image is for the caller to check (see checkLevelCount).
ViewerOptions takeViewerOptions(int& argc, char** argv);

// Throws ViewerOptionException when --levels names a height for other than each of the
// `imageCount` images.
void checkLevelCount(const ViewerOptions& options, std::size_t imageCount);

} // namespace zel
