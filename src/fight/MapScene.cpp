// The static surroundings of a fight: sky, level, roof and ground of the selected map.
#include "MapScene.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstring>

#include "DrawingState.h"
#include "FightModels.h"
#include "GameState.h"
#include "ModelStore.h"
#include "ScreenSize.h"
#include "Vec3.h"

namespace {

constexpr int SCENE_PERIOD_MS = 1000;    // updated once a second, to no effect
constexpr double SKY_FAR_CLIP = 3000.0;  // level units; the sky ignores the game's far clip
constexpr Vec3 ORIGIN{};                 // where every model of the map stands

Model* getOptional(const std::optional<ModelRequest>& request) {
    return request ? modelStore.getModel(*request) : nullptr;
}

void drawAtOrigin(Model* model) {
    if (model) model->draw(ORIGIN.x, ORIGIN.y, ORIGIN.z);
}

}  // namespace

MapScene::MapScene(GameState* state) : WorldObject(state), gameState(state) {
    delay = SCENE_PERIOD_MS;
    setUpdatePeriod(SCENE_PERIOD_MS);
    const MapModelRequests requests = mapModelRequests(state->map);
    level = modelStore.getModel(requests.level);
    ground = getOptional(requests.ground);
    roof = getOptional(requests.roof);
    sky = getOptional(requests.sky);
}

MapScene::~MapScene() {
    for (Model* model : {sky, level, roof, ground}) modelStore.releaseModel(model);
}

void MapScene::draw() {
    glPushMatrix();
    if (sky) drawSky();
    setLightLevel(LEVEL_LIGHT);
    drawAtOrigin(level);
    setLightLevel(ROOF_LIGHT);
    drawAtOrigin(roof);
    setLightLevel(GROUND_LIGHT);
    drawAtOrigin(ground);
    glPopMatrix();
    setLightLevel(LEVEL_LIGHT);
}

// The sky gets its own, deeper projection and no fog or lighting; fog is
// switched (back) on afterwards whenever the fight wants it.
void MapScene::drawSky() {
    const bool fog = gameState->fogEnabled != 0;
    if (fog) glDisable(GL_FOG);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluPerspective(gameState->viewAngle, screenWidth / screenHeight, 1.0, SKY_FAR_CLIP);
    glMatrixMode(GL_MODELVIEW);
    glDisable(GL_LIGHTING);
    drawAtOrigin(sky);
    glEnable(GL_LIGHTING);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    if (fog) glEnable(GL_FOG);
}
