// The menu screen drawn for real: background picture, turning logo, labels; quitting.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdio>

#include "BitmapFont.h"
#include "Display.h"
#include "GRun.h"
#include "GlTestWindow.h"
#include "MenuState.h"
#include "Settings.h"
#include "TdsWriter.h"
#include "TestFiles.h"
#include "TestImages.h"

namespace {

// A square logo of 4 x 4 units facing the viewer, one flat red material.
TdsScene logoScene() {
    TdsScene scene;
    TdsMaterial red;
    red.name = "red";
    red.colour[0] = 255;
    red.colour[1] = 0;
    red.colour[2] = 0;
    scene.materials.push_back(red);
    TdsObject quad;
    quad.name = "logo";
    quad.vertices = {gameToFile(-2, -2, 0), gameToFile(2, -2, 0), gameToFile(2, 2, 0),
                     gameToFile(-2, 2, 0)};
    quad.faces = {0, 1, 2, 0, 2, 3};
    quad.groups.push_back({"red", {0, 1}});
    scene.objects.push_back(quad);
    return scene;
}

class MenuStateTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        // Blue background picture, a font whose every glyph is a solid white cell.
        ASSERT_TRUE(writeBmp(TestImage(8, 8, 0, 0, 255), dir.file("menu.jpg")));
        ASSERT_TRUE(writeBmp(TestImage(64, 64, 255, 255, 255), dir.file("font.bmp")));
        ASSERT_TRUE(saveTds(logoScene(), dir.file("logo.3ds")));
        savedSettings = settings;
        settings.maps.assign(2, MapInfo{});
        std::snprintf(settings.maps[0].name, INFO_TEXT_SIZE, "Arena");
        settings.mapCount = 2;
        settings.characters.assign(1, CharacterInfo{});
        std::snprintf(settings.characters[0].name, INFO_TEXT_SIZE, "Pelmo");
        settings.characters[0].skinCount = 2;
        settings.characterCount = 1;
        settings.mapIndex = settings.characterIndex = settings.skinIndex = 0;
        screenWidth = GlTestWindow::WIDTH;
        screenHeight = GlTestWindow::HEIGHT;
        glEnable(GL_TEXTURE_2D);
        bitmapFont.loadFont("font.bmp");
    }
    void TearDown() override {
        bitmapFont.releaseFont();
        settings = savedSettings;
        GlTest::TearDown();
    }

    TempDir dir;
    ScopedWorkingDir cwd{dir.path()};
    Settings savedSettings;
    GRun run;
};

TEST_F(MenuStateTest, DrawsBackgroundLogoAndLabelsWhereTheyBelong) {
    MenuState menu(&run);
    ASSERT_NE(menu.backgroundSlot(), -1);
    ASSERT_TRUE(menu.logo().loaded);
    menu.draw();

    const Rgb background = GlTestWindow::pixel(100, 128);
    EXPECT_EQ(background, (Rgb{0, 0, 255}));
    // The logo turns in the lower right: (8, -6) at 22.2 units deep.
    const Rgb logo = GlTestWindow::pixel(239, 44);
    EXPECT_NE(logo, background);
    EXPECT_GT(logo.r, 100);
    // Label column: "Map name X,C" at (430, 420), the credits line at (10, 10);
    // additive white-ish text over blue.
    EXPECT_GT(GlTestWindow::pixel(GlTestWindow::textX(435), GlTestWindow::textY(425)).r, 200);
    EXPECT_GT(GlTestWindow::pixel(GlTestWindow::textX(12), GlTestWindow::textY(14)).r, 200);
    // Nothing written between the map name (430, 400) and "Character V,B" (430, 360).
    EXPECT_EQ(GlTestWindow::pixel(GlTestWindow::textX(440), GlTestWindow::textY(385)), background);
}

TEST_F(MenuStateTest, LogoTurnsFiveDegreesPerSecond) {
    MenuState menu(&run);
    for (int i = 0; i < 80; ++i) menu.update(25);
    EXPECT_NEAR(menu.angle(), 10.0f, 1e-4f);
}

TEST_F(MenuStateTest, EscapeAndItsLowByteTwinStopTheProgram) {
    MenuState menu(&run);
    menu.keyDown('c');
    EXPECT_EQ(settings.mapIndex, 1);
    EXPECT_TRUE(run.running);
    menu.keyDown(283);  // F2: low 8 bits are Escape's
    EXPECT_FALSE(run.running);
}

}  // namespace
