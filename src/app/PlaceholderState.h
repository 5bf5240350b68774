// A state that shows nothing: stands in for the screens not built yet.
#pragma once

#include "GState.h"

class GRun;

class PlaceholderState : public GState {
public:
    explicit PlaceholderState(GRun* owner) : owner_(owner) {}
    // Escape (low 8 bits 27) ends the program.
    void keyDown(int key) override;
    // Checks the selection the way a fight would before loading anything.
    bool load();

private:
    GRun* owner_;  // not owned
};
