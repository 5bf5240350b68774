// Firing rules: cooldown, ammunition, spread, recoil, handing the shot to the world.
#include "Weapon.h"

#include <cmath>
#include <cstdlib>

#include "Angles.h"
#include "Creature.h"
#include "FightModels.h"
#include "ModelStore.h"
#include "Projectile.h"
#include "World.h"

namespace {
constexpr float MUZZLE_HEIGHT = 4.0f;  // world units above the shooter's position
}  // namespace

Weapon::Weapon(World* world, int typeIndex, Creature* owner)
    : type(weaponTypes[typeIndex >= 0 && typeIndex < WEAPON_TYPE_COUNT ? typeIndex : 0]),
      owner(owner),
      world(world) {
    model = modelStore.getModel(weaponModelRequest(type));
    refill();
}

Weapon::~Weapon() {
    modelStore.releaseModel(model);
}

void Weapon::refill() {
    ammo = type.ammo;
    cooldown = 0;
}

void Weapon::update(int elapsed, bool trigger) {
    if (cooldown > 0) cooldown -= elapsed;
    if (!trigger || cooldown > 0 || ammo <= 0 || owner == nullptr) return;
    --ammo;
    fire();
    cooldown = type.reloadTime;
}

// One round: the projectile leaves at muzzle height with the shooter's
// orientation plus spread; the shooter's velocity is pushed the other way.
void Weapon::fire() {
    auto* projectile = new Projectile(world, type.projectileType, owner);
    projectile->moveForward = 1;
    projectile->position = owner->position;
    projectile->position.y += MUZZLE_HEIGHT;
    projectile->pitch = owner->pitch;
    projectile->heading = owner->heading;
    projectile->roll = owner->roll;
    if (type.spread != 0) {
        projectile->heading += static_cast<float>(rand() % type.spread - type.spread / 2);
    }
    if (type.recoil != 0.0f) {
        const double a = degreesToRadians(projectile->heading);
        const double mass = owner->type.recoilMass;
        owner->velocity.x =
            static_cast<float>(owner->velocity.x - std::sin(a) * type.recoil / mass);
        owner->velocity.z =
            static_cast<float>(owner->velocity.z + std::cos(a) * type.recoil / mass);
    }
    if (world == nullptr || !world->addObject(projectile)) delete projectile;
}

void Weapon::draw(float x, float y, float z) {
    if (model != nullptr) model->draw(x, y, z);
}
