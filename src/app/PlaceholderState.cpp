// The stand-in state: Escape ends the program, nothing is drawn.
#include "PlaceholderState.h"

#include "GRun.h"
#include "Settings.h"

void PlaceholderState::keyDown(int key) {
    if ((key & 0xFF) == 27) owner_->stop();
}

bool PlaceholderState::load() {
    return settings.validateSelection();
}
