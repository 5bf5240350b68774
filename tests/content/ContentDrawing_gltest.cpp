// The default content through the game's own loaders: every texture found, every map drawn,
// a floor under every camera.
#include <GL/glu.h>
#include <gtest/gtest.h>

#include "CaptureOutput.h"
#include "CharacterModelSet.h"
#include "ContentData.h"
#include "Creature.h"
#include "DataLocator.h"
#include "Display.h"
#include "GameState.h"
#include "GlTestWindow.h"
#include "MapScene.h"
#include "Model.h"
#include "ModelStore.h"
#include "Settings.h"
#include "TextureStore.h"
#include "TransparentQueue.h"
#include "ViewFrustum.h"
#include "WorstFight.h"

using namespace content;

namespace {

class ContentDrawingGl : public GlTest {
protected:
    std::string base = dataDir();
    const char* saved = developmentDataDir;

    void SetUp() override {
        GlTest::SetUp();
        developmentDataDir = base.c_str();
        textureStore.setTextureQuality(2);
    }
    void TearDown() override {
        GlTest::TearDown();
        developmentDataDir = saved;
    }

    // Loads a model as the game does and checks that each textured material
    // found its texture; returns the model (released by the caller).
    Model* load(const std::string& name, const char* skin = "",
                DisplayListMode mode = LISTS_PER_OBJECT) {
        Model* m = modelStore.getModel(name.c_str(), skin, "", mode, false, false, false);
        EXPECT_NE(m, nullptr) << name;
        if (!m) return nullptr;
        for (const auto& frame : m->frames) {
            EXPECT_GT(frame->objectCount(), 0) << name;
            for (const Material& mat : frame->materials) {
                if (!mat.textureFile.empty()) {
                    EXPECT_NE(mat.textureSlot, -1) << name << ": " << mat.textureFile;
                }
            }
        }
        return m;
    }
};

bool anyTransparent(const Model* m) {
    for (const Material& mat : m->frames[0]->materials)
        if (mat.transparent) return true;
    return false;
}

}  // namespace

TEST_F(ContentDrawingGl, EveryMapLoadsItsTexturesAndFillsTheViewFromTheStart) {
    for (const MapFile& map : maps()) {
        SCOPED_TRACE(map.name);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(45.0, 1.0, 1.0, 3000.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        // Behind the start point, looking where the player looks at first.
        gluLookAt(0, 10, 0, 0, 4, -60, 0, 1, 0);
        viewFrustum.updateFrustum();
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_CULL_FACE);
        std::vector<Model*> models;
        if (map.sky != "nosky")
            models.push_back(load("sky.3ds", map.sky.c_str(), LISTS_WHOLE_MESH));
        models.push_back(load(map.level));
        if (map.roof != "noroof") {
            models.push_back(load(map.roof));
            if (models.back()) {
                EXPECT_TRUE(anyTransparent(models.back())) << "a roof with glass or grating";
            }
        }
        if (map.ground != "noground") models.push_back(load(map.ground));
        for (Model* m : models)
            if (m) m->draw(0, 0, 0);
        transparentQueue.flush();
        EXPECT_GT(GlTestWindow::litPixels(), GlTestWindow::WIDTH * GlTestWindow::HEIGHT * 9 / 10)
            << "the view from the start should be filled with the level";
        for (Model* m : models) modelStore.releaseModel(m);
    }
}

TEST_F(ContentDrawingGl, EveryCharacterModelTakesEachSkin) {
    for (const CharacterFile& c : characters()) {
        SCOPED_TRACE(c.name);
        for (int k = 1; k <= c.skinCount; ++k) {
            const std::string skin = fill(c.skinPattern, k);
            std::vector<std::string> names = {c.stand, c.death};
            if (k == 1) names.insert(names.end(), {c.walk, c.strafe, c.diagonal});
            for (int pose = 0; pose < 6; ++pose) names.push_back(fill(c.armPattern, pose));
            for (const std::string& name : names) {
                Model* m = load(name, skin.c_str(), LISTS_WHOLE_MESH);
                if (!m) continue;
                const TextureEntry* e = textureStore.entry(m->frames[0]->materials[0].textureSlot);
                ASSERT_NE(e, nullptr) << name;
                EXPECT_EQ(std::string(e->name), skin) << name << " does not wear the skin";
                modelStore.releaseModel(m);
            }
        }
        Model* extra = load(c.extra);
        modelStore.releaseModel(extra);
    }
}

// Camera mode 4 keeps its eye at height 0 and looks level: everything below
// the middle row is floor, unless the floor lies at the eye's height and is
// seen edge-on. The fight is loaded as the game loads it, and the model store
// then holds exactly what the model budget counts for the looks it got.
TEST_F(ContentDrawingGl, CameraFourSeesTheFloorOfEveryMapAndTheStoreHoldsWhatWasCounted) {
    const Settings savedSettings = settings;
    const float savedWidth = screenWidth, savedHeight = screenHeight;
    screenWidth = GlTestWindow::WIDTH;
    screenHeight = GlTestWindow::HEIGHT;
    settings = Settings();
    settings.filledPolygons = 1;
    settings.textureQuality = 2;
    captureOutput([] {
        settings.loadContentLists();
        initGl(GlTestWindow::WIDTH, GlTestWindow::HEIGHT);  // the game's fog, light and culling
    });
    constexpr int HUD_ROWS = 24;  // the text line at the bottom is the same in both frames
    for (int m = 0; m < settings.mapCount; ++m) {
        SCOPED_TRACE(settings.maps[m].name);
        settings.mapIndex = m;
        srand(7);
        std::vector<uint8_t> withFloor, without;
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
            fight.view.cameraMode = 4;
            auto* scene = dynamic_cast<MapScene*>(fight.objects[0]);
            ASSERT_NE(scene, nullptr);
            Model* ground = scene->ground;
            for (std::vector<uint8_t>* frame : {&withFloor, &without}) {
                glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
                fight.draw();
                *frame = GlTestWindow::frame();
                scene->ground = nullptr;
            }
            scene->ground = ground;
        });
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
}

TEST_F(ContentDrawingGl, MenuLogoDrawsWhereTheMenuPutsIt) {
    Model logo;
    ASSERT_TRUE(logo.load("logo.3ds", LISTS_NONE, false, false, false));
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 4.0 / 3.0, 1.0, 3000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    viewFrustum.updateFrustum();
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glTranslatef(0, 0, -2.2f);
    glTranslatef(8, -6, -20);
    glScalef(1.4f, 1.4f, 1.4f);
    logo.draw(8, -6, -20);
    // The logo sits in the lower right quarter and fits inside the window.
    const std::vector<uint8_t> frame = GlTestWindow::frame();
    int inside = 0, outside = 0;
    for (int y = 0; y < GlTestWindow::HEIGHT; ++y)
        for (int x = 0; x < GlTestWindow::WIDTH; ++x) {
            const uint8_t* p = &frame[3 * (y * GlTestWindow::WIDTH + x)];
            if (p[0] + p[1] + p[2] == 0) continue;
            (x > GlTestWindow::WIDTH / 2 && y < GlTestWindow::HEIGHT / 2 ? inside : outside)++;
            EXPECT_TRUE(x > 0 && x < GlTestWindow::WIDTH - 1)
                << "the logo is cut at the window's edge";
            if (x == 0 || x == GlTestWindow::WIDTH - 1) return;
        }
    EXPECT_GT(inside, 500);
    EXPECT_EQ(outside, 0);
}
