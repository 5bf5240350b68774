// Projectile range, fragments, hits, credit and push, and what it ignores.
#include <gtest/gtest.h>

#include "../world/FightFixtures.h"

using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

namespace {

struct ProjectileTest : FightWorldTest {
    Creature* shooter = addCreature();
    Creature* target = addCreature();
};

TEST_F(ProjectileTest, ShortShotExpiresAtItsThirtiethUpdate) {
    const std::vector<int> r = randsAfterSeed(8, 1);
    auto* shot = new Projectile(world.get(), 2, shooter);
    const int delay = shot->delay;  // scheduling consumes it
    EXPECT_EQ(delay, r[0] % 10);
    shot->moveForward = 1;
    world->addObject(shot);
    world->update(delay + 1 + 289);  // first update, then 29 periods of 10 ms
    ASSERT_TRUE(inWorld(shot));
    EXPECT_FALSE(shot->dead);
    world->update(1);
    EXPECT_FALSE(inWorld(shot));
}

TEST_F(ProjectileTest, SpentShotsReleaseTheirFragmentsOnceCreditedToTheShooter) {
    // Columns: projectile type, fragments released, their type.
    const int cases[][3] = {{1, 10, 2}, {3, 1, 0}, {0, 0, 0}, {2, 0, 0}, {4, 0, 0}};
    for (const auto& [type, count, fragmentType] : cases) {
        SCOPED_TRACE(type);
        Projectile* shell = shoot(type, shooter);
        shell->position = {5, 4, -20};
        shell->remainingRange = 1.0;
        const int before = world->objectCount;
        const std::vector<int> r = randsAfterSeed(31, 20);
        shell->update();
        ASSERT_EQ(world->objectCount, before + count);
        EXPECT_TRUE(shell->dead);
        for (int i = 0; i < count; ++i) {
            auto* fragment = dynamic_cast<Projectile*>(world->objects[before + i]);
            ASSERT_NE(fragment, nullptr);
            EXPECT_EQ(fragment->typeIndex, fragmentType);
            EXPECT_EQ(fragment->shooter(), shooter);
            EXPECT_FLOAT_EQ(fragment->heading, float(r[2 * i + 1] % 360));  // after its delay draw
            EXPECT_FLOAT_EQ(fragment->position.x, shell->position.x);
            EXPECT_EQ(fragment->moveForward, 1);
        }
        shell->update();  // updated again before the world disposes of it
        EXPECT_EQ(world->objectCount, before + count);
        world->flushDisposals();
        EXPECT_FALSE(inWorld(shell));
    }
}

TEST_F(ProjectileTest, KillingHitCreditsShooterOnceAndEveryHitPushes) {
    target->health = 10;
    Projectile* first = shoot(0, shooter);
    CaptureStdout();
    EXPECT_FALSE(first->onCollision(target));
    EXPECT_EQ(GetCapturedStdout(), "Pelmo died\n");
    EXPECT_TRUE(first->dead);
    EXPECT_EQ(shooter->score, 1);

    // A dead creature still stops and takes the push (mass 0.5 of 1.0), no credit.
    target->impulse = {1, 0, 0};
    Projectile* shell = shoot(1, shooter);
    shell->velocity = {0, 0, -1};
    shell->onCollision(target);
    EXPECT_EQ(target->health, -10);
    EXPECT_EQ(shooter->score, 1);
    EXPECT_TRUE(shell->dead);
    EXPECT_FLOAT_EQ(target->impulse.x, 1.0f);
    EXPECT_FLOAT_EQ(target->impulse.z, -0.5f);
}

TEST_F(ProjectileTest, EachTypeTakesItsDamage) {
    std::vector<int> health;
    for (int type = 0; type < PROJECTILE_TYPE_COUNT; ++type) {
        target->health = 100;
        shoot(type, shooter)->onCollision(target);
        health.push_back(target->health);
    }
    EXPECT_EQ(health, (std::vector<int>{80, 80, 80, 80, 90}));
}

TEST_F(ProjectileTest, PassesThroughShooterAndProjectilesButNotTheLevel) {
    Projectile* shot = shoot(0, shooter);
    Projectile* other = shoot(0, target);
    EXPECT_FALSE(shot->onCollision(shooter));
    EXPECT_FALSE(shot->onCollision(other));
    EXPECT_FALSE(shot->dead);
    EXPECT_EQ(shooter->health, 100);
    shot->onCollision(nullptr);
    EXPECT_TRUE(shot->dead);
    shot->onCollision(target);  // dead: hits nothing more
    EXPECT_EQ(target->health, 100);
}

TEST_F(ProjectileTest, ShotOutlivingItsShooterNeverTouchesIt) {
    Projectile* shot = shoot(3, shooter);
    CaptureStdout();
    world->detachObject(shooter);
    delete shooter;
    EXPECT_EQ(shot->shooter(), nullptr);
    target->health = 5;
    shot->onCollision(target);
    EXPECT_EQ(GetCapturedStdout(), "Pelmo died\n");
    shot = shoot(3, nullptr);
    shot->remainingRange = 0.5;
    shot->update();  // its fragment has no shooter either
    auto* fragment = dynamic_cast<Projectile*>(world->objects[world->objectCount - 1]);
    ASSERT_NE(fragment, nullptr);
    EXPECT_EQ(fragment->shooter(), nullptr);
}

}  // namespace
