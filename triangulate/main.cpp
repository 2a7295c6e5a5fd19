// triangulate: turns survey points into a triangulation file for the viewer.

#include "common/standard_options.h"
#include "common/standard_streams.h"
#include "triangulate/triangulate_command.h"

#include <iostream>

int main(int argc, char* argv[]) {
    if (zel::openClosedStandardStreams().output) {
        // Nothing written to it reaches anyone, so the summary counts as not written.
        std::cout.setstate(std::ios::badbit);
    }
    if (const auto answered = zel::answerStandardOption(argc, argv, zel::triangulateProgram)) {
        return *answered;
    }
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    return zel::runTriangulate(arguments, std::cout, std::cerr);
}
