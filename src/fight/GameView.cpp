// Draws one frame of a fight: chase camera, world objects, crosshair, transparent queue, HUD.
#include "GameView.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>

#include "BitmapFont.h"
#include "CameraPose.h"
#include "Creature.h"
#include "FightModels.h"
#include "ModelStore.h"
#include "TransparentQueue.h"
#include "ViewFrustum.h"
#include "Weapon.h"
#include "World.h"
#include "WorldObject.h"

namespace {

// Where the camera looks while nobody is followed: the start point, heading 0.
constexpr Vec3 START_POINT{0.0f, 0.0f, -50.0f};
constexpr float CROSSHAIR_HEIGHT = 4.0f;  // level units above the creature, the muzzle height

}  // namespace

GameView::~GameView() {
    modelStore.releaseModel(crosshair);  // none is no model
}

bool GameView::attach(World* w, Creature* t) {
    modelStore.releaseModel(crosshair);
    crosshair = modelStore.getModel(crosshairModelRequest());
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
    const bool placed = target ? cameraPose(cameraMode, target->position, target->headingSin,
                                            target->headingCos, pose)
                               : cameraPose(cameraMode, START_POINT, 0.0f, 1.0f, pose);
    if (!placed) return;  // unknown mode: the identity view
    gluLookAt(pose.eye.x, pose.eye.y, pose.eye.z, pose.centre.x, pose.centre.y, pose.centre.z,
              pose.up.x, pose.up.y, pose.up.z);
}

void GameView::drawObjects() {
    if (!world) return;
    // The count is read anew each step: drawing must not assume a fixed table.
    for (int i = 0; i < world->objectCount; ++i) world->objects[i]->draw();
}

// Unlit, 4 units up in the creature's own turned frame: the muzzle height.
// Not while the creature is dead (health below 0) or out of view.
void GameView::drawCrosshair() {
    if (!target || !crosshair || target->health < 0) return;
    glDisable(GL_LIGHTING);
    if (target->beginTransform()) {
        glTranslatef(0.0f, CROSSHAIR_HEIGHT, 0.0f);
        crosshair->draw(target->position.x, target->position.y, target->position.z);
        glPopMatrix();
    }
    glEnable(GL_LIGHTING);
}

// Weapon name, ammunition, health and score along the bottom of the 640 x 480 text screen.
void GameView::drawHud() {
    if (!target) return;
    char text[32];
    bitmapFont.begin2D();
    std::snprintf(text, sizeof text, "%d", target->health);
    bitmapFont.printLine(500, 20, text);
    std::snprintf(text, sizeof text, "%d", target->score);
    bitmapFont.printLine(600, 20, text);
    if (const Weapon* weapon = target->currentWeapon) {
        std::snprintf(text, sizeof text, "%d", weapon->ammo);
        bitmapFont.printLine(400, 20, text);
        std::snprintf(text, sizeof text, "%s", weapon->name());
        bitmapFont.printLine(20, 20, text);
    }
    bitmapFont.end2D();
}
