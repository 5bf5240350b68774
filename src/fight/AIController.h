// The computer's controller: wanders and fires at random, revives by chance.
#pragma once

#include "Controller.h"

class AIController : public Controller {
public:
    AIController(World* world, Entity* entity) : Controller(world, entity) {}

    // rand() draws, in order: while dead only rand() % 200 (revive on 0);
    // alive, on a new decision % 40 (yaw), % 3 (strafe), % 3 (walk), % 20
    // (duration), then always % 3 (fire) and % 40 (previous weapon).
    void control() override;

    int decisionCountdown = 0;  // further updates the current decision lasts

private:
    void decide();
};
