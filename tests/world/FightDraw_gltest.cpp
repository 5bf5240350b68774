// What a creature and a projectile put on screen: read back from a real window.
#include <gtest/gtest.h>

#include "../world/FightFixtures.h"
#include "CaptureOutput.h"
#include "Creature.h"
#include "GlTestWindow.h"
#include "MeshFixtures.h"
#include "ModelStore.h"
#include "Projectile.h"
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
    giveLook();
    creature->characterModels->selectAnimation(25, false, false, false, false, 100);
    creature->draw();
    EXPECT_EQ(RED, at(-2, 1.5f));
    EXPECT_EQ(GREEN, at(2, 1.5f));
    EXPECT_EQ(BLUE, at(-2, -1.5f));
    EXPECT_EQ(YELLOW, at(2, -1.5f));
    EXPECT_EQ(BLACK, at(0, 0));
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

}  // namespace
