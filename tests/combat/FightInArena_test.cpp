// Shots, creatures and a level together: a World with a collision map built in memory.
#include <gtest/gtest.h>

#include "../world/FightFixtures.h"
#include "CaptureOutput.h"
#include "CollisionMap.h"
#include "CreatureFactory.h"
#include "Mesh.h"

namespace {

// A box from (-60, -10, -80) to (60, 30, 40) whose only solid part is a wall
// across it at z = -60, so shots and creatures meet level contacts too.
std::unique_ptr<Mesh> makeArena() {
    auto mesh = std::make_unique<Mesh>();
    MeshObject wall;
    wall.vertices = {{-60, -10, -60}, {60, -10, -60},  {60, 30, -60},
                     {-60, 30, -60},  {-60, -10, -80}, {60, 30, 40}};
    wall.faces = {0, 1, 2, 0, 2, 3};
    mesh->objects.push_back(wall);
    mesh->computeBounds();
    return mesh;
}

struct ArenaTest : FightWorldTest {
    std::unique_ptr<Mesh> arena = makeArena();

    void SetUp() override {
        world->setCollisionMap(std::make_unique<CollisionMap>(Vec3{20, 20, 20}, *arena));
    }
    void run(int ms) {
        for (int t = 0; t < ms; t += 5) world->update(5);
    }
};

TEST_F(ArenaTest, ShotHitsCreatureAheadAndPassesItsShooter) {
    // Away from the origin, where creatures are filed until their first update.
    Creature* shooter = addCreature({25, 0, 0}, 0.0f);
    Creature* target = addCreature({25, 0, -20}, 0.0f);
    shooter->weapons[0]->update(25, true);
    ASSERT_EQ(projectileCount(), 1);
    run(300);
    EXPECT_EQ(projectileCount(), 0);
    EXPECT_EQ(shooter->health, 100);
    EXPECT_EQ(target->health, 80);
    EXPECT_LT(target->impulse.z, 0.0f);
}

TEST_F(ArenaTest, ShotIntoTheWallIsPutBackAndKilled) {
    Creature* shooter = addCreature({-25, 0, -40}, 0.0f);  // facing the wall at z = -60
    shooter->weapons[0]->update(25, true);
    Projectile* shot = lastShot();
    for (int t = 0; t < 500 && !shot->dead; ++t) world->scheduler.advance(1);
    ASSERT_TRUE(shot->dead);
    EXPECT_EQ(shot->position.z, shot->previousPosition.z);
    EXPECT_GT(shot->position.z, -60.0f + CollisionMap::OBJECT_RADIUS);
}

TEST_F(ArenaTest, ComputerFightRunsWithCreaturesIntact) {
    CharacterInfo characters[2];
    characters[0].skinCount = 3;
    srand(2024);
    Creature* creatures[7];
    for (Creature*& creature : creatures) {
        captureOutput(
            [&] { creature = createComputerCreature(world.get(), body.get(), characters, 2); });
        ASSERT_NE(creature, nullptr);
        EXPECT_GE(creature->position.x, -9.0f);
        EXPECT_LE(creature->position.z, -10.0f);
        ASSERT_TRUE(world->addObject(creature));
    }
    int shotsSeen = 0;
    for (int t = 0; t < 20000; t += 20) {
        world->update(20);
        shotsSeen += projectileCount();
    }
    EXPECT_GT(shotsSeen, 0);
    int creaturesLeft = 0;
    for (int i = 0; i < world->objectCount; ++i)
        creaturesLeft += dynamic_cast<Creature*>(world->objects[i]) != nullptr;
    EXPECT_EQ(creaturesLeft, 7);
}

}  // namespace
