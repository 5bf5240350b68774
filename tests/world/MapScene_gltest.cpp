// The map scene: which models it takes, its fog rule around the sky, its light levels.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

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

// A rectangle x0..x1, y0..y1 standing at the given depth, facing the viewer.
// A spare vertex behind the viewer stretches the bounds over the viewer, as a
// sky dome's are.
TdsScene rectangleScene(float x0, float x1, float y0, float y1, float depth, bool spare = false) {
    TdsScene scene;
    TdsObject quad;
    quad.name = "quad";
    quad.vertices = {gameToFile(x0, y0, -depth), gameToFile(x1, y0, -depth),
                     gameToFile(x1, y1, -depth), gameToFile(x0, y1, -depth)};
    if (spare) quad.vertices.push_back(gameToFile(0, 0, 10));
    quad.faces = {0, 1, 2, 0, 2, 3};
    scene.objects.push_back(quad);
    return scene;
}

GLfloat firstComponent(void (*get)(GLenum, GLenum, GLfloat*), GLenum which, GLenum name) {
    GLfloat value[4] = {};
    get(which, name, value);
    return value[0];
}

void setName(char* field, const char* text) {
    std::snprintf(field, INFO_TEXT_SIZE, "%s", text);
}

class MapSceneTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        // Level, roof and ground side by side and overlapping, 10 units ahead;
        // the sky 1000 units ahead, above the view's middle.
        ASSERT_TRUE(saveTds(rectangleScene(-4, 0, -1, 1, 10), dir.file("level.3ds")));
        ASSERT_TRUE(saveTds(rectangleScene(-2, 2, -1, 1, 10), dir.file("roof.3ds")));
        ASSERT_TRUE(saveTds(rectangleScene(0, 4, -1, 1, 10), dir.file("noground")));
        ASSERT_TRUE(saveTds(rectangleScene(-300, 300, 300, 2000, 1000, true), dir.file("sky.3ds")));
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
    EXPECT_EQ(scene.delay, 1000);  // updated once a second, to no effect
    EXPECT_EQ(scene.period, 1000u);
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

// Sky first (unlit, unfogged, at the fight's view angle, beyond the fight's far
// clip), then level, roof and ground at their light levels, and the level's
// light again for what follows. Drawn without a depth test, so whatever comes
// later covers what came before.
TEST_F(MapSceneTest, DrawsSkyLevelRoofAndGroundInOrderAtTheirLightLevels) {
    GameState state(nullptr);
    useMap(state, "NoGround", "roof.3ds", "stars.bmp");
    MapScene scene(&state);
    GlTestWindow::perspectiveCamera();
    viewFrustum.updateFrustum();
    glPushAttrib(GL_LIGHTING_BIT | GL_FOG_BIT);
    // Only ambient light: a grey level g shows as g * 0.2 (the scene's ambient) + g * g.
    const GLfloat black[4] = {0, 0, 0, 1}, red[4] = {1, 0, 0, 1}, grey[4] = {0.2f, 0.2f, 0.2f, 1};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, grey);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, black);
    glDisable(GL_COLOR_MATERIAL);
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHTING);
    // Fog that would turn the sky red; the level stands well before it.
    glFogfv(GL_FOG_COLOR, red);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogf(GL_FOG_START, 500);
    glFogf(GL_FOG_END, 600);
    glEnable(GL_FOG);
    for (float angle : {45.0f, 90.0f}) {
        glClear(GL_COLOR_BUFFER_BIT);
        state.viewAngle = angle;  // the sky's only: the rest keeps the current projection
        scene.draw();
        // Columns: window x, y, grey level shown. The first two lie near the level's
        // edges: the scene is drawn where it stands, not a unit off.
        const int spots[][3] = {
            {11, 128, 20},   {35, 100, 20},   {35, 128, 20},   {97, 128, 122},
            {159, 128, 252}, {221, 128, 252}, {128, 240, 255}, {128, 200, angle > 45 ? 255 : 0}};
        for (const auto& [x, y, level] : spots) {
            const Rgb c = GlTestWindow::pixel(x, y);
            EXPECT_TRUE(std::abs(c.r - level) <= 2 && c.g == c.r && c.b == c.r)
                << angle << " degrees at " << x << ", " << y << ": " << int(c.r) << " " << int(c.g)
                << " " << int(c.b);
        }
    }
    EXPECT_TRUE(glIsEnabled(GL_FOG) && glIsEnabled(GL_LIGHTING));
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    EXPECT_FLOAT_EQ(firstComponent(glGetMaterialfv, GL_FRONT, GL_AMBIENT), 0.2f);
    EXPECT_FLOAT_EQ(firstComponent(glGetMaterialfv, GL_BACK, GL_DIFFUSE), 0.2f);
    EXPECT_FLOAT_EQ(firstComponent(glGetLightfv, GL_LIGHT0, GL_AMBIENT), 0.2f);
    state.fogEnabled = 0;  // fog switched off by the player stays off
    glDisable(GL_FOG);
    scene.draw();
    EXPECT_FALSE(glIsEnabled(GL_FOG));
    glPopAttrib();
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
