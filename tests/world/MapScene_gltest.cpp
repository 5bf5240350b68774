// The map scene: which models it takes, its fog rule around the sky, its light levels.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdio>

#include "Display.h"
#include "GameState.h"
#include "GlTestWindow.h"
#include "MapScene.h"
#include "ModelStore.h"
#include "TdsWriter.h"
#include "TestFiles.h"
#include "TestImages.h"
#include "ViewFrustum.h"

namespace {

// One triangle filling the view at the given depth. A spare vertex behind the
// viewer stretches the bounds over the viewer, as a sky dome's are.
TdsScene triangleScene(float depth) {
    TdsScene scene;
    TdsObject tri;
    tri.name = "tri";
    tri.vertices = {gameToFile(-depth, -depth, -depth), gameToFile(depth, -depth, -depth),
                    gameToFile(0, depth, -depth), gameToFile(0, 0, 10)};
    tri.faces = {0, 1, 2};
    scene.objects.push_back(tri);
    return scene;
}

void setName(char* field, const char* text) {
    std::snprintf(field, INFO_TEXT_SIZE, "%s", text);
}

class MapSceneTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        ASSERT_TRUE(saveTds(triangleScene(10), dir.file("level.3ds")));
        ASSERT_TRUE(saveTds(triangleScene(10), dir.file("noground")));
        ASSERT_TRUE(saveTds(triangleScene(1000), dir.file("sky.3ds")));
        ASSERT_TRUE(writeBmp(TestImage(4, 4, 0, 255, 0), dir.file("stars.bmp")));
        screenWidth = GlTestWindow::WIDTH;
        screenHeight = GlTestWindow::HEIGHT;
    }
    // A game state whose map has the given ground, roof and sky words.
    void useMap(GameState& state, const char* ground, const char* roof, const char* sky) {
        setName(state.map.levelModel, "level.3ds");
        setName(state.map.groundModel, ground);
        setName(state.map.roofModel, roof);
        setName(state.map.skyTexture, sky);
    }

    TempDir dir;
    ScopedWorkingDir cwd{dir.path()};
};

TEST_F(MapSceneTest, NoneWordsAreComparedExactly) {
    GameState state(nullptr);
    useMap(state, "NoGround", "noroof", "nosky");
    MapScene scene(&state);
    EXPECT_NE(scene.level, nullptr);
    EXPECT_NE(scene.ground, nullptr);  // "NoGround" is a model name
    EXPECT_EQ(scene.roof, nullptr);
    EXPECT_EQ(scene.sky, nullptr);
    EXPECT_EQ(scene.kindFlags, 0u);
}

TEST_F(MapSceneTest, WithoutSkyLeavesFogAsItWas) {
    GameState state(nullptr);
    useMap(state, "noground", "noroof", "nosky");
    MapScene scene(&state);
    ASSERT_EQ(state.fogEnabled, 1);
    glDisable(GL_FOG);
    scene.draw();
    EXPECT_FALSE(glIsEnabled(GL_FOG));
    glEnable(GL_FOG);
    scene.draw();
    EXPECT_TRUE(glIsEnabled(GL_FOG));
}

TEST_F(MapSceneTest, SkyIsDrawnWithoutFogThenFogIsSwitchedOn) {
    GameState state(nullptr);
    useMap(state, "noground", "noroof", "stars.bmp");
    MapScene scene(&state);
    ASSERT_NE(scene.sky, nullptr);
    GLfloat before[16], after[16];
    glGetFloatv(GL_PROJECTION_MATRIX, before);
    glDisable(GL_FOG);
    scene.draw();
    EXPECT_TRUE(glIsEnabled(GL_FOG));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    glGetFloatv(GL_PROJECTION_MATRIX, after);
    for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(after[i], before[i]);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);

    state.fogEnabled = 0;
    glDisable(GL_FOG);
    scene.draw();
    EXPECT_FALSE(glIsEnabled(GL_FOG));
}

TEST_F(MapSceneTest, SkyReachesBeyondTheFightsFarClip) {
    GameState state(nullptr);
    useMap(state, "noground", "noroof", "stars.bmp");
    setName(state.map.levelModel, "missing.3ds");  // nothing but the sky
    MapScene scene(&state);
    EXPECT_EQ(scene.level, nullptr);
    state.farClip = 500.0f;
    state.applyProjection();
    viewFrustum.updateFrustum();
    scene.draw();
    // The sky triangle lies 1000 units deep, twice the fight's far clip.
    EXPECT_NE(GlTestWindow::pixel(128, 128), (Rgb{0, 0, 0}));
}

TEST_F(MapSceneTest, ReleasesItsModels) {
    GameState state(nullptr);
    const int before = modelStore.count();
    {
        useMap(state, "NoGround", "noroof", "stars.bmp");
        MapScene scene(&state);
        EXPECT_EQ(modelStore.count(), before + 3);
    }
    EXPECT_EQ(modelStore.count(), before);
}

}  // namespace
