// World: object table, disposal after the step, keys, time limits and the closing average line.
#include "World.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "WorldObject.h"

namespace {
struct Tracked : WorldObject {
    Tracked(World* owner, int* deletions) : WorldObject(owner), deletions(deletions) {}
    ~Tracked() override {
        ++*deletions;
        if (onDelete) onDelete();
    }
    void update() override {
        ++updates;
        if (hook) hook();
    }
    int* deletions;
    int updates = 0;
    std::function<void()> hook, onDelete;
};

struct TestWorld : World {
    TestWorld() : World(nullptr) {}
    void leaveToMenu() override { ++menuRequests; }
    int menuRequests = 0;
};

struct WorldTest : ::testing::Test {
    ~WorldTest() override { closeWorld(); }
    std::string closeWorld() {
        testing::internal::CaptureStdout();
        delete world;
        world = nullptr;
        return testing::internal::GetCapturedStdout();
    }
    Tracked* add() {
        auto* t = new Tracked(world, &deletions);
        EXPECT_TRUE(world->addObject(t));
        return t;
    }
    TestWorld* world = new TestWorld;
    int deletions = 0;
};
}  // namespace

TEST_F(WorldTest, TableStaysDenseAndRefusesPastItsCapacity) {
    Tracked* a = add();
    add();
    Tracked* c = add();
    world->detachObject(a);
    EXPECT_EQ(world->objectCount, 2);
    EXPECT_EQ(world->objects[0], c);
    EXPECT_EQ(c->tableIndex, 0);
    EXPECT_EQ(a->node, nullptr) << "detached objects leave the scheduler";
    EXPECT_FALSE(world->addObject(c)) << "already in the table";
    delete a;
    while (world->objectCount < World::MAX_OBJECTS) add();
    Tracked refused(world, &deletions);
    EXPECT_FALSE(world->addObject(&refused));
    EXPECT_FALSE(world->addObject(nullptr));
    WorldObject* last = world->objects[World::MAX_OBJECTS - 1];
    world->detachObject(&refused);  // never in the table: takes nobody's entry
    EXPECT_EQ(world->objects[World::MAX_OBJECTS - 1], last);
    EXPECT_EQ(world->objectCount, World::MAX_OBJECTS);
}

TEST_F(WorldTest, KilledObjectsAreDeletedAfterTheSchedulerStep) {
    Tracked* victim = add();
    Tracked* killer = add();
    killer->hook = [&] {
        victim->kill();
        victim->kill();
        EXPECT_EQ(deletions, 0) << "nothing is deleted while the scheduler runs";
    };
    world->update(5);
    EXPECT_EQ(deletions, 1);
    EXPECT_EQ(world->pendingCount, 0);
    EXPECT_EQ(world->objects[0], killer);
    EXPECT_EQ(killer->updates, 5);
    // Objects killed while the flush deletes others go in the same flush.
    Tracked* second = add();
    killer->onDelete = [&] { second->kill(); };
    killer->kill();
    world->flushDisposals();
    EXPECT_EQ(deletions, 3);
    EXPECT_EQ(world->objectCount, 0);
}

TEST_F(WorldTest, UpdateLimitsTimeAndKeysUseTheLowByte) {
    Tracked* ticker = add();
    world->update(2500);
    EXPECT_EQ(world->totalMilliseconds, 1000);
    EXPECT_EQ(ticker->updates, 1000);
    world->keyDown('p');
    world->update(100);
    world->draw();
    EXPECT_EQ(ticker->updates, 1000) << "paused";
    EXPECT_EQ(world->frameCount, 1) << "paused frames still count";
    world->keyDown('p' + 256);
    world->update(100);
    EXPECT_EQ(ticker->updates, 1100);
    world->keyDown(27);
    world->keyDown(283);  // F2 shares Escape's low byte
    EXPECT_EQ(world->menuRequests, 2);
}

TEST_F(WorldTest, ClosingDisposesEverythingAndPrintsTheAverage) {
    for (int i = 0; i < 3; ++i) add();
    world->update(30);
    for (int i = 0; i < 4; ++i) world->draw();
    EXPECT_EQ(closeWorld(), "Average : 7.500000 ms/frame\n");
    EXPECT_EQ(deletions, 3);
    world = new TestWorld;
    const std::string noFrames = closeWorld();
    EXPECT_TRUE(noFrames == "Average : -nan ms/frame\n" || noFrames == "Average : nan ms/frame\n");
}
