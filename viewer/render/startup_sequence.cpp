#include "viewer/render/startup_sequence.h"

#include "common/input_file.h"
#include "viewer/automatic_exaggeration.h"
#include "viewer/file_not_found_exception.h"
#include "viewer/render/frame_drawing.h"
#include "viewer/render/key_handler.h"
#include "viewer/render/mouse_handler.h"
#include "viewer/render/render_state.h"
#include "viewer/render/user_view.h"
#include "viewer/render/viewer_state.h"
#include "viewer/render/window_system_failures.h"
#include "viewer/run_beside.h"
#include "viewer/texture/terrain_surface.h"
#include "viewer/texture/terrain_texture.h"
#include "viewer/texture/texture_upload.h"
#include "viewer/triangulation_format_exception.h"
#include "viewer/triangulation_reader.h"

#include <GL/freeglut.h>
#include <cmath>
#include <iostream>
#include <new>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace zel {
namespace {

TerrainModel readTerrainFile(const char* fileName, bool terrainFile) {
    const InputFile file = openInputFile(fileName);
    if (!file.stream) {
        throw FileNotFoundException();
    }
    try {
        return terrainFile ? readTerrain(*file.stream) : readTriangulation(*file.stream);
    } catch (const TriangulationFormatException& bad) {
        throw bad.inFile(fileName);
    } catch (const std::bad_alloc&) {
        throw std::runtime_error(std::string("Not enough memory for ") + fileName);
    }
}

void initWindowSystem(int& argc, char** argv) {
    reportWindowSystemFailures();
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
}

// An elevation terrain is named by its file; the density view keeps its old title.
std::string windowTitle(const char* fileName, const ViewerOptions& options) {
    if (!options.elevation) {
        return "ZEL - Delaunay triangulation";
    }
    const std::string path(fileName);
    return "Tessaro - " + path.substr(path.find_last_of('/') + 1);
}

void openWindow(const std::string& title) {
    glutCreateWindow(title.c_str());
    glutDisplayFunc(displayFrame);
    glutReshapeFunc(reshapeView);
    glutIdleFunc(displayFrame);
    glutKeyboardFunc(handleKey);
    glutSpecialFunc(handleSpecialKey);
    glutMouseFunc(handleMouseButton);
    glutMotionFunc(handleMouseDrag);
}

// Taken after glutInit, which has removed its own options (such as -geometry) from argv.
std::vector<std::string> collectImageNames(int argc, char** argv) {
    std::vector<std::string> names;
    for (int i = 2; i < argc; ++i) {
        names.emplace_back(argv[i]);
    }
    return names;
}

// The factor the heights start with: the user's, or for a flat elevation terrain one that
// shows its relief, said on standard output.
double startingExaggeration(const TerrainModel& model, const ViewerOptions& options) {
    if (options.elevation && !options.exaggerationGiven) {
        if (const auto automatic = automaticExaggeration(model.points, model.elevations)) {
            std::cout << describe(*automatic) << std::endl;
            return automatic->factor;
        }
    }
    return options.exaggeration;
}

// A factor that lifts a height beyond the range of a float leaves nothing to show.
void refuseHeightsBeyondFloat(const TerrainModel& model) {
    const double exaggeration = model.exaggeration();
    if (exaggeration == 1.0) {
        return;
    }
    for (const Vec3& vertex : model.vertices) {
        if (!std::isfinite(vertex.y)) {
            std::ostringstream message;
            message << "--exaggeration " << exaggeration
                    << " lifts the heights beyond the range of a float";
            throw std::runtime_error(message.str());
        }
    }
}

// Both need only the heights, so the surface is found on a second core meanwhile. The thread
// ends here: none may run once freeglut can end the process. Each writes its own members.
void computeNormalsAndSurface(TerrainModel& model) {
    std::future<void> surface = runBeside([&model] { computeSurface(model); });
    model.computeNormals();
    surface.get();
}

// The texture made from the surface and uploaded, with its legend.
void buildTexture(ShownTerrain& terrain, const std::vector<std::string>& imageNames,
                  const ImageLevels& levels) {
    const TerrainTexture texture = terrainTexture(terrain.model, imageNames, levels);
    terrain.textureId = createTexture(textureSize, textureSize, texture.texels.data());
    terrain.legend = texture.legend;
}

} // namespace

void startViewer(ViewerState& state, int& argc, char** argv, const StageObserver& stageEnded,
                 const ViewerOptions& options) {
    setViewerState(state);
    TerrainModel& model = state.terrain.model;
    model = readTerrainFile(argv[1], options.elevation);
    stageEnded(StartupStage::Read);
    model.heightScale = HeightScale{startingExaggeration(model, options), 0};
    model.computeHeights();
    refuseHeightsBeyondFloat(model);
    stageEnded(StartupStage::Heights);
    computeNormalsAndSurface(model);
    stageEnded(StartupStage::Normals);

    initWindowSystem(argc, argv);
    const std::vector<std::string> imageNames = collectImageNames(argc, argv);
    checkLevelCount(options, imageNames.size());
    openWindow(windowTitle(argv[1], options));
    stageEnded(StartupStage::Window);
    initRenderState();
    stageEnded(StartupStage::RenderState);
    buildTexture(state.terrain, imageNames, options.imageLevels);
    stageEnded(StartupStage::Resources);
    if (options.elevation) {
        // Before the light, which must be given under the identity matrix: the view only
        // reads that matrix.
        takeFittedView(state);
        stageEnded(StartupStage::View);
    }
    initLighting();
    stageEnded(StartupStage::Lighting);
}

} // namespace zel
