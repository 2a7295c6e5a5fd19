#pragma once

#include "viewer/render/viewer_state.h"
#include "viewer/viewer_options.h"

#include <functional>

namespace zel {

// The stages of the viewer's start-up, in the order they run.
enum class StartupStage {
    Read,        // the triangulation file into the terrain model
    Heights,     // one vertex per point
    Normals,     // one normal per vertex; beside them, bounding box, texture coordinates and
                 // the surface heights
    Window,      // freeglut, the window and its callbacks
    RenderState, // OpenGL state and the view
    Resources,   // the terrain texture and its upload
    View,        // with --elevation only: the user's view, fitted, its mesh buffers filled
    Lighting,    // the light; the first frame may follow
};

// Told of each stage as it ends, so that a caller can time the stages.
using StageObserver = std::function<void(StartupStage)>;

// Everything the viewer does before its event loop, into `state`, which the window's callbacks
// then act on (see setViewerState) and which must outlive the window, for the command line
// `program <triangulation-file> [<image.tga> ...]`, freeglut options (removed from argv by
// glutInit) among the images. argc must be at least 2. Throws FileNotFoundException when the
// file cannot be opened or read, TriangulationFormatException naming the file when it is not a
// triangulation, TgaException when an image cannot be loaded; freeglut's own failures go to
// the failure report (see reportWindowSystemFailures). With `options.elevation` the file is
// read as a terrain file, the window is named after it and the view starts as the user's,
// fitted; `options.exaggeration` multiplies the heights, and without it a flat elevation
// terrain starts raised (see automaticExaggeration), which standard output is told.
// `options.imageLevels` places the images on heights. Throws ViewerOptionException, before
// the window opens, when --levels does not give one height per image.
void startViewer(ViewerState& state, int& argc, char** argv, const StageObserver& stageEnded,
                 const ViewerOptions& options = {});

} // namespace zel
