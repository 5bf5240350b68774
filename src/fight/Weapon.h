// One weapon in a creature's hands: ammunition, cooldown, and firing projectiles.
#pragma once

#include "ModelKey.h"
#include "WeaponType.h"

class Creature;
class Model;
class World;

class Weapon {
public:
    // typeIndex is 0..WEAPON_TYPE_COUNT-1; anything else takes row 0. A weapon
    // without an owner never fires (the shot starts at the owner).
    Weapon(World* world, int typeIndex, Creature* owner);
    ~Weapon();  // releases the model
    Weapon(const Weapon&) = delete;
    Weapon& operator=(const Weapon&) = delete;

    // Full ammunition, no cooldown.
    void refill();
    // Counts the cooldown down by elapsed milliseconds and fires when the
    // trigger is held, the cooldown has run out and a round is left.
    void update(int elapsed, bool trigger);
    // Draws the model at world position (x, y, z) inside the holder's transform.
    void draw(float x, float y, float z);
    int armsIndex() const { return type.armsIndex; }
    const char* name() const { return type.name; }

    int ammo = 0;               // rounds left
    WeaponType type;            // copy of the table row
    int cooldown = 0;           // milliseconds until the next shot; may go below 0
    Creature* owner = nullptr;  // not owned
    World* world = nullptr;     // receives the projectiles; not owned
    Model* model = nullptr;     // from the model store

private:
    void fire();
};
