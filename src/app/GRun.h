// The top-level object: owns the current state, forwards to it and switches states.
#pragma once

#include <memory>

#include "FightHost.h"
#include "GState.h"

class GRun : public GState, public FightHost {
public:
    GRun() = default;
    GRun(const GRun&) = delete;
    GRun& operator=(const GRun&) = delete;
    ~GRun() override = default;  // deletes the current state

    void keyUp(int key) override;
    void keyDown(int key) override;
    // ms: wall-clock milliseconds since the last frame; the state gets at most
    // 500 of them, scaled by timeScale.
    void update(int ms) override;
    // One whole frame: clear, the state, the transparent queue, the version line, swap.
    void draw() override;

    // The operations the states call. A switch deletes the calling state: its
    // handler must return at once without touching itself.
    void stop();
    void startGame();
    void goToMenu() override;
    // Only while the window exists: tests drive a GRun without one.
    void grabPointer(bool on) override;

    // Makes next the current state, deleting the previous one, and swallows the
    // next update so the time spent switching is not fed to the new state.
    void setState(std::unique_ptr<GState> next);
    GState* state() const { return state_.get(); }

    float timeScale = 1.0f;
    bool running = true;  // the main loop goes on while this holds
    bool skipNextUpdate = false;

private:
    // Deletes the current state, empties both caches and reloads the font,
    // whose texture went with the texture cache.
    void leaveState();

    std::unique_ptr<GState> state_;
};

// The single instance: null before start-up and after shutdown.
extern GRun* gRun;
