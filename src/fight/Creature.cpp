// Creature rules: construction order, weapon switching, damage, death and revival.
#include "Creature.h"

#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>

Creature::Creature(World* world, Model* body, const CreatureType& row)
    : Entity(world, body), type(row), self_(std::make_shared<Creature*>(this)) {
    delay = type.updatePeriod > 0 ? rand() % type.updatePeriod : 0;
    setUpdatePeriod(static_cast<uint32_t>(type.updatePeriod > 0 ? type.updatePeriod : 0));
    responsiveness = type.responsiveness;
    impulseDecay = type.impulseDecay;
    speed = type.speed;
    kindFlags = COLLIDES | CREATURE;
    for (int i = 0; i < WEAPON_TYPE_COUNT; ++i)
        weapons[i] = std::make_unique<Weapon>(world, i, this);
    const bool fixedStart = type.startWeapon >= 0 && type.startWeapon < WEAPON_TYPE_COUNT;
    weaponIndex = fixedStart ? type.startWeapon : rand() % WEAPON_TYPE_COUNT;
    currentWeapon = weapons[weaponIndex].get();
    printf("New pelmo in game\n");
}

void Creature::setCharacterModels(CharacterModelSet* models) {
    characterModels.reset(models);
}

bool Creature::onCollision(Entity*) {
    return true;
}

void Creature::update() {
    if (dead != 0) return;
    Entity::update();
    switchWeapons();
    currentWeapon->update(type.updatePeriod, fire != 0);
    if (characterModels) {
        characterModels->selectAnimation(type.updatePeriod, moveForward != 0, moveBackward != 0,
                                         strafeLeft != 0, strafeRight != 0, health);
    }
    if (alive == 0 && respawn != 0) revive(START_X, START_Y, START_Z);
}

// nextWeapon wins over previousWeapon; a held button steps once per
// weaponSwitchDelay plus one update.
void Creature::switchWeapons() {
    if ((nextWeapon != 0 || previousWeapon != 0) && weaponSwitchCooldown <= 0) {
        if (nextWeapon != 0) {
            weaponIndex = weaponIndex + 1 == WEAPON_TYPE_COUNT ? 0 : weaponIndex + 1;
        } else {
            weaponIndex = weaponIndex == 0 ? WEAPON_TYPE_COUNT - 1 : weaponIndex - 1;
        }
        weaponSwitchCooldown = type.weaponSwitchDelay;
        currentWeapon = weapons[weaponIndex].get();
    } else if (weaponSwitchCooldown > 0) {
        weaponSwitchCooldown -= type.updatePeriod;
    }
}

bool Creature::takeDamage(int amount) {
    if (alive == 0) return false;
    health -= amount;
    if (health >= 0) return false;
    printf("Pelmo died\n");
    alive = 0;
    moveUp = moveDown = strafeLeft = strafeRight = moveForward = moveBackward = 0;
    fire = previousWeapon = nextWeapon = respawn = 0;
    yawRate = pitchRate = rollRate = 0.0f;
    return true;
}

void Creature::revive(float x, float y, float z) {
    position = {x, y, z};
    weaponSwitchCooldown = 0;
    health = 100;
    for (auto& weapon : weapons) weapon->refill();
    alive = 1;
    printf("Pelmo revived\n");
}

void Creature::draw() {
    if (!characterModels) {
        Entity::draw();
        return;
    }
    if (!beginTransform()) return;
    characterModels->draw(position.x, position.y, position.z, currentWeapon);
    glPopMatrix();
}
