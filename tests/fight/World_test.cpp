// World: object table and disposal list at their capacity, disposal after the step, keys, the
// 1000 ms cap of an update and the closing average line; its timing wheel: update times
// independent of frame splits and wheel position, the far list, order, leaving mid-walk, inactive
// objects, where each object waits and how long, saturating delays.
#include "World.h"

#include <climits>
#include <functional>

#include "FightFixtures.h"
#include "FightHost.h"
#include "UpdateScheduler.h"
#include "WorldObject.h"

namespace {

// Counts its updates and deletions, logs *clock at each update when given one, and runs
// its hooks at update and deletion.
struct Tracked : WorldObject {
    Tracked(World* owner, int* deletions) : WorldObject(owner), deletions(deletions) {}
    Tracked(std::vector<int>* log, const int* clock, int delayMs, uint32_t periodMs)
        : WorldObject(nullptr), log(log), clock(clock) {
        delay = delayMs;
        setUpdatePeriod(periodMs);
    }
    ~Tracked() override {
        if (deletions != nullptr) ++*deletions;
        if (onDelete) onDelete();
    }
    void update() override {
        ++updates;
        if (log != nullptr) log->push_back(*clock);
        if (hook) hook();
    }
    int* deletions = nullptr;
    std::vector<int>* log = nullptr;
    const int* clock = nullptr;
    int updates = 0;
    std::function<void()> hook, onDelete;
};

struct Host : FightHost {
    void goToMenu() override { ++menuRequests; }
    void grabPointer(bool) override {}
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
    // A counted object in the world's table, owned by the world or by none.
    Tracked* add(bool owned = true) {
        auto* t = new Tracked(owned ? world : nullptr, &deletions);
        EXPECT_TRUE(world->addObject(t));
        return t;
    }
    Host host;
    World* world = new World(&host);
    int deletions = 0;
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
    Tracked probe(&log, &startSlot, delayMs, periodMs);
    enter(scheduler, probe);
    std::vector<int> counts;
    for (int frame : frames) {
        scheduler.advance(frame);
        counts.push_back(int(log.size()));
    }
    return counts;
}

// Milliseconds (from scheduling, the first being 1) in which the object is updated.
std::vector<int> updateTimes(int delayMs, uint32_t periodMs, int totalMs) {
    const std::vector<int> counts =
        countsAfterFrames(delayMs, periodMs, 1, std::vector<int>(totalMs, 1));
    std::vector<int> times;
    for (int ms = 0; ms < totalMs; ++ms)
        if (counts[ms] > (ms > 0 ? counts[ms - 1] : 0)) times.push_back(ms + 1);
    return times;
}
}  // namespace

TEST_F(WorldTest, TableAndDisposalListStayDenseAndHoldExactlyTheirCapacity) {
    Tracked* a = add();
    add();
    Tracked* c = add();
    world->detachObject(a);
    world->detachObject(nullptr);
    EXPECT_EQ((Ints{world->objectCount, world->objects[0] == c, c->tableIndex, a->tableIndex,
                    a->node == nullptr, world->addObject(c)}),
              (Ints{2, 1, 0, -1, 1, 0}))
        << "count, the last entry filling the hole, its index, the detached one's index and "
           "leaving the scheduler, adding one already in the table";
    for (int stale : {1, 7}) {  // an index naming another entry, or none, is no membership
        a->tableIndex = stale;
        EXPECT_TRUE(world->addObject(a)) << stale;
        world->detachObject(a);
    }
    delete a;
    while (world->objectCount < World::MAX_OBJECTS - 1) add();
    const Tracked* last = add();
    Tracked refused(world, &deletions);
    EXPECT_EQ((Ints{world->addObject(&refused), world->addObject(nullptr), refused.node != nullptr,
                    last->tableIndex}),
              (Ints{0, 0, 0, World::MAX_OBJECTS - 1}))
        << "one past the capacity and null refused, the refused one unscheduled, the last index";
    world->detachObject(&refused);  // never in the table: takes nobody's entry
    EXPECT_EQ(world->objects[World::MAX_OBJECTS - 1], last);
    // One kill per table entry fits; a further one is refused instead of written past the list.
    for (int i = 0; i < World::MAX_OBJECTS; ++i) world->objects[i]->kill();
    world->queueDisposal(&refused);
    world->queueDisposal(nullptr);
    EXPECT_EQ(world->pendingCount, World::MAX_OBJECTS);
    world->flushDisposals();
    EXPECT_EQ((Ints{world->objectCount, world->pendingCount, deletions}),
              (Ints{0, 0, World::MAX_OBJECTS + 1}));
}

