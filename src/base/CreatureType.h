// Creature constants: a built-in one-row table looked up by a character's creatureType.
#pragma once

constexpr int CREATURE_TYPE_COUNT = 1;

struct CreatureType {
    float speed;            // world units per update
    float responsiveness;   // share of the desired velocity taken per update
    float impulseDecay;     // factor applied to the impulse per update
    int startWeapon;        // 0..4, or -1 for a random one
    float recoilMass;       // divides the recoil of the creature's shots
    int updatePeriod;       // milliseconds between updates; the weapon and animation step
    int weaponSwitchDelay;  // milliseconds before the weapon can be switched again
};

// Columns: speed, responsiveness, impulseDecay, startWeapon, recoilMass,
// updatePeriod (ms), weaponSwitchDelay (ms).
constexpr CreatureType creatureTypes[CREATURE_TYPE_COUNT] = {
    {1.1f, 0.6f, 0.9f, -1, 1.0f, 25, 500},
};

// The row for a character's creatureType. Character files are data: an index
// outside the table gets row 0 (with a message) instead of reading past it.
const CreatureType& creatureTypeFor(int index);
