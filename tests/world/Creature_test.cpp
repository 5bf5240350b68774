// Creature construction, damage and death, revival, weapon switching; which body model a
// creature shows and how its animation clock runs; the creation sequences of the fight's
// creatures and their order of random draws.
#include "Creature.h"

#include <gtest/gtest.h>

#include <vector>

#include "AIController.h"
#include "CharacterModelSet.h"
#include "CreatureFactory.h"
#include "FightFixtures.h"
#include "KeyboardController.h"

using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

namespace {

struct CreatureTest : ::testing::Test {
    std::unique_ptr<Model> body = makeBodyModel();
    ProjectileModelsScope projectileModels;
    std::unique_ptr<Creature> creature;
    CharacterInfo characters[3];  // with 2, 3 and 4 skins

    void SetUp() override {
        captureOutput(
            [&] { creature = std::make_unique<Creature>(nullptr, body.get(), creatureTypes[0]); });
        for (int i = 0; i < 3; ++i) characters[i].skinCount = i + 2;
    }
    Creature* computer() {
        Creature* made = nullptr;
        captureOutput([&] { made = createComputerCreature(nullptr, body.get(), characters, 3); });
        return made;
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
    EXPECT_EQ((std::vector<int>{fresh.delay, int(fresh.period), fresh.weaponIndex}),
              (std::vector<int>{r[0] % 25, 25, r[1] % 5}));
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
    // The weapon and the animation had their turn before the revival.
    const Weapon& weapon = *creature->currentWeapon;
    EXPECT_EQ((std::vector<int>{creature->alive, creature->health, creature->weaponSwitchCooldown,
                                weapon.ammo}),
              (std::vector<int>{1, 100, 0, weapon.type.ammo}));
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

// 525 ms between steps; next wins when both are held.
TEST_F(CreatureTest, HeldSwitchStepsOnceEvery21Updates) {
    std::vector<int> seen;
    auto after = [&](int n) {
        updates(n);
        seen.push_back(creature->weaponIndex);
    };
    creature->weaponIndex = 4;
    creature->nextWeapon = 1;
    after(1);  // 4 wraps to 0 at once
    EXPECT_EQ(creature->currentWeapon, creature->weapons[0].get());
    for (int n : {7, 13, 1}) after(n);
    creature->previousWeapon = 1;
    after(21);
    creature->nextWeapon = 0;
    creature->weaponIndex = 0;
    after(21);
    creature->previousWeapon = 0;
    after(30);
    EXPECT_EQ(seen, (std::vector<int>{0, 0, 0, 1, 2, 4, 4}));
}

TEST_F(CreatureTest, ComputerCreatureDrawsCharacterBodySkinThenPlace) {
    const std::vector<int> r = randsAfterSeed(99, 7);
    std::unique_ptr<Creature> creature(computer());
    ASSERT_NE(creature, nullptr);
    const int character = r[0] % 3;
    EXPECT_EQ(creature->characterModels->characterIndex, character);
    EXPECT_EQ(creature->weaponIndex, r[2] % 5);  // r[1] is the start delay
    EXPECT_EQ(rand(), r[6]) << "exactly six draws";
    EXPECT_FLOAT_EQ(creature->position.x, float(10 - r[4] % 20));  // r[3] is the skin
    EXPECT_FLOAT_EQ(creature->position.z, float(-10 - r[5] % 35));
    EXPECT_NE(dynamic_cast<AIController*>(creature->controller), nullptr);
}

TEST_F(CreatureTest, PlayerStartsAtStartPointWithKeyboard) {
    std::unique_ptr<Creature> player;
    captureOutput(
        [&] { player.reset(createPlayerCreature(nullptr, body.get(), characters, 3, 2, 1)); });
    EXPECT_EQ(player->characterModels->characterIndex, 2);
    EXPECT_FLOAT_EQ(player->position.z, -50.0f);
    EXPECT_NE(dynamic_cast<KeyboardController*>(player->controller), nullptr);
}

TEST_F(CreatureTest, NoCharactersNoComputerCreatureAndNoSkinsNoDraw) {
    EXPECT_EQ(createComputerCreature(nullptr, body.get(), characters, 0), nullptr);
    for (CharacterInfo& c : characters) c.skinCount = 0;
    const std::vector<int> r = randsAfterSeed(5, 6);
    std::unique_ptr<Creature> creature(computer());
    EXPECT_FLOAT_EQ(creature->position.x, float(10 - r[3] % 20));
}

struct AnimationTest : ::testing::Test {
    Model stand, walk, strafeLeft, strafeRight, diagonalLeft, diagonalRight;
    CharacterModelSet set;

    void SetUp() override {
        set.standModel = &stand;
        set.walkModel = &walk;
        set.strafeLeftModel = &strafeLeft;
        set.strafeRightModel = &strafeRight;
        set.diagonalLeftModel = &diagonalLeft;
        set.diagonalRightModel = &diagonalRight;
    }
    Model* pick(bool forward, bool backward, bool left, bool right) {
        set.selectAnimation(25, forward, backward, left, right, 100);
        return set.currentModel;
    }
};

TEST_F(AnimationTest, MovementChoosesBodyModel) {
    std::vector<Model*> shown;
    for (int walking : {0, 1, 2})   // still, forward, backward
        for (int side : {0, 1, 2})  // no strafe, left, right
            shown.push_back(pick(walking == 1, walking == 2, side == 1, side == 2));
    // Walking backward swaps the strafe sides.
    EXPECT_EQ(shown, (std::vector<Model*>{&stand, &strafeLeft, &strafeRight, &walk, &diagonalLeft,
                                          &diagonalRight, &walk, &diagonalRight, &diagonalLeft}));
}

TEST_F(AnimationTest, ClockRunsBackwardWalkingBackAndDeathStartsFromZeroOnce) {
    std::vector<int> seen;  // the clock and the dying flag after each step
    auto step = [&](int ms, bool forward, bool backward, int health) {
        set.selectAnimation(ms, forward, backward, false, false, health);
        seen.insert(seen.end(), {set.animationTime, set.dying});
    };
    step(25, false, true, 100);
    step(50, false, false, 100);  // standing still advances too
    step(25, true, false, 0);
    step(25, false, false, -10);
    step(25, false, false, -10);
    step(25, false, false, 100);
    EXPECT_EQ(seen, (std::vector<int>{-25, 0, 25, 0, 50, 0, 25, 1, 50, 1, 75, 0}));
}

TEST(CharacterModelSetLoad, UnknownCharacterFallsBackToFirstAndEmptyTableLoadsNothing) {
    CharacterInfo characters[2];
    characters[0].skinCount = 2;
    characters[1].skinCount = 3;
    CharacterModelSet set;
    EXPECT_TRUE(set.load(characters, 2, 1, 0));
    EXPECT_EQ(set.characterIndex, 1);
    for (int bad : {2, -1}) {
        CharacterModelSet other;
        EXPECT_TRUE(other.load(characters, 2, bad, 0));
        EXPECT_EQ(other.characterIndex, 0);
        EXPECT_EQ(other.character.skinCount, 2);
    }
    CharacterModelSet none;
    EXPECT_FALSE(none.load(characters, 0, 0, 0));
    EXPECT_FALSE(none.load(nullptr, 2, 0, 0));
}

}  // namespace
