// The game view: camera from the followed creature, crosshair only while it lives, the HUD values.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <vector>

#include "BitmapFont.h"
#include "Creature.h"
#include "CreatureType.h"
#include "GRun.h"
#include "GameView.h"
#include "GlTestWindow.h"
#include "MeshFixtures.h"
#include "TdsWriter.h"
#include "TestFiles.h"
#include "TestImages.h"
#include "TransparentQueue.h"
#include "World.h"

namespace {

// A reticle 20 x 20 units standing 30 units ahead of the creature, facing it and the camera.
TdsScene reticleScene() {
    TdsScene scene;
    TdsMaterial white;
    white.name = "white";
    white.colour[0] = white.colour[1] = white.colour[2] = 255;
    scene.materials.push_back(white);
    TdsObject quad;
    quad.name = "reticle";
    quad.vertices = {gameToFile(-10, -10, -30), gameToFile(10, -10, -30), gameToFile(10, 10, -30),
                     gameToFile(-10, 10, -30)};
    quad.faces = {0, 1, 2, 0, 2, 3};
    quad.groups.push_back({"white", {0, 1}});
    scene.objects.push_back(quad);
    return scene;
}

// Window pixel of a world point under the current matrices.
void project(double x, double y, double z, int& winX, int& winY) {
    GLdouble model[16], proj[16], wx, wy, wz;
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, proj);
    glGetIntegerv(GL_VIEWPORT, viewport);
    gluProject(x, y, z, model, proj, viewport, &wx, &wy, &wz);
    winX = static_cast<int>(wx);
    winY = static_cast<int>(wy);
}

class GameViewTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        ASSERT_TRUE(saveTds(reticleScene(), dir.file("zamer.3ds")));
        ASSERT_TRUE(writeBmp(TestImage(64, 64, 255, 255, 255), dir.file("font.bmp")));
        glEnable(GL_TEXTURE_2D);
        bitmapFont.loadFont("font.bmp");
        GlTestWindow::perspectiveCamera();
        testing::internal::CaptureStdout();  // "New pelmo in game"
        creature = new Creature(&world, nullptr, creatureTypes[0]);
        testing::internal::GetCapturedStdout();
        creature->position = {0.0f, 0.0f, -50.0f};
        ASSERT_TRUE(world.addObject(creature));
        world.view.attach(&world, creature);
    }
    void TearDown() override {
        bitmapFont.releaseFont();
        GlTest::TearDown();
    }

    TempDir dir;
    ScopedWorkingDir cwd{dir.path()};
    World world{nullptr};
    Creature* creature = nullptr;
};

// Without a target the camera stands as for a creature at the start point.
TEST_F(GameViewTest, CameraFollowsTheTargetsHeadingInTheChosenMode) {
    creature->position = {10.0f, 0.0f, -20.0f};
    creature->headingSin = 1.0f;  // heading 90: facing +x
    creature->headingCos = 0.0f;
    world.view.cameraMode = 3;
    for (bool followed : {true, false}) {
        world.view.target = followed ? creature : nullptr;
        world.view.draw();
        GLfloat actual[16], expected[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, actual);
        glLoadIdentity();
        if (followed)
            gluLookAt(0, 100, -20, 20, 0, -20, 0, 1, 0);  // 10 behind, high; 10 ahead
        else
            gluLookAt(0, 100, -40, 0, 0, -60, 0, 1, 0);
        glGetFloatv(GL_MODELVIEW_MATRIX, expected);
        for (int i = 0; i < 16; ++i) EXPECT_NEAR(actual[i], expected[i], 1e-4f) << i;
    }
}

// Unlit, at health 0 too; the transparent queue is emptied and lighting is on afterwards.
TEST_F(GameViewTest, CrosshairShowsOnlyWhileTheTargetLives) {
    Mesh glass;
    glass.objects.push_back(triangle(10, 0));  // behind the viewer: only its queuing counts
    finish(glass, LISTS_NONE);
    transparentQueue.push(glass.objects[0], glass);
    creature->health = 0;
    glPushAttrib(GL_ENABLE_BIT);  // lighting with no light: anything lit is dark
    glDisable(GL_LIGHT0);
    glDisable(GL_COLOR_MATERIAL);
    glEnable(GL_LIGHTING);
    world.view.draw();
    EXPECT_EQ(transparentQueue.size(), 0);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    glPopAttrib();
    int x, y;
    project(0, 4, -80, x, y);  // the reticle's middle, 30 ahead and 4 up
    ASSERT_GT(x, 0);
    ASSERT_LT(y, GlTestWindow::HEIGHT);
    EXPECT_EQ(GlTestWindow::pixel(x, y), (Rgb{255, 255, 255}));

    creature->health = -5;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    world.view.draw();
    EXPECT_EQ(GlTestWindow::pixel(x, y), (Rgb{0, 0, 0}));
}

// Drawn whether the creature is dead (its health shows as it is) or out of view.
TEST_F(GameViewTest, HudWritesWeaponAmmoHealthAndScoreInPlace) {
    creature->score = 3;
    world.view.cameraMode = 99;  // no camera: the view looks along -z from the origin
    for (auto [health, z] : {std::pair{-20, -50.0f}, {-20, 50.0f}, {100, 50.0f}}) {
        creature->health = health;
        creature->position = {0, 0, z};
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        world.view.draw();
        auto lit = [](int x, int y) {
            return GlTestWindow::pixel(GlTestWindow::textX(x), GlTestWindow::textY(y)) != Rgb{};
        };
        // Weapon name at 20, ammunition at 400, health at 500 ("-20" or "100": three
        // glyphs), score "3" at 600 (one glyph); nothing else.
        EXPECT_EQ((std::vector<bool>{lit(22, 26), lit(402, 26), lit(502, 26), lit(525, 26),
                                     lit(602, 26), lit(625, 26), lit(300, 26), lit(500, 100)}),
                  (std::vector<bool>{true, true, true, true, true, false, false, false}))
            << health << " at z " << z;
    }
}

}  // namespace
