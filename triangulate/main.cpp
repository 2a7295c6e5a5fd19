// triangulate: turns survey points into a triangulation file for the viewer.

#include "triangulate/triangulate_command.h"

#include <iostream>

int main(int argc, char* argv[]) {
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    return zel::runTriangulate(arguments, std::cout, std::cerr);
}
