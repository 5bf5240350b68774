// The main loop: pump events, then run a frame once 2 ms have passed.
#include "MainLoop.h"

#include <SDL/SDL.h>

#include "Display.h"
#include "GRun.h"

namespace {

constexpr int MIN_FRAME_MS = 2;

}  // namespace

bool FrameTimer::turn(GState& target, uint32_t nowMs, bool active) {
    // Signed difference: a tick counter that wraps still gives the true elapsed time.
    const int elapsed = static_cast<int>(static_cast<int32_t>(nowMs - lastFrameMs_));
    if (elapsed < MIN_FRAME_MS) return false;
    if (active) {
        target.update(elapsed);
        target.draw();
    }
    lastFrameMs_ = nowMs;
    return true;
}

void runMainLoop(uint32_t startMs) {
    FrameTimer timer(startMs);
    while (gRun && gRun->running && pollEvents())
        timer.turn(*gRun, SDL_GetTicks(), (SDL_GetAppState() & SDL_APPACTIVE) != 0);
}
