// A fight run by the simulator: every creature computer-driven, watched by a FightObserver.
#include "SimFight.h"

#include "AIController.h"
#include "Creature.h"
#include "Projectile.h"
#include "Weapon.h"

namespace {

// The computer's wandering with the trigger held down and no weapon changes.
// It draws exactly the random numbers the plain computer controller draws.
class StressController : public AIController {
public:
    using AIController::AIController;
    void control() override {
        AIController::control();
        if (entity == nullptr || entity->alive == 0) return;
        entity->fire = 1;
        entity->previousWeapon = 0;
        entity->nextWeapon = 0;
    }
};

}  // namespace

void SimFight::takeOver(bool stress) {
    stress_ = stress;
    creatures_.clear();
    for (int i = 0; i < objectCount; ++i)
        if (objects[i] && (objects[i]->kindFlags & WorldObject::CREATURE) != 0)
            creatures_.push_back(static_cast<Creature*>(objects[i]));
    for (Creature* creature : creatures_) {
        if (stress) {
            creature->setController(new StressController(this, creature));
            creature->weaponIndex = STRESS_WEAPON;
            creature->currentWeapon = creature->weapons[STRESS_WEAPON].get();
        } else if (creature == view.target) {
            creature->setController(new AIController(this, creature));
        }
    }
    observer_ = std::make_unique<FightObserver>(creatures_);
}

void SimFight::step() {
    if (observer_) observer_->beforeStep(*this);
    update(1);
}

void SimFight::postStep() {
    if (!observer_) return;
    observer_->afterUpdates(*this);
    topUp();
    if (!stress_) return;
    // Constant fire: the stress weapon never runs dry.
    bool refilled = false;
    for (Creature* creature : creatures_) {
        Weapon* weapon = creature->weapons[STRESS_WEAPON].get();
        if (weapon && weapon->ammo <= 0) {
            weapon->ammo = weapon->type.ammo;
            refilled = true;
        }
    }
    if (refilled) observer_->resetRounds();
}

// Extra shells leave each living creature in turn at muzzle height, their
// headings fanned out by a fixed step, without recoil and without touching
// the creatures' weapons, so the observer's counts are those of the fight.
void SimFight::topUp() {
    constexpr float MUZZLE_HEIGHT = 4.0f;  // units above the creature's position
    constexpr int HEADING_STEP = 37;       // degrees between consecutive extra shells
    if (creatures_.empty()) return;
    const int target = fill_ < MAX_OBJECTS ? fill_ : MAX_OBJECTS;
    int tries = 0;
    while (objectCount < target && tries++ < MAX_OBJECTS) {
        Creature* from = creatures_[launched_ % creatures_.size()];
        ++launched_;
        if (from->alive == 0) continue;
        const Weapon* weapon = from->weapons[STRESS_WEAPON].get();
        auto* shell = new Projectile(this, weapon ? weapon->type.projectileType : 0, from);
        shell->moveForward = 1;
        shell->position = from->position;
        shell->position.y += MUZZLE_HEIGHT;
        shell->heading = from->heading + static_cast<float>((launched_ * HEADING_STEP) % 360);
        if (!addObject(shell)) delete shell;
    }
}
