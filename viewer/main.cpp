#include "common/standard_options.h"
#include "viewer/current_seconds.h"
#include "viewer/file_not_found_exception.h"
#include "viewer/render/frame_drawing.h"
#include "viewer/render/key_handler.h"
#include "viewer/render/mouse_handler.h"
#include "viewer/render/render_state.h"
#include "viewer/render/window_system_failures.h"
#include "viewer/terrain_model.h"
#include "viewer/triangulation_format_exception.h"
#include "viewer/triangulation_reader.h"

#include <GL/freeglut.h>

#include <exception>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr zel::ProgramDescription kTessaro{
    "Tessaro", "<triangulation-file> [<image.tga> ...]",
    "Shows a terrain in a window that turns it slowly. The triangulation file holds 2-D\n"
    "points and the triangles that join them; every point is lifted to a height that\n"
    "follows from how densely the points around it are spaced (dense points make high\n"
    "ground). The TGA images, from the lowest ground to the highest, are blended by height\n"
    "into the terrain's texture. freeglut options such as -geometry 640x480 may stand among\n"
    "the images. In the window, the mouse and keys move the view (press h for the list);\n"
    "close the window or press q or Escape to end."};

struct UsageException : std::runtime_error {
    explicit UsageException(const char* programName)
        : std::runtime_error(std::string("Usage: ") + (programName ? programName : "Tessaro") +
                             " <triangulation-file> [<image.tga> ...]") {}
};

void readTriangulation(const char* fileName) {
    std::ifstream file(fileName);
    if (!file.good()) {
        throw zel::FileNotFoundException();
    }
    // A directory opens like a file, but its first read fails.
    file.peek();
    if (file.bad()) {
        throw zel::FileNotFoundException();
    }
    try {
        file >> zel::terrainModel;
    } catch (const zel::TriangulationFormatException& bad) {
        throw bad.inFile(fileName);
    }
}

void openWindow(int& argc, char** argv) {
    zel::reportWindowSystemFailures();
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutCreateWindow("ZEL - Delaunay triangulation");
    glutDisplayFunc(zel::displayFrame);
    glutReshapeFunc(zel::reshapeView);
    glutIdleFunc(zel::displayFrame);
    glutKeyboardFunc(zel::handleKey);
    glutSpecialFunc(zel::handleSpecialKey);
    glutMouseFunc(zel::handleMouseButton);
    glutMotionFunc(zel::handleMouseDrag);
}

// Taken after glutInit, which has removed its own options (such as -geometry) from argv.
std::vector<std::string> collectImageNames(int argc, char** argv) {
    std::vector<std::string> names;
    for (int i = 2; i < argc; ++i) {
        names.emplace_back(argv[i]);
    }
    return names;
}

void run(int argc, char** argv) {
    if (argc < 2) {
        throw UsageException(argc > 0 ? argv[0] : nullptr);
    }
    readTriangulation(argv[1]);
    const double startTime = zel::currentSeconds();

    zel::terrainModel.buildAdjacency();
    zel::terrainModel.computeHeights();
    zel::terrainModel.computeNormals();

    openWindow(argc, argv);
    const std::vector<std::string> imageNames = collectImageNames(argc, argv);

    zel::initRenderState();
    zel::terrainModel.buildTerrainResources(imageNames);
    zel::initLighting();

    const double endTime = zel::currentSeconds();
    std::cout << "Building terrain resources: " << endTime - startTime << " seconds" << std::endl;

    glutMainLoop();
}

} // namespace

int main(int argc, char** argv) {
    if (const auto answered = zel::answerStandardOption(argc, argv, kTessaro)) {
        return *answered;
    }
    try {
        run(argc, argv);
    } catch (const std::exception& failure) {
        std::cerr << "Program failed:" << std::endl << failure.what() << std::endl;
        return 1;
    }
    return 0;
}
