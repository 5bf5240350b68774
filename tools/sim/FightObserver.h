// Counts what happens in a fight by looking at the World between and inside its steps.
#pragma once

#include <cstdint>
#include <vector>

class Creature;
class World;

struct FightTally {
    int64_t creatureUpdates = 0;
    int64_t projectileUpdates = 0;
    int64_t shots = 0;       // rounds spent by the creatures' weapons
    int64_t hits = 0;        // projectiles stopped by a creature
    int maxObjects = 0;      // most objects in the world at once, killed ones included
    std::vector<int> kills;  // per creature, in the order given to the observer
};

// Reads only; the game runs exactly as it would unobserved. The World must be
// advanced one millisecond per step so that every object is due at most once
// per step and a creature's rounds can only drop within a step.
class FightObserver {
public:
    explicit FightObserver(std::vector<Creature*> creatures);

    // Before a one-millisecond step: counts the objects the step will update.
    void beforeStep(const World& world);
    // Inside the step, after the updates and before killed objects are deleted.
    void afterUpdates(const World& world);
    // The sim refilled weapons itself: take the rounds as they are now.
    void resetRounds();

    const FightTally& tally();

private:
    int roundsOf(const Creature& creature) const;

    std::vector<Creature*> creatures_;  // not owned; live as long as the World
    std::vector<int> rounds_;           // rounds left in all five weapons, per creature
    FightTally tally_;
};
