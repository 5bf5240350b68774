// World: object table, disposal after the step, keys, time limits and the closing average line;
// its timing wheel: update times independent of frame splits, far list, order, leaving mid-walk.
#include "World.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "CaptureOutput.h"
#include "UpdateScheduler.h"
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
        captureStdout();
        delete world;
        world = nullptr;
        return capturedStdout();
    }
    Tracked* add() {
        auto* t = new Tracked(world, &deletions);
        EXPECT_TRUE(world->addObject(t));
        return t;
    }
    TestWorld* world = new TestWorld;
    int deletions = 0;
};

// Logs the value of *clock at each update and then runs its hook.
struct Probe : ScheduledObject {
    Probe(std::vector<int>* log, const int* clock, int delayMs, uint32_t periodMs)
        : log(log), clock(clock) {
        delay = delayMs;
        setUpdatePeriod(periodMs);
    }
    void update() override {
        log->push_back(*clock);
        if (hook) hook();
    }
    std::vector<int>* log;
    const int* clock;
    std::function<void()> hook;
};

void enter(UpdateScheduler& scheduler, ScheduledObject& object) {
    ASSERT_TRUE(scheduler.schedule(&object));
    object.active = 1;
}

// Number of updates of one object after each frame, with the wheel first
// turned to `startSlot`.
std::vector<int> countsAfterFrames(int delayMs, uint32_t periodMs, int startSlot,
                                   const std::vector<int>& frames) {
    UpdateScheduler scheduler;
    scheduler.advance(startSlot - 1);
    std::vector<int> log;
    Probe probe(&log, &startSlot, delayMs, periodMs);
    enter(scheduler, probe);
    std::vector<int> counts;
    for (int frame : frames) {
        scheduler.advance(frame);
        counts.push_back(int(log.size()));
    }
    return counts;
}

// Milliseconds (from scheduling) in which the object is updated.
std::vector<int> updateTimes(int delayMs, uint32_t periodMs, int totalMs) {
    const std::vector<int> counts =
        countsAfterFrames(delayMs, periodMs, 1, std::vector<int>(totalMs, 1));
    std::vector<int> times;
    for (int ms = 0; ms < totalMs; ++ms)
        if (counts[ms] > (ms > 0 ? counts[ms - 1] : 0)) times.push_back(ms + 1);
    return times;
}
}  // namespace

TEST_F(WorldTest, TableStaysDenseAndRefusesPastItsCapacity) {
    Tracked* a = add();
    add();
    Tracked* c = add();
    world->detachObject(a);
    EXPECT_EQ((std::vector<int>{world->objectCount, c->tableIndex}), (std::vector<int>{2, 0}));
    EXPECT_EQ(world->objects[0], c);
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
    EXPECT_EQ((std::vector<int>{deletions, world->pendingCount, killer->updates}),
              (std::vector<int>{1, 0, 5}));
    EXPECT_EQ(world->objects[0], killer);
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
    EXPECT_EQ((std::vector<int>{int(world->totalMilliseconds), ticker->updates}),
              (std::vector<int>{1000, 1000}));
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

TEST(UpdateScheduler, UpdateTimesDoNotDependOnFrameSplitOrWheelPosition) {
    const std::vector<int> frames = {3, 997, 1000, 1, 250, 849};
    for (uint32_t period : {25u, 1000u, 1500u}) {
        const std::vector<int> times = updateTimes(7, period, 3100);
        ASSERT_GE(times.size(), 2u);
        EXPECT_EQ(times[0], 8) << "delay 7 runs in the 8th millisecond";
        EXPECT_EQ(times[1] - times[0], int(period));
        std::vector<int> expected;
        int end = 0;
        for (int frame : frames) {
            end += frame;
            expected.push_back(
                int(std::upper_bound(times.begin(), times.end(), end) - times.begin()));
        }
        for (int start : {1, 500, 999, 1000}) {
            EXPECT_EQ(countsAfterFrames(7, period, start, frames), expected)
                << "period " << period << ", wheel at " << start;
        }
    }
    // A delay from 999 on waits in the far list and runs one millisecond later.
    EXPECT_EQ(updateTimes(1000, 1000, 3002), (std::vector<int>{1002, 2002, 3002}));
    EXPECT_EQ(updateTimes(1998, 5000, 2100), std::vector<int>{2000});
    EXPECT_EQ(updateTimes(999, 5000, 1100), std::vector<int>{1001});
    EXPECT_EQ(countsAfterFrames(0, 5, 1, {0, 0}), (std::vector<int>{0, 0}));
}

struct SchedulerTest : ::testing::Test {
    UpdateScheduler scheduler;
    std::vector<int> log;
    int ids[4] = {1, 2, 3, 4};
};

TEST_F(SchedulerTest, SameSlotRunsLatestInsertedFirst) {
    Probe a(&log, &ids[0], 0, 10), b(&log, &ids[1], 0, 10), c(&log, &ids[2], 0, 10);
    for (Probe* p : {&a, &b, &c}) enter(scheduler, *p);
    scheduler.advance(11);
    EXPECT_EQ(log, (std::vector<int>{3, 2, 1, 1, 2, 3})) << "re-queueing reverses the order";
}

TEST_F(SchedulerTest, ObjectsMayLeaveOrVanishDuringAnUpdate) {
    auto* vanishing = new Probe(&log, &ids[0], 0, 3);
    Probe leaving(&log, &ids[1], 0, 3), successor(&log, &ids[2], 0, 3), last(&log, &ids[3], 0, 3);
    for (Probe* p : {&last, &successor, &leaving, vanishing}) enter(scheduler, *p);
    vanishing->hook = [vanishing] { delete vanishing; };  // leaves the wheel as it goes
    leaving.hook = [&] {
        scheduler.unschedule(&leaving);
        scheduler.unschedule(&successor);
    };
    scheduler.advance(4);
    EXPECT_EQ(log, (std::vector<int>{1, 2, 4, 4}));
    EXPECT_EQ((std::vector<int>{leaving.slot, int(leaving.active)}), (std::vector<int>{-1, 0}));
    EXPECT_FALSE(scheduler.unschedule(&successor));
}

TEST_F(SchedulerTest, RefusesNegativeDelaysAndSecondEntries) {
    Probe probe(&log, nullptr, -1, 1);
    EXPECT_FALSE(scheduler.schedule(&probe));
    EXPECT_EQ(probe.slot, -1);
    probe.delay = 0;
    EXPECT_TRUE(scheduler.schedule(&probe));
    EXPECT_FALSE(scheduler.schedule(&probe)) << "a second entry would be updated twice";
    EXPECT_EQ(scheduler.listLength(1), 1);
    Probe far(&log, nullptr, 5000, 1);
    ASSERT_TRUE(scheduler.schedule(&far));
    EXPECT_EQ((std::vector<int>{scheduler.listLength(UpdateScheduler::FAR_LIST),
                                scheduler.listLength(UpdateScheduler::SLOTS + 1)}),
              (std::vector<int>{1, 0}));
}
