// Scheduler cost per object update with a full world of mixed periods.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "UpdateScheduler.h"

namespace {
struct Ticker : ScheduledObject {
    void update() override { ++updates; }
    long updates = 0;
};

// 3000 objects: creatures at 25 ms, projectiles at 5 to 10 ms, some scenery at 1000 ms.
void BM_SchedulerPerUpdate(benchmark::State& state) {
    constexpr uint32_t PERIODS[] = {25, 5, 7, 10, 6, 8, 1000, 9};
    UpdateScheduler scheduler;
    std::vector<std::unique_ptr<Ticker>> objects;
    for (int i = 0; i < 3000; ++i) {
        objects.push_back(std::make_unique<Ticker>());
        Ticker& t = *objects.back();
        t.delay = i % 25;
        t.setUpdatePeriod(PERIODS[i % 8]);
        scheduler.schedule(&t);
        t.active = 1;
    }
    long before = 0;
    for (auto& t : objects) before += t->updates;
    for (auto _ : state) scheduler.advance(16);  // one 60 Hz frame
    long after = 0;
    for (auto& t : objects) after += t->updates;
    state.counters["updatesPerFrame"] = double(after - before) / double(state.iterations());
    state.counters["nsPerUpdate"] = benchmark::Counter(
        double(after - before), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    scheduler.clear();
}
BENCHMARK(BM_SchedulerPerUpdate)->Unit(benchmark::kMicrosecond);
}  // namespace
