// A fight: loads the selected map and its creatures and handles the fog, view and camera keys.
#include "GameState.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>
#include <memory>

#include "CollisionMap.h"
#include "Creature.h"
#include "CreatureFactory.h"
#include "FightHost.h"
#include "FightModels.h"
#include "MapScene.h"
#include "ModelStore.h"
#include "ProjectileType.h"
#include "ScreenSize.h"
#include "Settings.h"

namespace {

constexpr int KEY_ESCAPE = 27;
constexpr float FAR_CLIP_STEP = 50.0f;   // level units per "h"/"j"
constexpr float VIEW_ANGLE_STEP = 2.0f;  // degrees per "k"/"l"

}  // namespace

GameState::GameState(FightHost* host) : World(host) {
    std::printf("Loading game models\n");
    modelSlots[0] = modelStore.getModel(creatureBodyModelRequest());
    loadProjectileModels();
    applyProjection();
    applyFogRange();
}

GameState::~GameState() {
    releaseProjectileModels();
    if (host != nullptr) host->grabPointer(false);
}

void GameState::applyProjection() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(viewAngle, screenWidth / screenHeight, 1.0, farClip);
    glMatrixMode(GL_MODELVIEW);
}

void GameState::applyFogRange() {
    glFogf(GL_FOG_START, farClip - FOG_DEPTH);
    glFogf(GL_FOG_END, farClip);
}

bool GameState::load() {
    std::printf("Loading map\n");
    if (!settings.validateSelection()) return false;
    const int characterIndex = settings.characterIndex;
    const int skinIndex = settings.skinIndex;
    map = settings.maps[settings.mapIndex];

    glFogfv(GL_FOG_COLOR, map.fogColour);
    glClearColor(map.fogColour[0], map.fogColour[1], map.fogColour[2], 0.0f);

    auto* scene = new MapScene(this);
    if (!addObject(scene)) delete scene;  // a table already full

    std::printf("Creating collisions map\n");
    setCollisionMap(
        std::make_unique<CollisionMap>(CELL_SIZE, CELL_SIZE, CELL_SIZE, map.collisionModel));
    std::printf("Creating players\n");
    addCreatures(characterIndex, skinIndex);
    if (host != nullptr) host->grabPointer(true);
    return true;
}

// The player at the start point, followed by the camera, then six computer
// creatures of random characters and skins around it.
void GameState::addCreatures(int characterIndex, int skinIndex) {
    Creature* player = createPlayerCreature(this, modelSlots[0], characterIndex, skinIndex);
    if (!addObject(player)) {
        delete player;
        player = nullptr;
    }
    view.attach(this, player);
    for (int i = 0; i < COMPUTER_CREATURES; ++i) {
        Creature* creature = createComputerCreature(this, modelSlots[0]);
        if (!addObject(creature)) delete creature;
    }
}

void GameState::keyDown(int key) {
    World::keyDown(key);
    // Escape went back to the menu, which deleted this state: only the
    // argument may be looked at now.
    if ((key & 0xff) == KEY_ESCAPE) return;
    switch (key & 0xff) {
        case 'f':
            toggleFog();
            return;
        case 'h':
            changeFarClip(FAR_CLIP_STEP);
            return;
        case 'j':
            changeFarClip(-FAR_CLIP_STEP);
            return;
        case 'k':
            changeViewAngle(-VIEW_ANGLE_STEP);
            return;
        case 'l':
            changeViewAngle(VIEW_ANGLE_STEP);
            return;
        case 'i':
            view.nextCameraMode();
            return;
        case 'u':
            view.previousCameraMode();
            return;
        default:
            return;
    }
}

void GameState::toggleFog() {
    if (fogEnabled) {
        glDisable(GL_FOG);
        fogEnabled = 0;
        std::printf("Fog disabled\n");
    } else {
        glEnable(GL_FOG);
        fogEnabled = 1;
        std::printf("Fog enabled\n");
    }
}

void GameState::changeFarClip(float delta) {
    farClip += delta;
    applyProjection();
    applyFogRange();
    std::printf("Far clipping changed to %f\n", farClip);
}

void GameState::changeViewAngle(float delta) {
    viewAngle += delta;
    applyProjection();
    std::printf("View angle changed to %f\n", viewAngle);
}
