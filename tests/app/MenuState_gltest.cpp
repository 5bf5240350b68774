// The menu screen drawn for real: background picture, turning logo, labels; quitting.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "Angles.h"
#include "BitmapFont.h"
#include "CaptureOutput.h"
#include "Display.h"
#include "GRun.h"
#include "GlTestWindow.h"
#include "MenuState.h"
#include "ScreenSize.h"
#include "Settings.h"
#include "TdsWriter.h"
#include "TestFiles.h"
#include "TestImages.h"
#include "TextureStore.h"

namespace {

// A square logo of 4 x 4 units facing the viewer, one flat red material.
TdsScene logoScene() {
    const TdsObject quad{
        "logo",
        {gameToFile(-2, -2, 0), gameToFile(2, -2, 0), gameToFile(2, 2, 0), gameToFile(-2, 2, 0)},
        {0, 1, 2, 0, 2, 3},
        {},  // no texture coordinates
        {{"red", {0, 1}}}};
    return {3, {{"red", "", {255, 0, 0}}}, {quad}};
}

class MenuStateTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        // Background quarters, top first: red, black / blue, green. A font whose every
        // glyph is a solid white cell.
        TestImage picture(8, 8, 255, 0, 0);
        picture.fill(4, 0, 8, 4, 0, 0, 0);
        picture.fill(0, 4, 4, 8, 0, 0, 255);
        picture.fill(4, 4, 8, 8, 0, 255, 0);
        ASSERT_TRUE(writeBmp(picture, dir.file("menu.jpg")));
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

// The menu's own projection is 45 degrees, aspect 1, near 1, far 3000; the background goes
// with the menu.
TEST_F(MenuStateTest, DrawsBackgroundLogoAndLabelsWhereTheyBelong) {
    settings.skinIndex = 1;
    textureStore.setTextureQuality(0);  // nearest texels: quarters meet without blending
    const int textures = textureStore.count();
    {
        MenuState menu(&run);
        EXPECT_EQ(textureStore.count(), textures + 1);
        GLfloat p[16];
        glGetFloatv(GL_PROJECTION_MATRIX, p);
        const float f = 1.0f / std::tan(22.5f * float(PI) / 180.0f);
        const int at[] = {0, 5, 10, 14};
        const float expected[] = {f, f, -3001.0f / 2999.0f, -6000.0f / 2999.0f};
        for (int i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(p[at[i]], expected[i]) << at[i];
        ASSERT_NE(menu.backgroundSlot(), -1);
        ASSERT_TRUE(menu.logo().loaded);
        glTranslatef(100, 0, 0);  // drawing starts from the identity
        menu.draw();

        // The picture stands upright, its left side on the left, its quarters
        // meeting 4 pixels from the window's middle.
        EXPECT_EQ((std::vector<Rgb>{GlTestWindow::pixel(124, 131), GlTestWindow::pixel(131, 131),
                                    GlTestWindow::pixel(124, 124), GlTestWindow::pixel(131, 124)}),
                  (std::vector<Rgb>{{255, 0, 0}, {0, 0, 0}, {0, 0, 255}, {0, 255, 0}}));
        // The logo turns in the lower right: (8, -6) at 22.2 units deep, 1.4 times its size, so
        // its edges are 39 pixels from its middle: it shows just inside them, the background
        // just outside.
        for (const Rgb logo : {GlTestWindow::pixel(239, 44), GlTestWindow::pixel(239, 78),
                               GlTestWindow::pixel(205, 44)}) {
            EXPECT_GT(logo.r, 100);
            EXPECT_LT(logo.g, 100);
        }
        EXPECT_EQ((std::vector<Rgb>{GlTestWindow::pixel(239, 95), GlTestWindow::pixel(185, 44)}),
                  (std::vector<Rgb>{{0, 255, 0}, {0, 255, 0}}));
        // Text over the black quarter: the six labels at x 430, one or two words
        // long, with the gaps between them; the skin number "1" is one glyph.
        auto lit = [](int x, int y) {
            return GlTestWindow::pixel(GlTestWindow::textX(x), GlTestWindow::textY(y)) != Rgb{};
        };
        std::vector<bool> column;
        for (int y = 425; y >= 285; y -= 20) column.push_back(lit(435, y));
        EXPECT_EQ(column, (std::vector<bool>{true, true, false, true, true, false, true, true}));
        EXPECT_EQ((std::vector<bool>{lit(465, 425), lit(470, 405), lit(465, 285), lit(452, 285)}),
                  (std::vector<bool>{true, true, false, false}));
        // The credits line at (10, 10), over the blue quarter.
        EXPECT_GT(GlTestWindow::pixel(GlTestWindow::textX(12), GlTestWindow::textY(14)).r, 200);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
        // 18 s later the logo has turned 90 degrees about the vertical: edge on, unseen.
        EXPECT_GT(GlTestWindow::pixel(219, 44).r, 100);
        menu.update(18000);
        EXPECT_NEAR(menu.angle(), 90.0f, 1e-3f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        menu.draw();
        EXPECT_EQ(GlTestWindow::pixel(219, 44), (Rgb{0, 255, 0}));
    }
    EXPECT_EQ(textureStore.count(), textures);
}

// Only the low 8 bits count: F2 (283) is Escape, keypad minus (269) is Return.
TEST_F(MenuStateTest, ReturnStartsAFightAndEscapeStopsTheProgramByTheirLowBytes) {
    MenuState menu(&run);
    menu.keyDown('c');
    EXPECT_EQ(settings.mapIndex, 1);
    settings.mapIndex = 5;  // an invalid choice: the fight hands back to a new menu at once
    for (int key : {13, 269}) {
        const Output o = captureOutput([&] { menu.keyDown(key); });
        EXPECT_NE(o.err.find("Invalid mapID when starting engine\n"), std::string::npos) << key;
        EXPECT_NE(dynamic_cast<MenuState*>(run.state()), nullptr);
    }
    EXPECT_TRUE(run.running);
    menu.keyDown(283);
    EXPECT_FALSE(run.running);
}

}  // namespace
