// The default content through the game's own loaders: every fight drawn, a floor under every
// camera.
#include <gtest/gtest.h>

#include <algorithm>

#include "CaptureOutput.h"
#include "CharacterModelSet.h"
#include "ContentData.h"
#include "Creature.h"
#include "DataLocator.h"
#include "Display.h"
#include "FightModelCount.h"
#include "GameState.h"
#include "GlTestWindow.h"
#include "MapScene.h"
#include "Model.h"
#include "ModelStore.h"
#include "ScreenSize.h"
#include "Settings.h"

using namespace content;

namespace {

using ContentDrawingGl = GlTest;

bool anyTransparent(const Model* m) {
    const std::vector<Material>& all = m->frames[0]->materials;
    return std::any_of(all.begin(), all.end(), [](const Material& mat) { return mat.transparent; });
}

}  // namespace

// Every fight loaded as the game loads it: the model store then holds exactly what the model
// budget counts for the looks it got, and the level fills the view from the start. Camera mode 4
// keeps its eye at height 0 and looks level: everything below the middle row is floor, unless
// the floor lies at the eye's height and is seen edge-on.
TEST_F(ContentDrawingGl, EveryFightFillsTheViewAndCameraFourSeesItsFloor) {
    const Settings savedSettings = settings;
    const float savedWidth = screenWidth, savedHeight = screenHeight;
    const std::string base = dataDir();
    const char* savedDataDir = developmentDataDir;
    developmentDataDir = base.c_str();
    settings = records();
    settings.filledPolygons = 1;
    settings.textureQuality = 2;
    // The game's fog, light and culling; the screen size.
    captureOutput([] { initGl(GlTestWindow::WIDTH, GlTestWindow::HEIGHT); });
    constexpr int HUD_ROWS = 24;  // the text line at the bottom is the same in both frames
    for (int m = 0; m < settings.mapCount; ++m) {
        SCOPED_TRACE(settings.maps[m].name);
        settings.mapIndex = m;
        srand(7);
        std::vector<uint8_t> withFloor, without;
        int lit = 0;  // of the view from the start
        captureOutput([&] {
            GameState fight(nullptr);
            ASSERT_TRUE(fight.load());
            std::vector<CharacterSkin> looks;
            for (int i = 0; i < fight.objectCount; ++i)
                if (auto* c = dynamic_cast<Creature*>(fight.objects[i]))
                    looks.push_back(
                        {c->characterModels->characterIndex, c->characterModels->skinIndex});
            EXPECT_EQ(looks.size(), 7u);
            EXPECT_EQ(modelStore.count(), fightModelCount(fight.map, settings.characters.data(),
                                                          settings.characterCount, looks));
            auto* scene = dynamic_cast<MapScene*>(fight.objects[0]);
            ASSERT_NE(scene, nullptr);
            EXPECT_TRUE(!scene->roof || anyTransparent(scene->roof))
                << "a roof of glass or grating";
            GLfloat fog[4];  // the fight clears to its fog colour: black shows what is not drawn
            glGetFloatv(GL_COLOR_CLEAR_VALUE, fog);
            glClearColor(0, 0, 0, 0);
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            fight.draw();
            lit = GlTestWindow::litPixels();
            glClearColor(fog[0], fog[1], fog[2], fog[3]);
            fight.view.cameraMode = 4;
            Model* ground = scene->ground;
            for (std::vector<uint8_t>* frame : {&withFloor, &without}) {
                glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
                fight.draw();
                *frame = GlTestWindow::frame();
                scene->ground = nullptr;
            }
            scene->ground = ground;
        });
        EXPECT_GT(lit, GlTestWindow::WIDTH * GlTestWindow::HEIGHT * 9 / 10)
            << "the view from the start should be filled with the level";
        int floor = 0, seen = 0;
        for (int y = HUD_ROWS; y < GlTestWindow::HEIGHT / 2 - 2; ++y)
            for (int x = 0; x < GlTestWindow::WIDTH; ++x, ++seen) {
                const size_t at = 3 * (y * GlTestWindow::WIDTH + x);
                floor += !std::equal(&withFloor[at], &withFloor[at + 3], &without[at]);
            }
        EXPECT_GT(floor, seen * 9 / 10) << floor << " of " << seen << " pixels show the floor";
    }
    settings = savedSettings;
    screenWidth = savedWidth;
    screenHeight = savedHeight;
    developmentDataDir = savedDataDir;
}
