// What a creature and a projectile are made of and put on screen: read back from a real window.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "../world/FightFixtures.h"
#include "CaptureOutput.h"
#include "Creature.h"
#include "GlTestWindow.h"
#include "MeshFixtures.h"
#include "ModelStore.h"
#include "Projectile.h"
#include "TdsWriter.h"
#include "TestFiles.h"
#include "ViewFrustum.h"

namespace {

const Rgb RED{255, 0, 0}, GREEN{0, 255, 0}, BLUE{0, 0, 255}, WHITE{255, 255, 255},
    YELLOW{255, 255, 0}, BLACK{0, 0, 0};
constexpr float DEPTH = 10.0f;  // creatures stand this far in front of the camera

// A one-frame model: a unit triangle centred on (dx, dy) in the model's plane z = 0.
std::unique_ptr<Model> markerModel(Rgb colour, float dx, float dy) {
    auto mesh = std::make_unique<Mesh>();
    mesh->materials.push_back(colourMaterial(colour.r, colour.g, colour.b));
    MeshObject o = triangle(0.0f, 0);
    o.vertices = {{dx - 0.5f, dy - 0.5f, 0}, {dx + 0.5f, dy - 0.5f, 0}, {dx, dy + 0.5f, 0}};
    mesh->objects.push_back(o);
    finish(*mesh, LISTS_NONE);
    auto model = std::make_unique<Model>();
    model->frames.push_back(std::move(mesh));
    model->loaded = true;
    return model;
}

// A triangle file h units tall at x and z from 1 to 2: mirroring shows on every axis.
bool saveMarkerFile(const TempDir& dir, const std::string& name, float h) {
    TdsScene scene;
    TdsObject o;
    o.name = "marker";
    o.vertices = {gameToFile(1, 0, 1), gameToFile(2, 0, 1), gameToFile(1, h, 2)};
    o.faces = {0, 1, 2};
    scene.objects.push_back(o);
    return saveTds(scene, dir.file(name));
}

// Which file (by its height), mirrored or not, skin and list mode.
std::string describe(const Model* m) {
    if (m == nullptr) return "none";
    const bool mirroredYZ = m->boundsMin.y < 0 || m->boundsMin.z < 0;
    return "h" + std::to_string(int(m->boundsMax.y)) + (m->boundsMin.x < 0 ? " mirrored " : " ") +
           m->replacementTexture + " lists " + std::to_string(m->listMode) +
           (mirroredYZ ? " mirrored in y or z" : "");
}

// Screen colour at the marker centred on (dx, dy) of a model drawn DEPTH ahead.
Rgb at(float dx, float dy) {
    const float pixelsPerUnit = (GlTestWindow::HEIGHT / 2) / (DEPTH * 0.41421356f);
    return GlTestWindow::pixel(int(GlTestWindow::WIDTH / 2 + dx * pixelsPerUnit),
                               int(GlTestWindow::HEIGHT / 2 + (dy - 0.1f) * pixelsPerUnit));
}

class FightDrawGl : public GlTest {
protected:
    std::unique_ptr<Model> arms = markerModel(RED, -2, 1.5f);
    std::unique_ptr<Model> body = markerModel(GREEN, 2, 1.5f);
    std::unique_ptr<Model> extra = markerModel(BLUE, -2, -1.5f);
    std::unique_ptr<Model> gun = markerModel(YELLOW, 2, -1.5f);
    std::unique_ptr<Model> death = markerModel(WHITE, 0, 0);
    std::unique_ptr<Creature> creature;

