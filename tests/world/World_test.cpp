// World: object table, disposal after the step, keys, time limits and the closing average line.
#include "World.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "WorldObject.h"

namespace {
// A world object that counts its deletion and can run a hook in its update.
struct Tracked : WorldObject {
    Tracked(World* owner, int* deletions, uint32_t periodMs = 10)
        : WorldObject(owner), deletions(deletions) {
        setUpdatePeriod(periodMs);
    }
    ~Tracked() override {
        if (deletions) ++*deletions;
        if (onDelete) onDelete();
    }
    void update() override {
        ++updates;
        if (hook) hook();
    }
    int* deletions;
    int updates = 0;
    std::function<void()> hook;
    std::function<void()> onDelete;
};

struct TestWorld : World {
    TestWorld() : World(nullptr) {}
    void leaveToMenu() override { ++menuRequests; }
    int menuRequests = 0;
};

// Destroys the world and returns what it printed.
std::string destroy(World* world) {
    testing::internal::CaptureStdout();
    delete world;
    return testing::internal::GetCapturedStdout();
}

struct WorldTest : ::testing::Test {
    ~WorldTest() override {
        if (world != nullptr) destroy(world);
    }
    TestWorld* world = new TestWorld;
    int deletions = 0;
};
}  // namespace

TEST_F(WorldTest, TableKeepsIndicesDenseWhenObjectsLeave) {
    Tracked* a = new Tracked(world, &deletions);
    Tracked* b = new Tracked(world, &deletions);
    Tracked* c = new Tracked(world, &deletions);
    for (Tracked* t : {a, b, c}) ASSERT_TRUE(world->addObject(t));
    EXPECT_EQ(a->active, 1u);
    EXPECT_EQ(b->tableIndex, 1);
    world->detachObject(a);
    EXPECT_EQ(world->objectCount, 2);
    EXPECT_EQ(world->objects[0], c);
    EXPECT_EQ(c->tableIndex, 0);
    EXPECT_EQ(world->objects[2], nullptr);
    EXPECT_EQ(a->node, nullptr) << "detached objects leave the scheduler";
    world->detachObject(a);  // a second detach changes nothing
    EXPECT_EQ(world->objectCount, 2);
    delete a;
    EXPECT_FALSE(world->addObject(nullptr));
}

TEST_F(WorldTest, FullTableRefusesAndTheRefusedObjectCanStillDie) {
    for (int i = 0; i < World::MAX_OBJECTS; ++i)
        ASSERT_TRUE(world->addObject(new Tracked(world, &deletions)));
    Tracked* extra = new Tracked(world, &deletions);
    EXPECT_FALSE(world->addObject(extra));
    EXPECT_EQ(world->objectCount, World::MAX_OBJECTS);
    EXPECT_EQ(extra->node, nullptr);
    WorldObject* last = world->objects[World::MAX_OBJECTS - 1];
    extra->kill();  // queued, then disposed without touching the table
    world->update(1);
    EXPECT_EQ(deletions, 1);
    EXPECT_EQ(world->objectCount, World::MAX_OBJECTS);
    EXPECT_EQ(world->objects[World::MAX_OBJECTS - 1], last);
    destroy(world);
    world = nullptr;
    EXPECT_EQ(deletions, World::MAX_OBJECTS + 1);
}

TEST_F(WorldTest, KilledObjectsAreDeletedAfterTheSchedulerStep) {
    Tracked* victim = new Tracked(world, &deletions, 1);
    Tracked* killer = new Tracked(world, &deletions, 1);
    world->addObject(victim);
    world->addObject(killer);
    killer->hook = [&] {
        victim->kill();
        victim->kill();  // twice killed, queued once
        EXPECT_EQ(deletions, 0) << "nothing is deleted while the scheduler runs";
    };
    world->update(5);
    EXPECT_EQ(world->pendingCount, 0);
    EXPECT_EQ(deletions, 1);
    EXPECT_EQ(world->objectCount, 1);
    EXPECT_EQ(world->objects[0], killer);
    EXPECT_EQ(killer->updates, 5);
}

TEST_F(WorldTest, ObjectsKilledDuringTheFlushGoInTheSameFlush) {
    Tracked* first = new Tracked(world, &deletions);
    Tracked* second = new Tracked(world, &deletions);
    world->addObject(first);
    world->addObject(second);
    first->onDelete = [&] { second->kill(); };
    first->kill();
    world->flushDisposals();
    EXPECT_EQ(deletions, 2);
    EXPECT_EQ(world->objectCount, 0);
}

TEST_F(WorldTest, UpdateLimitsTimeAndPauseFreezesIt) {
    Tracked* ticker = new Tracked(world, &deletions, 1);
    world->addObject(ticker);
    world->update(2500);
    EXPECT_EQ(world->totalMilliseconds, 1000);
    EXPECT_EQ(ticker->updates, 1000);
    world->keyDown('p');
    world->update(100);
    world->draw();
    EXPECT_EQ(ticker->updates, 1000);
    EXPECT_EQ(world->frameCount, 1) << "paused frames are still counted";
    world->keyDown('p' + 256);  // only the low 8 bits count
    world->update(100);
    EXPECT_EQ(ticker->updates, 1100);
    world->update(-50);
    EXPECT_EQ(world->totalMilliseconds, 1100);
}

TEST_F(WorldTest, EscapeAndItsLowByteTwinLeaveForTheMenu) {
    world->keyDown(27);
    world->keyDown(283);  // F2 shares Escape's low 8 bits
    world->keyDown('q');
    EXPECT_EQ(world->menuRequests, 2);
    EXPECT_EQ(world->paused, 0);
}

TEST_F(WorldTest, DestructionDisposesEverythingAndPrintsTheAverage) {
    for (int i = 0; i < 3; ++i) world->addObject(new Tracked(world, &deletions));
    world->update(30);
    world->draw();
    world->draw();
    world->draw();
    world->draw();
    const std::string out = destroy(world);
    world = nullptr;
    EXPECT_EQ(deletions, 3);
    EXPECT_EQ(out, "Average : 7.500000 ms/frame\n");
}

TEST_F(WorldTest, AverageWithoutFramesIsNotANumber) {
    const std::string out = destroy(world);
    world = nullptr;
    EXPECT_TRUE(out == "Average : -nan ms/frame\n" || out == "Average : nan ms/frame\n") << out;
}
