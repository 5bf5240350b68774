// Timing wheel: update times independent of frame splits, far list, order, unscheduling mid-walk.
#include "UpdateScheduler.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {
// Records the game time of each of its updates; may run a hook inside update.
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

// Advances one millisecond at a time so the probes can read the time; the
// scheduler cannot tell this apart from any other split.
struct Clock {
    UpdateScheduler scheduler;
    int now = 0;  // milliseconds passed, the update happening inside the next one
    void run(int ms) {
        for (int i = 0; i < ms; ++i) {
            ++now;
            scheduler.advance(1);
        }
    }
    void add(ScheduledObject& object) {
        ASSERT_TRUE(scheduler.schedule(&object));
        object.active = 1;
    }
};

// Schedules a counter with the wheel at `startSlot`, advances by the given
// frame sizes and returns the number of updates seen after each frame.
std::vector<int> countsPerFrame(int delayMs, uint32_t periodMs, const std::vector<int>& frames,
                                int startSlot) {
    struct Counter : ScheduledObject {
        void update() override { ++count; }
        int count = 0;
    } counter;
    UpdateScheduler scheduler;
    if (startSlot > 1) scheduler.advance(startSlot - 1);
    counter.delay = delayMs;
    counter.setUpdatePeriod(periodMs);
    scheduler.schedule(&counter);
    counter.active = 1;
    std::vector<int> counts;
    for (int frame : frames) {
        scheduler.advance(frame);
        counts.push_back(counter.count);
    }
    return counts;
}
}  // namespace

TEST(UpdateScheduler, PeriodicTimesDoNotDependOnFrameSplit) {
    for (uint32_t period : {25u, 1000u, 1500u}) {
        Clock clock;
        std::vector<int> times;
        Probe probe(&times, &clock.now, 7, period);
        clock.add(probe);
        clock.run(3100);
        ASSERT_FALSE(times.empty());
        EXPECT_EQ(times[0], 8) << "delay 7: processed in the 8th millisecond";
        for (size_t i = 1; i < times.size(); ++i) EXPECT_EQ(times[i] - times[i - 1], int(period));

        // Counts after each frame agree with 1 ms stepping for odd splits and start slots.
        for (int start : {1, 500, 999, 1000}) {
            const std::vector<int> frames = {3, 997, 1000, 1, 250, 849};
            const std::vector<int> counts = countsPerFrame(7, period, frames, start);
            int elapsed = 0;
            for (size_t f = 0; f < frames.size(); ++f) {
                elapsed += frames[f];
                int expected = 0;
                for (int t : times) expected += t <= elapsed ? 1 : 0;
                EXPECT_EQ(counts[f], expected) << "period " << period << " start " << start;
            }
        }
    }
}

TEST(UpdateScheduler, FarDelayIsOneMillisecondLonger) {
    Clock clock;
    std::vector<int> times;
    Probe scene(&times, &clock.now, 1000, 1000);
    clock.add(scene);
    clock.run(3002);
    // A near delay d runs in millisecond d + 1; the far list adds one more.
    EXPECT_EQ(times, (std::vector<int>{1002, 2002, 3002}));
}

TEST(UpdateScheduler, WholeSecondTurnsTheWheelOnceFromAnySlot) {
    for (int start : {1, 2, 500, 1000}) {
        UpdateScheduler scheduler;
        scheduler.advance(start - 1);
        EXPECT_EQ(scheduler.current, start);
        std::vector<int> log;
        int zero = 0;
        Probe everyMs(&log, &zero, 0, 1);
        scheduler.schedule(&everyMs);
        everyMs.active = 1;
        scheduler.advance(1000);
        EXPECT_EQ(log.size(), 1000u);
        EXPECT_EQ(scheduler.current, start);
        scheduler.advance(0);
        EXPECT_EQ(log.size(), 1000u) << "advancing by 0 updates nothing";
    }
}

