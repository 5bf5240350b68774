// GRun's update rules and the main loop's frame timing, without a window.
#include "GRun.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "FrameStats.h"
#include "MainLoop.h"

namespace {

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
    EXPECT_EQ(frameStats.frames, 0);
    EXPECT_EQ(frameStats.trianglesThisFrame, 7);  // rolls into the next frame
    run.update(30);
    EXPECT_EQ(state->updates, std::vector<int>{30});
    EXPECT_EQ(frameStats.frames, 1);
    EXPECT_EQ(frameStats.trianglesAccumulated, 7);
    EXPECT_EQ(frameStats.elapsed, 30);
}

TEST_F(GRunTest, LongStallsAreClampedAndScaled) {
    RecordingState* state = install();
    run.update(0);
    testing::internal::CaptureStdout();
    run.update(3000);
    run.update(500);
    run.timeScale = 0.5f;
    run.update(3000);
    run.update(25);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(state->updates, (std::vector<int>{500, 500, 250, 12}));
}

TEST_F(GRunTest, WithoutAStateOnlyStatisticsRunOnTheRawTime) {
    testing::internal::CaptureStdout();
    run.update(3000);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Actual triangles : 0/sec 0/frame\n");
    EXPECT_EQ(frameStats.frames, 0);  // reported at once: elapsed passed 1000
    EXPECT_EQ(frameStats.elapsed, 0);
    run.update(700);
    EXPECT_EQ(frameStats.frames, 1);
    EXPECT_EQ(frameStats.elapsed, 700);
}

TEST(FrameTimerTest, AFrameNeedsTwoMilliseconds) {
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
    EXPECT_EQ(state.updates.back(), 5);
}

TEST(FrameTimerTest, InactiveTimeIsDroppedNotReplayed) {
    RecordingState state;
    FrameTimer timer(0);
    EXPECT_TRUE(timer.turn(state, 60000, false));  // minimised for a minute
    EXPECT_TRUE(state.updates.empty());
    EXPECT_EQ(state.draws, 0);
    EXPECT_TRUE(timer.turn(state, 60005, true));
    EXPECT_EQ(state.updates, std::vector<int>{5});
}

}  // namespace