TEST_F(WorldTest, KilledObjectsAreDeletedAfterTheSchedulerStepAndClosingDisposesEverything) {
    Tracked* victim = add();
    Tracked* killer = add();
    killer->hook = [&] {
        victim->kill();
        victim->kill();
        EXPECT_EQ(deletions, 0) << "nothing is deleted while the scheduler runs";
    };
    world->update(5);
    EXPECT_EQ((Ints{deletions, world->pendingCount, killer->updates, world->objects[0] == killer}),
              (Ints{1, 0, 5, 1}))
        << "deleted once, list emptied, the killer's updates, the killer first";
    // Objects killed while the flush deletes others go in the same flush.
    Tracked* second = add();
    killer->onDelete = [&] { second->kill(); };
    killer->kill();
    world->flushDisposals();
    EXPECT_EQ((Ints{deletions, world->objectCount}), (Ints{3, 0}));
    // Also an object owned by no World: the closing World takes it out of its table itself.
    // Closing averages the 35 ms passed over the four frames drawn.
    add();
    add();
    add(false);
    world->update(30);
    for (int i = 0; i < 4; ++i) world->draw();
    EXPECT_EQ(closeWorld(), "Average : 8.750000 ms/frame\n");
    EXPECT_EQ(deletions, 6);
    world = new World(&host);
    const std::string noFrames = closeWorld();
    EXPECT_TRUE(noFrames == "Average : -nan ms/frame\n" || noFrames == "Average : nan ms/frame\n");
}

TEST_F(WorldTest, AnUpdateLetsAtMost1000MillisecondsPassAndKeysUseTheLowByte) {
    Tracked* ticker = add();
    // Columns: milliseconds asked for, milliseconds passed.
    const int steps[][2] = {{1001, 1000}, {1000, 1000}, {999, 999}, {0, 0}, {-1, 0}};
    for (auto [asked, passed] : steps) {
        const int updates = ticker->updates, total = world->totalMilliseconds;
        world->update(asked);
        EXPECT_EQ((Ints{ticker->updates - updates, world->totalMilliseconds - total}),
                  (Ints{passed, passed}))
            << "updates and time for " << asked << " ms asked for";
    }
    world->keyDown('p');
    world->update(100);
    world->draw();
    world->keyDown('p' + 256);
    const int paused = ticker->updates;
    world->update(100);
    EXPECT_EQ((Ints{paused, ticker->updates, world->frameCount}), (Ints{2999, 3099, 1}))
        << "updates paused and after, frames (paused ones count)";
    world->keyDown('x');
    world->keyDown(27);
    EXPECT_EQ(host.menuRequests, 1);
    captureOutput([] { World(nullptr).keyDown(27); });  // nobody to ask
}

// Starting positions put a first update or a re-queue on the last slot of the wheel or past it.
TEST(UpdateScheduler, UpdateTimesDoNotDependOnFrameSplitOrWheelPosition) {
    const std::vector<int> frames = {3, 997, 1000, 1, 250, 849};
    for (uint32_t period : {25u, 999u, 1000u, 1500u}) {
        const std::vector<int> times = updateTimes(7, period, 3100);
        ASSERT_GE(times.size(), 2u);
        EXPECT_EQ((Ints{times[0], times[1] - times[0]}), (Ints{8, int(period)}))
            << "delay 7 runs in the 8th millisecond, then each period";
        std::vector<int> expected;
        int end = 0;
        for (int frame : frames) {
            end += frame;
            expected.push_back(
                int(std::upper_bound(times.begin(), times.end(), end) - times.begin()));
        }
        for (int start : {1, 500, 968, 993, 994, 999, 1000}) {
            EXPECT_EQ(countsAfterFrames(7, period, start, frames), expected)
                << "period " << period << ", wheel at " << start;
        }
    }
    // Columns: start delay, millisecond of the first update. From 999 on the
    // object waits in the far list and runs one millisecond later.
    const int firsts[][2] = {{0, 1},       {998, 999},   {999, 1001},
                             {1000, 1002}, {1998, 2000}, {1999, 2001}};
    for (auto [delay, first] : firsts)
        EXPECT_EQ(updateTimes(delay, 5000, first), Ints{first}) << "delay " << delay;
    EXPECT_EQ(countsAfterFrames(0, 5, 1, {0, 0}), (Ints{0, 0}));
}

struct SchedulerTest : ::testing::Test {
    UpdateScheduler scheduler;
    std::vector<int> log;
    int ids[5] = {1, 2, 3, 4, 5};
    // The object's slot (0 the far list), its delay, and the length of that list.
    std::string where(const ScheduledObject& object) const {
        return "slot " + std::to_string(object.slot) + " delay " + std::to_string(object.delay) +
               " list " + std::to_string(scheduler.listLength(object.slot));
    }
};

