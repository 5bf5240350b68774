// A fight run by the simulator: every creature computer-driven, watched by a FightObserver.
#pragma once

#include <memory>
#include <vector>

#include "FightObserver.h"
#include "GameState.h"

class Creature;

class SimFight : public GameState {
public:
    static constexpr int STRESS_WEAPON = 1;  // "Weapon2": the shell that bursts into splinters

    SimFight() : GameState(nullptr) {}

    // After a successful load: hands the player's creature to the computer,
    // arms everybody for stress when asked, and starts watching.
    void takeOver(bool stress);
    // Keeps the object table at least this full by launching extra shells
    // from the creatures after every step, so that their own shots and
    // splinters meet a table at or near its limit. 0 turns it off.
    void setFill(int objects) { fill_ = objects; }
    // One millisecond of game time, observed.
    void step();

    const std::vector<Creature*>& creatures() const { return creatures_; }
    FightObserver* observer() { return observer_.get(); }

protected:
    void postStep() override;

private:
    std::vector<Creature*> creatures_;  // table order at the start; owned by the World
    std::unique_ptr<FightObserver> observer_;
    bool stress_ = false;
    int fill_ = 0;
    int launched_ = 0;  // extra shells so far; spreads their headings

    void topUp();
};
