#include "viewer/render/user_view.h"

#include "viewer/current_seconds.h"
#include "viewer/pick_report.h"
#include "viewer/render/edge_overlay.h"
#include "viewer/render/help_overlay.h"
#include "viewer/render/map_overlays.h"
#include "viewer/render/mesh_buffers.h"
#include "viewer/render/screenshot.h"
#include "viewer/surface_pick.h"
#include "viewer/terrain_model.h"

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

void uploadMeshOf(UserView& user) {
    const MeshUpload upload = uploadMesh(terrainModel);
    user.mesh = upload.buffers;
    if (upload.error != 0) {
        fallBackToDrawingEachFrame(user, upload.error);
    }
}

DetailView detailViewOf(const UserView& user) {
    return {viewMatrix(user.camera), aspectRatio(user.width, user.height), user.height};
}

void drawUserMesh(const UserView& user) {
    if (user.mesh.empty()) {
        terrainModel.drawMesh();
    } else if (user.levelsShown && user.levels.ready()) {
        user.levels.draw(user.mesh, terrainModel.textureId, detailViewOf(user),
                         terrainModel.exaggeration);
    } else {
        drawMeshBuffers(user.mesh, terrainModel.textureId);
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

std::vector<TriangleCorners> gatherTriangles() {
    std::vector<TriangleCorners> corners;
    corners.reserve(terrainModel.triangles.size());
    for (const Triangle* triangle : terrainModel.triangles) {
        corners.push_back({static_cast<std::uint32_t>(triangle->indices[0]),
                           static_cast<std::uint32_t>(triangle->indices[1]),
                           static_cast<std::uint32_t>(triangle->indices[2])});
    }
    return corners;
}

// Started once a frame has been shown, so that the first frame does not wait for the levels;
// taken into the buffers at the first frame after they are built.
void keepLevelsComing(UserView& user) {
    if (user.mesh.empty()) {
        return;
    }
    if (!user.levels.started()) {
        const std::vector<Vec3>& vertices = terrainModel.vertices;
        user.levels.startBuilding({&vertices.front().x, vertices.size() * 3}, gatherTriangles,
                                  terrainModel.exaggeration);
    } else {
        user.levels.takeBuilt(user.mesh);
    }
}

MapOverlayContent mapOverlayContent(const UserView& user) {
    const double pixelsPerDataUnit =
        pixelsPerUnitAtTarget(user.camera, user.height) / terrainModel.frame.dataUnitsPerFileUnit();
    return {northOnScreen(user.camera),
            scaleBar(pixelsPerDataUnit, terrainModel.frame.unitName(), user.width / 4.0),
            terrainModel.legend};
}

} // namespace

UserView& userView() {
    static UserView user;
    return user;
}

UserView& takeView() {
    UserView& user = userView();
    if (user.taken) {
        return user;
    }
    user.taken = true;
    user.camera = startingView(terrainModel.boundsMax.y, turnShownNow());
    user.turning.lastTime = terrainModel.lastFrameTime;
    user.bounds = {terrainModel.boundsMin, terrainModel.boundsMax};
    user.width = glutGet(GLUT_WINDOW_WIDTH);
    user.height = glutGet(GLUT_WINDOW_HEIGHT);
    uploadMeshOf(user);
    user.heights.initial = terrainModel.exaggeration;
    glutDisplayFunc(displayUserFrame);
    glutIdleFunc(displayUserFrame);
    glutReshapeFunc(reshapeUserView);
    return user;
}

void takeFittedView() {
    UserView& user = takeView();
    user.startsFitted = true;
    resetView(user);
}

void resetView(UserView& user) {
    user.camera = startingView(terrainModel.boundsMax.y, 0.0);
    if (user.startsFitted) {
        // A terrain's own heights may lie far below or above the ground plane.
        user.camera.pitchDegrees =
            std::clamp(user.camera.pitchDegrees, lowestPitchDegrees, highestPitchDegrees);
        user.camera = fitted(user.camera, user.bounds, user.width, user.height);
    }
    user.turning = Turning{};
}

void zoomView(UserView& user, int steps) {
    user.camera = zoomedWithin(user.camera, steps,
                               {user.bounds, terrainModel.surface, user.width, user.height});
}

void stepHeights(UserView& user, int step) {
    const HeightScale next = stepped(user.heights, step);
    if (next.steps == user.heights.steps || !staysWithinFloat(terrainModel.tallestHeight, next)) {
        return;
    }
    const double ratio = next.factor() / user.heights.factor();
    user.heights = next;
    terrainModel.changeExaggeration(next.factor());
    user.bounds = {terrainModel.boundsMin, terrainModel.boundsMax};
    user.camera = heightsScaled(user.camera, ratio,
                                {user.bounds, terrainModel.surface, user.width, user.height});
    if (!user.mesh.empty()) {
        if (const unsigned int error = updateMeshHeights(user.mesh, terrainModel); error != 0) {
            fallBackToDrawingEachFrame(user, error);
        }
    }
}

void pickAt(UserView& user, int x, int y) {
    const std::optional<std::array<double, 3>> hit =
        firstSurfaceHit(terrainModel.vertices, terrainModel.triangles,
                        sightlineThrough(user.camera, x, y, user.width, user.height));
    if (!hit) {
        user.picked.reset();
        return;
    }
    user.picked = describePick(pickedValues(*hit, terrainModel.exaggeration,
                                            terrainModel.elevations.empty(), terrainModel.frame));
    // As for screenshots: a reader that has gone away only loses the line.
    std::cout << "Picked " << *user.picked << std::endl;
    std::cout.clear();
}

void displayUserFrame() {
    UserView& user = userView();
    user.camera.turnDegrees += advanceTurning(user.turning, currentSeconds());

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    loadProjection(user);
    glLoadMatrixd(viewMatrix(user.camera).data());
    drawUserMesh(user);
    if (user.edgesShown) {
        drawTriangleEdges([&user] { drawUserMesh(user); });
    }
    if (user.mapShown) {
        drawMapOverlays(mapOverlayContent(user), user.width, user.height);
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
    keepLevelsComing(user);
}

void reshapeUserView(int width, int height) {
    UserView& user = userView();
    user.width = width;
    user.height = height == 0 ? 1 : height;
    glViewport(0, 0, user.width, user.height);
}

} // namespace zel
