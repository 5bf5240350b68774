// GRun's update rules, the main loop's frame timing and the triangle-rate report, without a
// window; full screen cannot be toggled without one.
#include "GRun.h"

#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "CaptureOutput.h"
#include "Display.h"
#include "FrameStats.h"
#include "MainLoop.h"

namespace {

// Every counter: triangles this frame, accumulated triangles, frames, elapsed ms.
constexpr const char* COUNTERS = "counters: this frame, accumulated, frames, elapsed ms";
std::vector<int> counters(const FrameStats& f = frameStats) {
    return {f.trianglesThisFrame, f.trianglesAccumulated, f.frames, f.elapsed};
}

// Records what it is asked to do.
struct RecordingState : GState {
    void update(int ms) override { updates.push_back(ms); }
    void draw() override { ++draws; }

    std::vector<int> updates;
    int draws = 0;
};

class GRunTest : public ::testing::Test {
protected:
    void SetUp() override { frameStats = FrameStats(); }
    void TearDown() override { frameStats = FrameStats(); }

    RecordingState* install() {
        auto state = std::make_unique<RecordingState>();
        RecordingState* raw = state.get();
        run.setState(std::move(state));
        return raw;
    }

    GRun run;
};

TEST_F(GRunTest, FirstUpdateAfterASwitchIsSwallowedWithItsStatistics) {
    RecordingState* state = install();
    EXPECT_TRUE(run.skipNextUpdate);
    frameStats.addTriangles(7);
    run.update(30);
    EXPECT_TRUE(state->updates.empty());
    EXPECT_EQ(counters(), (std::vector<int>{7, 0, 0, 0})) << COUNTERS << ": rolled on";
    run.update(30);
    EXPECT_EQ(state->updates, std::vector<int>{30});
    EXPECT_EQ(counters(), (std::vector<int>{0, 7, 1, 30})) << COUNTERS;
}

// At most 500 ms reach the state, then scaled and cut to whole milliseconds.
TEST_F(GRunTest, LongStallsAreClampedAndScaled) {
    RecordingState* state = install();
    run.update(0);
    captureStdout();
    for (int ms : {499, 500, 501, 3000}) run.update(ms);
    run.timeScale = 0.5f;
    for (int ms : {501, 25}) run.update(ms);
    capturedStdout();
    EXPECT_EQ(state->updates, (std::vector<int>{499, 500, 500, 500, 250, 12}));
}

TEST_F(GRunTest, WithoutAStateOnlyStatisticsRunOnTheRawTime) {
    captureStdout();
    run.update(3000);
    EXPECT_EQ(capturedStdout(), "Actual triangles : 0/sec 0/frame\n");
    EXPECT_EQ(counters(), (std::vector<int>{0, 0, 0, 0})) << COUNTERS << ": reported at once";
    run.update(700);
    EXPECT_EQ(counters(), (std::vector<int>{0, 0, 1, 700})) << COUNTERS;
}

// Keys without a state go nowhere; a state that overrides nothing takes every call.
TEST_F(GRunTest, ABareStateIsDrivenLikeAnyOther) {
    run.keyDown(13);
    run.keyUp(13);
    run.setState(std::make_unique<GState>());
    run.keyDown(13);
    run.keyUp(13);
    run.update(30);
    run.update(30);
    run.state()->afterUpdate();
    EXPECT_EQ(counters(), (std::vector<int>{0, 0, 1, 30})) << COUNTERS;
}

TEST(FullScreen, WithoutAWindowTheToggleSaysSoAndCarriesOn) {
    const Output o = captureOutput(toggleFullScreen);
    EXPECT_EQ(o.err, "Unable to toggle fullscreen: " + std::string(SDL_GetError()) + "\n");
}

TEST(FrameTimerTest, AFrameNeedsTwoMillisecondsAndInactiveTimeIsDroppedNotReplayed) {
    RecordingState state;
    FrameTimer timer(1000);
    EXPECT_FALSE(timer.turn(state, 1000, true));
    EXPECT_FALSE(timer.turn(state, 1001, true));
    EXPECT_TRUE(timer.turn(state, 1002, true));
    EXPECT_EQ(state.updates, std::vector<int>{2});
    EXPECT_EQ(state.draws, 1);
    EXPECT_FALSE(timer.turn(state, 1003, true));  // measured from the last frame
    EXPECT_TRUE(timer.turn(state, 1010, true));
    EXPECT_EQ(state.updates, (std::vector<int>{2, 8}));
    FrameTimer wrapping(0xFFFFFFFEu);  // the tick counter wraps after 49 days
    EXPECT_TRUE(wrapping.turn(state, 3, true));
    FrameTimer minimised(0);  // for a minute: neither updated nor drawn
    EXPECT_TRUE(minimised.turn(state, 60000, false));
    EXPECT_TRUE(minimised.turn(state, 60005, true));
    EXPECT_EQ(state.updates, (std::vector<int>{2, 8, 5, 5}));
    EXPECT_EQ(state.draws, 4);
}

// One frame of `triangles`, reported with `ms`; returns what was printed.
std::string frame(FrameStats& stats, int triangles, int ms) {
    stats.addTriangles(triangles);
    stats.endFrame();
    captureStdout();
    stats.reportTriangles(ms);
    return capturedStdout();
}

TEST(FrameStatsTest, ReportsWithTheCallThatPassesOneSecondAndStartsAgain) {
    struct Frame {
        int triangles, ms;
    };
    struct Case {
        const char* what;
        std::vector<Frame> frames;
        std::string report;  // printed by the last frame; none before it
    };
    const Case cases[] = {
        {"47 frames make 987 ms, the 48th reports", std::vector<Frame>(48, {2000, 21}),
         "Actual triangles : 95238/sec 2000/frame\n"},
        {"exactly one second is not yet a report",
         {{10, 1000}, {10, 1}},
         "Actual triangles : 19/sec 10/frame\n"},
        {"empty frames lower the per-frame figure",
         {{3000, 500}, {0, 500}, {0, 500}},
         "Actual triangles : 2000/sec 1000/frame\n"},
        {"high rates do not overflow",
         {{5000000, 1001}},
         "Actual triangles : 4995004/sec 5000000/frame\n"},
    };
    for (const Case& c : cases) {
        FrameStats stats;
        for (size_t i = 0; i + 1 < c.frames.size(); ++i)
            EXPECT_EQ(frame(stats, c.frames[i].triangles, c.frames[i].ms), "") << c.what;
        EXPECT_EQ(frame(stats, c.frames.back().triangles, c.frames.back().ms), c.report) << c.what;
        EXPECT_EQ(counters(stats), (std::vector<int>{0, 0, 0, 0})) << c.what << ": " << COUNTERS;
    }
    FrameStats open;  // a report without a closed frame does not divide by zero
    open.addTriangles(500);
    captureStdout();
    open.reportTriangles(1500);
    EXPECT_EQ(capturedStdout(), "Actual triangles : 0/sec 0/frame\n");
}

}  // namespace
