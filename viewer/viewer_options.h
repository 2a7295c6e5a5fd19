#pragma once

#include <stdexcept>
#include <string>

namespace zel {

// The viewer's own options, which may stand anywhere among its arguments.
struct ViewerOptions {
    // --elevation: the file is a terrain file, whose points carry their own heights.
    bool elevation = false;
    // --exaggeration <factor>: every height is multiplied by factor, a positive number.
    double exaggeration = 1.0;
};

// An option the viewer cannot follow; what() says which and why.
struct ViewerOptionException : std::runtime_error {
    explicit ViewerOptionException(const std::string& problem) : std::runtime_error(problem) {}
};

// Takes the viewer's options out of argv, moving the other arguments (argv[0] stays first)
// down in their order and lowering argc to match, so that the file comes first and freeglut
// never sees the options. A file really named --elevation is given as ./--elevation. Throws
// ViewerOptionException when --exaggeration has no factor after it or the factor is not a
// positive, finite number.
ViewerOptions takeViewerOptions(int& argc, char** argv);

} // namespace zel
