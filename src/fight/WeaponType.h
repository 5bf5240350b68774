// The five weapons every creature carries: a built-in table, never written at run time.
#pragma once

constexpr int WEAPON_TYPE_COUNT = 5;

struct WeaponType {
    char name[15];       // shown on the HUD
    char modelFile[64];  // 3DS model of the weapon
    int armsIndex;       // which of the character's six arm models (0..5) holds it
    int projectileType;  // index into projectileTypes
    int reloadTime;      // milliseconds of cooldown after each shot
    int ammo;            // rounds after a refill
    int spread;          // whole degrees of random heading offset; 0 none
    float recoil;        // backward push on the shooter's velocity; 0 none
};

// Columns: name, modelFile, armsIndex, projectileType, reloadTime (ms), ammo,
// spread (degrees), recoil.
constexpr WeaponType weaponTypes[WEAPON_TYPE_COUNT] = {
    {"Weapon1", "w1.3ds", 1, 0, 150, 200, 3, 1.0f}, {"Weapon2", "w2.3ds", 2, 1, 350, 200, 0, 2.0f},
    {"Weapon3", "w3.3ds", 3, 3, 200, 200, 0, 1.0f}, {"Weapon4", "w4.3ds", 4, 4, 200, 2000, 5, 0.3f},
    {"Weapon5", "w5.3ds", 5, 4, 200, 200, 5, 0.3f},
};