    void SetUp() override {
        GlTest::SetUp();
        GlTestWindow::perspectiveCamera();
        viewFrustum.updateFrustum();
        captureOutput(
            [&] { creature = std::make_unique<Creature>(nullptr, body.get(), creatureTypes[0]); });
        creature->position = {0, 0, -DEPTH};
        Weapon& weapon = *creature->currentWeapon;
        modelStore.releaseModel(weapon.model);
        weapon.model = gun.get();
    }
    void TearDown() override {
        creature.reset();
        GlTest::TearDown();
    }
    void giveLook() {
        auto* look = new CharacterModelSet;
        look->armModels[creature->currentWeapon->armsIndex()] = arms.get();
        look->standModel = body.get();
        look->extraModel = extra.get();
        look->deathModel = death.get();
        creature->setCharacterModels(look);
    }
};

TEST_F(FightDrawGl, LivingCreatureShowsWeaponArmsBodyAndExtra) {
    creature->draw();  // without a look: the body model alone
    EXPECT_EQ(GREEN, at(2, 1.5f));
    GlTestWindow::resetState();
    GlTestWindow::perspectiveCamera();
    giveLook();
    creature->characterModels->selectAnimation(25, false, false, false, false, 100);
    creature->draw();
    EXPECT_EQ(RED, at(-2, 1.5f));
    EXPECT_EQ(GREEN, at(2, 1.5f));
    EXPECT_EQ(BLUE, at(-2, -1.5f));
    EXPECT_EQ(YELLOW, at(2, -1.5f));
    EXPECT_EQ(BLACK, at(0, 0));
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
}

TEST_F(FightDrawGl, DyingCreatureShowsOnlyItsDeathModel) {
    giveLook();
    creature->characterModels->selectAnimation(25, false, false, false, false, -5);
    creature->draw();
    EXPECT_EQ(WHITE, at(0, 0));
    for (auto [x, y] : {std::pair{-2.0f, 1.5f}, {2.0f, 1.5f}, {-2.0f, -1.5f}, {2.0f, -1.5f}})
        EXPECT_EQ(BLACK, at(x, y));
}

TEST_F(FightDrawGl, ProjectileIsDrawnUnlitAndLeavesLightingOn) {
    Model* saved = projectileModels[0];
    projectileModels[0] = death.get();
    auto* shot = new Projectile(nullptr, 0, creature.get());
    projectileModels[0] = saved;
    shot->position = {0, 0, -DEPTH};
    glEnable(GL_LIGHTING);
    shot->draw();
    EXPECT_EQ(WHITE, at(0, 0));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    shot->kill();  // without a world it is deleted at once
}

TEST_F(FightDrawGl, CharacterModelsAreTheCharactersFilesInTheChosenSkin) {
    TempDir dir;
    ScopedWorkingDir cwd(dir.path());
    CharacterInfo c;
    c.skinCount = 3;
    const std::pair<char*, const char*> names[] = {
        {c.standModelName, "stand.3ds"},   {c.walkModelName, "walk.3ds"},
        {c.strafeModelName, "strafe.3ds"}, {c.diagonalModelName, "diagonal.3ds"},
        {c.deathModelName, "death.3ds"},   {c.extraModelName, "extra.3ds"},
        {c.armModelPattern, "arm%d.3ds"},  {c.skinTexturePattern, "skin%d.bmp"}};
    for (auto [field, name] : names) std::snprintf(field, INFO_TEXT_SIZE, "%s", name);
    int h = 1;
    for (const char* file :
         {"stand.3ds", "walk.3ds", "strafe.3ds", "diagonal.3ds", "death.3ds", "extra.3ds",
          "arm0.3ds", "arm1.3ds", "arm2.3ds", "arm3.3ds", "arm4.3ds", "arm5.3ds"})
        ASSERT_TRUE(saveMarkerFile(dir, file, float(h++)));
    CharacterModelSet set;
    captureOutput([&] { set.load(&c, 1, 0, 1); });
    std::vector<std::string> seen;
    for (const Model* m :
         {set.standModel, set.walkModel, set.strafeRightModel, set.strafeLeftModel,
          set.diagonalRightModel, set.diagonalLeftModel, set.deathModel, set.extraModel})
        seen.push_back(describe(m));
    for (const Model* m : set.armModels) seen.push_back(describe(m));
    EXPECT_EQ(seen,
              (std::vector<std::string>{
                  "h1 skin2.bmp lists 2", "h2 skin2.bmp lists 2", "h3 skin2.bmp lists 2",
                  "h3 mirrored skin2.bmp lists 2", "h4 skin2.bmp lists 2",
                  "h4 mirrored skin2.bmp lists 2", "h5 skin2.bmp lists 2", "h6  lists 1",
                  "h7 skin2.bmp lists 2", "h8 skin2.bmp lists 2", "h9 skin2.bmp lists 2",
                  "h10 skin2.bmp lists 2", "h11 skin2.bmp lists 2", "h12 skin2.bmp lists 2"}));
}

// Weapons and projectile types hold their models unmirrored, as whole-mesh
// lists, and give them back.
TEST_F(FightDrawGl, WeaponAndProjectileModelsAreUnmirroredWholeMeshModels) {
    creature.reset();  // its weapons hold the data folder's w1.3ds to w5.3ds
    TempDir dir;
    ScopedWorkingDir cwd(dir.path());
    ASSERT_TRUE(saveMarkerFile(dir, "zat.3ds", 1));
    ASSERT_TRUE(saveMarkerFile(dir, "w2.3ds", 2));
    const int before = modelStore.count();
    captureOutput(loadProjectileModels);
    EXPECT_EQ(describe(projectileModels[0]), "h1  lists 2");
    for (const Model* m : projectileModels) EXPECT_EQ(m, projectileModels[0]);
    releaseProjectileModels();
    for (const Model* m : projectileModels) EXPECT_EQ(m, nullptr);
    {
        std::unique_ptr<Weapon> weapon;
        captureOutput([&] { weapon = std::make_unique<Weapon>(nullptr, 1, nullptr); });
        EXPECT_EQ(describe(weapon->model), "h2  lists 2");
    }
    EXPECT_EQ(modelStore.count(), before);
}

}  // namespace
