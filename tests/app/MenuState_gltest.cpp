// The menu screen drawn for real: background picture, turning logo, labels; quitting.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "BitmapFont.h"
#include "CaptureOutput.h"
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
        // Past the counts lie a map and a character the menu must not show.
        settings.maps.assign(3, MapInfo{});
        for (MapInfo& m : settings.maps) std::snprintf(m.name, INFO_TEXT_SIZE, "Arena");
        settings.mapCount = 2;
        settings.characters.assign(2, CharacterInfo{});
        for (CharacterInfo& c : settings.characters) {
            std::snprintf(c.name, INFO_TEXT_SIZE, "Pelmo");
            c.skinCount = 2;
        }
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
TEST_F(MenuStateTest, DrawsBackgroundAndTurningLogoWhereTheyBelong) {
    textureStore.setTextureQuality(0);  // nearest texels: quarters meet without blending
    const int textures = textureStore.count();
    auto px = &GlTestWindow::pixel;
    glMatrixMode(GL_PROJECTION);
    glTranslatef(3, 0, 0);  // a projection left over: the menu's replaces it
    {
        MenuState menu(&run);
        EXPECT_EQ(textureStore.count(), textures + 1);
        EXPECT_EQ(GlTestWindow::projection(), GlTestWindow::perspective(45, 1, 1, 3000));
        glTranslatef(100, 0, 0);  // drawing starts from the identity
        menu.draw();
        // The logo turns in the lower right: (8, -6) at 22.2 units deep, 1.4 times its size, so
        // its edges are 39 pixels from its middle: it shows just inside them, the background
        // just outside.
        for (const Rgb logo : {px(239, 44), px(239, 78), px(205, 44)})
            EXPECT_TRUE(logo.r > 100 && logo.g < 100) << "the logo's red";
        EXPECT_EQ((std::vector<Rgb>{px(239, 95), px(185, 44)}),
                  (std::vector<Rgb>{{0, 255, 0}, {0, 255, 0}}))
            << "the background beside the logo";
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
        // 18 s later the logo has turned 90 degrees about the vertical: edge on, unseen.
        EXPECT_GT(px(219, 44).r, 100);
        menu.update(18000);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        menu.draw();
        EXPECT_EQ(px(219, 44), (Rgb{0, 255, 0}));
        // Seen wider (2 units each way at 1 deep) the whole picture shows, upright, left on the
        // left: 36 x 28 units at 32.2 deep, its edges 35.8 and 27.8 pixels from the middle.
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glFrustum(-2, 2, -2, 2, 1, 3000);
        glMatrixMode(GL_MODELVIEW);
        glClearColor(0.5f, 0.5f, 0.5f, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        menu.draw();
        const Rgb grey{128, 128, 128}, red{255, 0, 0}, black{}, blue{0, 0, 255}, green{0, 255, 0};
        EXPECT_EQ(
            (std::vector<Rgb>{px(92, 155), px(91, 155), px(92, 156), px(163, 155), px(164, 155),
                              px(163, 156), px(92, 100), px(91, 100), px(92, 99), px(163, 100),
                              px(164, 100), px(163, 99), px(99, 122)}),
            (std::vector<Rgb>{red, grey, grey, black, grey, grey, blue, grey, grey, green, grey,
                              grey, blue}))
            << "each corner (top left, top right, bottom left, bottom right) just inside, then "
               "beside and above or below it; a tenth in from the left, 0.4 up";
    }
    EXPECT_EQ(textureStore.count(), textures);
}

// Drawn 1:1 on the virtual 640 x 480 screen (the viewport moved so that the part looked at
// lies in the window), each label's first glyph starts at its position: the pixel there is
// lit, those left of and below it are not. Names show for a selection inside the lists
// (the last map), not one past them; the skin number 1 is one glyph wide.
TEST_F(MenuStateTest, LabelsStartAtTheirPositions) {
    MenuState menu(&run);
    settings.skinIndex = 1;
    const struct {
        int x, y;
        bool named;
    } labels[] = {{430, 420, false}, {430, 400, true},  {430, 360, false}, {430, 340, true},
                  {430, 300, false}, {430, 280, false}, {10, 10, false}};
    auto lit = [](int x, int y) { return GlTestWindow::pixel(x, y).r > 100; };
    for (bool inside : {true, false}) {
        settings.mapIndex = inside ? 1 : 2;
        settings.characterIndex = inside ? 0 : 1;
        for (const auto& l : labels) {
            const std::string at = std::to_string(l.x) + ", " + std::to_string(l.y) +
                                   (inside ? "" : " past the lists");
            glViewport(20 - l.x, 20 - l.y, 640, 480);
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            menu.draw();
            EXPECT_EQ(lit(20, 20), inside || !l.named) << at;
            EXPECT_FALSE(lit(19, 20) || lit(20, 19)) << at << ": left of it or below";
            EXPECT_FALSE(l.y == 280 && lit(36, 20)) << at << ": a second glyph";
        }
    }
}

// Only the low 8 bits count: F2 (283) is Escape, keypad minus (269) is Return.
TEST_F(MenuStateTest, ReturnStartsAFightAndEscapeStopsTheProgramByTheirLowBytes) {
    MenuState menu(&run);
    menu.keyUp(13);  // a release does nothing
    EXPECT_EQ(run.state(), nullptr);
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
