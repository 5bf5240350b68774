// Creature construction, damage and death, revival, and weapon switching.
#include "Creature.h"

#include <gtest/gtest.h>

#include <vector>

#include "CaptureOutput.h"
#include "FightFixtures.h"
#include "World.h"

using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

namespace {

struct CreatureTest : ::testing::Test {
    std::unique_ptr<Model> body = makeBodyModel();
    ProjectileModelsScope projectileModels;
    std::unique_ptr<Creature> creature;

    void SetUp() override {
        captureOutput(
            [&] { creature = std::make_unique<Creature>(nullptr, body.get(), creatureTypes[0]); });
    }
    // Runs n creature updates with the command fields as set (no controller).
    void updates(int n) {
        for (int i = 0; i < n; ++i) creature->update();
    }
};

TEST_F(CreatureTest, ConstructionDrawsDelayThenStartWeapon) {
    const std::vector<int> r = randsAfterSeed(77, 2);
    CaptureStdout();
    Creature fresh(nullptr, body.get(), creatureTypes[0]);
    const std::string out = GetCapturedStdout();  // after the weapons' model lines
    EXPECT_EQ(out.substr(out.rfind('\n', out.size() - 2) + 1), "New pelmo in game\n");
    EXPECT_EQ(fresh.delay, r[0] % 25);
    EXPECT_EQ(fresh.period, 25u);
    EXPECT_EQ(fresh.weaponIndex, r[1] % 5);
    EXPECT_EQ(fresh.currentWeapon, fresh.weapons[r[1] % 5].get());

    CreatureType fixed = creatureTypes[0];
    for (int start : {0, 4}) {
        fixed.startWeapon = start;
        const std::vector<int> s = randsAfterSeed(78, 2);
        CaptureStdout();
        Creature armed(nullptr, body.get(), fixed);
        GetCapturedStdout();
        EXPECT_EQ(armed.weaponIndex, start);
        EXPECT_EQ(rand(), s[1]);  // only the delay was drawn
    }
}

// Speed 1.1 taken at a share of 0.6, an impulse keeping 0.9 of itself; a
// creature is stopped by whatever it touches.
TEST_F(CreatureTest, MovesByItsRowAndBlocks) {
    creature->moveForward = 1;
    creature->impulse = {1, 0, 0};
    updates(1);
    EXPECT_FLOAT_EQ(creature->position.x, 0.9f);
    EXPECT_FLOAT_EQ(creature->position.z, -0.66f);
    EXPECT_TRUE(creature->onCollision(nullptr));
}

// The body model follows the creature's own movement flags.
TEST_F(CreatureTest, AnimationFollowsTheMovementFlags) {
    Model stand, walk, left, right;
    auto* look = new CharacterModelSet;
    look->standModel = &stand;
    look->walkModel = &walk;
    look->strafeLeftModel = &left;
    look->strafeRightModel = &right;
    creature->setCharacterModels(look);
    std::vector<Model*> shown;
    for (uint8_t Creature::*flag : {&Creature::moveForward, &Creature::moveBackward,
                                    &Creature::strafeLeft, &Creature::strafeRight}) {
        (*creature).*flag = 1;
        updates(1);
        (*creature).*flag = 0;
        shown.push_back(look->currentModel);
    }
    updates(1);
    shown.push_back(look->currentModel);
    EXPECT_EQ(shown, (std::vector<Model*>{&walk, &walk, &left, &right, &stand}));
    EXPECT_EQ(look->animationTime, 75);  // five updates, the backward one running it back
}

TEST_F(CreatureTest, DiesOnlyBelowZeroAndOnce) {
    creature->fire = creature->moveForward = creature->nextWeapon = 1;
    creature->yawRate = 5.0f;
    EXPECT_FALSE(creature->takeDamage(100));
    EXPECT_EQ(creature->health, 0);
    EXPECT_EQ(creature->alive, 1);

    CaptureStdout();
    EXPECT_TRUE(creature->takeDamage(1));
    EXPECT_EQ(GetCapturedStdout(), "Pelmo died\n");
    EXPECT_EQ(creature->alive, 0);
    EXPECT_EQ(creature->fire + creature->moveForward + creature->nextWeapon, 0);
    EXPECT_FLOAT_EQ(creature->yawRate, 0.0f);

    EXPECT_FALSE(creature->takeDamage(20));
    EXPECT_EQ(creature->health, -1);
}

TEST_F(CreatureTest, RespawnRevivesAtStartWithFullHealthAndAmmo) {
    creature->setCharacterModels(new CharacterModelSet);
    creature->heading = 33.0f;
    creature->currentWeapon->ammo = 0;
    creature->weaponSwitchCooldown = 200;
    creature->respawn = 1;
    updates(1);  // alive: not moved back to the start
    EXPECT_EQ(creature->position.z, 0.0f);
    CaptureStdout();
    creature->takeDamage(500);
    creature->velocity = {0.5f, 0, 0};
    creature->respawn = creature->fire = 1;
    creature->update();
    EXPECT_EQ(GetCapturedStdout(), "Pelmo died\nPelmo revived\n");
    EXPECT_EQ(creature->alive, 1);
    EXPECT_EQ(creature->health, 100);
    EXPECT_EQ(creature->weaponSwitchCooldown, 0);
    // The weapon and the animation had their turn before the revival.
    EXPECT_EQ(creature->currentWeapon->ammo, creature->currentWeapon->type.ammo);
    EXPECT_TRUE(creature->characterModels->dying);
    EXPECT_FLOAT_EQ(creature->position.z, -50.0f);
    EXPECT_FLOAT_EQ(creature->heading, 33.0f);
    EXPECT_GT(creature->velocity.x, 0.0f);
}

// Switching comes first in an update, and only the current weapon counts down and fires.
TEST_F(CreatureTest, OnlyTheCurrentWeaponRunsAndAWeaponKeepsItsCooldownWhileAway) {
    auto state = [&](auto field) {
        std::vector<int> values;
        for (auto& w : creature->weapons) values.push_back((*w).*field);
        return values;
    };
    for (auto& w : creature->weapons) w->cooldown = 100;
    creature->weapons[0]->cooldown = 0;
    creature->weaponIndex = 4;
    creature->currentWeapon = creature->weapons[4].get();
    creature->nextWeapon = creature->fire = 1;
    updates(1);  // to weapon 0, which fires at once
    creature->fire = 0;
    creature->weaponSwitchCooldown = 0;
    updates(1);  // to weapon 1
    creature->nextWeapon = 0;
    creature->previousWeapon = 1;
    creature->weaponSwitchCooldown = 0;
    updates(1);  // back to weapon 0
    EXPECT_EQ(state(&Weapon::cooldown), (std::vector<int>{125, 75, 100, 100, 100}));
    EXPECT_EQ(state(&Weapon::ammo), (std::vector<int>{199, 200, 200, 2000, 200}));
}

TEST_F(CreatureTest, HeldSwitchStepsOnceEvery21Updates) {
    creature->weaponIndex = 4;
    creature->nextWeapon = 1;
    updates(1);
    EXPECT_EQ(creature->weaponIndex, 0);  // 4 wraps to 0 at once
    EXPECT_EQ(creature->currentWeapon, creature->weapons[0].get());
    updates(7);
    EXPECT_EQ(creature->weaponIndex, 0);
    updates(13);
    EXPECT_EQ(creature->weaponIndex, 0);
    updates(1);  // 525 ms after the first switch
    EXPECT_EQ(creature->weaponIndex, 1);

    creature->previousWeapon = 1;  // next wins when both are held
    updates(21);
    EXPECT_EQ(creature->weaponIndex, 2);
    creature->nextWeapon = 0;
    creature->weaponIndex = 0;
    updates(21);
    EXPECT_EQ(creature->weaponIndex, 4);
    creature->previousWeapon = 0;
    updates(30);
    EXPECT_EQ(creature->weaponIndex, 4);
}

}  // namespace
