// Player commands from the keyboard state, mouse buttons and relative mouse motion.
#include "KeyboardController.h"

#include <SDL/SDL.h>

#include "Entity.h"

void applyPlayerInput(Entity& entity, const uint8_t* keys, uint8_t mouseButtons, int mouseDx) {
    entity.respawn = keys[SDLK_RETURN] != 0;
    if (entity.alive == 0) return;
    entity.moveForward = keys[SDLK_UP] != 0 || keys[SDLK_w] != 0;
    entity.moveBackward = keys[SDLK_DOWN] != 0 || keys[SDLK_s] != 0;
    entity.strafeLeft = keys[SDLK_a] != 0;
    entity.strafeRight = keys[SDLK_d] != 0;
    entity.fire =
        keys[SDLK_RCTRL] != 0 || keys[SDLK_LCTRL] != 0 || (mouseButtons & MOUSE_LEFT) != 0;
    entity.previousWeapon = (mouseButtons & MOUSE_MIDDLE) != 0;
    entity.nextWeapon = (mouseButtons & MOUSE_RIGHT) != 0;
    entity.yawRate = 0.0f;
    if (keys[SDLK_LEFT] != 0) entity.yawRate = -ARROW_TURN;
    if (keys[SDLK_RIGHT] != 0) entity.yawRate = ARROW_TURN;
    // Motion piles up while the player is dead (it is not read then), so the
    // square is formed in 64 bits: an int would overflow past 46340 counts.
    const long long dx = mouseDx;
    const long long signedSquare = dx * (dx < 0 ? -dx : dx);
    entity.yawRate = static_cast<float>(entity.yawRate + double(signedSquare) * MOUSE_TURN);
}

void KeyboardController::control() {
    if (entity == nullptr) return;
    const uint8_t* keys = SDL_GetKeyState(nullptr);
    uint8_t buttons = 0;
    int dx = 0;
    if (entity->alive != 0) {
        buttons = SDL_GetMouseState(nullptr, nullptr);
        int dy = 0;
        SDL_GetRelativeMouseState(&dx, &dy);
    }
    applyPlayerInput(*entity, keys, buttons, dx);
}
