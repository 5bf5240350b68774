// The fight's state: loading a map, the fog, view and camera keys with their messages, the end
// line.
#include <GL/gl.h>
#include <GL/glu.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "CaptureOutput.h"
#include "CollisionMap.h"
#include "Creature.h"
#include "Display.h"
#include "GRun.h"
#include "GameState.h"
#include "GlTestWindow.h"
#include "MapScene.h"
#include "MenuState.h"
#include "ModelStore.h"
#include "Settings.h"
#include "TdsWriter.h"
#include "TestFiles.h"

namespace {

// A flat floor of 200 x 200 units at y = -1 around the start point.
TdsScene floorScene() {
    TdsScene scene;
    TdsObject floor;
    floor.name = "floor";
    floor.vertices = {gameToFile(-100, -1, 50), gameToFile(100, -1, 50), gameToFile(100, -1, -150),
                      gameToFile(-100, -1, -150)};
    floor.faces = {0, 1, 2, 0, 2, 3};
    scene.objects.push_back(floor);
    return scene;
}

std::string keyOutput(GameState& state, int key) {
    testing::internal::CaptureStdout();
    state.keyDown(key);
    return testing::internal::GetCapturedStdout();
}

float fogValue(GLenum name) {
    GLfloat value = 0.0f;
    glGetFloatv(name, &value);
    return value;
}

// Also: the model-view matrix is the current one again.
void expectProjection(double fovy, double farClip) {
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    GLfloat actual[16], expected[16];
    glGetFloatv(GL_PROJECTION_MATRIX, actual);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluPerspective(fovy, 1.0, 1.0, farClip);
    glGetFloatv(GL_PROJECTION_MATRIX, expected);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(actual[i], expected[i], 1e-5f) << "element " << i;
}

class GameStateTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        ASSERT_TRUE(saveTds(floorScene(), dir.file("floor.3ds")));
        ASSERT_TRUE(saveTds(floorScene(), dir.file("c3.3ds")));  // the creatures' body
        savedSettings = settings;
        MapInfo map;
        std::snprintf(map.name, INFO_TEXT_SIZE, "Floor");
        std::snprintf(map.levelModel, INFO_TEXT_SIZE, "floor.3ds");
        std::snprintf(map.groundModel, INFO_TEXT_SIZE, "noground");
        std::snprintf(map.roofModel, INFO_TEXT_SIZE, "noroof");
        std::snprintf(map.skyTexture, INFO_TEXT_SIZE, "nosky");
        std::snprintf(map.collisionModel, INFO_TEXT_SIZE, "floor.3ds");
        map.fogColour[0] = 0.25f;
        map.fogColour[1] = 0.5f;
        map.fogColour[2] = 0.75f;
        map.fogColour[3] = 1.0f;
        settings.maps.assign(1, map);
        settings.mapCount = 1;
        CharacterInfo character;
        std::snprintf(character.name, INFO_TEXT_SIZE, "Pelmo");
        character.skinCount = 1;
        settings.characters.assign(1, character);
        settings.characterCount = 1;
        settings.mapIndex = settings.characterIndex = settings.skinIndex = 0;
        screenWidth = GlTestWindow::WIDTH;
        screenHeight = GlTestWindow::HEIGHT;
    }
    void TearDown() override {
        settings = savedSettings;
        GlTest::TearDown();
    }

    TempDir dir;
    ScopedWorkingDir cwd{dir.path()};
    Settings savedSettings;
};

TEST_F(GameStateTest, LoadRefusesAnInvalidSelectionAndCreatesNothing) {
    GameState state(nullptr);
    settings.mapIndex = 1;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(state.load());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Invalid mapID when starting engine\n");
    EXPECT_EQ(state.objectCount, 0);
    EXPECT_EQ(state.collisionMap, nullptr);
}

TEST_F(GameStateTest, LoadPutsTheMapSceneFirstAndBuildsTheCollisionMap) {
    GameState state(nullptr);
    testing::internal::CaptureStdout();
    ASSERT_TRUE(state.load());
    std::vector<std::string> steps;  // the loading steps' lines among the models' ones
    std::istringstream out(testing::internal::GetCapturedStdout());
    for (std::string line; std::getline(out, line);)
        if (line.rfind("Loading model", 0) != 0 && line.rfind("Getting used", 0) != 0)
            steps.push_back(line);
    std::vector<std::string> expected = {"Loading map", "Creating collisions map",
                                         "Creating players"};
    expected.resize(10, "New pelmo in game");
    EXPECT_EQ(steps, expected);

    EXPECT_NE(dynamic_cast<MapScene*>(state.objects[0]), nullptr);
    ASSERT_NE(state.collisionMap, nullptr);
    EXPECT_FALSE(state.collisionMap->empty());
    const Vec3 cell = state.collisionMap->cellSize;
    EXPECT_EQ((std::vector<float>{cell.x, cell.y, cell.z}), (std::vector<float>{20, 20, 20}));
    EXPECT_STREQ(state.map.name, "Floor");

    // The player at the start point, followed by the camera; six more around it.
    ASSERT_EQ(state.objectCount, 8);
    auto* player = dynamic_cast<Creature*>(state.objects[1]);
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(state.view.target, player);
    EXPECT_TRUE(player->model != nullptr && player->model == state.modelSlots[0]);
    EXPECT_FLOAT_EQ(player->position.z, -50.0f);
    for (int i = 2; i < 8; ++i) {
        auto* other = dynamic_cast<Creature*>(state.objects[i]);
        ASSERT_NE(other, nullptr);
        EXPECT_GE(other->position.x, -9.0f);
        EXPECT_LE(other->position.x, 10.0f);
        EXPECT_GE(other->position.z, -44.0f);
        EXPECT_LE(other->position.z, -10.0f);
    }

    std::vector<GLfloat> clear(4), fog(4);
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear.data());
    glGetFloatv(GL_FOG_COLOR, fog.data());
    EXPECT_EQ(clear, (std::vector<GLfloat>{0.25f, 0.5f, 0.75f, 0.0f}));
    EXPECT_EQ(fog, (std::vector<GLfloat>{0.25f, 0.5f, 0.75f, 1.0f}));
}

