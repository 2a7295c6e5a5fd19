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
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (!arguments.empty() && arguments[0] == "--version") {
        return zel::writeAnswer(std::cout, std::cerr, "triangulate",
                                std::string("triangulate ") + zel::projectVersion() + '\n');
    }
    return zel::runTriangulate(arguments, std::cout, std::cerr);
}
