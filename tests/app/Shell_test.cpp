// The shell without a window: GRun's update rules, the main loop's frame timing, the
// triangle-rate report, the menu's selection keys; full screen cannot be toggled.
#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "CaptureOutput.h"
#include "Display.h"
#include "FrameStats.h"
#include "GRun.h"
#include "MainLoop.h"
#include "MenuState.h"
#include "Settings.h"

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

// Without a state keys go nowhere and statistics run on the raw time. The update after a
// switch is swallowed, statistics included; then at most 500 ms reach the state, scaled and
// cut to whole milliseconds. A state that overrides nothing takes every call.
TEST(GRunTest, UpdatesAfterASwitchAreSwallowedThenClampedAndScaled) {
    frameStats = FrameStats();
    GRun run;
    run.keyDown(13);
    run.keyUp(13);
    captureStdout();
    run.update(3000);
    EXPECT_EQ(capturedStdout(), "Actual triangles : 0/sec 0/frame\n");
    EXPECT_EQ(counters(), (std::vector<int>{0, 0, 0, 0})) << COUNTERS << ": reported at once";
    auto owned = std::make_unique<RecordingState>();
    const RecordingState& state = *owned;
    run.setState(std::move(owned));
    frameStats.addTriangles(7);
    run.update(30);
    run.update(30);
    EXPECT_EQ(counters(), (std::vector<int>{0, 7, 1, 30})) << COUNTERS << ": one frame counted";
    captureStdout();
    for (int ms : {499, 500, 501, 3000}) run.update(ms);
    run.timeScale = 0.5f;
    for (int ms : {501, 25}) run.update(ms);
    capturedStdout();
    EXPECT_EQ(state.updates, (std::vector<int>{30, 499, 500, 500, 500, 250, 12}));
    frameStats = FrameStats();
    run.timeScale = 1;
    run.setState(std::make_unique<GState>());
    run.keyDown(13);
    run.keyUp(13);
    run.update(30);
    run.update(700);
    run.state()->afterUpdate();
    EXPECT_EQ(counters(), (std::vector<int>{0, 0, 1, 500})) << COUNTERS << ": clamped with a state";
    frameStats = FrameStats();
}

TEST(FullScreen, WithoutAWindowTheToggleSaysSoAndCarriesOn) {
    const Output o = captureOutput(toggleFullScreen);
    EXPECT_EQ(o.err, "Unable to toggle fullscreen: " + std::string(SDL_GetError()) + "\n");
}

// The tick counter wraps after 49 days; a minute minimised is neither updated nor drawn.
TEST(FrameTimerTest, AFrameNeedsTwoMillisecondsAndInactiveTimeIsDroppedNotReplayed) {
    RecordingState state;
    FrameTimer timer(1000), wrapping(0xFFFFFFFEu), minimised(0);
    std::string frames;  // 1 for each turn that ends a frame, measured from the last one
    for (uint32_t now : {1000u, 1001u, 1002u, 1003u, 1010u})
        frames += timer.turn(state, now, true) ? "1" : "0";
    frames += wrapping.turn(state, 3, true) ? "1" : "0";
    frames += minimised.turn(state, 60000, false) ? "1" : "0";
    frames += minimised.turn(state, 60005, true) ? "1" : "0";
    EXPECT_EQ(frames, "00101111");
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
    using Frames = std::vector<std::pair<int, int>>;  // triangles, ms
    const struct {
        const char* what;
        Frames frames;
        std::string report;  // printed by the last frame; none before it
    } cases[] = {
        {"47 frames make 987 ms", Frames(48, {2000, 21}), "95238/sec 2000/frame"},
        {"one second is not yet a report", {{10, 1000}, {10, 1}}, "19/sec 10/frame"},
        {"empty frames count", {{3000, 500}, {0, 500}, {0, 500}}, "2000/sec 1000/frame"},
        {"high rates do not overflow", {{5000000, 1001}}, "4995004/sec 5000000/frame"},
    };
    for (const auto& c : cases) {
        FrameStats stats;
        std::string printed;
        for (const auto& [triangles, ms] : c.frames) printed += frame(stats, triangles, ms) + "|";
        EXPECT_EQ(printed,
                  std::string(c.frames.size() - 1, '|') + "Actual triangles : " + c.report + "\n|")
            << c.what << ": what each frame printed";
        EXPECT_EQ(counters(stats), (std::vector<int>{0, 0, 0, 0})) << c.what << ": " << COUNTERS;
    }
    FrameStats open;  // a report without a closed frame does not divide by zero
    open.addTriangles(500);
    captureStdout();
    open.reportTriangles(1500);
    EXPECT_EQ(capturedStdout(), "Actual triangles : 0/sec 0/frame\n");
}

