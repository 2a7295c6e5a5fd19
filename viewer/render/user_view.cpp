#include "viewer/render/user_view.h"

#include "viewer/current_seconds.h"
#include "viewer/pick_report.h"
#include "viewer/render/edge_overlay.h"
#include "viewer/render/help_overlay.h"
#include "viewer/render/map_overlays.h"
#include "viewer/render/mesh_buffers.h"
#include "viewer/render/screenshot.h"
#include "viewer/render/terrain_drawing.h"
#include "viewer/render/viewer_state.h"
#include "viewer/surface_pick.h"

#include <GL/freeglut.h>
#include <GL/glu.h>
#include <algorithm>
#include <cmath>
#include <iostream>
#include <numbers>

namespace zel {
namespace {

// The default frames keep their turn in the model-view matrix, on top of a camera that
// only tilts: the matrix's first row is then the turn's (cos a, 0, sin a).
double turnShownNow() {
    GLdouble m[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, m);
    return std::atan2(m[8], m[0]) * 180.0 / std::numbers::pi;
}

// A terrain too large for the graphics card's memory is still drawn, only more slowly.
void fallBackToDrawingEachFrame(UserView& user, unsigned int error) {
    deleteMeshBuffers(user.mesh);
    std::cerr << "Cannot keep the terrain on the graphics card ("
              << reinterpret_cast<const char*>(gluErrorString(error))
              << "); drawing it each frame instead." << std::endl;
}

void uploadMeshOf(UserView& user, const TerrainModel& model) {
    const MeshUpload upload = uploadMesh(model);
    user.mesh = upload.buffers;
    if (upload.error != 0) {
        fallBackToDrawingEachFrame(user, upload.error);
    }
}

DetailView detailViewOf(const UserView& user) {
    return {viewMatrix(user.camera), aspectRatio(user.width, user.height), user.height};
}

void drawUserMesh(const UserView& user, const ShownTerrain& terrain) {
    if (user.mesh.empty()) {
        drawMesh(terrain.model, terrain.textureId);
    } else if (user.levelsShown && user.levels.ready()) {
        user.levels.draw(user.mesh, terrain.textureId, detailViewOf(user),
                         terrain.model.exaggeration());
    } else {
        drawMeshBuffers(user.mesh, terrain.textureId);
    }
}

void loadProjection(const UserView& user) {
    const ClipPlanes planes = clipPlanes(user.camera, user.bounds);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(viewFieldOfViewDegrees, aspectRatio(user.width, user.height), planes.nearPlane,
                   planes.farPlane);
    glMatrixMode(GL_MODELVIEW);
}

// Started once a frame has been shown, so that the first frame does not wait for the levels;
// taken into the buffers at the first frame after they are built. The build reads the
// triangles, which no key changes; the view's levels end before the terrain does.
void keepLevelsComing(UserView& user, const TerrainModel& model) {
    if (user.mesh.empty()) {
        return;
    }
    if (!user.levels.started()) {
        // Read from the points and base heights, which no key changes, rather than from the
        // vertices, which the height keys rewrite.
        user.levels.startBuilding(
            VertexPositions(model.points, model.baseHeights, model.exaggeration()),
            TriangleList(model.triangles), model.exaggeration());
    } else {
        user.levels.takeBuilt(user.mesh);
    }
}

MapOverlayContent mapOverlayContent(const UserView& user, const ShownTerrain& terrain) {
    const MapFrame& frame = terrain.model.frame;
    const double pixelsPerDataUnit =
        pixelsPerUnitAtTarget(user.camera, user.height) / frame.dataUnitsPerFileUnit();
    return {northOnScreen(user.camera),
            scaleBar(pixelsPerDataUnit, frame.unitName(), user.width / 4.0), terrain.legend};
}

} // namespace

UserView& takeView(ViewerState& state) {
    UserView& user = state.user;
    if (user.taken) {
        return user;
    }
    const ShownTerrain& terrain = state.terrain;
    user.taken = true;
    user.camera = startingView(terrain.model.bounds.max.y, turnShownNow());
    user.turning.lastTime = terrain.lastFrameTime;
    user.bounds = terrain.model.bounds;
    user.width = glutGet(GLUT_WINDOW_WIDTH);
    user.height = glutGet(GLUT_WINDOW_HEIGHT);
    uploadMeshOf(user, terrain.model);
    glutDisplayFunc(displayUserFrame);
    glutIdleFunc(displayUserFrame);
    glutReshapeFunc(reshapeUserView);
    return user;
}

void takeFittedView(ViewerState& state) {
    UserView& user = takeView(state);
    user.startsFitted = true;
    resetView(state);
}

void resetView(ViewerState& state) {
    UserView& user = state.user;
    user.camera = startingView(state.terrain.model.bounds.max.y, 0.0);
    if (user.startsFitted) {
        // A terrain's own heights may lie far below or above the ground plane.
        user.camera.pitchDegrees =
            std::clamp(user.camera.pitchDegrees, lowestPitchDegrees, highestPitchDegrees);
        user.camera = fitted(user.camera, user.bounds, user.width, user.height);
    }
    user.turning = Turning{};
}

void zoomView(ViewerState& state, int steps) {
    UserView& user = state.user;
    user.camera = zoomedWithin(user.camera, steps,
                               {user.bounds, state.terrain.model.surface, user.width, user.height});
}

void stepHeights(ViewerState& state, int step) {
    UserView& user = state.user;
    TerrainModel& model = state.terrain.model;
    const HeightScale next = stepped(model.heightScale, step);
    if (next.steps == model.heightScale.steps || !staysWithinFloat(model.tallestHeight, next)) {
        return;
    }
    const double ratio = next.factor() / model.heightScale.factor();
    model.setHeightScale(next);
    user.bounds = model.bounds;
    user.camera =
        heightsScaled(user.camera, ratio, {user.bounds, model.surface, user.width, user.height});
    if (!user.mesh.empty()) {
        if (const unsigned int error = updateMeshHeights(user.mesh, model); error != 0) {
            fallBackToDrawingEachFrame(user, error);
        }
    }
}

void pickAt(ViewerState& state, int x, int y) {
    UserView& user = state.user;
    const TerrainModel& model = state.terrain.model;
    const std::optional<std::array<double, 3>> hit =
        firstSurfaceHit(model.vertices, model.triangles,
                        sightlineThrough(user.camera, x, y, user.width, user.height));
    if (!hit) {
        user.picked.reset();
        return;
    }
    user.picked = describePick(
        pickedValues(*hit, model.exaggeration(), model.elevations.empty(), model.frame));
    // As for screenshots: a reader that has gone away only loses the line.
    std::cout << "Picked " << *user.picked << std::endl;
    std::cout.clear();
}

void displayUserFrame() {
    ViewerState& state = viewerState();
    UserView& user = state.user;
    user.camera.turnDegrees += advanceTurning(user.turning, currentSeconds());

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    loadProjection(user);
    glLoadMatrixd(viewMatrix(user.camera).data());
    drawUserMesh(user, state.terrain);
    if (user.edgesShown) {
        drawTriangleEdges([&] { drawUserMesh(user, state.terrain); });
    }
    if (user.mapShown) {
        drawMapOverlays(mapOverlayContent(user, state.terrain), user.width, user.height);
    }
    if (user.picked) {
        drawPickReadout(*user.picked, user.width, user.height);
    }
    if (user.helpShown) {
        drawHelpOverlay(user.width, user.height);
    }
    if (user.screenshotRequested) {
        user.screenshotRequested = false;
        saveScreenshot(user.width, user.height);
    }
    glutSwapBuffers();
    keepLevelsComing(user, state.terrain.model);
}

void reshapeUserView(int width, int height) {
    UserView& user = viewerState().user;
    user.width = width;
    user.height = height == 0 ? 1 : height;
    glViewport(0, 0, user.width, user.height);
}

} // namespace zel
