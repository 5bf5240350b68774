// Random wandering: a new heading change and walk direction every 15 to 34 updates,
// or at once when the creature did not move.
#include "AIController.h"

#include <cstdlib>

#include "Entity.h"

namespace {
constexpr int REVIVE_ODDS = 200;  // one chance in this many per update while dead
constexpr int YAW_CHOICES = 40;   // yaw rates -20 .. 19 degrees
constexpr int YAW_OFFSET = 20;
constexpr int MIN_DECISION_UPDATES = 15;
constexpr int DECISION_CHOICES = 20;  // 15 .. 34 further updates
constexpr int FIRE_ODDS = 3;
constexpr int WEAPON_SWITCH_ODDS = 40;
}  // namespace

void AIController::control() {
    if (entity == nullptr) return;
    if (entity->alive == 0) {
        entity->respawn = rand() % REVIVE_ODDS == 0;
        return;
    }
    entity->respawn = 0;
    --decisionCountdown;
    if (decisionCountdown < 0 || sameXY(entity->position, entity->previousPosition)) {
        decide();
    } else {
        entity->yawRate = 0.0f;  // turns only in the update that decides
    }
    entity->fire = rand() % FIRE_ODDS == 0;
    entity->previousWeapon = rand() % WEAPON_SWITCH_ODDS == 0;
}

void AIController::decide() {
    entity->moveUp = entity->moveDown = 0;  // the rest is drawn below
    entity->yawRate = static_cast<float>(rand() % YAW_CHOICES - YAW_OFFSET);
    const int strafe = rand() % 3;
    entity->strafeLeft = strafe == 0;
    entity->strafeRight = strafe == 1;
    const int walk = rand() % 3;
    entity->moveForward = walk == 0;
    entity->moveBackward = walk == 1;
    decisionCountdown = rand() % DECISION_CHOICES + MIN_DECISION_UPDATES;
}
