// Firing cadence, ammunition, spread, recoil and refused shots.
#include <gtest/gtest.h>

#include "../world/FightFixtures.h"
#include "CaptureOutput.h"

namespace {

struct WeaponTest : FightWorldTest {
    Creature* shooter = addCreature();

    Weapon& weapon(int index) { return *shooter->weapons[index]; }
    // Updates of 25 ms with the trigger held at which a shot left.
    std::vector<int> shotUpdates(Weapon& w, int updates) {
        std::vector<int> shots;
        for (int i = 1; i <= updates; ++i) {
            const int before = w.ammo;
            w.update(25, true);
            if (w.ammo != before) shots.push_back(i);
        }
        return shots;
    }
};

TEST_F(WeaponTest, HeldTriggerFiresAtReloadCadence) {
    EXPECT_EQ(shotUpdates(weapon(0), 13), (std::vector<int>{1, 7, 13}));   // 150 ms
    EXPECT_EQ(shotUpdates(weapon(1), 29), (std::vector<int>{1, 15, 29}));  // 350 ms
    EXPECT_EQ(shotUpdates(weapon(2), 17), (std::vector<int>{1, 9, 17}));   // 200 ms
    EXPECT_EQ(world->objectCount, 1 + 9);
}

TEST_F(WeaponTest, ShotLeavesAtMuzzleWithWholeDegreeSpread) {
    shooter->position = {3, 0, -7};
    shooter->heading = 90.0f;
    const std::vector<int> r = randsAfterSeed(4, 2);
    weapon(3).update(25, true);
    Projectile* shot = lastShot();
    EXPECT_EQ(shot->typeIndex, 4);
    EXPECT_EQ(shot->moveForward, 1);
    EXPECT_EQ(shot->shooter(), shooter);
    EXPECT_FLOAT_EQ(shot->position.x, 3.0f);
    EXPECT_FLOAT_EQ(shot->position.y, 4.0f);
    EXPECT_FLOAT_EQ(shot->heading, 90.0f + (r[1] % 5 - 2));  // r[0] is the shot's delay
    bool seen[5] = {};
    for (int i = 0; i < 200; ++i) {
        weapon(3).cooldown = 0;
        weapon(3).update(25, true);
        const float offset = lastShot()->heading - 90.0f;
        ASSERT_EQ(offset, float(int(offset)));
        ASSERT_GE(offset, -2.0f);
        ASSERT_LE(offset, 2.0f);
        seen[int(offset) + 2] = true;
    }
    for (bool s : seen) EXPECT_TRUE(s);
}

TEST_F(WeaponTest, RecoilPushesShooterVelocityAgainstTheShot) {
    weapon(1).update(25, true);  // Weapon2 at heading 0 faces -z
    EXPECT_FLOAT_EQ(shooter->velocity.z, 2.0f);
    EXPECT_NEAR(shooter->velocity.x, 0.0f, 1e-6);
    shooter->velocity = {};
    shooter->heading = 90.0f;  // faces +x
    weapon(2).update(25, true);
    EXPECT_NEAR(shooter->velocity.x, -1.0f, 1e-6);
    EXPECT_NEAR(shooter->velocity.z, 0.0f, 1e-6);
}

TEST_F(WeaponTest, EmptyWeaponStaysSilentUntilRefilled) {
    Weapon& w = weapon(0);
    w.ammo = 1;
    w.update(25, true);
    EXPECT_EQ(w.ammo, 0);
    const int count = world->objectCount;
    for (int i = 0; i < 20; ++i) w.update(25, true);
    EXPECT_EQ(world->objectCount, count);
    EXPECT_LE(w.cooldown, 0);  // keeps running down
    captureOutput([&] { shooter->revive(0, 0, -50); });
    EXPECT_EQ(w.ammo, 200);
    w.update(25, true);
    EXPECT_EQ(world->objectCount, count + 1);
}

TEST_F(WeaponTest, ShotRefusedByFullWorldIsSpentAndDeleted) {
    while (world->objectCount < World::MAX_OBJECTS) world->addObject(new WorldObject(world.get()));
    weapon(0).update(25, true);
    EXPECT_EQ(weapon(0).ammo, 199);
    EXPECT_EQ(weapon(0).cooldown, 150);
    EXPECT_EQ(world->objectCount, World::MAX_OBJECTS);
}

}  // namespace