TEST(UpdateScheduler, SameSlotRunsLatestInsertedFirst) {
    UpdateScheduler scheduler;
    std::vector<int> order;
    struct Named : ScheduledObject {
        Named(std::vector<int>* order, int id) : order(order), id(id) { setUpdatePeriod(10); }
        void update() override { order->push_back(id); }
        std::vector<int>* order;
        int id;
    } a(&order, 1), b(&order, 2), c(&order, 3);
    for (Named* n : {&a, &b, &c}) {
        scheduler.schedule(n);
        n->active = 1;
    }
    scheduler.advance(11);
    EXPECT_EQ(order, (std::vector<int>{3, 2, 1, 1, 2, 3}))
        << "re-queued in walk order, so the next turn runs them reversed again";
}

TEST(UpdateScheduler, InactiveObjectsAreSkippedButKept) {
    UpdateScheduler scheduler;
    std::vector<int> log;
    int zero = 0;
    Probe probe(&log, &zero, 0, 5);
    scheduler.schedule(&probe);  // never activated
    scheduler.advance(10);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(probe.slot, 1);
    probe.active = 1;
    scheduler.advance(1000);
    EXPECT_EQ(log.size(), 2u) << "picked up when the wheel comes round to slot 1, at slots 1 and 6";
}

TEST(UpdateScheduler, UnschedulingDuringAnUpdateKeepsTheWalkIntact) {
    Clock clock;
    std::vector<int> log;
    Probe first(&log, &clock.now, 0, 10), second(&log, &clock.now, 0, 10),
        third(&log, &clock.now, 0, 10);
    clock.add(third);
    clock.add(second);
    clock.add(first);  // walk order: first, second, third
    // first removes itself and its successor; third still runs.
    first.hook = [&] {
        clock.scheduler.unschedule(&first);
        clock.scheduler.unschedule(&second);
    };
    clock.run(1);
    EXPECT_EQ(log.size(), 2u);
    EXPECT_EQ(first.slot, -1);
    EXPECT_EQ(first.active, 0u);
    EXPECT_EQ(second.node, nullptr);
    clock.run(10);
    EXPECT_EQ(log.size(), 3u) << "only third keeps running";
    EXPECT_FALSE(clock.scheduler.unschedule(&first));
    EXPECT_FALSE(clock.scheduler.unschedule(nullptr));
}

TEST(UpdateScheduler, ObjectDeletedDuringItsOwnUpdateLeavesTheWheel) {
    Clock clock;
    std::vector<int> log;
    auto* doomed = new Probe(&log, &clock.now, 0, 3);
    Probe survivor(&log, &clock.now, 0, 3);
    clock.add(survivor);
    clock.add(*doomed);
    doomed->hook = [doomed] { delete doomed; };
    clock.run(4);
    EXPECT_EQ(log, (std::vector<int>{1, 1, 4}));
}

TEST(UpdateScheduler, RejectsNegativeDelayAndDoubleScheduling) {
    UpdateScheduler scheduler;
    std::vector<int> log;
    int zero = 0;
    Probe probe(&log, &zero, -1, 1);
    EXPECT_FALSE(scheduler.schedule(&probe));
    EXPECT_EQ(probe.slot, -1);
    probe.delay = 0;
    EXPECT_TRUE(scheduler.schedule(&probe));
    EXPECT_FALSE(scheduler.schedule(&probe));
    EXPECT_EQ(scheduler.listLength(1), 1);
    EXPECT_FALSE(scheduler.schedule(nullptr));
}

TEST(UpdateScheduler, HugePeriodsAndDelaysStayInTheFarList) {
    UpdateScheduler scheduler;
    std::vector<int> log;
    int zero = 0;
    Probe slow(&log, &zero, 0x7fffffff, 0xffffffffu);
    EXPECT_TRUE(scheduler.schedule(&slow));
    slow.active = 1;
    for (int i = 0; i < 5; ++i) scheduler.advance(1000);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(slow.slot, 0);
    EXPECT_GE(slow.delay, 0);
}

TEST(UpdateScheduler, ClearDetachesEveryObject) {
    UpdateScheduler scheduler;
    std::vector<int> log;
    int zero = 0;
    Probe near(&log, &zero, 3, 1), far(&log, &zero, 2000, 1);
    scheduler.schedule(&near);
    scheduler.schedule(&far);
    scheduler.clear();
    EXPECT_EQ(near.node, nullptr);
    EXPECT_EQ(far.node, nullptr);
    EXPECT_EQ(scheduler.listLength(0) + scheduler.listLength(4), 0);
}
