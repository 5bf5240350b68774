// The main loop and its frame timing rule.
#pragma once

#include <cstdint>

class GState;

// Decides, turn by turn, when a frame runs. Times are SDL ticks in milliseconds.
class FrameTimer {
public:
    explicit FrameTimer(uint32_t startMs) : lastFrameMs_(startMs) {}
    // Once at least 2 ms have passed since the last frame: runs target's update
    // (with the elapsed ms) and draw when active, and returns true. The time is
    // taken in either case, so inactive periods are dropped, never replayed.
    bool turn(GState& target, uint32_t nowMs, bool active);

private:
    uint32_t lastFrameMs_;
};

// Runs while gRun exists, is running and no quit event came; busy-polls.
void runMainLoop(uint32_t startMs);