using Selection = std::array<int, 3>;  // map, character, skin

// Three maps; characters with `skins` skins each (3, 3 and 1 unless told otherwise). A
// fourth character record with 5 skins lies past characterCount: the menu must not see it.
struct Case {
    const char* what;
    Selection start;
    std::vector<int> keys;
    Selection end;
    std::vector<int> skins = {3, 3, 1};
};

TEST(MenuSelection, KeysWrapResetTheSkinAndReadOnlyTheLowByte) {
    const Case cases[] = {
        {"x wraps the map down", {0, 0, 0}, {'x'}, {2, 0, 0}},
        {"c wraps the map up", {2, 0, 0}, {'c'}, {0, 0, 0}},
        {"x steps the map down", {2, 0, 0}, {'x'}, {1, 0, 0}},
        {"c steps to the last map", {1, 0, 0}, {'c'}, {2, 0, 0}},
        {"c from past the end", {5, 0, 0}, {'c'}, {0, 0, 0}},
        {"x from below 0", {-3, 0, 0}, {'x'}, {2, 0, 0}},
        {"no skins past the last character", {0, 3, 0}, {'m'}, {0, 3, 0}},
        {"no skins before the first character", {0, -1, 0}, {'n'}, {0, -1, 0}},
        {"m steps the skin up", {0, 0, 0}, {'m'}, {0, 0, 1}},
        {"b resets the skin", {0, 0, 2}, {'b'}, {0, 1, 0}},
        {"v resets the skin", {0, 1, 1}, {'v'}, {0, 0, 0}},
        {"v wraps the character", {0, 0, 0}, {'v'}, {0, 2, 0}},
        {"n wraps the skin down", {0, 0, 0}, {'n'}, {0, 0, 2}},
        {"m wraps the skin up", {0, 0, 2}, {'m'}, {0, 0, 0}},
        {"one skin stays", {0, 2, 0}, {'n', 'm'}, {0, 2, 0}},
        {"no skins stay at 0", {0, 0, 0}, {'n', 'm', 'm', 'n'}, {0, 0, 0}, {0, 3, 1}},
        {"high bits ignored", {0, 0, 0}, {0x100 | 'c'}, {1, 0, 0}},
        {"other keys, Return (the menu's own) among them", {0, 1, 1}, {'q', 13}, {0, 1, 1}},
    };
    for (const Case& c : cases) {
        Settings s;
        s.maps.resize(3);
        s.mapCount = 3;
        s.characters.resize(4);
        for (int i = 0; i < 3; ++i) s.characters[i].skinCount = c.skins[i];
        s.characters[3].skinCount = 5;
        s.characterCount = 3;
        std::tie(s.mapIndex, s.characterIndex, s.skinIndex) = std::tuple_cat(c.start);
        for (int key : c.keys)
            EXPECT_EQ(MenuState::changeSelection(s, key), key != 'q' && key != 13) << c.what;
        EXPECT_EQ(Selection({s.mapIndex, s.characterIndex, s.skinIndex}), c.end) << c.what;
    }
}

}  // namespace