// The body and projectile models go with the fight; the collision model as
// soon as the map is built.
TEST_F(GameStateTest, ModelsAreGivenBack) {
    ASSERT_TRUE(saveTds(floorScene(), dir.file("zat.3ds")));
    const Output o = captureOutput([] {
        GameState state(nullptr);
        EXPECT_EQ(modelStore.count(), 2);
        EXPECT_FALSE(CollisionMap(20, 20, 20, "floor.3ds").empty());
        EXPECT_TRUE(CollisionMap(20, 20, 20, "nothing.3ds").empty());
        EXPECT_EQ(modelStore.count(), 2);
    });
    EXPECT_EQ(modelStore.count(), 0);
    EXPECT_NE(o.err.find("nothing.3ds"), std::string::npos);
}

TEST_F(GameStateTest, FogKeyTogglesFogAndSaysSo) {
    GameState state(nullptr);
    glEnable(GL_FOG);
    EXPECT_EQ(keyOutput(state, 'f'), "Fog disabled\n");
    EXPECT_FALSE(glIsEnabled(GL_FOG));
    EXPECT_EQ(state.fogEnabled, 0);
    EXPECT_EQ(keyOutput(state, 'f'), "Fog enabled\n");
    EXPECT_TRUE(glIsEnabled(GL_FOG));
}

TEST_F(GameStateTest, FarClipKeysMoveProjectionAndFogRangeWithoutLimit) {
    GameState state(nullptr);
    expectProjection(45.0, 2000.0);
    EXPECT_FLOAT_EQ(fogValue(GL_FOG_START), 1800.0f);
    EXPECT_EQ(keyOutput(state, 'h'), "Far clipping changed to 2050.000000\n");
    expectProjection(45.0, 2050.0);
    EXPECT_FLOAT_EQ(fogValue(GL_FOG_START), 1850.0f);
    EXPECT_FLOAT_EQ(fogValue(GL_FOG_END), 2050.0f);
    for (int i = 0; i < 41; ++i) keyOutput(state, 'j');
    EXPECT_FLOAT_EQ(state.farClip, 0.0f);
    EXPECT_FLOAT_EQ(fogValue(GL_FOG_START), -200.0f);
}

TEST_F(GameStateTest, ViewAngleKeysChangeOnlyTheProjection) {
    GameState state(nullptr);
    EXPECT_EQ(keyOutput(state, 'k'), "View angle changed to 43.000000\n");
    expectProjection(43.0, 2000.0);
    EXPECT_FLOAT_EQ(fogValue(GL_FOG_START), 1800.0f);
    keyOutput(state, 'l');
    EXPECT_EQ(keyOutput(state, 'l' | 0x100), "View angle changed to 47.000000\n");
}

TEST_F(GameStateTest, CameraKeysWrapAroundSevenModesQuietly) {
    GameState state(nullptr);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(keyOutput(state, 'i'), "");
    EXPECT_EQ(state.view.cameraMode, 0);
    keyOutput(state, 'u');
    EXPECT_EQ(state.view.cameraMode, 6);
    keyOutput(state, 'i');
    EXPECT_EQ(state.view.cameraMode, 0);
}

// The game's own fight keeps the mouse in the window until it ends.
TEST_F(GameStateTest, EscapeByItsLowByteLeavesForTheMenuAndFreesTheMouse) {
    GRun run;
    auto fight = std::make_unique<GameState>(&run);
    GameState* state = fight.get();
    run.setState(std::move(fight));
    testing::internal::CaptureStdout();
    ASSERT_TRUE(state->load());
    EXPECT_EQ(SDL_WM_GrabInput(SDL_GRAB_QUERY), SDL_GRAB_ON);
    state->keyDown(283);  // F2: the low 8 bits are Escape's; the state is deleted here
    testing::internal::GetCapturedStdout();
    EXPECT_NE(dynamic_cast<MenuState*>(run.state()), nullptr);
    EXPECT_TRUE(run.skipNextUpdate);
    EXPECT_EQ(SDL_WM_GrabInput(SDL_GRAB_QUERY), SDL_GRAB_OFF);
}

TEST_F(GameStateTest, EndLineAveragesGameTimeOverDrawnFrames) {
    testing::internal::CaptureStdout();
    {
        GameState state(nullptr);
        ASSERT_TRUE(state.load());
        state.update(1500);  // a step never exceeds 1000 ms
        state.draw();
        state.draw();
        state.keyDown('p');
        state.update(300);  // paused: no game time
        state.draw();
    }
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Average : 333.333333 ms/frame\n"), std::string::npos) << out;
}

}  // namespace
