// A fight run by the simulator: every creature computer-driven, watched by a FightObserver.
#include "SimFight.h"

#include "AIController.h"
#include "Creature.h"
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
