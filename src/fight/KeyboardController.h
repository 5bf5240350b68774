// The human player's controller: keyboard and mouse state, read at every creature update.
#pragma once

#include <cstdint>

#include "Controller.h"

// Mouse button masks as SDL_GetMouseState reports them.
constexpr uint8_t MOUSE_LEFT = 1, MOUSE_MIDDLE = 2, MOUSE_RIGHT = 4;
constexpr float ARROW_TURN = 10.0f;  // degrees per update from the arrow keys
constexpr double MOUSE_TURN = 0.02;  // degrees per squared mouse count

// The player's rules without SDL: keys is indexed by SDL key code (at least
// SDLK_LAST entries, nonzero = down), mouseButtons is the button mask and
// mouseDx the horizontal motion since the last read. Return asks for revival
// whatever the state; a dead entity takes nothing else.
void applyPlayerInput(Entity& entity, const uint8_t* keys, uint8_t mouseButtons, int mouseDx);

class KeyboardController : public Controller {
public:
    KeyboardController(World* world, Entity* entity) : Controller(world, entity) {}

    // Reads the keyboard; the mouse only while the entity is alive, so motion
    // made while dead is applied at once after revival.
    void control() override;
};
