// What a fight needs of the program that runs it; the program implements it.
#pragma once

class FightHost {
public:
    virtual ~FightHost() = default;
    // Escape: leave the fight for the menu. The host destroys the fight at
    // once, so the caller must return without touching itself.
    virtual void goToMenu() = 0;
    // The pointer stays in the window while a fight runs, so mouse turning
    // never runs out of screen; the menu gives it back.
    virtual void grabPointer(bool on) = 0;
};
