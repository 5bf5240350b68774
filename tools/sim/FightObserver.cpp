// Counts what happens in a fight by looking at the World between and inside its steps.
#include "FightObserver.h"

#include <utility>

#include "Creature.h"
#include "Projectile.h"
#include "Weapon.h"
#include "World.h"
#include "WorldObject.h"

namespace {

bool isCreature(const WorldObject& object) {
    return (object.kindFlags & WorldObject::CREATURE) != 0;
}

bool isProjectile(const WorldObject& object) {
    return (object.kindFlags & Projectile::PROJECTILE) != 0;
}

// A projectile killed with range left touched something. The collision map
// undoes a move into the level or off the grid but not one into a creature,
// so a projectile that still stands where its last move took it was stopped
// by a creature.
bool stoppedByCreature(const WorldObject& object) {
    if (!isProjectile(object)) return false;
    const auto& shot = static_cast<const Projectile&>(object);
    if (!(shot.remainingRange > 0.0)) return false;
    return shot.position.x != shot.previousPosition.x ||
           shot.position.y != shot.previousPosition.y || shot.position.z != shot.previousPosition.z;
}

}  // namespace

FightObserver::FightObserver(std::vector<Creature*> creatures) : creatures_(std::move(creatures)) {
    tally_.kills.assign(creatures_.size(), 0);
    resetRounds();
}

int FightObserver::roundsOf(const Creature& creature) const {
    int rounds = 0;
    for (const auto& weapon : creature.weapons)
        if (weapon) rounds += weapon->ammo;
    return rounds;
}

void FightObserver::resetRounds() {
    rounds_.clear();
    for (const Creature* creature : creatures_) rounds_.push_back(roundsOf(*creature));
}

void FightObserver::beforeStep(const World& world) {
    const int due = world.scheduler.current;
    for (int i = 0; i < world.objectCount; ++i) {
        const WorldObject* object = world.objects[i];
        if (object == nullptr || object->active == 0 || object->slot != due) continue;
        if (isCreature(*object)) ++tally_.creatureUpdates;
        if (isProjectile(*object)) ++tally_.projectileUpdates;
    }
}

void FightObserver::afterUpdates(const World& world) {
    if (world.objectCount > tally_.maxObjects) tally_.maxObjects = world.objectCount;
    for (int i = 0; i < world.pendingCount; ++i) {
        const WorldObject* object = world.pendingDisposals[i];
        if (object != nullptr && stoppedByCreature(*object)) ++tally_.hits;
    }
    // A creature fires at most once per update and never in the update that
    // revives it (it is dead until the end of that update), so within one
    // millisecond its rounds only drop by its shots or jump up by a refill.
    for (size_t c = 0; c < creatures_.size(); ++c) {
        const int now = roundsOf(*creatures_[c]);
        if (now < rounds_[c]) tally_.shots += rounds_[c] - now;
        rounds_[c] = now;
    }
}

const FightTally& FightObserver::tally() {
    for (size_t c = 0; c < creatures_.size(); ++c) tally_.kills[c] = creatures_[c]->score;
    return tally_;
}