// The latest inserted in a slot runs first. The walk of a slot goes on past objects that leave
// in their own update or are taken out by another, and is not disturbed by one leaving from
// elsewhere.
TEST_F(SchedulerTest, ObjectsMayLeaveOrVanishDuringAnUpdate) {
    auto* vanishing = new Tracked(&log, &ids[0], 0, 3);
    Tracked leaving(&log, &ids[1], 0, 3), successor(&log, &ids[2], 0, 3), last(&log, &ids[3], 0, 3);
    Tracked elsewhere(&log, &ids[4], 1, 3);
    for (Tracked* p : {&elsewhere, &last, &successor, &leaving, vanishing}) enter(scheduler, *p);
    vanishing->hook = [vanishing] { delete vanishing; };  // leaves the wheel as it goes
    leaving.hook = [&] {
        scheduler.unschedule(&leaving);
        scheduler.unschedule(&successor);
        scheduler.unschedule(&elsewhere);
    };
    scheduler.advance(4);
    EXPECT_EQ(log, (Ints{1, 2, 4, 4}));
    EXPECT_EQ((Ints{leaving.slot, int(leaving.active)}), (Ints{-1, 0})) << "slot, active";
    EXPECT_FALSE(scheduler.unschedule(&successor));
}

// Not yet made active, or made inactive in its update: skipped where it waits
// (its slot, or the far list with its delay untouched) until made active again.
TEST_F(SchedulerTest, InactiveObjectsAreSkippedWhereTheyWait) {
    Tracked idle(&log, &ids[0], 3, 10), farIdle(&log, &ids[1], 1500, 10);
    Tracked stopping(&log, &ids[2], 0, 10);
    ASSERT_TRUE(scheduler.schedule(&idle));
    ASSERT_TRUE(scheduler.schedule(&farIdle));
    enter(scheduler, stopping);
    stopping.hook = [&] { stopping.active = 0; };
    scheduler.advance(2000);
    EXPECT_EQ(log, Ints{3});
    EXPECT_EQ(where(idle) + ", " + where(farIdle) + ", " + where(stopping),
              "slot 4 delay 0 list 1, slot 0 delay 501 list 1, slot 1 delay 0 list 1");
    idle.active = farIdle.active = stopping.active = 1;
    stopping.hook = nullptr;
    scheduler.advance(4);
    EXPECT_EQ(log, (Ints{3, 3, 1}));
    scheduler.advance(996);
    EXPECT_EQ(where(farIdle), "slot 502 delay 0 list 1");
}

// A far-list delay beyond the largest int32 is held at it rather than wrapping negative.
TEST_F(SchedulerTest, HugePeriodsAndDelaysSaturate) {
    // Columns: period; the delay held after the first update, in slot 1.
    const std::pair<uint32_t, int> rows[] = {{INT_MAX + 999u, INT_MAX - 1},
                                             {INT_MAX + 1000u, INT_MAX},
                                             {INT_MAX + 1001u, INT_MAX},
                                             {UINT_MAX, INT_MAX}};
    for (auto [period, held] : rows) {
        UpdateScheduler wheel;
        Tracked probe(&log, &ids[0], 0, period);
        enter(wheel, probe);
        wheel.advance(1);
        EXPECT_EQ((Ints{probe.slot, probe.delay}), (Ints{0, held}))
            << "slot, delay for period " << period;
    }
    // Scheduled from slot 1000, the last of a turn, a delay of INT_MAX reaches one past it.
    scheduler.advance(1);
    Tracked last(&log, &ids[0], 998, 5), late(&log, &ids[1], INT_MAX, 5);
    last.hook = [&] { enter(scheduler, late); };
    enter(scheduler, last);
    scheduler.advance(999);
    EXPECT_EQ((Ints{late.slot, late.delay}), (Ints{0, INT_MAX - 1000}))
        << "slot, delay less a turn";
}

// Clearing frees every node, also when the scheduler goes first: its objects do not reach for
// it afterwards.
TEST_F(SchedulerTest, RefusesMisuseAndClearingFreesEveryNode) {
    Tracked probe(&log, &ids[0], -1, 1);
    Ints seen = {scheduler.schedule(&probe), scheduler.schedule(nullptr), probe.slot};
    probe.delay = 0;
    UpdateScheduler other;
    seen.insert(seen.end(),
                {scheduler.schedule(&probe), scheduler.schedule(&probe), other.unschedule(&probe),
                 other.unschedule(nullptr), scheduler.listLength(-1),
                 scheduler.listLength(UpdateScheduler::SLOTS + 1)});
    EXPECT_EQ(seen, (Ints{0, 0, -1, 1, 0, 0, 0, 0, 0}))
        << "a negative delay and null refused, left unscheduled; delay 0 taken, a second entry "
           "(updated twice), another's unscheduling of it (not its node) and of null, lists -1 "
           "and 1001 (none)";
    EXPECT_EQ(where(probe), "slot 1 delay 0 list 1");
    Tracked far(&log, &ids[1], 5000, 5);
    enter(scheduler, far);
    probe.active = 1;
    scheduler.clear();
    scheduler.advance(1000);
    EXPECT_EQ((Ints{probe.node != nullptr, far.node != nullptr, int(log.size()),
                    scheduler.listLength(1) + scheduler.listLength(UpdateScheduler::FAR_LIST)}),
              (Ints{0, 0, 0, 0}))
        << "nodes kept, updates, nodes listed";
    {
        UpdateScheduler brief;
        enter(brief, probe);
    }
    EXPECT_EQ(probe.node, nullptr);
}
